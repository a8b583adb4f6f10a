// The platform-independent input capture: key tables, key state, mouse
// button table, callbacks, WM_COPYDATA dispatch and text reading, and the
// translation of Linux key and button numbers into what the tables expect.

#include <QtTest>

#include <QAbstractEventDispatcher>

#include <cstring>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "app/inputhook.h"
#include "app/inputhook_core.h"
#include "app/inputhook_linux.h"
#include "input_support.h"

using namespace InputHook;

namespace {

// One hook event: scan code, hook flags, down.
struct KeyStroke
{
    quint32 scanCode;
    quint32 flags;
    bool isDown;
};
using Strokes = std::vector<KeyStroke>;

// What reached a callback, as text so that failures read well.
QStringList reports;
void *lastContext = nullptr;

void recordKey(unsigned char usbCode, bool isDown, void *context)
{
    lastContext = context;
    reports << key(usbCode, isDown);
}

void recordMouse(unsigned char button, bool isDown, int x, int y, void *context)
{
    lastContext = context;
    reports << click(button, isDown, x, y);
}

const CopyData *lastCopyData = nullptr;
int copyDataCalls = 0;
void recordCopyData(const CopyData *data, void *context)
{
    lastContext = context;
    lastCopyData = data;
    ++copyDataCalls;
}

// A press and release of one key, as the hook sees it.
Strokes tap(quint32 scanCode, quint32 flags = 0)
{
    return {{scanCode, flags, true}, {scanCode, flags | 0x80, false}};
}

constexpr quint32 E = kFlagExtended;
constexpr quint32 ALT = kFlagAltDown;

} // namespace

Q_DECLARE_METATYPE(Strokes)

class InputCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        buildTables(0);
        resetKeyState();
        reports.clear();
        lastContext = nullptr;
        setKeyboardCallback(recordKey, this);
        setMouseCallback(recordMouse, this);
    }
    void cleanup()
    {
        setKeyboardCallback(nullptr, nullptr);
        setMouseCallback(nullptr, nullptr);
        storeCopyDataCallback(nullptr, nullptr);
    }

    void tableShape()
    {
        QCOMPARE(kScanCodeRowCount, std::size_t(105));
        QCOMPARE(kExtraVirtualKeyCount, std::size_t(16));
        std::set<std::pair<int, bool>> keys;
        std::set<int> virtualKeys;
        for (std::size_t i = 0; i < kScanCodeRowCount; ++i) {
            const ScanCodeRow &row = kScanCodeRows[i];
            QVERIFY2(keys.insert({row.scanCode, row.extended}).second, qPrintable(QString::number(row.scanCode, 16)));
            QVERIFY2(virtualKeys.insert(row.virtualKey).second, qPrintable(QString::number(row.virtualKey, 16)));
            QVERIFY(row.virtualKey != 0 && row.usage != 0);
        }
        for (std::size_t i = 0; i < kExtraVirtualKeyCount; ++i)
            QVERIFY2(virtualKeys.insert(kExtraVirtualKeys[i].virtualKey).second,
                     qPrintable(QString::number(kExtraVirtualKeys[i].virtualKey, 16)));
        // The right Windows key must stay out of the scan code table.
        QVERIFY(!keys.count({0x5C, true}) && !keys.count({0x5C, false}));
    }

    void everyRowIsReachable()
    {
        // Each row, typed, reports its own usage (0xDC aside, which the
        // initialisation value decides).
        for (std::size_t i = 0; i < kScanCodeRowCount; ++i) {
            const ScanCodeRow &row = kScanCodeRows[i];
            const unsigned expected = row.virtualKey == 0xDC ? 0x31 : row.usage;
            QCOMPARE(unsigned(usageForKey(row.scanCode, row.extended ? E : 0)), expected);
            QCOMPARE(unsigned(scanCodeToVirtualKey(row.scanCode * 256u + (row.extended ? 1u : 0u))),
                     unsigned(row.virtualKey));
        }
    }

    void extraVirtualKeys_data()
    {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<int>("usage");
        QTest::newRow("right Windows") << 0x5C << 0xE7;
        QTest::newRow("F13") << 0x7C << 0x68;
        QTest::newRow("F24") << 0x87 << 0x73;
        QTest::newRow("F23 from its scan code row") << 0x86 << 0x72;
        QTest::newRow("C1") << 0xC1 << 0x87;
        QTest::newRow("C2") << 0xC2 << 0x85;
        QTest::newRow("EB") << 0xEB << 0x8B;
        QTest::newRow("FF") << 0xFF << 0x66;
        QTest::newRow("unknown virtual key") << 0x07 << 0x00;
        QTest::newRow("virtual key 0") << 0x00 << 0x00;
    }
    void extraVirtualKeys()
    {
        QFETCH(int, virtualKey);
        QFETCH(int, usage);
        QCOMPARE(int(virtualKeyToUsage(uchar(virtualKey))), usage);
    }

    void keySequences_data()
    {
        QTest::addColumn<Strokes>("strokes");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("A") << tap(0x1E) << tapped(0x04);
        QTest::newRow("Esc") << tap(0x01) << tapped(0x29);
        QTest::newRow("digit 0") << tap(0x0B) << tapped(0x27);
        QTest::newRow("Z") << tap(0x2C) << tapped(0x1D);
        QTest::newRow("F1") << tap(0x3B) << tapped(0x3A);
        QTest::newRow("F12") << tap(0x58) << tapped(0x45);
        QTest::newRow("space") << tap(0x39) << tapped(0x2C);
        QTest::newRow("left Ctrl") << tap(0x1D) << tapped(0xE0);
        QTest::newRow("right Ctrl") << tap(0x1D, E) << tapped(0xE4);
        QTest::newRow("right Shift") << tap(0x36, E) << tapped(0xE5);
        QTest::newRow("right Alt") << tap(0x38, E) << tapped(0xE6);
        QTest::newRow("keypad *") << tap(0x37) << tapped(0x55);
        QTest::newRow("keypad /") << tap(0x35, E) << tapped(0x54);
        QTest::newRow("slash") << tap(0x35) << tapped(0x38);
        QTest::newRow("non-US backslash") << tap(0x56) << tapped(0x64);
        QTest::newRow("Menu") << tap(0x5D, E) << tapped(0x65);
        QTest::newRow("left Windows") << tap(0x5B, E) << tapped(0xE3);
        QTest::newRow("scan 6E") << tap(0x6E) << tapped(0x72);

        QTest::newRow("held key reports once")
            << Strokes{{0x1E, 0, true}, {0x1E, 0, true}, {0x1E, 0, true}, {0x1E, 0, true}, {0x1E, 0x80, false}}
            << tapped(0x04);
        QTest::newRow("release without press") << Strokes{{0x1E, 0x80, false}} << QStringList();
        QTest::newRow("two keys overlapping")
            << Strokes{{0x1E, 0, true}, {0x30, 0, true}, {0x1E, 0x80, false}, {0x30, 0x80, false}}
            << QStringList{key(0x04, true), key(0x05, true), key(0x04, false), key(0x05, false)};
        QTest::newRow("other flag bits ignored") << tap(0x1E, 0x10) << tapped(0x04);

        QTest::newRow("keypad Enter") << tap(0x1C, E) << tapped(0x58);
        QTest::newRow("Enter") << tap(0x1C) << tapped(0x28);
        QTest::newRow("keypad 7") << tap(0x47) << tapped(0x5F);
        QTest::newRow("Home") << tap(0x47, E) << tapped(0x4A);
        Strokes numLockThenKeypad7 = tap(0x45, E);
        for (const KeyStroke &s : tap(0x47))
            numLockThenKeypad7.push_back(s);
        QTest::newRow("keypad 7 after Num Lock")
            << numLockThenKeypad7 << (tapped(0x53) + tapped(0x5F));
        QTest::newRow("Delete vs keypad .") << (Strokes{{0x53, E, true}, {0x53, 0, true}})
                                            << QStringList{key(0x4C, true), key(0x63, true)};

        QTest::newRow("Print Screen") << tap(0x37, E) << tapped(0x46);
        QTest::newRow("Alt + Print Screen")
            << Strokes{{0x38, ALT, true}, {0x54, ALT, true}, {0x54, ALT | 0x80, false}, {0x38, 0x80, false}}
            << QStringList{key(0xE2, true), key(0x46, true), key(0x46, false), key(0xE2, false)};
        QTest::newRow("SysRq without Alt") << tap(0x54) << QStringList();
        QTest::newRow("Pause") << tap(0x45) << tapped(0x48);
        QTest::newRow("Ctrl + Break")
            << Strokes{{0x1D, 0, true}, {0x46, E, true}, {0x46, E | 0x80, false}, {0x1D, 0x80, false}}
            << QStringList{key(0xE0, true), key(0x48, true), key(0x48, false), key(0xE0, false)};
        QTest::newRow("Scroll Lock is not Break") << tap(0x46) << tapped(0x47);

        QTest::newRow("right Windows unreported") << tap(0x5C, E) << QStringList();
        QTest::newRow("unknown scan code") << tap(0x55) << QStringList();
        QTest::newRow("scan code 0") << tap(0x00) << QStringList();
        QTest::newRow("extended form not in table") << tap(0x1E, E) << QStringList();
        QTest::newRow("scan above 255 is not cut to 8 bits") << tap(0x11E) << QStringList();
        QTest::newRow("huge scan code") << tap(0xFFFFFFFFu, E) << QStringList();
    }
    void keySequences()
    {
        QFETCH(Strokes, strokes);
        QFETCH(QStringList, expected);
        for (const KeyStroke &s : strokes)
            keyEvent(s.scanCode, s.flags, s.isDown);
        QCOMPARE(reports, expected);
        QCOMPARE(lastContext, expected.isEmpty() ? nullptr : static_cast<void *>(this));
        // Everything pressed here was released again, except where a row
        // deliberately leaves a key down.
        int down = 0;
        for (int u = 0; u < 256; ++u)
            down += keyState()[u];
        int expectedDown = 0;
        for (const QString &r : expected)
            expectedDown += r.endsWith("down") ? 1 : -1;
        QCOMPARE(down, expectedDown);
    }

    void backslashFollowsInitValue_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("usage");
        QTest::newRow("0") << 0 << 0x31;
        QTest::newRow("1") << 1 << 0x32;
        QTest::newRow("255") << 255 << 0x32;
    }
    void backslashFollowsInitValue()
    {
        QFETCH(int, value);
        QFETCH(int, usage);
        buildTables(uchar(value));
        QCOMPARE(int(usageForKey(0x2B, 0)), usage);
        QCOMPARE(int(virtualKeyToUsage(0xDC)), usage);
        // Only that one key depends on the value.
        QCOMPARE(int(usageForKey(0x1A, 0)), 0x2F);
        QCOMPARE(int(usageForKey(0x1B, 0)), 0x30);
        // Building anew with 0 after another value gives 0x31 again.
        buildTables(0);
        QCOMPARE(int(usageForKey(0x2B, 0)), 0x31);
    }

    void stateKeptWithoutCallback()
    {
        // Events before registration are not reported but still count: the
        // release after registering is reported, a second press is not lost.
        setKeyboardCallback(nullptr, nullptr);
        QVERIFY(keyEvent(0x1E, 0, true));
        QVERIFY(reports.isEmpty());
        QCOMPARE(int(keyState()[0x04]), 1);
        int other = 0;
        setKeyboardCallback(recordKey, &other);
        QVERIFY(!keyEvent(0x1E, 0, true));
        QVERIFY(keyEvent(0x1E, 0x80, false));
        QCOMPARE(reports, QStringList{key(0x04, false)});
        QCOMPARE(lastContext, static_cast<void *>(&other));
    }

    void mouseMessages_data()
    {
        QTest::addColumn<unsigned>("message");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("left down") << unsigned(LeftButtonDown) << 10 << 20 << QStringList{"M f0 down 10 20"};
        QTest::newRow("left up") << unsigned(LeftButtonUp) << 30 << 40 << QStringList{"M f0 up 30 40"};
        QTest::newRow("right down") << unsigned(RightButtonDown) << 0 << 0 << QStringList{"M f1 down 0 0"};
        QTest::newRow("right up") << unsigned(RightButtonUp) << 1919 << 1079 << QStringList{"M f1 up 1919 1079"};
        QTest::newRow("middle down") << unsigned(MiddleButtonDown) << 5 << 6 << QStringList{"M f2 down 5 6"};
        QTest::newRow("middle up") << unsigned(MiddleButtonUp) << 7 << 8 << QStringList{"M f2 up 7 8"};
        QTest::newRow("screen left of the primary")
            << unsigned(LeftButtonDown) << -1280 << -3 << QStringList{"M f0 down -1280 -3"};
        QTest::newRow("move") << unsigned(MouseMove) << 1 << 1 << QStringList();
        QTest::newRow("left double click") << unsigned(LeftButtonDoubleClick) << 1 << 1 << QStringList();
        QTest::newRow("right double click") << unsigned(RightButtonDoubleClick) << 1 << 1 << QStringList();
        QTest::newRow("middle double click") << unsigned(MiddleButtonDoubleClick) << 1 << 1 << QStringList();
        QTest::newRow("wheel") << unsigned(MouseWheel) << 1 << 1 << QStringList();
        QTest::newRow("horizontal wheel") << unsigned(MouseHWheel) << 1 << 1 << QStringList();
        QTest::newRow("X button down") << unsigned(XButtonDown) << 1 << 1 << QStringList();
        QTest::newRow("X button up") << unsigned(XButtonUp) << 1 << 1 << QStringList();
    }
    void mouseMessages()
    {
        QFETCH(unsigned, message);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QStringList, expected);
        QCOMPARE(mouseEvent(message, x, y), !expected.isEmpty());
        QCOMPARE(reports, expected);
    }

    void mouseKeepsNoState()
    {
        // Two presses in a row are both reported, unlike keys.
        mouseEvent(LeftButtonDown, 1, 2);
        mouseEvent(LeftButtonDown, 3, 4);
        mouseEvent(LeftButtonUp, 3, 4);
        QCOMPARE(reports, (QStringList{"M f0 down 1 2", "M f0 down 3 4", "M f0 up 3 4"}));
        QCOMPARE(lastContext, static_cast<void *>(this));
        setMouseCallback(nullptr, nullptr);
        QVERIFY(mouseEvent(LeftButtonDown, 1, 2));
        QCOMPARE(reports.size(), 3);
    }

    void copyDataDispatch_data()
    {
        QTest::addColumn<unsigned>("message");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("handled");
        QTest::newRow("WM_COPYDATA") << 0x4Au << true << true;
        QTest::newRow("WM_COPYDATA, no callback") << 0x4Au << false << false;
        QTest::newRow("other message") << 0x4Bu << true << false;
        QTest::newRow("WM_DEVICECHANGE") << 0x219u << true << false;
    }
    void copyDataDispatch()
    {
        QFETCH(unsigned, message);
        QFETCH(bool, registered);
        QFETCH(bool, handled);
        copyDataCalls = 0;
        lastCopyData = nullptr;
        int context = 0;
        storeCopyDataCallback(registered ? recordCopyData : nullptr, &context);
        char text[] = "abc";   // the Windows structure holds a non-const pointer
        const CopyData data{0x250F, 3, text};
        std::intptr_t result = -7;
        QCOMPARE(dispatchNativeMessage(message, &data, &result), handled);
        QCOMPARE(copyDataCalls, handled ? 1 : 0);
        QCOMPARE(result, handled ? std::intptr_t(1) : std::intptr_t(-7));
        if (handled) {
            QCOMPARE(lastCopyData, &data);
            QCOMPARE(lastContext, static_cast<void *>(&context));
        }
    }

    void copyDataFilterOnApplication()
    {
        int context = 0;
        copyDataCalls = 0;
        // Registering twice must not install the filter twice (one message,
        // one call).
        setCopyDataCallback(recordCopyData, QCoreApplication::instance(), &context);
        setCopyDataCallback(recordCopyData, QCoreApplication::instance(), &context);
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        QVERIFY(dispatcher);
        // Native events of this platform pass through untouched.
        int nativeEvent = 0;
        qintptr result = -7;
        QVERIFY(!dispatcher->filterNativeEvent("xcb_generic_event_t", &nativeEvent, &result));
        QCOMPARE(result, qintptr(-7));
        QCOMPARE(copyDataCalls, 0);
#ifdef Q_OS_WIN
        COPYDATASTRUCT copyData{0x250F, 0, nullptr};
        MSG msg{};
        msg.message = WM_COPYDATA;
        msg.lParam = reinterpret_cast<LPARAM>(&copyData);
        QVERIFY(dispatcher->filterNativeEvent("windows_generic_MSG", &msg, &result));
        QCOMPARE(result, qintptr(1));
        QCOMPARE(copyDataCalls, 1);
        QCOMPARE(lastContext, static_cast<void *>(&context));
#endif
        // The callback set through the application is the one dispatched to.
        const CopyData data{0x250F, 0, nullptr};
        std::intptr_t answer = 0;
        QVERIFY(dispatchNativeMessage(kCopyDataMessage, &data, &answer));
        QCOMPARE(lastContext, static_cast<void *>(&context));
    }

    void copyDataText_data()
    {
        QTest::addColumn<QByteArray>("buffer");   // exactly what the sender gave
        QTest::addColumn<int>("cbData");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("text");
        QTest::newRow("length without terminator") << QByteArray("hello") << 5 << true << "hello";
        QTest::newRow("length counting terminator") << QByteArray("hello", 6) << 6 << false << QString();
        QTest::newRow("NUL inside") << QByteArray("he\0lo", 5) << 5 << false << QString();
        QTest::newRow("bytes after cbData not read") << QByteArray("abcdef") << 3 << true << "abc";
        QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F" "e") << 7 << true << QString::fromUtf8("Grüße");
        QTest::newRow("cut inside a character") << QByteArray("Gr\xC3") << 3 << false << QString();
        QTest::newRow("not UTF-8") << QByteArray("\xFF\xFE") << 2 << false << QString();
        QTest::newRow("count shorter than the text") << QByteArray("hello") << 4 << true << "hell";
        QTest::newRow("empty") << QByteArray() << 0 << true << QString();
    }
    void copyDataText()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(int, cbData);
        QFETCH(bool, accepted);
        QFETCH(QString, text);
        // A heap block of exactly the buffer's size: no terminator follows
        // unless the row has one, so a reader that runs past it is caught by
        // the sanitizer builds.
        std::unique_ptr<char[]> block(new char[std::max<qsizetype>(buffer.size(), 1)]);
        std::memcpy(block.get(), buffer.constData(), size_t(buffer.size()));
        const CopyData data{0x250F, quint32(cbData), buffer.isEmpty() ? nullptr : block.get()};
        QString out = QStringLiteral("untouched");
        QCOMPARE(InputHook::copyDataText(&data, &out), accepted);
        QCOMPARE(out, accepted ? text : QStringLiteral("untouched"));
    }

    void copyDataTextRefusesMissingData()
    {
        QString out;
        QVERIFY(!InputHook::copyDataText(nullptr, &out));
        const CopyData noBuffer{0x250F, 5, nullptr};
        QVERIFY(!InputHook::copyDataText(&noBuffer, &out));
    }

    void linuxKeys_data()
    {
        QTest::addColumn<unsigned>("evdevCode");
        QTest::addColumn<int>("usage");   // 0: not reported; -1: no scan code
        QTest::newRow("Esc") << 1u << 0x29;
        QTest::newRow("A") << 30u << 0x04;
        QTest::newRow("Enter") << 28u << 0x28;
        QTest::newRow("keypad Enter") << 96u << 0x58;
        QTest::newRow("keypad 7") << 71u << 0x5F;
        QTest::newRow("Home") << 102u << 0x4A;
        QTest::newRow("keypad .") << 83u << 0x63;
        QTest::newRow("Delete") << 111u << 0x4C;
        QTest::newRow("Insert") << 110u << 0x49;
        QTest::newRow("Up") << 103u << 0x52;
        QTest::newRow("Down") << 108u << 0x51;
        QTest::newRow("Left") << 105u << 0x50;
        QTest::newRow("Right") << 106u << 0x4F;
        QTest::newRow("Page Up") << 104u << 0x4B;
        QTest::newRow("Page Down") << 109u << 0x4E;
        QTest::newRow("End") << 107u << 0x4D;
        QTest::newRow("left Shift") << 42u << 0xE1;
        QTest::newRow("right Shift") << 54u << 0xE5;
        QTest::newRow("left Ctrl") << 29u << 0xE0;
        QTest::newRow("right Ctrl") << 97u << 0xE4;
        QTest::newRow("left Alt") << 56u << 0xE2;
        QTest::newRow("right Alt") << 100u << 0xE6;
        QTest::newRow("keypad /") << 98u << 0x54;
        QTest::newRow("keypad *") << 55u << 0x55;
        QTest::newRow("Print Screen") << 99u << 0x46;
        QTest::newRow("Pause") << 119u << 0x48;
        QTest::newRow("Num Lock") << 69u << 0x53;
        QTest::newRow("Scroll Lock") << 70u << 0x47;
        QTest::newRow("backslash") << 43u << 0x31;
        QTest::newRow("non-US backslash") << 86u << 0x64;
        QTest::newRow("F11") << 87u << 0x44;
        QTest::newRow("F12") << 88u << 0x45;
        QTest::newRow("left Windows") << 125u << 0xE3;
        QTest::newRow("right Windows") << 126u << 0;
        QTest::newRow("Menu") << 127u << 0x65;
        QTest::newRow("F13") << 183u << 0;
        QTest::newRow("F23") << 193u << 0x72;
        QTest::newRow("code 0") << 0u << -1;
        QTest::newRow("code 84") << 84u << -1;
        QTest::newRow("Zenkaku") << 85u << -1;
        QTest::newRow("KEY_MUTE") << 113u << -1;
        QTest::newRow("above X key codes") << 300u << -1;
    }
    void linuxKeys()
    {
        QFETCH(unsigned, evdevCode);
        QFETCH(int, usage);
        quint32 scanCode = 0xDEAD;
        quint32 flags = 0xDEAD;
        const bool mapped = scanCodeForEvdevKey(evdevCode, &scanCode, &flags);
        QCOMPARE(mapped, usage >= 0);
        if (mapped)
            QCOMPARE(int(usageForKey(scanCode, flags)), usage);
    }

    void linuxReachesEveryRow()
    {
        // Every key of the table can be typed on Linux, each by one key only.
        std::set<std::pair<quint32, quint32>> seen;
        for (unsigned code = 0; code < 256; ++code) {
            quint32 scanCode = 0;
            quint32 flags = 0;
            if (scanCodeForEvdevKey(code, &scanCode, &flags))
                QVERIFY2(seen.insert({scanCode, flags}).second, qPrintable(QString::number(code)));
        }
        for (std::size_t i = 0; i < kScanCodeRowCount; ++i) {
            const ScanCodeRow &row = kScanCodeRows[i];
            QVERIFY2(seen.count({row.scanCode, row.extended ? E : 0}),
                     qPrintable(QStringLiteral("scan %1%2").arg(row.scanCode, 2, 16).arg(row.extended ? "e" : "")));
        }
    }

    void linuxButtons_data()
    {
        QTest::addColumn<unsigned>("button");
        QTest::addColumn<bool>("isPress");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("left press") << 1u << true << QStringList{"M f0 down 4 5"};
        QTest::newRow("left release") << 1u << false << QStringList{"M f0 up 4 5"};
        QTest::newRow("middle press") << 2u << true << QStringList{"M f2 down 4 5"};
        QTest::newRow("middle release") << 2u << false << QStringList{"M f2 up 4 5"};
        QTest::newRow("right press") << 3u << true << QStringList{"M f1 down 4 5"};
        QTest::newRow("right release") << 3u << false << QStringList{"M f1 up 4 5"};
        for (unsigned b = 4; b <= 9; ++b) {
            QTest::addRow("button %u press", b) << b << true << QStringList();
            QTest::addRow("button %u release", b) << b << false << QStringList();
        }
        QTest::newRow("button 0") << 0u << true << QStringList();
        QTest::newRow("button 12") << 12u << true << QStringList();
    }
    void linuxButtons()
    {
        QFETCH(unsigned, button);
        QFETCH(bool, isPress);
        QFETCH(QStringList, expected);
        unsigned message = 0;
        if (mouseMessageForX11Button(button, isPress, &message))
            mouseEvent(message, 4, 5);
        QCOMPARE(reports, expected);
    }
};

QTEST_GUILESS_MAIN(InputCoreTest)
#include "tst_input_core.moc"
