// The simulated device as hidapi shows it: enumeration, plugging, the
// notification interface with its waiting reads, fault injection, wire log.
#include "simhost.h"
#include "tests/common/simsamples.h"

#include <QtTest>

#include <atomic>
#include <future>

using simmouse::Config;
using simmouse::Kind;

namespace {

struct Interface
{
    std::string path;
    uint16_t vid, pid, usagePage, usage;
    int number;
};

std::vector<Interface> enumerate(uint16_t vid, uint16_t pid)
{
    std::vector<Interface> out;
    hid_device_info *list = hid_enumerate(vid, pid);
    for (hid_device_info *i = list; i; i = i->next)
        out.push_back({i->path, i->vendor_id, i->product_id, i->usage_page, i->usage, i->interface_number});
    hid_free_enumeration(list);
    return out;
}

std::atomic<int> changes{0};
void countChange(void *ctx)
{
    ++changes;
    // The callback may enumerate at once: no lock may be held around it.
    static_cast<std::vector<size_t> *>(ctx)->push_back(enumerate(0, 0).size());
}

int readNotify(hid_device *h, std::vector<uint8_t> &out, int timeoutMs)
{
    out.assign(16, 0);
    const int n = hid_read_timeout(h, out.data(), 4, timeoutMs);
    out.resize(n > 0 ? size_t(n) : 0);
    return n;
}

} // namespace

class TstSimDevice : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        simmouse_set_change_callback(nullptr, nullptr);
        simmouse::reset();
    }

    void enumeration_data()
    {
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<QStringList>("paths");
        const QStringList mouse = {"sim:04d9:a1ee:0", "sim:04d9:a1ee:1"};
        const QStringList keyboard = {"sim1:04d9:8008:0", "sim1:04d9:8008:1"};
        QTest::newRow("mouse by its IDs") << 0x04D9 << 0xA1EE << mouse;
        QTest::newRow("keyboard by its IDs") << 0x04D9 << 0x8008 << keyboard;
        QTest::newRow("vendor only") << 0x04D9 << 0 << mouse + keyboard;
        QTest::newRow("everything") << 0 << 0 << mouse + keyboard;
        QTest::newRow("other product") << 0x04D9 << 0x1234 << QStringList();
        QTest::newRow("other vendor") << 0x1234 << 0xA1EE << QStringList();
    }
    void enumeration()
    {
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(QStringList, paths);
        simmouse::reset(std::vector<Config>{Config(), keyboardSample()});
        QStringList got;
        for (const auto &i : enumerate(uint16_t(vid), uint16_t(pid)))
            got << QString::fromStdString(i.path);
        QCOMPARE(got, paths);
    }

    void interfaceFields()
    {
        simmouse::reset(std::vector<Config>{Config(), keyboardSample()});
        const auto list = enumerate(0, 0);
        QCOMPARE(list.size(), size_t(4));
        const uint16_t expected[4][4] = {{0x04D9, 0xA1EE, 0xFF00, 0xFF00},
                                         {0x04D9, 0xA1EE, 0xFF01, 0xFF01},
                                         {0x04D9, 0x8008, 0xFF01, 0x0001},
                                         {0x04D9, 0x8008, 0xFF02, 0x0001}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(list[i].vid, expected[i][0]);
            QCOMPARE(list[i].pid, expected[i][1]);
            QCOMPARE(list[i].usagePage, expected[i][2]);
            QCOMPARE(list[i].usage, expected[i][3]);
            QCOMPARE(list[i].number, i % 2);
        }
        QCOMPARE(simmouse::path(1, 1), std::string("sim1:04d9:8008:1"));
    }

    void devicesAreIndependent()
    {
        Config mouse = makeConfig(560, true);
        mouse.code = "A1b2C3";
        simmouse::reset(std::vector<Config>{keyboardSample(), mouse});
        QCOMPARE(send(frameRequest(0x03, {1, 2, 3, 4}), 0), 9);
        QCOMPARE(send(frameRequest(0x02, {3}, "A1b2C3"), 1), 9);
        QCOMPARE(simmouse::state(0).keyboardOption, (std::array<uint8_t, 4>{1, 2, 3, 4}));
        QCOMPARE(int(simmouse::state(0).currentProfile), 1);
        QCOMPARE(int(simmouse::state(1).currentProfile), 3);
        QCOMPARE(simmouse::state(1).keyboardOption, (std::array<uint8_t, 4>{}));
        // Each interface answers only for its own device.
        simmouse::pressDpiButton(5, 1);
        QCOMPARE(simmouse::pendingReports(0, 1), 0);
        QCOMPARE(simmouse::pendingReports(1, 1), 1);
        simmouse::unplug(1);
        QVERIFY(simmouse::isPlugged(0));
        QCOMPARE(send(frameRequest(0x0B, {2}), 0), 9);
        QCOMPARE(send(frameRequest(0x02, {1}, "A1b2C3"), 1), -1);
    }

    void openByIdsAndDeviceStrings()
    {
        simmouse::reset();
        hid_device *h = hid_open(0x04D9, 0xA1EE, nullptr);
        QVERIFY(h);
        const hid_device_info *info = hid_get_device_info(h);
        QVERIFY(info);
        QCOMPARE(info->interface_number, 0);
        QCOMPARE(info->usage_page, uint16_t(0xFF00));
        QCOMPARE(QString::fromUtf8(info->path), QString("sim:04d9:a1ee:0"));
        wchar_t text[64];
        QCOMPARE(hid_get_product_string(h, text, 64), 0);
        QCOMPARE(QString::fromWCharArray(text), QString("Simulated mouse"));
        simmouse::unplug();
        QCOMPARE(hid_get_product_string(h, text, 64), -1);
        hid_close(h);
        QVERIFY(!hid_open(0x04D9, 0xA1EE, nullptr));
        QCOMPARE(hid_version()->minor, HID_API_VERSION_MINOR);
    }

    void unplugHidesAndKillsHandles()
    {
        simmouse::reset();
        hid_device *cmd = hid_open_path(simmouse::path(0, 0).c_str());
        QVERIFY(cmd);
        simmouse::unplug();
        QVERIFY(!simmouse::isPlugged());
        QVERIFY(enumerate(0, 0).empty());
        QVERIFY(!hid_open_path(simmouse::path(0, 0).c_str()));
        QVERIFY(!hid_open_path(simmouse::path(0, 1).c_str()));
        QVERIFY(!hid_open(0x04D9, 0xA1EE, nullptr));

        const Report9 r = frameRequest(0x0B, {2}, "418205");
        std::vector<uint8_t> out(33, 0);
        Report9 in{};
        QCOMPARE(hid_send_feature_report(cmd, r.data(), r.size()), -1);
        QCOMPARE(hid_get_feature_report(cmd, in.data(), in.size()), -1);
        QCOMPARE(hid_write(cmd, out.data(), out.size()), -1);
        QCOMPARE(hid_read_timeout(cmd, out.data(), out.size(), 0), -1);
        QCOMPARE(hid_read(cmd, out.data(), out.size()), -1);

        // An old handle stays dead after the device comes back.
        simmouse::plug();
        QCOMPARE(enumerate(0, 0).size(), size_t(2));
        QCOMPARE(hid_send_feature_report(cmd, r.data(), r.size()), -1);
        hid_close(cmd);
        QCOMPARE(send(r), 9);
        QCOMPARE(int(simmouse::state().currentDpiStage), 2);

        int failed = 0;
        for (const auto &rec : simmouse::wireLog())
            if (!rec.ok) {
                ++failed;
                QCOMPARE(rec.note, std::string("device not present"));
            }
        QCOMPARE(failed, 4);
    }

    void unplugEmptiesQueues()
    {
        simmouse::reset(makeConfig(560, false));
        simmouse::pressDpiButton(2);
        QCOMPARE(query(frameRequest(0x8C, {0})).received, 9);
        QCOMPARE(simmouse::pendingReports(0, 0), 4);
        QCOMPARE(simmouse::pendingReports(0, 1), 1);
        simmouse::unplug();
        simmouse::plug();
        QCOMPARE(simmouse::pendingReports(0, 0), 0);
        QCOMPARE(simmouse::pendingReports(0, 1), 0);
        // No stale reply either: the 8CH reply went with the unplug.
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        Report9 in;
        in.fill(0xEE);
        in[0] = 0;
        QCOMPARE(hid_get_feature_report(h, in.data(), in.size()), 9);
        hid_close(h);
        QCOMPARE(in, Report9{});
        QCOMPARE(simmouse::wireLog().back().note, std::string("no reply pending"));
    }

    void firmwareStateSurvivesUnplug()
    {
        simmouse::reset(makeConfig(553, true));
        QCOMPARE(send(frameRequest(0x03, {1, 2, 3, 4}, "418205")), 9);
        simmouse::unplug();
        simmouse::plug();
        const auto kb = simmouse::state().keyboardOption;
        QCOMPARE(kb, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    }

    void changeCallbackOnRealChangesOnly()
    {
        simmouse::reset(std::vector<Config>{Config(), keyboardSample()});
        std::vector<size_t> seen;
        changes = 0;
        simmouse_set_change_callback(countChange, &seen);
        simmouse::unplug(0);
        simmouse::unplug(0); // no change: no call
        simmouse::unplug(1);
        simmouse::plug(1);
        simmouse::plug(0);
        QCOMPARE(changes.load(), 4);
        QCOMPARE(seen, (std::vector<size_t>{2, 0, 2, 4}));
        simmouse_set_change_callback(nullptr, nullptr);
        simmouse::unplug(0);
        QCOMPARE(changes.load(), 4);
    }

    void changeCallbackFromTheUnpluggingThread()
    {
        simmouse::reset();
        std::vector<size_t> seen;
        changes = 0;
        simmouse_set_change_callback(countChange, &seen);
        std::thread([] { simmouse::unplug(); }).join();
        QCOMPARE(changes.load(), 1);
        QCOMPARE(seen, std::vector<size_t>{0});
    }

    void dpiButtonReport_data()
    {
        QTest::addColumn<int>("stage");
        QTest::newRow("stage 1") << 1;
        QTest::newRow("stage 3") << 3;
        QTest::newRow("stage 0") << 0;
        QTest::newRow("stage 9") << 9;
    }
    void dpiButtonReport()
    {
        QFETCH(int, stage);
        simmouse::reset();
        simmouse::pressDpiButton(uint8_t(stage));
        hid_device *h = hid_open_path(simmouse::path(0, 1).c_str());
        QVERIFY(h);
        std::vector<uint8_t> got;
        QCOMPARE(readNotify(h, got, 500), 4);
        QCOMPARE(got, (std::vector<uint8_t>{0x06, 0x07, 0x00, uint8_t(stage)}));
        // Nothing more queued: a poll finds nothing.
        QCOMPARE(readNotify(h, got, 0), 0);
        hid_close(h);
        QCOMPARE(int(simmouse::state().currentDpiStage), stage);
        const auto notes = recordsOf(Kind::NotifyIn);
        QCOMPARE(notes.size(), size_t(1));
        QCOMPARE(notes[0].path, std::string("sim:04d9:a1ee:1"));
        QCOMPARE(notes[0].interface, 1);
    }

    void dpiButtonOnAnUnpluggedMouseDoesNothing()
    {
        simmouse::reset();
        simmouse::unplug();
        simmouse::pressDpiButton(3);
        simmouse::plug();
        QCOMPARE(simmouse::pendingReports(0, 1), 0);
        QCOMPARE(int(simmouse::state().currentDpiStage), 1);
    }

    void notifyReportsKeepOrderAndLength()
    {
        simmouse::reset();
        simmouse::queueNotifyReport({0x06, 0x08, 0x00, 0x02});
        simmouse::queueNotifyReport({0x06, 0x07, 0x00});
        simmouse::queueNotifyReport({0x06, 0x07, 0x00, 0x05, 0xAA, 0xBB});
        hid_device *h = hid_open_path(simmouse::path(0, 1).c_str());
        std::vector<uint8_t> got;
        QCOMPARE(readNotify(h, got, 0), 4);
        QCOMPARE(got, (std::vector<uint8_t>{0x06, 0x08, 0x00, 0x02}));
        QCOMPARE(readNotify(h, got, 0), 3);
        QCOMPARE(readNotify(h, got, 0), 4); // cut to the buffer given
        QCOMPARE(got, (std::vector<uint8_t>{0x06, 0x07, 0x00, 0x05}));
        hid_close(h);
        // The notification interface never answers on the command interface.
        QCOMPARE(simmouse::pendingReports(0, 0), 0);
    }

    // A reader waiting with a long time-out returns with the report as soon
    // as the button is pressed on another thread.
    void waitingReadWakesOnReport()
    {
        simmouse::reset();
        hid_device *h = hid_open_path(simmouse::path(0, 1).c_str());
        auto reader = std::async(std::launch::async, [h] {
            std::vector<uint8_t> got;
            const int n = readNotify(h, got, 600000); // longer than the test may run
            return std::make_pair(n, got);
        });
        QTRY_COMPARE_WITH_TIMEOUT(simmouse::waitingReads(0, 1), 1, 30000);
        simmouse::pressDpiButton(4);
        const auto [n, got] = reader.get();
        hid_close(h);
        QCOMPARE(n, 4);
        QCOMPARE(got, (std::vector<uint8_t>{0x06, 0x07, 0x00, 0x04}));
    }

    void waitingReadFailsOnUnplug_data()
    {
        QTest::addColumn<int>("interface");
        QTest::addColumn<bool>("blocking");
        QTest::newRow("notification, time-out") << 1 << false;
        QTest::newRow("notification, blocking") << 1 << true;
        QTest::newRow("commands, blocking") << 0 << true;
    }
    void waitingReadFailsOnUnplug()
    {
        QFETCH(int, interface);
        QFETCH(bool, blocking);
        simmouse::reset();
        hid_device *h = hid_open_path(simmouse::path(0, interface).c_str());
        auto reader = std::async(std::launch::async, [h, blocking] {
            std::vector<uint8_t> buf(64);
            return blocking ? hid_read(h, buf.data(), buf.size())
                            : hid_read_timeout(h, buf.data(), buf.size(), 600000);
        });
        QTRY_COMPARE_WITH_TIMEOUT(simmouse::waitingReads(0, interface), 1, 30000);
        simmouse::unplug();
        QCOMPARE(reader.get(), -1);
        hid_close(h);
    }

    void readTimesOutWithZero()
    {
        simmouse::reset();
        hid_device *h = hid_open_path(simmouse::path(0, 1).c_str());
        std::vector<uint8_t> buf(4);
        QCOMPARE(hid_read_timeout(h, buf.data(), buf.size(), 20), 0);
        QCOMPARE(hid_set_nonblocking(h, 1), 0);
        QCOMPARE(hid_read(h, buf.data(), buf.size()), 0);
        hid_close(h);
        QVERIFY(simmouse::wireLog().empty()); // empty reads are no reports
    }

    void withheldReplies()
    {
        simmouse::reset(makeConfig(560, true, 32));
        simmouse::withholdReplies(true);
        const Exchange e = query(frameRequest(0x00, {1, 2, 3, 4}, "418205"));
        QCOMPARE(e.sent, 9);
        QCOMPARE(e.received, -1);
        QCOMPARE(query(frameRequest(0x8C, {0}, "418205")).received, -1);
        QCOMPARE(simmouse::pendingReports(0, 0), 0);
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        std::vector<uint8_t> buf(33);
        QCOMPARE(hid_read_timeout(h, buf.data(), buf.size(), 20), 0);
        hid_close(h);
        const auto in = recordsOf(Kind::FeatureIn);
        QCOMPARE(in.size(), size_t(2));
        QCOMPARE(in[0].note, std::string("reply withheld"));

        simmouse::withholdReplies(false);
        const Exchange ok = query(frameRequest(0x00, {1, 2, 3, 4}, "418205"));
        QCOMPARE(ok.received, 9);
        QCOMPARE(int(unscrambled(ok.reply, "418205")[5]), 4);
    }

    void corruptedReplies_data()
    {
        QTest::addColumn<bool>("scrambled");
        QTest::newRow("clear") << false;
        QTest::newRow("scrambled") << true;
    }
    void corruptedReplies()
    {
        QFETCH(bool, scrambled);
        simmouse::reset(makeConfig(553, scrambled));
        const std::string code = scrambled ? "418205" : "";
        simmouse::corruptNextReply();
        Exchange e = query(frameRequest(0x00, {0x12, 0x34, 0x56, 0x78}, code));
        Report9 seen = scrambled ? unscrambled(e.reply, code) : e.reply;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(seen.data() + 2), 4).toHex(), QByteArray("edcba987"));
        // Only the next one.
        e = query(frameRequest(0x00, {0x12, 0x34, 0x56, 0x78}, code));
        seen = scrambled ? unscrambled(e.reply, code) : e.reply;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(seen.data() + 2), 4).toHex(), QByteArray("12345678"));
    }

    void corruptedProfileChunk()
    {
        simmouse::reset(makeConfig(560, false, 64));
        simmouse::corruptNextReply();
        const Exchange e = query(frameRequest(0x8C, {1}));
        QCOMPARE(int(e.reply[2]), 1); // the feature reply stays intact
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        std::vector<uint8_t> buf(65);
        QCOMPARE(hid_read(h, buf.data(), buf.size()), 64);
        QCOMPARE(buf[0], uint8_t(0xFF));
        QCOMPARE(buf[63], uint8_t(0xFF));
        QCOMPARE(hid_read(h, buf.data(), buf.size()), 64);
        QCOMPARE(buf[0], uint8_t(0x00));
        hid_close(h);
    }

    // A macro of four chunks whose n-th transfer (the request counts as the
    // first) fails keeps the chunks written before it.
    void transferFailsHalfWay_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("chunksStored");
        QTest::newRow("request") << 1 << 0;
        QTest::newRow("first chunk") << 2 << 0;
        QTest::newRow("third chunk") << 4 << 2;
        QTest::newRow("last chunk") << 5 << 3;
        QTest::newRow("after the transfer") << 6 << 4;
    }
    void transferFailsHalfWay()
    {
        QFETCH(int, failAt);
        QFETCH(int, chunksStored);
        simmouse::reset(makeConfig(553, true, 32));
        simmouse::failTransferAfter(failAt);
        const auto data = pattern(128, 0x21);
        const int sent = send(frameRequest(0x13, {2, 0x80}, "418205"));
        QCOMPARE(sent, failAt == 1 ? -1 : 9);
        const int written = writeBulk(data, 32);
        QCOMPARE(written, failAt == 1 ? 4 : std::min(4, failAt - 2));

        const auto state = simmouse::state();
        if (failAt == 1) {
            QVERIFY(state.macros.empty());
        } else {
            std::vector<uint8_t> expected(128, 0);
            std::copy(data.begin(), data.begin() + chunksStored * 32, expected.begin());
            QCOMPARE(state.macros.at(2), expected);
        }
        int failures = 0;
        for (const auto &r : simmouse::wireLog())
            if (!r.ok) {
                ++failures;
                QCOMPARE(r.note, std::string("injected transfer failure"));
            }
        QCOMPARE(failures, failAt <= 5 ? 1 : 0);
    }

    void failedInputReportIsLost()
    {
        simmouse::reset(makeConfig(560, false, 64));
        QCOMPARE(query(frameRequest(0x8C, {0})).received, 9);
        simmouse::failTransferAfter(1);
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        std::vector<uint8_t> buf(65);
        QCOMPARE(hid_read(h, buf.data(), buf.size()), -1);
        QCOMPARE(hid_read(h, buf.data(), buf.size()), 64);
        QCOMPARE(simmouse::pendingReports(0, 0), 0);
        hid_close(h);
    }

    void failOpen()
    {
        simmouse::reset();
        simmouse::failOpen(true);
        QVERIFY(!hid_open_path(simmouse::path(0, 0).c_str()));
        QVERIFY(hid_error(nullptr));
        QCOMPARE(enumerate(0, 0).size(), size_t(2)); // still listed
        simmouse::failOpen(false);
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        QVERIFY(h);
        hid_close(h);
        QVERIFY(!hid_open_path("sim:0000:0000:0"));
    }

    void resetClearsEverything()
    {
        simmouse::reset(makeConfig(553, false));
        QCOMPARE(send(frameRequest(0x0B, {6})), 9);
        hid_device *old = hid_open_path(simmouse::path(0, 0).c_str());
        simmouse::withholdReplies(true);
        simmouse::failOpen(true);
        simmouse::reset(makeConfig(553, false));
        QVERIFY(simmouse::wireLog().empty());
        QCOMPARE(int(simmouse::state().currentDpiStage), 1);
        Report9 in{};
        QCOMPARE(hid_get_feature_report(old, in.data(), in.size()), -1);
        hid_close(old);
        QCOMPARE(query(frameRequest(0x8B, {})).received, 9);
    }

    void wireLogOrderAndTimes()
    {
        simmouse::reset(makeConfig(553, true, 32));
        QCOMPARE(send(frameRequest(0x12, {1, 0x40, 0x08}, "418205")), 9);
        QCOMPARE(writeBulk(pattern(64, 0), 32), 2);
        QCOMPARE(query(frameRequest(0x83, {}, "418205")).received, 9);
        simmouse::pressDpiButton(2);
        hid_device *h = hid_open_path(simmouse::path(0, 1).c_str());
        std::vector<uint8_t> got;
        QCOMPARE(readNotify(h, got, 500), 4);
        hid_close(h);

        const auto log = simmouse::wireLog();
        const std::vector<Kind> kinds = {Kind::FeatureOut, Kind::Output, Kind::Output, Kind::FeatureOut,
                                         Kind::FeatureIn, Kind::NotifyIn};
        QCOMPARE(log.size(), kinds.size());
        for (size_t i = 0; i < log.size(); ++i) {
            QCOMPARE(log[i].kind, kinds[i]);
            QVERIFY(log[i].ok);
            if (i)
                QVERIFY(log[i].timestampNs >= log[i - 1].timestampNs);
            const bool feature = kinds[i] == Kind::FeatureOut || kinds[i] == Kind::FeatureIn;
            QCOMPARE(log[i].clear.size(), feature ? size_t(9) : size_t(0));
        }
        QCOMPARE(int(log[0].clear[1]), 0x12);
        QCOMPARE(int(log[0].clear[3]), 0x40);
        QVERIFY(simmouse::formatRecord(log[0]).find("[clear 00 12 01 40 08") != std::string::npos);
        simmouse::clearWireLog();
        QVERIFY(simmouse::wireLog().empty());
    }
};

QTEST_GUILESS_MAIN(TstSimDevice)
#include "tst_simdevice.moc"
