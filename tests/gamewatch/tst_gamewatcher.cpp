// The watcher against real processes: copies of `sleep` started under a bound
// name and below a bound folder, found by the watcher's own scan of /proc.
// The switches go to a recording stand-in for the program's profile control.
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/profilecontrol.h"
#include "gamewatch/gamewatcher.h"

namespace {

class RecordingControl : public ProfileControl
{
public:
    int active = 0;
    QList<int> calls;   // activateProfile's arguments, in order
    Status answer = Done;
    // The screens follow a switch only later (the test sets `active`).
    bool lagging = false;

    QList<QPair<int, QString>> profiles() const override { return {}; }
    int activeProfile() const override { return active; }
    Status activateProfile(int profile) override
    {
        calls.append(profile);
        if (answer == Done && !lagging)
            active = profile;
        return answer;
    }
    Status setDpiStage(int) override { return Done; }
    DeviceStatus status() override { return {}; }
    bool exportProfile(int, const QString &, QString *) override { return false; }
    bool importProfile(int, const QString &, QString *) override { return false; }
};

} // namespace

class TestGameWatcher : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_folder;   // a bound game folder
    std::vector<std::unique_ptr<QProcess>> m_procs;

    // A copy of sleep at `path`, running until stopped.
    QProcess *start(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!QFileInfo::exists(path) && !QFile::copy(QStringLiteral("/bin/sleep"), path))
            return nullptr;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto proc = std::make_unique<QProcess>();
        proc->start(path, {QStringLiteral("60")});
        if (!proc->waitForStarted())
            return nullptr;
        m_procs.push_back(std::move(proc));
        return m_procs.back().get();
    }

    static void stop(QProcess *p)
    {
        p->kill();
        p->waitForFinished();   // reaped: gone from the process list
    }

    QString game(const QString &name) const { return m_dir.filePath(QStringLiteral("bin/") + name); }

    QList<GameBinding> bindings() const
    {
        return {{QStringLiteral("questgame"), 2}, {QStringLiteral("racegame-deluxe-edition"), 3},
                {m_folder, 4}};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(ProcessList::available());
        m_folder = m_dir.filePath(QStringLiteral("Games/Folder Game"));
    }

    void cleanup()
    {
        for (auto &p : m_procs)
            stop(p.get());
        m_procs.clear();
    }

    // Start and end of one bound program: its profile while it runs, then
    // the profile from before; a balloon reason for each switch.
    void switchesAndBack_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("profile");
        QTest::newRow("name") << QStringLiteral("bin/questgame") << 2;
        // Longer than the 15 characters of the short name.
        QTest::newRow("long name") << QStringLiteral("bin/racegame-deluxe-edition") << 3;
        QTest::newRow("folder") << QStringLiteral("Games/Folder Game/bin/runner") << 4;
    }

    void switchesAndBack()
    {
        QFETCH(QString, path);
        QFETCH(int, profile);
        RecordingControl control;
        control.active = 1;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        QSignalSpy spy(&watcher, &GameWatcher::switched);

        watcher.scan();
        QCOMPARE(control.calls, QList<int>());
        QProcess *p = start(m_dir.filePath(path));
        QVERIFY(p);
        watcher.scan();
        QCOMPARE(control.calls, QList<int>{profile});
        watcher.scan();   // still running: nothing more
        QCOMPARE(control.calls, QList<int>{profile});
        stop(p);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{profile, 1}));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), profile);
        QCOMPARE(spy.at(0).at(2).toBool(), true);
        QCOMPARE(spy.at(1).at(0).toInt(), 1);
        QCOMPARE(spy.at(1).at(2).toBool(), false);
    }

    // Two bound programs: the one started last wins; when it ends the other
    // one's profile comes back, and after both the one from before.
    void lastStartedWins()
    {
        RecordingControl control;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        QProcess *a = start(game(QStringLiteral("questgame")));
        QVERIFY(a);
        watcher.scan();
        QProcess *b = start(m_folder + QStringLiteral("/runner"));
        QVERIFY(b);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{2, 4}));
        stop(b);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{2, 4, 2}));
        stop(a);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{2, 4, 2, 0}));
    }

    // A profile chosen by hand while a game runs stands until the game ends;
    // then the profile from before the game comes back.
    void handChoiceStands()
    {
        RecordingControl control;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        QProcess *a = start(game(QStringLiteral("questgame")));
        QVERIFY(a);
        watcher.scan();
        QCOMPARE(control.calls, QList<int>{2});
        control.active = 5;   // the user's choice
        watcher.scan();
        watcher.scan();
        QCOMPARE(control.calls, QList<int>{2});
        stop(a);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{2, 0}));
    }

    // Off: running games switch nothing; on again, they count as started.
    void offSwitch()
    {
        RecordingControl control;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        watcher.setEnabled(false);
        QVERIFY(start(game(QStringLiteral("questgame"))));
        watcher.scan();
        QCOMPARE(control.calls, QList<int>());
        watcher.setEnabled(true);
        watcher.scan();
        QCOMPARE(control.calls, QList<int>{2});
    }

    // Screens that show a switch a moment later: the switch is still the
    // watcher's own, not a hand choice that would hold the profile.
    void switchShownLater()
    {
        RecordingControl control;
        control.lagging = true;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        QVERIFY(start(game(QStringLiteral("questgame"))));
        watcher.scan();
        control.active = 2;
        QProcess *b = start(m_folder + QStringLiteral("/runner"));
        QVERIFY(b);
        watcher.scan();
        control.active = 4;
        watcher.scan();
        stop(b);
        watcher.scan();
        QCOMPARE(control.calls, (QList<int>{2, 4, 2}));
    }

    // A switch the mouse refused is no hand choice: the watcher does not
    // mistake the unchanged profile for one, and switches nothing back.
    void refusedSwitch()
    {
        RecordingControl control;
        control.answer = ProfileControl::NoMouse;
        GameWatcher watcher(0);
        watcher.setControl(&control);
        watcher.setBindings(bindings());
        QSignalSpy spy(&watcher, &GameWatcher::switched);
        QProcess *a = start(game(QStringLiteral("questgame")));
        QVERIFY(a);
        watcher.scan();
        stop(a);
        watcher.scan();
        QCOMPARE(control.calls, QList<int>{2});
        QCOMPARE(spy.size(), 0);
    }

    // Scans run by the timer only when there is something to do, and never
    // more often than once a second.
    void timerRunsOnlyWhenNeeded()
    {
        RecordingControl control;
        GameWatcher watcher(200);
        QVERIFY(!watcher.isScanning());
        watcher.setControl(&control);
        QVERIFY(!watcher.isScanning());   // no bindings
        watcher.setBindings(bindings());
        QVERIFY(watcher.isScanning());
        QCOMPARE(watcher.interval(), GameWatcher::kMinIntervalMs);
        watcher.setEnabled(false);
        QVERIFY(!watcher.isScanning());
        watcher.setEnabled(true);
        watcher.setControl(nullptr);
        QVERIFY(!watcher.isScanning());
    }
};

QTEST_GUILESS_MAIN(TestGameWatcher)
#include "tst_gamewatcher.moc"
