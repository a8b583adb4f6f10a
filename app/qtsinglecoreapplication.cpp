#include "qtsinglecoreapplication.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace {

QString defaultId(const QString &appPath)
{
    QByteArray key = appPath.toUtf8();
#ifdef Q_OS_WIN
    key = key.toLower();   // paths are case-insensitive there
#endif
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QStringLiteral("quill-single-%1-%2").arg(QString::fromLatin1(hash), user);
}

} // namespace

QtSingleCoreApplication::QtSingleCoreApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    m_id = defaultId(applicationFilePath());
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(m_id + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);   // a crashed owner's lock is detected by its pid
    m_primary = m_lock->tryLock(0);
    if (!m_primary)
        m_primary = takeOverStaleLock();
    if (m_primary)
        startServer();
}

// A lock whose owner does not answer on the local socket is stale: its owner
// died where its pid cannot be checked (the lock names another host, say).
// Without this every later start would wait for the message time-out and
// exit, for good.
bool QtSingleCoreApplication::takeOverStaleLock()
{
    qint64 pid = 0;
    QString host, app;
    if (!m_lock->getLockInfo(&pid, &host, &app))
        return m_lock->tryLock(0);   // gone meanwhile, or unreadable: try once more
    if (ownerAnswers())
        return false;
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

bool QtSingleCoreApplication::ownerAnswers() const
{
    // The owner takes the lock a moment before it listens: keep asking for
    // a short while before calling it gone.
    QDeadlineTimer deadline(kOwnerProbeMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_id);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.disconnectFromServer();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

QtSingleCoreApplication::~QtSingleCoreApplication()
{
    if (m_server)
        m_server->close();
}

bool QtSingleCoreApplication::isRunning()
{
    return !m_primary;
}

void QtSingleCoreApplication::startServer()
{
    QLocalServer::removeServer(m_id);   // left over by a crashed owner
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_id)) {
        qWarning("single instance: cannot listen on %s", qPrintable(m_id));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &QtSingleCoreApplication::readConnection);
}

void QtSingleCoreApplication::readConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QString message;
            in >> message;
            if (!in.commitTransaction())
                return;   // wait for the rest
            socket->write("ack", 3);
            socket->flush();
            emit messageReceived(message);
        });
    }
}

bool QtSingleCoreApplication::sendMessage(const QString &message, int timeout)
{
    if (m_primary)
        return false;
    QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // The first instance may hold the lock but not yet listen: retry briefly.
    for (;;) {
        socket.connectToServer(m_id);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out << message;
    socket.write(block);
    if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
        return false;
    const bool acked = socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    socket.disconnectFromServer();
    return acked;
}
