// Which processes a binding takes: names, folders, Wine and Proton command
// lines, the 15-character short name.
#include <QtTest>

#include "gamewatch/gamematch.h"

namespace {

ProcessInfo proc(const QString &comm, const QString &exe, const QStringList &args)
{
    ProcessInfo p;
    p.pid = 100;
    p.comm = comm;
    p.exe = exe;
    p.args = args;
    return p;
}

} // namespace

class TestGameMatch : public QObject
{
    Q_OBJECT
private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("comm");
        QTest::addColumn<QString>("exe");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("expected");

        const QString wine = QStringLiteral("/usr/bin/wine64-preloader");
        QTest::newRow("name: executable")
            << "hl2_linux" << "hl2_linux" << "/games/hl2/hl2_linux" << QStringList{"./hl2_linux"} << true;
        QTest::newRow("name: unreadable exe, argv[0]")
            << "hl2_linux" << "hl2_linux" << "" << QStringList{"/games/hl2/hl2_linux", "-game"} << true;
        QTest::newRow("name: short name only")
            << "hl2_linux" << "hl2_linux" << "" << QStringList{} << true;
        QTest::newRow("name: long name cut in comm, argv[0] whole")
            << "supertuxkart-beta" << "supertuxkart-be" << "" << QStringList{"/usr/games/supertuxkart-beta"}
            << true;
        QTest::newRow("name: long name, short name alone proves nothing")
            << "supertuxkart-beta" << "supertuxkart-be" << "" << QStringList{} << false;
        QTest::newRow("name: Wine loader, Windows argument")
            << "eldenring.exe" << "wine64-preloade" << wine
            << QStringList{wine, "C:\\Games\\ELDEN RING\\Game\\EldenRing.exe"} << true;
        QTest::newRow("name: Proton, Linux argument")
            << "eldenring.exe" << "proton" << "/usr/bin/python3"
            << QStringList{"python3", "/steam/proton", "waitforexitandrun", "/steam/common/ELDEN RING/Game/eldenring.exe"}
            << true;
        QTest::newRow("name: other program")
            << "hl2_linux" << "bash" << "/usr/bin/bash" << QStringList{"bash"} << false;
        QTest::newRow("name: only a part of a basename")
            << "hl2" << "hl2_linux" << "/games/hl2/hl2_linux" << QStringList{"/games/hl2/hl2_linux"} << false;
        QTest::newRow("name: case counts for Linux names")
            << "Game" << "game" << "/opt/game" << QStringList{"/opt/game"} << false;

        QTest::newRow("path: executable below folder")
            << "/games/Witcher 3" << "witcher3" << "/games/Witcher 3/bin/witcher3" << QStringList{"witcher3"} << true;
        QTest::newRow("path: folder with trailing slash")
            << "/games/Witcher 3/" << "witcher3" << "/games/Witcher 3/bin/witcher3" << QStringList{} << true;
        QTest::newRow("path: argument below folder")
            << "/games/Witcher 3" << "python3" << "/usr/bin/python3"
            << QStringList{"python3", "/games/Witcher 3/launch.py"} << true;
        QTest::newRow("path: Wine drive Z: is the root")
            << "/home/me/Games/Hades" << "Hades.exe" << wine
            << QStringList{"Z:\\home\\me\\Games\\Hades\\x64\\Hades.exe"} << true;
        QTest::newRow("path: Windows folder, other case")
            << "C:\\Games\\Hades" << "Hades.exe" << wine << QStringList{"c:\\games\\hades\\Hades.exe"} << true;
        QTest::newRow("path: whole segments only")
            << "/games/x" << "xy" << "/games/xy/run" << QStringList{"/games/xy/run"} << false;
        QTest::newRow("path: Linux paths keep case")
            << "/games/Hades" << "hades" << "/games/hades/run" << QStringList{"/games/hades/run"} << false;
    }

    void matches()
    {
        QFETCH(QString, program);
        QFETCH(QString, comm);
        QFETCH(QString, exe);
        QFETCH(QStringList, args);
        QFETCH(bool, expected);
        QCOMPARE(gamematch::matches(program, proc(comm, exe, args)), expected);
    }

    // Where several bindings take a process, the most specific one counts.
    void mostSpecificBindingWins()
    {
        const QList<GameBinding> bindings{{"/games", 1}, {"/games/Hades", 2}, {"other", 3}};
        QCOMPARE(gamematch::bindingFor(bindings, proc("Hades", "/games/Hades/Hades", {})), 1);
        QCOMPARE(gamematch::bindingFor(bindings, proc("tux", "/games/tux/tux", {})), 0);
        QCOMPARE(gamematch::bindingFor(bindings, proc("bash", "/bin/bash", {"bash"})), -1);
    }
};

QTEST_APPLESS_MAIN(TestGameMatch)
#include "tst_gamematch.moc"
