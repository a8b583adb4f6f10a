#pragma once

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// What the running instance answers to a forwarded command.
struct CommandReply
{
    int status = 0;
    QString out;   // for standard output
    QString err;   // for standard error
};

// The single-instance channel itself, usable with any application object (a
// command-line start has no display and builds no QApplication). The first
// process holds a lock file and listens on a local socket; later ones can
// hand it a text message (the wake-up) or a command and wait for its reply.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    using CommandHandler = std::function<CommandReply(const QStringList &arguments)>;
    enum class Forward { NotListening, NoReply, Replied };

    // The id derived from the executable's path, so copies of the program in
    // different folders run side by side.
    static QString defaultId(const QString &appPath);

    explicit SingleInstance(const QString &id, QObject *parent = nullptr);
    ~SingleInstance() override;

    QString id() const { return m_id; }
    // Takes the lock when it is free or its owner is gone.
    bool tryLock();
    // Takes a lock whose owner does not answer on the socket.
    bool takeOverStaleLock();
    void listen();

    bool sendMessage(const QString &message, int timeout);
    // Hands a command to the listening instance and waits up to `timeout` ms
    // for its reply. NotListening: nothing was sent.
    Forward sendCommand(const QStringList &arguments, int timeout, CommandReply *reply);

    // Runs forwarded commands (on this object's thread, one at a time);
    // without one they wait.
    void setCommandHandler(CommandHandler handler);

signals:
    void messageReceived(const QString &message);

private:
    // How long a later start waits for the lock's owner to answer before it
    // takes the lock over.
    static constexpr int kOwnerProbeMs = 1000;
    // How long it then waits for a silent owner on this host to let go.
    static constexpr int kCommandRunMs = 10000;

    bool ownerAnswers() const;
    bool connectOnce(QLocalSocket &socket, int timeout) const;
    void readConnection();
    void runPending();

    struct Pending
    {
        QPointer<QLocalSocket> socket;
        QStringList arguments;
    };

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    CommandHandler m_handler;
    QList<Pending> m_pending;
    bool m_running = false;
};

// Single-instance application object (a QApplication: the program needs
// widgets, the tray and the QML view). Later processes find the lock taken,
// report isRunning() and can hand the first one a text message.
class QtSingleCoreApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleCoreApplication(int &argc, char **argv);
    ~QtSingleCoreApplication() override;

    bool isRunning();
    bool sendMessage(const QString &message, int timeout = 5000);
    QString id() const { return m_instance->id(); }
    SingleInstance &instance() { return *m_instance; }

signals:
    void messageReceived(const QString &message);

private:
    SingleInstance *m_instance = nullptr;
    bool m_primary = false;
};
