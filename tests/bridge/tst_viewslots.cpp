// The view's bridge slots as QML calls them: by name, with QML's argument
// types, against a copy of the installed settings and the simulated mouse.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <cstring>

#include "app/myqquickview.h"
#include "bridgefakes.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "tests/common/files.h"

namespace {

// A desktop that takes or refuses every pointer setting.
class SwitchableBackend : public PointerBackend
{
public:
    explicit SwitchableBackend(bool ok) : m_ok(ok) {}
    bool setMouseSpeed(int) override { return m_ok; }
    bool setDoubleClickTime(int) override { return m_ok; }
    bool setWheelScrollLines(uint) override { return m_ok; }

private:
    bool m_ok;
};

} // namespace

class TestViewSlots : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void familyChosenWhenTheDeviceIsAccepted();
    void keyMatrixGoesToCurrentProfileFile();
    void macroSlotAlwaysTrue();
    void readsReturnVariants();
    void blockOutOfRangeIgnored();
    void pointerRefusalReachesTheScreen_data();
    void pointerRefusalReachesTheScreen();

private:
    QTemporaryDir tmp;
    QString oldCwd;
    RecordingClock clock;
    FakeHost host;
    Hid_Thread *hid = nullptr;
    myQQuickView *view = nullptr;
};

void TestViewSlots::initTestCase()
{
    QVERIFY(tmp.isValid());
    QVERIFY(TestFiles::copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules/setting"),
                                tmp.path() + QStringLiteral("/modules/setting")));
    oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
}

void TestViewSlots::cleanupTestCase()
{
    QDir::setCurrent(oldCwd);
}

void TestViewSlots::init()
{
    simmouse::Config c;
    c.family = 553;
    c.isEncode = false;
    simmouse::reset(c);
    hid = new Hid_Thread;
    hid->setClock(&clock);
    hid->setOwner(&host);
    DeviceEntry e;
    e.path = QString::fromStdString(simmouse::path(0, 0));
    e.reportLength = c.reportLength;
    e.isEncode = false;
    hid->deviceTable = {e};
    hid->currentIndex = 0;
    view = new myQQuickView;
    view->hidThread = hid;
    view->icType = QStringLiteral("553");
    view->isGun = false;
    simmouse::clearWireLog();
}

void TestViewSlots::cleanup()
{
    delete view;
    view = nullptr;
    delete hid;
    hid = nullptr;
}

void TestViewSlots::familyChosenWhenTheDeviceIsAccepted()
{
    QVERIFY(QMetaObject::invokeMethod(view, "mouseSetReportRate", Q_ARG(uchar, 8)));
    // A changed IC type takes effect when a device is accepted, not before.
    view->icType = QStringLiteral("560");
    host.ic = view->icType;
    QVERIFY(QMetaObject::invokeMethod(view, "mouseSetReportRate", Q_ARG(uchar, 8)));
    view->deviceOps().selectDriver();
    QVERIFY(QMetaObject::invokeMethod(view, "mouseSetReportRate", Q_ARG(uchar, 8)));
    QCOMPARE(wireCodes(), (QList<int>{0x01, 0x01, 0x03, 0x03, 0x03, 0x03}));
    // Any text other than exactly "560" is the 553 family.
    view->icType = QStringLiteral("5600");
    view->deviceOps().selectDriver();
    simmouse::clearWireLog();
    QVERIFY(QMetaObject::invokeMethod(view, "mouseSwitchKeyMatrix", Q_ARG(int, 1)));
    QCOMPARE(wireCommands().at(0).request.left(3), bytesOf({0x00, 0x02, 0x00}));
}

void TestViewSlots::keyMatrixGoesToCurrentProfileFile()
{
    QVERIFY(QMetaObject::invokeMethod(view, "setCurrentProfile", Q_ARG(int, 3)));
    QVariantList src;
    for (int n = 0; n < 16; ++n)
        src << 0 << 0 << QVariant(double(0xF0 + n % 5)) << 0;
    src[8] = 4;
    src[9] = 1;
    src[10] = 5;
    const QVariantList periods{60, 70, 80};
    QVERIFY(QMetaObject::invokeMethod(view, "mouseSetKeyMatrix", Q_ARG(QVariantList, src),
                                      Q_ARG(bool, true), Q_ARG(QVariantList, periods)));
    QCOMPARE(wireCommands().size(), 1);
    QCOMPARE(wireCommands().at(0).bulk.mid(8, 4), bytesOf({0x09, 0x01, 0x06, 0x00}));

    QVariantList got;
    QVERIFY(QMetaObject::invokeMethod(view, "mouseGetKeydefine", Q_RETURN_ARG(QVariantList, got),
                                      Q_ARG(QVariant, QVariant(2)), Q_ARG(bool, false)));
    QCOMPARE(QVariant(got).toStringList(), (QStringList{"4", "1", "5", "0"}));

    view->store().syncAll();
    QSettings p4(QStringLiteral("modules/setting/p4.bin"), QSettings::IniFormat);
    QCOMPARE(p4.value(QStringLiteral("mouseKeyMatrix/2")).toStringList(),
             (QStringList{"4", "1", "5", "0"}));
    QSettings p1(QStringLiteral("modules/setting/p1.bin"), QSettings::IniFormat);
    QVERIFY(p1.value(QStringLiteral("mouseKeyMatrix/2")).toStringList() != (QStringList{"4", "1", "5", "0"}));
}

void TestViewSlots::macroSlotAlwaysTrue()
{
    const QVariantList image{0, 1, 1, 4, 0, 0};
    for (int slot : {5, 12}) {
        QVariant result;
        const QVariant index(slot);
        QVERIFY(QMetaObject::invokeMethod(view, "mouseSendMacroData", Q_RETURN_ARG(QVariant, result),
                                          Q_ARG(QVariantList, image), Q_ARG(QVariant, index)));
        QCOMPARE(result, QVariant(true));
    }
    QCOMPARE(wireCodes(), (QList<int>{0x13}));
}

void TestViewSlots::readsReturnVariants()
{
    simmouse::State st = simmouse::state();
    st.currentDpiStage = 4;
    st.keyboardOption = {1, 0, 1, 0};
    simmouse::setState(st);
    QVariant dpi;
    QVERIFY(QMetaObject::invokeMethod(view, "mouseGetCurrentDPI", Q_RETURN_ARG(QVariant, dpi)));
    QCOMPARE(dpi, QVariant(4));
    // A read the mouse does not answer names no stage.
    simmouse::withholdReplies(true);
    QVERIFY(QMetaObject::invokeMethod(view, "mouseGetCurrentDPI", Q_RETURN_ARG(QVariant, dpi)));
    simmouse::withholdReplies(false);
    QCOMPARE(dpi, QVariant(-1));
    QVariantList opt;
    QVERIFY(QMetaObject::invokeMethod(view, "GetKeyboardoption", Q_RETURN_ARG(QVariantList, opt)));
    QCOMPARE(opt, (QVariantList{1, 0, 1, 0}));
}

void TestViewSlots::blockOutOfRangeIgnored()
{
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("outside 0-4 ignored")));
    QVERIFY(QMetaObject::invokeMethod(view, "mouseReadProfile", Q_ARG(uint, 5)));
    QVERIFY(wireCommands().isEmpty());
}

void TestViewSlots::pointerRefusalReachesTheScreen_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QString>("message");
    QTest::newRow("speed taken") << QByteArray("mouseSetCursorSpeed") << 4u << true << QString();
    QTest::newRow("speed refused") << QByteArray("mouseSetCursorSpeed") << 4u << false
                                   << "setCursorSpeed Failed";
    QTest::newRow("speed index out of range") << QByteArray("mouseSetCursorSpeed") << 11u << true
                                              << "setCursorSpeed Failed";
    QTest::newRow("double click taken") << QByteArray("mouseSetDoubleClickSpeed") << 10u << true << QString();
    QTest::newRow("double click refused") << QByteArray("mouseSetDoubleClickSpeed") << 0u << false
                                          << "setDoubleClickSpeed Failed";
    QTest::newRow("lines taken") << QByteArray("mouseSetVerticalScrollLines") << 1000u << true << QString();
    QTest::newRow("lines refused") << QByteArray("mouseSetVerticalScrollLines") << 3u << false
                                   << "setVerticalScrollLines Failed";
}

// The page learns of a refused setting through a signal it can connect to
// from QML; the slots keep their names and arguments.
void TestViewSlots::pointerRefusalReachesTheScreen()
{
    QFETCH(QByteArray, slot);
    QFETCH(uint, value);
    QFETCH(bool, applied);
    QFETCH(QString, message);
    view->deviceOps().pointer().setBackend(std::make_unique<SwitchableBackend>(applied));
    QVERIFY(view->metaObject()->indexOfSignal("pointerSettingFailed(QString)") >= 0);
    QSignalSpy spy(view, SIGNAL(pointerSettingFailed(QString)));
    if (!message.isEmpty())
        QTest::ignoreMessage(QtCriticalMsg, message.toLatin1().constData());
    QVERIFY(QMetaObject::invokeMethod(view, slot.constData(), Q_ARG(uint, value)));
    if (message.isEmpty()) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), message);
    }
    QVERIFY(wireCommands().isEmpty());
}

QTEST_MAIN(TestViewSlots)
#include "tst_viewslots.moc"
