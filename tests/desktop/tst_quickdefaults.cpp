// The software renderer as the default, the first-frame report, and the
// screens' use of only what that renderer can draw.
#include <QtTest>

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>

#include "app/quickdefaults.h"

class TstQuickDefaults : public QObject
{
    Q_OBJECT

private slots:
    void backendChoice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("chosen");

        QTest::newRow("nothing set") << "" << "" << false;
        QTest::newRow("opengl") << "QT_QUICK_BACKEND" << "opengl" << true;
        QTest::newRow("software asked for") << "QT_QUICK_BACKEND" << "software" << true;
        QTest::newRow("set but empty") << "QT_QUICK_BACKEND" << "" << false;
        QTest::newRow("older variable") << "QMLSCENE_DEVICE" << "softwarecontext" << true;
        QTest::newRow("GPU API") << "QSG_RHI_BACKEND" << "vulkan" << true;
        QTest::newRow("unrelated") << "QT_QPA_PLATFORM" << "xcb" << false;
    }

    void backendChoice()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, chosen);
        QProcessEnvironment env;
        env.insert("HOME", "/home/ann");
        if (!name.isEmpty())
            env.insert(name, value);
        QCOMPARE(quickdefaults::backendChosen(env), chosen);
    }

    void firstFrameWaitsForTheVisibleRoot()
    {
        QQuickWidget view;
        view.setResizeMode(QQuickWidget::SizeRootObjectToView);
        view.setClearColor(Qt::transparent);
        view.setSource(QUrl::fromLocalFile(QStringLiteral(QUILL_TEST_DATA_DIR "/hiddenroot.qml")));
        QVERIFY(view.rootObject());
        QStringList reports;
        quickdefaults::reportFirstFrame(&view, [&](const QString &line) { reports << line; });
        view.resize(120, 80);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // Frames of the hidden root are empty: nothing to report yet.
        QTest::qWait(300);
        QCOMPARE(reports, QStringList());

        view.rootObject()->setVisible(true);
        // Drawn by the software renderer: main() below made it the default
        // before the application existed.
        QTRY_COMPARE(reports, QStringList{"First frame (software)"});
        // What was reported is what the software renderer drew.
        const QImage shot = view.grabFramebuffer();
        QCOMPARE(shot.pixelColor(60, 40), QColor(0xcf, 0x3e, 0x00));

        // Later frames are not reported.
        view.rootObject()->setProperty("color", QColor(Qt::blue));
        QTest::qWait(200);
        view.rootObject()->setVisible(false);
        view.rootObject()->setVisible(true);
        QTest::qWait(200);
        QCOMPARE(reports.size(), 1);
    }

    // The software renderer draws no shader effects: the screens must not
    // need any.
    void screensUseNoGpuEffects_data()
    {
        QTest::addColumn<QString>("file");
        QDirIterator it(QStringLiteral(QUILL_SOURCE_DIR "/modules/qml"), {"*.qml"}, QDir::Files,
                        QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(QDir(QUILL_SOURCE_DIR).relativeFilePath(path))) << path;
            ++files;
        }
        QVERIFY(files > 0);
    }

    void screensUseNoGpuEffects()
    {
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (const char *needs : {"ShaderEffect", "GraphicalEffects", "MultiEffect", "layer.effect",
                                  "QtQuick.Particles", "QtQuick3D"}) {
            QVERIFY2(!text.contains(QLatin1String(needs)),
                     qPrintable(QStringLiteral("%1 uses %2").arg(file, needs)));
        }
    }
};

int main(int argc, char *argv[])
{
    qunsetenv("QT_QUICK_BACKEND");
    qunsetenv("QMLSCENE_DEVICE");
    qunsetenv("QSG_RHI_BACKEND");
    if (!quickdefaults::useSoftwareUnlessChosen())
        return 2;
    QApplication app(argc, argv);
    TstQuickDefaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_quickdefaults.moc"
