#include "qtsinglecoreapplication.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

namespace {

// A command travels as this text followed by the argument list; any other
// text is a plain message (the empty wake-up), answered with "ack".
const QString kCommandTag = QStringLiteral("\x01quill-command");

int remaining(const QDeadlineTimer &deadline)
{
    return int(qMax<qint64>(1, deadline.remainingTime()));
}

} // namespace

QString SingleInstance::defaultId(const QString &appPath)
{
    QByteArray key = appPath.toUtf8();
#ifdef Q_OS_WIN
    key = key.toLower();   // paths are case-insensitive there
#endif
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QStringLiteral("quill-single-%1-%2").arg(QString::fromLatin1(hash), user);
}

SingleInstance::SingleInstance(const QString &id, QObject *parent)
    : QObject(parent), m_id(id)
{
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(m_id + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);   // a crashed owner's lock is detected by its pid
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::tryLock()
{
    return m_lock->isLocked() || m_lock->tryLock(0);
}

// A lock whose owner does not answer on the local socket is stale: its owner
// died where its pid cannot be checked (the lock names another host, say).
// Without this every later start would wait for the message time-out and
// exit, for good.
bool SingleInstance::takeOverStaleLock()
{
    qint64 pid = 0;
    QString host, app;
    if (!m_lock->getLockInfo(&pid, &host, &app))
        return m_lock->tryLock(0);   // gone meanwhile, or unreadable: try once more
    if (ownerAnswers())
        return false;
    // A live owner on this host that does not listen is most likely a
    // command-line run working without a display: it ends within seconds.
    if (host == QSysInfo::machineHostName() && m_lock->tryLock(kCommandRunMs))
        return true;
    // Only the lock that was probed: one taken meanwhile by another start
    // is that start's.
    qint64 pidNow = 0;
    QString hostNow, appNow;
    if (m_lock->getLockInfo(&pidNow, &hostNow, &appNow)
        && (pidNow != pid || hostNow != host || appNow != app))
        return false;
    qDebug("single instance: lock of process %lld on \"%s\" answers nothing; taken over", pid,
           qPrintable(host));
    m_lock->removeStaleLockFile();
    return m_lock->tryLock(0);
}

bool SingleInstance::connectOnce(QLocalSocket &socket, int timeout) const
{
    socket.connectToServer(m_id);
    return socket.waitForConnected(timeout);
}

bool SingleInstance::ownerAnswers() const
{
    // The owner takes the lock a moment before it listens: keep asking for
    // a short while before calling it gone.
    QDeadlineTimer deadline(kOwnerProbeMs);
    QLocalSocket socket;
    for (;;) {
        if (connectOnce(socket, remaining(deadline))) {
            socket.disconnectFromServer();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

void SingleInstance::listen()
{
    QLocalServer::removeServer(m_id);   // left over by a crashed owner
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_id)) {
        qWarning("single instance: cannot listen on %s", qPrintable(m_id));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readConnection);
}

void SingleInstance::readConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QString message;
            in >> message;
            QStringList arguments;
            const bool isCommand = message == kCommandTag;
            if (isCommand)
                in >> arguments;
            if (!in.commitTransaction())
                return;   // wait for the rest
            if (!isCommand) {
                socket->write("ack", 3);
                socket->flush();
                emit messageReceived(message);
                return;
            }
            // Commands wait for the device and so let events through; they
            // run one after the other, never inside each other.
            m_pending.append({socket, arguments});
            QMetaObject::invokeMethod(this, &SingleInstance::runPending, Qt::QueuedConnection);
        });
    }
}

void SingleInstance::setCommandHandler(CommandHandler handler)
{
    m_handler = std::move(handler);
    // Commands that came while the program was still starting.
    if (m_handler && !m_pending.isEmpty())
        QMetaObject::invokeMethod(this, &SingleInstance::runPending, Qt::QueuedConnection);
}

void SingleInstance::runPending()
{
    if (m_running)
        return;
    m_running = true;
    while (m_handler && !m_pending.isEmpty()) {
        const Pending p = m_pending.takeFirst();
        const CommandHandler handler = m_handler;   // may be replaced meanwhile
        const CommandReply reply = handler(p.arguments);
        if (!p.socket)
            continue;   // the sender gave up meanwhile
        QByteArray block;
        QDataStream out(&block, QIODevice::WriteOnly);
        out << qint32(reply.status) << reply.out << reply.err;
        p.socket->write(block);
        p.socket->flush();
    }
    m_running = false;
}

bool SingleInstance::sendMessage(const QString &message, int timeout)
{
    QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // The first instance may hold the lock but not yet listen: retry briefly.
    for (;;) {
        if (connectOnce(socket, remaining(deadline)))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << message;
    socket.write(block);
    if (!socket.waitForBytesWritten(remaining(deadline)))
        return false;
    const bool acked = socket.waitForReadyRead(remaining(deadline));
    socket.disconnectFromServer();
    return acked;
}

SingleInstance::Forward SingleInstance::sendCommand(const QStringList &arguments, int timeout,
                                                    CommandReply *reply)
{
    QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    if (!connectOnce(socket, qMin(500, remaining(deadline))))
        return Forward::NotListening;
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << kCommandTag << arguments;
    socket.write(block);
    if (!socket.waitForBytesWritten(remaining(deadline)))
        return Forward::NoReply;
    QDataStream in(&socket);
    for (;;) {
        if (!socket.waitForReadyRead(remaining(deadline)))
            return Forward::NoReply;
        in.startTransaction();
        qint32 status = 0;
        CommandReply r;
        in >> status >> r.out >> r.err;
        if (in.commitTransaction()) {
            r.status = status;
            if (reply)
                *reply = r;
            socket.disconnectFromServer();
            return Forward::Replied;
        }
    }
}

QtSingleCoreApplication::QtSingleCoreApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    m_instance = new SingleInstance(SingleInstance::defaultId(applicationFilePath()), this);
    m_primary = m_instance->tryLock() || m_instance->takeOverStaleLock();
    if (m_primary)
        m_instance->listen();
    connect(m_instance, &SingleInstance::messageReceived, this, &QtSingleCoreApplication::messageReceived);
}

QtSingleCoreApplication::~QtSingleCoreApplication() = default;

bool QtSingleCoreApplication::isRunning()
{
    return !m_primary;
}

bool QtSingleCoreApplication::sendMessage(const QString &message, int timeout)
{
    if (m_primary)
        return false;
    return m_instance->sendMessage(message, timeout);
}
