// The Debian package as a user meets it: unpacked into a temporary root, its
// program runs as an ordinary user with an empty home against the simulated
// mouse on its own X server, connects, keeps its settings in that user's data
// folder and leaves the unpacked tree as it was.
#include <QtTest>

#include <QImageReader>

#include <unistd.h>

namespace {

constexpr uint kNobody = 65534;

QString run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        p.kill();
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

bool isRoot()
{
    return geteuid() == 0;
}

// Path, kind, mode, size, content hash and link target of every entry.
QStringList treeState(const QString &root)
{
    QStringList state;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString line = QDir(root).relativeFilePath(info.filePath()) + ' '
            + QString::number(uint(info.permissions()), 16) + ' ';
        if (info.isSymLink()) {
            line += "-> " + info.symLinkTarget();
        } else if (info.isDir()) {
            line += "dir";
        } else {
            QFile f(info.filePath());
            f.open(QIODevice::ReadOnly);
            line += QString::number(info.size()) + ' '
                + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        }
        state << line;
    }
    state.sort();
    return state;
}

bool chownTo(const QString &path, uint uid)
{
    return ::chown(QFile::encodeName(path).constData(), uid, uid) == 0;
}

} // namespace

class TstPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_tree;      // the unpacked package
    QProcess m_xserver;
    QString m_display;

    QString tree(const QString &rel) const { return m_tree + '/' + rel; }

    // A home folder (empty or absent) and runtime folder the user owns.
    QString makeUserFolder(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        if (!QDir().mkpath(path))
            return {};
        if (isRoot() && !chownTo(path, kNobody))
            return {};
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // Starts the unpacked program as an ordinary user: as root through
    // setpriv as nobody; otherwise as ourselves, with the tree read-only.
    void startProgram(QProcess &program, const QString &home, const QString &runtime)
    {
        QProcessEnvironment env;
        env.insert("PATH", "/usr/bin:/bin");
        env.insert("HOME", home);
        env.insert("TMPDIR", runtime);
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("DISPLAY", m_display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("LANG", "C.UTF-8");
        env.insert("LD_LIBRARY_PATH", QStringLiteral(SIMHID_DIR));   // the simulated mouse
        env.insert("SIMMOUSE_SOCKET", runtime + "/simmouse.sock");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(runtime);
        program.setProcessChannelMode(QProcess::MergedChannels);
        const QString exe = tree("usr/bin/quillmouse");   // the link, as a desktop starts it
        if (isRoot())
            program.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--", exe});
        else
            program.start(exe, QStringList());
    }

    static QString waitOutput(QProcess &program, QString &output, const QString &line, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!output.contains(line) && !deadline.hasExpired() && program.state() == QProcess::Running) {
            program.waitForReadyRead(200);
            output += QString::fromUtf8(program.readAll());
        }
        return output;
    }

    static void stop(QProcess &program)
    {
        program.terminate();
        if (!program.waitForFinished(10000)) {
            program.kill();
            program.waitForFinished(10000);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The ordinary user must reach the unpacked tree and its own folders.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::ExeOther));

        QDir packages(QStringLiteral(PACKAGE_DIR));
        const QStringList debs = packages.entryList({"quillmouse_*.deb"}, QDir::Files, QDir::Time);
        QVERIFY2(!debs.isEmpty(), "no package: the desktop_package_build test makes it");
        m_deb = packages.filePath(debs.first());

        m_tree = m_dir.filePath("root");
        int code = -1;
        const QString out = run("dpkg", {"-x", m_deb, m_tree}, &code);
        QVERIFY2(code == 0, qPrintable(out));
        QVERIFY(QFile::setPermissions(m_tree, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadOther | QFile::ExeOther));
        if (!isRoot())
            QCOMPARE(run("chmod", {"-R", "a-w", m_tree + "/usr"}), QString());

        // An X server of our own, which any local user may use.
        m_xserver.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        QVERIFY(m_xserver.waitForStarted(30000));
        QDeadlineTimer deadline(30000);
        QByteArray number;
        while (!number.contains('\n') && !deadline.hasExpired() && m_xserver.state() == QProcess::Running) {
            m_xserver.waitForReadyRead(200);
            number += m_xserver.readAllStandardOutput();
        }
        QVERIFY2(number.contains('\n'), "Xvfb gave no display number");
        m_display = ':' + QString::fromLatin1(number.trimmed());
    }

    void cleanupTestCase()
    {
        m_xserver.terminate();
        if (!m_xserver.waitForFinished(10000))
            m_xserver.kill();
        if (!m_tree.isEmpty() && !isRoot())
            run("chmod", {"-R", "u+w", m_tree});
    }

    void holdsWhatTheDesktopNeeds_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *p : {"usr/lib/quillmouse/QuillMouse",
                              "usr/lib/quillmouse/modules/setting/apConfig.bin",
                              "usr/lib/quillmouse/modules/i18n/English.ini",
                              "usr/lib/quillmouse/modules/img/logo.ico",
                              "usr/lib/udev/rules.d/70-quillmouse.rules",
                              "usr/share/applications/example.torvale.QuillMouse.desktop",
                              "usr/share/metainfo/example.torvale.QuillMouse.metainfo.xml",
                              "usr/share/quillmouse/autostart/example.torvale.QuillMouse.desktop",
                              "usr/share/icons/hicolor/16x16/apps/example.torvale.QuillMouse.png",
                              "usr/share/icons/hicolor/48x48/apps/example.torvale.QuillMouse.png",
                              "usr/share/icons/hicolor/256x256/apps/example.torvale.QuillMouse.png",
                              "usr/share/icons/hicolor/scalable/apps/example.torvale.QuillMouse.svg"})
            QTest::newRow(p) << QString(p);
    }

    void holdsWhatTheDesktopNeeds()
    {
        QFETCH(QString, path);
        const QFileInfo info(tree(path));
        QVERIFY2(info.isFile() && info.size() > 0, qPrintable(path));
    }

    void layout()
    {
        QCOMPARE(QFileInfo(tree("usr/bin/quillmouse")).symLinkTarget(), tree("usr/lib/quillmouse/QuillMouse"));
        QVERIFY(QFileInfo(tree("usr/lib/quillmouse/QuillMouse")).isExecutable());
        QVERIFY(QFileInfo(tree("usr/lib/quillmouse/modules/macro")).isDir());
        // The screens are compiled in; the rule is the one the build generated.
        QVERIFY(!QFileInfo::exists(tree("usr/lib/quillmouse/modules/qml")));
        QFile built(QStringLiteral(QUILL_UDEV_RULE)), packed(tree("usr/lib/udev/rules.d/70-quillmouse.rules"));
        QVERIFY(built.open(QIODevice::ReadOnly) && packed.open(QIODevice::ReadOnly));
        QCOMPARE(packed.readAll(), built.readAll());
        // The icons are rendered at their size.
        QCOMPARE(QImageReader(tree("usr/share/icons/hicolor/48x48/apps/example.torvale.QuillMouse.png")).size(),
                 QSize(48, 48));
    }

    void dependsOnWhatItLoads()
    {
        int code = -1;
        const QString depends = run("dpkg-deb", {"--field", m_deb, "Depends"}, &code);
        QCOMPARE(code, 0);
        // Linked libraries (found by dpkg-shlibdeps) and what is loaded by name.
        for (const char *package : {"libhidapi-hidraw0", "libqt6quickwidgets6", "libqt6quick6", "libudev1",
                                    "qml6-module-qtquick,", "qt6-qpa-plugins"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(package + (": " + depends)));
    }

    void desktopFilesAreValid_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop entry") << "desktop-file-validate"
                                       << QStringList{tree("usr/share/applications/example.torvale.QuillMouse.desktop")};
        QTest::newRow("autostart entry")
            << "desktop-file-validate"
            << QStringList{tree("usr/share/quillmouse/autostart/example.torvale.QuillMouse.desktop")};
        QTest::newRow("metainfo") << "appstreamcli"
                                  << QStringList{"validate", "--no-net",
                                                 tree("usr/share/metainfo/example.torvale.QuillMouse.metainfo.xml")};
    }

    void desktopFilesAreValid()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(tool + " is missing (setup.sh installs desktop-file-utils and appstream)"));
        int code = -1;
        const QString out = run(tool, args, &code);
        QVERIFY2(code == 0, qPrintable(out));
    }

    void runsForAnOrdinaryUser()
    {
        const QStringList before = treeState(m_tree);
        const QString home = makeUserFolder("home");
        const QString runtime = makeUserFolder("run");
        QVERIFY(!home.isEmpty() && !runtime.isEmpty());

        QProcess program;
        startProgram(program, home, runtime);
        QVERIFY(program.waitForStarted(30000));
        QString output;
        waitOutput(program, output, "Device Connect", 60000);
        waitOutput(program, output, "First frame", 30000);
        const QString userBase = home + "/.local/share/QuillMouse";
        const QString cwd = QFileInfo(QString("/proc/%1/cwd").arg(program.processId())).symLinkTarget();
        stop(program);

        QVERIFY2(output.contains("Device Connect"), qPrintable(output));
        QVERIFY2(output.contains("First frame (software)"), qPrintable(output));
        QVERIFY2(!output.contains("Settings cannot be saved"), qPrintable(output));
        // It worked in the user's copy, which the user owns.
        QCOMPARE(cwd, userBase);
        for (const char *rel : {"modules/setting/apConfig.bin", "modules/setting/p1.bin", ".installed"}) {
            const QFileInfo copy(userBase + '/' + rel);
            QVERIFY2(copy.isFile(), rel);
            if (isRoot())
                QCOMPARE(copy.ownerId(), kNobody);
        }
        QVERIFY(QFileInfo(userBase + "/modules/macro").isDir());
        // Nothing in the installed tree changed.
        QCOMPARE(treeState(m_tree), before);
    }

    void homeThatCannotBeWrittenIsReported()
    {
        const QStringList before = treeState(m_tree);
        const QString runtime = makeUserFolder("run2");
        QVERIFY(!runtime.isEmpty());
        // Below a plain file: no user, root included, can make it.
        const QString blocker = m_dir.filePath("blocker");
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString home = blocker + "/home";

        QProcess program;
        startProgram(program, home, runtime);
        QVERIFY(program.waitForStarted(30000));
        QString output;
        waitOutput(program, output, "Device Connect", 60000);
        stop(program);

        QVERIFY2(output.contains("Settings cannot be saved: cannot create the folder " + home
                                 + "/.local/share/QuillMouse/modules. Working from the installed settings in "
                                 + tree("usr/lib/quillmouse")),
                 qPrintable(output));
        QVERIFY2(output.contains("Device Connect"), qPrintable(output));
        QCOMPARE(treeState(m_tree), before);
    }
};

QTEST_GUILESS_MAIN(TstPackage)
#include "tst_package.moc"
