// The window put away in the tray: the view lets its pictures and its frame
// go while hidden, and shown again it looks and stands exactly as before.
#include <QtTest>

#include <QApplication>
#include <QBackingStore>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include "app/myqquickview.h"
#include "app/quickdefaults.h"
#include "app/ui_controler.h"
#include "app/widget.h"
#include "tests/common/files.h"

namespace {

// Every picture of the scene: the screen's and those of open lists.
void collectPictures(QQuickItem *item, QList<QQuickItem *> &found)
{
    if (item->inherits("QQuickImage"))
        found << item;
    for (QQuickItem *child : item->childItems())
        collectPictures(child, found);
}

} // namespace

class TestHiddenView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_oldCwd;
    std::unique_ptr<Widget> m_window;

    myQQuickView *view() const { return m_window->view(); }
    QQuickItem *root() const { return view()->rootObject(); }
    QObject *page(const char *name) const { return root()->findChild<QObject *>(QLatin1String(name)); }

    QList<QQuickItem *> pictures() const
    {
        QList<QQuickItem *> found;
        collectPictures(view()->quickWindow()->contentItem(), found);
        return found;
    }
    int loadedPictures() const
    {
        int n = 0;
        for (QQuickItem *p : pictures())
            n += p->property("status").toInt() == 1;   // Image.Ready
        return n;
    }

    // What the user sees: the window as painted from the view's frame ...
    QImage seen() const { return m_window->grab().toImage(); }
    // ... and as it stands on the screen, once painted and flushed there.
    QImage onScreen() const
    {
        QImage last;
        for (int i = 0; i < 250; ++i) {
            QTest::qWait(20);
            const QImage now = m_window->screen()->grabWindow(m_window->winId()).toImage();
            if (!now.isNull() && now == last && qGray(now.pixel(512, 300)) > 0)
                return now;
            last = now;
        }
        return {};
    }

    // Shows the window and waits until a frame with every change so far has
    // been drawn.
    void showAndDraw()
    {
        m_window->restoreWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy frames(view()->quickWindow(), &QQuickWindow::afterRendering);
        view()->quickWindow()->update();
        QVERIFY(frames.wait(5000));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestFiles::copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules/setting"),
                                    m_dir.filePath("modules/setting")));
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }

    void init()
    {
        m_window = std::make_unique<Widget>();
        // The close button hides to a tray (without one it would end the program).
        m_window->setTrayProbe([] { return true; });
        QVERIFY(root());
        // The screen as after its start-up picture.
        root()->setProperty("visible", true);
        root()->setProperty("started", true);
        m_window->move(140, 90);
    }
    void cleanup() { m_window.reset(); }
    void cleanupTestCase() { QDir::setCurrent(m_oldCwd); }

    void comesBackAsItWas_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("hide");
        QTest::newRow("main screen, closed to the tray") << "" << "close";
        QTest::newRow("main screen, mouse gone") << "" << "hide";
        QTest::newRow("gun editor open") << "gunEditor" << "close";
        QTest::newRow("profile list open") << "profileList" << "close";
        QTest::newRow("key assignment scrolled") << "keyAssigment" << "close";
    }

    void comesBackAsItWas()
    {
        QFETCH(QString, state);
        QFETCH(QString, hide);
        showAndDraw();
        if (state == "profileList") {
            QVERIFY(QMetaObject::invokeMethod(page("profileList"), "open"));
        } else if (!state.isEmpty()) {
            QObject *dialog = page(qPrintable(state));
            QVERIFY(dialog);
            QVERIFY(QMetaObject::invokeMethod(root(), "openDialog",
                                              Q_ARG(QVariant, QVariant::fromValue(dialog))));
            if (state == "keyAssigment") {
                QObject *scroller = nullptr;
                for (QQuickItem *f : dialog->findChildren<QQuickItem *>()) {
                    if (f->inherits("QQuickFlickable"))
                        scroller = f;
                }
                QVERIFY(scroller);
                scroller->setProperty("contentY", 120);
            }
        }
        showAndDraw();
        const QImage before = seen();
        const QImage beforeOnScreen = onScreen();
        QVERIFY(!beforeOnScreen.isNull());
        const QPoint position = m_window->pos();
        const int loaded = loadedPictures();
        QVERIFY(loaded >= 5);   // background, title bar, logo, mouse, icons...

        // Two rounds: what was let go once comes back and goes again.
        for (int round = 0; round < 2; ++round) {
            QSignalSpy released(view(), &myQQuickView::drawingReleased);
            if (hide == "close")
                m_window->controller()->onClose();
            else
                m_window->setVisible(false);
            QVERIFY(!m_window->isVisible());
            QVERIFY(released.wait(5000));
            QCOMPARE(loadedPictures(), 0);
            // The window's buffer of the screen's size is gone as well.
            QCOMPARE(m_window->backingStore()->size(), QSize(1, 1));

            // Shown: drawn before its first paint, the same as before.
            m_window->restoreWindow();
            QCOMPARE(seen(), before);
            QCOMPARE(m_window->pos(), position);
            QCOMPARE(loadedPictures(), loaded);
            QCOMPARE(onScreen(), beforeOnScreen);
        }
        if (state == "profileList")
            QVERIFY(page("profileList")->property("opened").toBool());
        else if (!state.isEmpty())
            QVERIFY(page(qPrintable(state))->property("visible").toBool());
    }

    // A while in the tray with nothing unsaved: the screens go, and shown
    // again they are built anew as the first initialisation left them, at
    // once and without the start-up picture. Unsaved changes or an open
    // dialog keep them.
    void letsScreensGoInTheTray_data()
    {
        QTest::addColumn<QString>("keep");
        QTest::addColumn<bool>("unloaded");
        QTest::newRow("nothing unsaved") << "" << true;
        QTest::newRow("unsaved DPI stages") << "dpiPage" << false;
        QTest::newRow("dialog open") << "gunEditor" << false;
    }

    void letsScreensGoInTheTray()
    {
        QFETCH(QString, keep);
        QFETCH(bool, unloaded);
        showAndDraw();
        QVERIFY(QMetaObject::invokeMethod(root(), "initUI"));
        QTRY_VERIFY(view()->isEnabled());   // the start-up lock is over
        QCOMPARE(root()->property("isPownOn").toBool(), true);
        if (keep == "dpiPage")
            page("dpiPage")->setProperty("isSave", true);
        else if (!keep.isEmpty())
            QVERIFY(QMetaObject::invokeMethod(root(), "openDialog",
                                              Q_ARG(QVariant, QVariant::fromValue(page(qPrintable(keep))))));
        view()->setUnloadDelay(0);
        QSignalSpy released(view(), &myQQuickView::drawingReleased);
        QSignalSpy letGo(view(), &myQQuickView::screensLetGo);
        m_window->controller()->onClose();
        QVERIFY(released.wait(5000));
        QCOMPARE(letGo.wait(500), unloaded);
        QCOMPARE(view()->screensUnloaded(), unloaded);
        QCOMPARE(root() == nullptr, unloaded);
        // A connection while away is not lost.
        view()->initUI();

        m_window->restoreWindow();
        QVERIFY(root());
        QCOMPARE(root()->property("visible").toBool(), true);
        QCOMPARE(root()->property("started").toBool(), true);
        QCOMPARE(root()->property("isPownOn").toBool(), true);
        QVERIFY(page("profilePage")->property("model").value<QObject *>());
        QCOMPARE(page("startupPicture")->property("visible").toBool(), false);
    }

    void shownAgainAtOnceKeepsEverything()
    {
        showAndDraw();
        const QImage before = seen();
        QSignalSpy released(view(), &myQQuickView::drawingReleased);
        m_window->controller()->onClose();
        m_window->restoreWindow();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(released.count(), 0);
        QVERIFY(loadedPictures() > 0);
        QTRY_COMPARE(seen(), before);
    }
};

int main(int argc, char *argv[])
{
    // The program's renderer: the view's frame is its own image.
    quickdefaults::useSoftwareUnlessChosen();
    QApplication app(argc, argv);
    TestHiddenView test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hiddenview.moc"
