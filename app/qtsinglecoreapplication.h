#pragma once

#include <QApplication>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// Single-instance application object. The first process to start holds a
// lock file and listens on a local socket; later processes find the lock
// taken, report isRunning() and can hand the first one a text message.
class QtSingleCoreApplication : public QApplication
{
    Q_OBJECT
public:
    // The id defaults to one derived from the executable's path, so copies of
    // the program in different folders run side by side.
    QtSingleCoreApplication(int &argc, char **argv);
    ~QtSingleCoreApplication() override;

    bool isRunning();
    bool sendMessage(const QString &message, int timeout = 5000);
    QString id() const { return m_id; }

signals:
    void messageReceived(const QString &message);

private:
    // How long a later start waits for the lock's owner to answer before it
    // takes the lock over.
    static constexpr int kOwnerProbeMs = 1000;

    bool takeOverStaleLock();
    bool ownerAnswers() const;
    void startServer();
    void readConnection();

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_primary = false;
};
