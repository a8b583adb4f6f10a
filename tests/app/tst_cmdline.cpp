// The command line without a program: parsing, the profile list rules and
// the texts printed, over a fake ProfileControl.
#include <QtTest>

#include "app/cmdline.h"

using namespace cmdline;

namespace {

class FakeControl : public ProfileControl
{
public:
    QList<QPair<int, QString>> rows{{0, "Standard"}, {1, "profile_0"}, {4, "Quake 3"}};
    int active = 1;
    Status answer = Done;
    QStringList calls;

    QList<QPair<int, QString>> profiles() const override { return rows; }
    int activeProfile() const override { return active; }
    Status activateProfile(int p) override { calls << QString("activate %1").arg(p); return answer; }
    Status setDpiStage(int s) override { calls << QString("stage %1").arg(s); return answer; }
    DeviceStatus status() override { return {true, "553", 4, 2, 1000}; }
    bool exportProfile(int p, const QString &f, QString *e) override
    {
        calls << QString("export %1 %2").arg(p).arg(f);
        *e = "cannot write \"" + f + "\"";
        return answer == Done;
    }
    bool importProfile(int p, const QString &f, QString *e) override
    {
        calls << QString("import %1 %2").arg(p).arg(f);
        *e = "cannot read \"" + f + "\"";
        return answer == Done;
    }
};

} // namespace

class TestCmdline : public QObject
{
    Q_OBJECT
private slots:
    void parsing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("canonical");   // the forwarded arguments, or the error's start
        const auto row = [](const char *name, QStringList args, Action a, QString canonical) {
            QTest::newRow(name) << args << int(a) << canonical;
        };
        row("none", {}, Action::None, "");
        row("help", {"--help"}, Action::Help, "--help");
        row("short help", {"-h"}, Action::Help, "--help");
        row("version", {"--version"}, Action::Version, "--version");
        row("profile number", {"--profile", "2"}, Action::Profile, "--profile 2");
        row("profile name", {"--profile", "Quake 3"}, Action::Profile, "--profile Quake 3");
        row("profile inline", {"--profile=4"}, Action::Profile, "--profile 4");
        row("dpi stage", {"--dpi-stage", "8"}, Action::DpiStage, "--dpi-stage 8");
        row("list json", {"--json", "--list-profiles"}, Action::ListProfiles, "--list-profiles --json");
        row("status", {"--status"}, Action::Status, "--status");
        row("export", {"--export-profile", "5", "a.pf"}, Action::ExportProfile, "--export-profile 5 a.pf");
        row("import", {"--import-profile", "0", "b.pf"}, Action::ImportProfile, "--import-profile 0 b.pf");
        // Bad arguments: no action, a message naming what was wrong.
        row("unknown option", {"--frobnicate"}, Action::None, "unknown option \"--frobnicate\"");
        row("stray word", {"--status", "now"}, Action::None, "unexpected argument \"now\"");
        row("missing value", {"--profile"}, Action::None, "--profile: a value is missing");
        row("empty profile", {"--profile", ""}, Action::None, "--profile: the profile is empty");
        row("stage 0", {"--dpi-stage", "0"}, Action::None, "--dpi-stage: stage \"0\" is not a number from 1 to 8");
        row("stage 9", {"--dpi-stage", "9"}, Action::None, "--dpi-stage: stage \"9\"");
        row("stage word", {"--dpi-stage", "two"}, Action::None, "--dpi-stage: stage \"two\"");
        row("profile 6", {"--export-profile", "6", "a.pf"}, Action::None,
            "--export-profile: profile \"6\" is not a number from 0 to 5");
        row("no file", {"--import-profile", "1"}, Action::None, "--import-profile: a value is missing");
        row("two commands", {"--status", "--list-profiles"}, Action::None,
            "--list-profiles: only one command at a time");
        row("json alone", {"--json", "--dpi-stage", "2"}, Action::None, "--json goes with");
        row("value on flag", {"--status=1"}, Action::None, "--status takes no value");
    }

    void parsing()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, canonical);
        const Parsed p = parse(args);
        QCOMPARE(int(p.command.action), action);
        if (action == int(Action::None) && !canonical.isEmpty())
            QVERIFY2(p.error.startsWith(canonical), qPrintable(p.error));
        else
            QCOMPARE(arguments(p.command).join(' '), canonical);
    }

    void profileRows_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("addNumber");
        QTest::addColumn<QString>("afterAdding");
        QTest::newRow("empty") << QStringList{} << "0:Standard" << 0 << "Standard0";
        QTest::newRow("marker") << QStringList{"Standard0", "loaderzentic"} << "0:Standard" << 3
                                << "Standard0 profile_03";
        QTest::newRow("names taken") << QStringList{"Standard0", "profile_01", "profile_12"}
                                     << "0:Standard 1:profile_0 2:profile_1" << 5
                                     << "Standard0 profile_01 profile_12 profile_25";
    }

    void profileRows()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, rows);
        QFETCH(int, addNumber);
        QFETCH(QString, afterAdding);
        const ProfileRows read = rowsOf(QVariant(stored).toList());
        QStringList shown;
        for (const auto &r : read)
            shown << QString("%1:%2").arg(r.first).arg(r.second);
        QCOMPARE(shown.join(' '), rows);
        QCOMPARE(withRowFor(read, addNumber).join(' '), afterAdding);
    }

    // Running a command: exit status, output, and what the control was asked.
    void running_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");   // out, or err when the status is not 0
        QTest::addColumn<QString>("calls");
        const int done = ProfileControl::Done, bad = ProfileControl::BadArguments;
        const int none = ProfileControl::NoMouse, failed = ProfileControl::WriteFailed;
        QTest::newRow("by number") << QStringList{"--profile", "4"} << done << done
                                   << "profile 4 \"Quake 3\" is active\n" << "activate 4";
        QTest::newRow("by name") << QStringList{"--profile", "Quake 3"} << done << done
                                 << "profile 4 \"Quake 3\" is active\n" << "activate 4";
        QTest::newRow("unknown number") << QStringList{"--profile", "3"} << done << bad
            << "quillmouse: unknown profile 3 (no profile row has this number)\n" << "";
        QTest::newRow("unknown name") << QStringList{"--profile", "Doom"} << done << bad
            << "quillmouse: unknown profile \"Doom\" (no profile row has this name)\n" << "";
        QTest::newRow("no mouse") << QStringList{"--profile", "0"} << none << none
                                  << "quillmouse: no mouse connected\n" << "activate 0";
        QTest::newRow("refused") << QStringList{"--dpi-stage", "3"} << failed << failed
            << "quillmouse: the mouse did not take the setting (a write failed)\n" << "stage 3";
        QTest::newRow("stage") << QStringList{"--dpi-stage", "3"} << done << done
                               << "DPI stage 3 is current\n" << "stage 3";
        QTest::newRow("list") << QStringList{"--list-profiles"} << done << done
                              << "  0 Standard\n* 1 profile_0\n  4 Quake 3\n" << "";
        QTest::newRow("list json") << QStringList{"--list-profiles", "--json"} << done << done
            << "[{\"active\":false,\"name\":\"Standard\",\"number\":0},"
               "{\"active\":true,\"name\":\"profile_0\",\"number\":1},"
               "{\"active\":false,\"name\":\"Quake 3\",\"number\":4}]\n" << "";
        QTest::newRow("status") << QStringList{"--status"} << done << done
            << "mouse: connected\nfamily: 553\nprofile: 4 Quake 3\ndpi stage: 2\nreport rate: 1000 Hz\n" << "";
        QTest::newRow("status json") << QStringList{"--status", "--json"} << done << done
            << "{\"activeProfile\":4,\"activeProfileName\":\"Quake 3\",\"connected\":true,"
               "\"currentStage\":2,\"family\":\"553\",\"reportRate\":1000}\n" << "";
        QTest::newRow("export") << QStringList{"--export-profile", "1", "/t/a.pf"} << done << done
                                << "profile 1 exported to /t/a.pf\n" << "export 1 /t/a.pf";
        QTest::newRow("export fails") << QStringList{"--export-profile", "1", "/t/a.pf"} << failed << bad
                                      << "quillmouse: cannot write \"/t/a.pf\"\n" << "export 1 /t/a.pf";
        QTest::newRow("import fails") << QStringList{"--import-profile", "2", "/t/b.pf"} << failed << bad
                                      << "quillmouse: cannot read \"/t/b.pf\"\n" << "import 2 /t/b.pf";
        QTest::newRow("bad args") << QStringList{"--dpi-stage"} << done << bad
            << "quillmouse: --dpi-stage: a value is missing (see --help)\n" << "";
        QTest::newRow("version") << QStringList{"--version"} << done << done
                                 << "quillmouse " QUILL_VERSION_TEXT "\n" << "";
    }

    void running()
    {
        QFETCH(QStringList, args);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, calls);
        FakeControl control;
        control.answer = ProfileControl::Status(answer);
        const Result r = run(args, &control);
        QCOMPARE(r.status, status);
        QCOMPARE(status == 0 ? r.out : r.err, output);
        QCOMPARE(status == 0 ? r.err : r.out, QString());
        QCOMPARE(control.calls.join(';'), calls);
    }

    void statusUnknownTexts()
    {
        const ProfileControl::DeviceStatus s{false, "", 0, 0, 0};
        QCOMPARE(formatStatus(s, {}, false),
                 QString("mouse: not connected\nfamily: unknown\nprofile: 0\ndpi stage: unknown\n"
                         "report rate: unknown\n"));
    }
};

QTEST_GUILESS_MAIN(TestCmdline)
#include "tst_cmdline.moc"
