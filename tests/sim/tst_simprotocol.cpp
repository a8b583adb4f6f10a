// The simulated firmware's command handling through the hidapi C API:
// handshake echo, reply bytes of the read commands, state changes of the set
// commands, bulk output and the 8CH read-back in input-report chunks.
#include "simhost.h"

#include <QtTest>

using simmouse::Kind;
using simmouse::State;

Q_DECLARE_METATYPE(State)

static QByteArray qb(const uint8_t *b, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(b), int(n));
}
static QByteArray qb(const std::vector<uint8_t> &v)
{
    return qb(v.data(), v.size());
}
template <size_t N>
static QByteArray qb(const std::array<uint8_t, N> &a)
{
    return qb(a.data(), N);
}

// Every field, so a comparison failure shows what differs.
static QString describe(const State &s)
{
    QStringList out;
    out << "kbopt " + qb(s.keyboardOption).toHex(' ');
    out << QString("dpi %1 rate %2 profile %3 matrix %4")
               .arg(s.currentDpiStage).arg(s.reportRate).arg(s.currentProfile).arg(s.currentKeyMatrix);
    out << "dpiByPos " + qb(s.dpiStageByPosition).toHex(' ');
    out << "rateByPos " + qb(s.reportRateByPosition).toHex(' ');
    out << "fix " + qb(s.fixLedColor).toHex(' ') + " effect " + qb(s.rgbLedEffect).toHex(' ');
    auto maps = [&](const char *name, const std::map<uint8_t, std::vector<uint8_t>> &m) {
        for (const auto &[id, v] : m)
            out << QString("%1[%2] ").arg(name).arg(id) + qb(v).toHex(' ');
    };
    maps("layer", s.keyMatrixLayers);
    maps("macro", s.macros);
    maps("dpiSet", s.dpiSets);
    maps("led8", s.led8StageColors);
    for (const auto &[slot, g] : s.gunData)
        out << QString("gun[%1] ").arg(slot) + qb(g).toHex(' ');
    for (size_t i = 0; i < s.profiles.size(); ++i)
        out << QString("profile%1 ").arg(i) + qb(s.profiles[i]).toHex();
    return out.join('\n');
}

static Report9 req(uint8_t code, const QByteArray &params, const std::string &scrambleCode = {})
{
    return frameRequest(code, reinterpret_cast<const uint8_t *>(params.constData()),
                        size_t(params.size()), scrambleCode);
}

class TstSimProtocol : public QObject
{
    Q_OBJECT
private slots:
    void handshakeEcho_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("deviceScrambles");
        QTest::addColumn<QString>("deviceCode");
        QTest::addColumn<QString>("hostCode");   // empty: the host sends in clear
        QTest::addColumn<bool>("echoes");
        const QString sample("418205");
        QTest::newRow("553 clear") << 553 << false << sample << QString() << true;
        QTest::newRow("553 scrambled") << 553 << true << sample << sample << true;
        QTest::newRow("560 clear") << 560 << false << sample << QString() << true;
        QTest::newRow("560 scrambled") << 560 << true << sample << sample << true;
        QTest::newRow("device's own code") << 560 << true << "Zq9!x0" << "Zq9!x0" << true;
        QTest::newRow("sample code on another device") << 560 << true << "Zq9!x0" << sample << false;
        QTest::newRow("wrong code") << 553 << true << sample << "418206" << false;
        QTest::newRow("host clear, device scrambles") << 553 << true << sample << QString() << false;
        QTest::newRow("host scrambles, device clear") << 560 << false << sample << sample << false;
    }
    void handshakeEcho()
    {
        QFETCH(int, family);
        QFETCH(bool, deviceScrambles);
        QFETCH(QString, deviceCode);
        QFETCH(QString, hostCode);
        QFETCH(bool, echoes);
        simmouse::Config config = makeConfig(family, deviceScrambles);
        config.code = deviceCode.toStdString();
        simmouse::reset(config);
        const std::string code = hostCode.toStdString();

        const Report9 request = req(0x00, QByteArray::fromHex("12345678"), code);
        const Exchange e = query(request);
        QCOMPARE(e.sent, 9);
        QCOMPARE(e.received, 9);
        QCOMPARE(int(e.reply[0]), 0);
        const Report9 seen = code.empty() ? e.reply : unscrambled(e.reply, code);
        const QByteArray echoed = qb(seen.data() + 2, 4);
        if (echoes) {
            QCOMPARE(echoed.toHex(' '), QByteArray("12 34 56 78"));
            QCOMPARE(int(seen[1]), 0x00);
            QCOMPARE(seen[8], simmouse::checksum(seen.data() + 1));
        } else {
            QVERIFY(echoed != QByteArray::fromHex("12345678"));
        }

        const auto log = simmouse::wireLog();
        QCOMPARE(log.size(), size_t(2));
        QCOMPARE(log[0].kind, Kind::FeatureOut);
        QCOMPARE(qb(log[0].bytes), qb(request));
        QCOMPARE(log[1].kind, Kind::FeatureIn);
        QCOMPARE(qb(log[1].bytes), qb(e.reply));
        if (echoes) {
            // The log keeps the firmware's unscrambled view of both reports.
            QCOMPARE(qb(log[0].clear), qb(req(0x00, QByteArray::fromHex("12345678"))));
            QCOMPARE(qb(log[1].clear), qb(seen));
            QCOMPARE(log[1].bytes != log[1].clear, deviceScrambles);
            QVERIFY(log[0].note.empty());
        } else {
            QVERIFY2(log[0].note.find("bad checksum") != std::string::npos, log[0].note.c_str());
            QVERIFY(log[1].note.find("no reply pending") != std::string::npos);
        }
    }

    void readCommands_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("scrambled");
        QTest::addColumn<int>("setCode");
        QTest::addColumn<QByteArray>("setParams");
        QTest::addColumn<int>("readCode");
        QTest::addColumn<QByteArray>("readParams");
        QTest::addColumn<QByteArray>("replyBytes1to7");
        QTest::newRow("553 keyboard option") << 553 << true << 0x03 << QByteArray::fromHex("11223344")
                                             << 0x83 << QByteArray() << QByteArray::fromHex("83112233440000");
        QTest::newRow("553 current DPI") << 553 << false << 0x0B << QByteArray::fromHex("05")
                                         << 0x8B << QByteArray() << QByteArray::fromHex("8b050000000000");
        QTest::newRow("560 keyboard option") << 560 << true << 0x01 << QByteArray::fromHex("0802")
                                             << 0x81 << QByteArray() << QByteArray::fromHex("81080200000000");
        QTest::newRow("560 answers 83H") << 560 << false << 0x01 << QByteArray::fromHex("4801")
                                         << 0x83 << QByteArray() << QByteArray::fromHex("83480100000000");
        QTest::newRow("560 current profile") << 560 << true << 0x02 << QByteArray::fromHex("03")
                                             << 0x82 << QByteArray() << QByteArray::fromHex("82030000000000");
        QTest::newRow("560 DPI of position 3") << 560 << false << 0x04 << QByteArray::fromHex("0306")
                                               << 0x84 << QByteArray::fromHex("03")
                                               << QByteArray::fromHex("84030600000000");
        QTest::newRow("560 other positions keep theirs") << 560 << true << 0x04 << QByteArray::fromHex("0306")
                                                         << 0x84 << QByteArray::fromHex("01")
                                                         << QByteArray::fromHex("84010100000000");
        QTest::newRow("560 position outside 1..4") << 560 << false << 0x02 << QByteArray::fromHex("01")
                                                   << 0x84 << QByteArray::fromHex("07")
                                                   << QByteArray::fromHex("84070000000000");
        QTest::newRow("set command replies its code") << 553 << true << 0x0B << QByteArray::fromHex("02")
                                                      << 0x01 << QByteArray::fromHex("02")
                                                      << QByteArray::fromHex("01000000000000");
    }
    void readCommands()
    {
        QFETCH(int, family);
        QFETCH(bool, scrambled);
        QFETCH(int, setCode);
        QFETCH(QByteArray, setParams);
        QFETCH(int, readCode);
        QFETCH(QByteArray, readParams);
        QFETCH(QByteArray, replyBytes1to7);
        simmouse::reset(makeConfig(family, scrambled));
        const std::string code = scrambled ? "418205" : "";

        QCOMPARE(send(req(uint8_t(setCode), setParams, code)), 9);
        const Exchange e = query(req(uint8_t(readCode), readParams, code));
        QCOMPARE(e.received, 9);
        const Report9 seen = scrambled ? unscrambled(e.reply, code) : e.reply;
        QCOMPARE(int(seen[0]), 0);
        QCOMPARE(qb(seen.data() + 1, 7).toHex(' '), replyBytes1to7.toHex(' '));
        QCOMPARE(seen[8], simmouse::checksum(seen.data() + 1));
    }

    void setCommands_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<State>("expected");
        QTest::addColumn<QString>("note");
        State s;
        auto row = [&](const char *name, int family, int code, const char *hex, const State &st,
                       const QString &note = QString()) {
            QTest::newRow(name) << family << code << QByteArray::fromHex(hex) << st << note;
        };
        s = State(); s.reportRate = 2;
        row("553 01H report rate", 553, 0x01, "02", s);
        s = State(); s.currentKeyMatrix = 3;
        row("553 02H key matrix layer", 553, 0x02, "03", s);
        s = State(); s.keyboardOption = {0x01, 0x02, 0x03, 0x40};
        row("553 03H keyboard option", 553, 0x03, "01020340", s);
        s = State(); s.gunData[2] = {10, 0xF6, 0x05, 2};
        row("553 04H gun data from byte 3", 553, 0x04, "000af60502", s);
        s = State(); s.currentDpiStage = 4;
        row("553 0BH current DPI", 553, 0x0B, "04", s);
        s = State(); s.fixLedColor = {0xFF, 0x80, 0x01};
        row("553 0CH fixed colour", 553, 0x0C, "ff8001", s);
        s = State(); s.rgbLedEffect = {2, 5, 6};
        row("553 0DH effect", 553, 0x0D, "020506", s);
        s = State(); s.keyboardOption = {0x08, 0x01, 0, 0};
        row("560 01H keyboard option", 560, 0x01, "0801", s);
        s = State(); s.currentProfile = 2;
        row("560 02H current profile", 560, 0x02, "02", s);
        s = State(); s.reportRateByPosition = {1, 4, 1, 1};
        row("560 03H report rate of position 2", 560, 0x03, "0204", s);
        s = State(); s.dpiStageByPosition = {1, 1, 1, 7};
        row("560 04H DPI of position 4", 560, 0x04, "0407", s);
        s = State(); s.reportRateByPosition = {8, 1, 1, 1};
        row("560 takes 03H as report rate", 560, 0x03, "01080000", s);
        row("560 position 0 changes nothing", 560, 0x04, "0005", State());
        row("553 unknown code", 553, 0x7F, "01", State(), "unknown command");
        row("560 has no 0BH", 560, 0x0B, "02", State(), "unknown command");
        row("553 has no 82H", 553, 0x82, "", State(), "unknown command");
    }
    void setCommands()
    {
        QFETCH(int, family);
        QFETCH(int, code);
        QFETCH(QByteArray, params);
        QFETCH(State, expected);
        QFETCH(QString, note);
        simmouse::reset(makeConfig(family, true));
        QCOMPARE(send(req(uint8_t(code), params, "418205")), 9);
        QCOMPARE(describe(simmouse::state()), describe(expected));
        const auto log = simmouse::wireLog();
        QCOMPARE(log.size(), size_t(1));
        QCOMPARE(QString::fromStdString(log[0].note).contains(note), true);
        QCOMPARE(log[0].note.empty(), note.isEmpty());
    }

    void badChecksumIsIgnored_data()
    {
        QTest::addColumn<bool>("scramble");
        QTest::newRow("clear") << false;
        QTest::newRow("scrambled") << true;
    }
    void badChecksumIsIgnored()
    {
        QFETCH(bool, scramble);
        simmouse::reset(makeConfig(553, scramble));
        Report9 r = req(0x0B, QByteArray::fromHex("05"));
        r[8] ^= 0x01;
        QCOMPARE(send(scramble ? scrambled(r, "418205") : r), 9); // the transfer itself succeeds
        QCOMPARE(int(simmouse::state().currentDpiStage), 1);
        const auto log = simmouse::wireLog();
        QCOMPARE(log.size(), size_t(1));
        QVERIFY(log[0].ok);
        QCOMPARE(log[0].note, std::string("bad checksum; ignored"));
    }

    void bulkOutput_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("reports");
        QTest::newRow("553 12H key matrix, 32") << 553 << 32 << 0x12 << QByteArray::fromHex("014008") << 64 << "layer" << 1 << 2;
        QTest::newRow("553 12H key matrix, 64") << 553 << 64 << 0x12 << QByteArray::fromHex("024008") << 64 << "layer" << 2 << 1;
        QTest::newRow("553 13H macro, 32") << 553 << 32 << 0x13 << QByteArray::fromHex("0580") << 128 << "macro" << 5 << 4;
        QTest::newRow("553 11H DPI set") << 553 << 32 << 0x11 << QByteArray::fromHex("0308") << 8 << "dpiSet" << 3 << 1;
        QTest::newRow("553 10H type 2") << 553 << 32 << 0x10 << QByteArray::fromHex("0204") << 4 << "led8" << 2 << 1;
        QTest::newRow("553 10H type 0") << 553 << 32 << 0x10 << QByteArray::fromHex("0018") << 24 << "led8" << 0 << 1;
        QTest::newRow("560 0CH profile 2, 32") << 560 << 32 << 0x0C << QByteArray::fromHex("0280") << 128 << "profile" << 2 << 4;
        QTest::newRow("560 0CH profile 1, 64") << 560 << 64 << 0x0C << QByteArray::fromHex("0180") << 128 << "profile" << 1 << 2;
        QTest::newRow("560 0CH profile 0, 48") << 560 << 48 << 0x0C << QByteArray::fromHex("0080") << 128 << "profile" << 0 << 3;
        QTest::newRow("560 0DH key matrix") << 560 << 32 << 0x0D << QByteArray::fromHex("0380") << 128 << "layer" << 3 << 4;
        QTest::newRow("560 0FH macro") << 560 << 64 << 0x0F << QByteArray::fromHex("0780") << 128 << "macro" << 7 << 2;
    }
    void bulkOutput()
    {
        QFETCH(int, family);
        QFETCH(int, reportLength);
        QFETCH(int, code);
        QFETCH(QByteArray, params);
        QFETCH(int, length);
        QFETCH(QString, target);
        QFETCH(int, id);
        QFETCH(int, reports);
        simmouse::reset(makeConfig(family, true, reportLength));
        QCOMPARE(send(req(uint8_t(code), params, "418205")), 9);
        const std::vector<uint8_t> data = pattern(size_t(length), uint8_t(code));
        QCOMPARE(writeBulk(data, reportLength), reports);

        const State s = simmouse::state();
        std::vector<uint8_t> stored;
        if (target == "layer")
            stored = s.keyMatrixLayers.at(uint8_t(id));
        else if (target == "macro")
            stored = s.macros.at(uint8_t(id));
        else if (target == "dpiSet")
            stored = s.dpiSets.at(uint8_t(id));
        else if (target == "led8")
            stored = s.led8StageColors.at(uint8_t(id));
        else
            stored.assign(s.profiles[size_t(id)].begin(), s.profiles[size_t(id)].end());
        QCOMPARE(qb(stored).toHex(' '), qb(data).toHex(' '));

        const auto out = recordsOf(Kind::Output);
        QCOMPARE(int(out.size()), reports);
        for (const auto &r : out) {
            QCOMPARE(int(r.bytes.size()), reportLength + 1);
            QVERIFY2(r.note.empty(), r.note.c_str());
        }
    }

    // A transfer cut short by a new command keeps what arrived; later
    // output reports are not taken for the old command.
    void newCommandAbandonsBulk()
    {
        simmouse::reset(makeConfig(553, false, 32));
        QCOMPARE(send(req(0x13, QByteArray::fromHex("0180"))), 9);
        const auto data = pattern(128, 0x40);
        QCOMPARE(writeBulk({data.begin(), data.begin() + 32}, 32), 1);
        QCOMPARE(send(req(0x0B, QByteArray::fromHex("03"))), 9);
        QCOMPARE(writeBulk({data.begin() + 32, data.end()}, 32), 3);

        const auto macro = simmouse::state().macros.at(1);
        std::vector<uint8_t> expected(128, 0);
        std::copy(data.begin(), data.begin() + 32, expected.begin());
        QCOMPARE(qb(macro).toHex(' '), qb(expected).toHex(' '));
        const auto log = simmouse::wireLog();
        QCOMPARE(log[2].note, std::string("unfinished bulk transfer abandoned"));
        QCOMPARE(log.back().note, std::string("no bulk transfer expected; ignored"));
    }

    void malformedTransfers_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("note");
        QTest::newRow("output report too short") << "short output" << "output report must be 33 bytes";
        QTest::newRow("output report too long") << "long output" << "output report must be 33 bytes";
        QTest::newRow("output report ID") << "output id" << "report ID must be 0";
        QTest::newRow("output on interface 1") << "output if1" << "no output reports on this interface";
        QTest::newRow("feature of 8 bytes") << "feature 8" << "feature report must be 9 bytes";
        QTest::newRow("feature ID") << "feature id" << "report ID must be 0";
        QTest::newRow("feature on interface 1") << "feature if1" << "no feature reports on this interface";
        QTest::newRow("feature read into 8 bytes") << "get 8" << "buffer smaller than the feature report";
    }
    void malformedTransfers()
    {
        QFETCH(QString, what);
        QFETCH(QString, note);
        simmouse::reset(makeConfig(553, false, 32));
        QCOMPARE(send(req(0x13, QByteArray::fromHex("0180"))), 9);
        simmouse::clearWireLog();

        const bool if1 = what.endsWith("if1");
        hid_device *h = hid_open_path(simmouse::path(0, if1 ? 1 : 0).c_str());
        QVERIFY(h);
        std::vector<uint8_t> buf(40, 0);
        Report9 r = req(0x0B, QByteArray::fromHex("02"));
        int result = 0;
        if (what == "short output")
            result = hid_write(h, buf.data(), 32);
        else if (what == "long output")
            result = hid_write(h, buf.data(), 34);
        else if (what == "output id") {
            buf[0] = 1;
            result = hid_write(h, buf.data(), 33);
        } else if (what == "output if1")
            result = hid_write(h, buf.data(), 33);
        else if (what == "feature 8")
            result = hid_send_feature_report(h, r.data(), 8);
        else if (what == "feature id") {
            r[0] = 2;
            result = hid_send_feature_report(h, r.data(), 9);
        } else if (what == "feature if1")
            result = hid_send_feature_report(h, r.data(), 9);
        else if (what == "get 8")
            result = hid_get_feature_report(h, buf.data(), 8);
        hid_close(h);

        QCOMPARE(result, -1);
        const auto log = simmouse::wireLog();
        QCOMPARE(log.size(), size_t(1));
        QVERIFY(!log[0].ok);
        QCOMPARE(QString::fromStdString(log[0].note), note);
        // Nothing reached the firmware: the macro transfer is still pending.
        QCOMPARE(simmouse::state().macros.at(1), std::vector<uint8_t>(128, 0));
        QCOMPARE(int(simmouse::state().currentDpiStage), 1);
        QCOMPARE(writeBulk(pattern(128, 1), 32), 4);
        QCOMPARE(qb(simmouse::state().macros.at(1)), qb(pattern(128, 1)));
    }

    void profileReadBack_data()
    {
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<bool>("scrambled");
        QTest::addColumn<int>("profileNo");
        QTest::addColumn<int>("reports");
        QTest::newRow("32 bytes, 4 reports") << 32 << true << 1 << 4;
        QTest::newRow("64 bytes, 2 reports") << 64 << false << 4 << 2;
        QTest::newRow("48 bytes, last padded") << 48 << true << 0 << 3;
        QTest::newRow("128 bytes, 1 report") << 128 << false << 2 << 1;
        QTest::newRow("no such profile") << 32 << true << 5 << 4;
    }
    void profileReadBack()
    {
        QFETCH(int, reportLength);
        QFETCH(bool, scrambled);
        QFETCH(int, profileNo);
        QFETCH(int, reports);
        simmouse::reset(makeConfig(560, scrambled, reportLength));
        State s;
        for (size_t p = 0; p < 5; ++p)
            for (size_t i = 0; i < 128; ++i)
                s.profiles[p][i] = uint8_t(p * 50 + i);
        simmouse::setState(s);
        const std::string code = scrambled ? "418205" : "";

        const Exchange e = query(req(0x8C, QByteArray(1, char(profileNo)), code));
        QCOMPARE(e.received, 9);
        const Report9 seen = scrambled ? unscrambled(e.reply, code) : e.reply;
        QCOMPARE(int(seen[1]), 0x8C);
        QCOMPARE(int(seen[2]), profileNo);
        QCOMPARE(simmouse::pendingReports(0, 0), reports);

        std::vector<uint8_t> got;
        for (int i = 0; i < reports; ++i) {
            std::vector<uint8_t> buf(size_t(reportLength) + 1, 0xEE);
            hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
            QVERIFY(h);
            QCOMPARE(hid_read(h, buf.data(), buf.size()), reportLength);
            hid_close(h);
            QCOMPARE(int(buf[size_t(reportLength)]), 0xEE); // no report-ID byte in front
            got.insert(got.end(), buf.begin(), buf.begin() + reportLength);
        }
        QCOMPARE(simmouse::pendingReports(0, 0), 0);
        std::vector<uint8_t> expected(size_t(reports * reportLength), 0);
        if (profileNo < 5)
            std::copy(s.profiles[size_t(profileNo)].begin(), s.profiles[size_t(profileNo)].end(), expected.begin());
        QCOMPARE(qb(got).toHex(' '), qb(expected).toHex(' '));
        QCOMPARE(int(recordsOf(Kind::Input).size()), reports);
    }

    void profileWriteThenRead()
    {
        simmouse::reset(makeConfig(560, true, 32));
        QCOMPARE(send(req(0x0C, QByteArray::fromHex("0380"), "418205")), 9);
        const auto data = pattern(128, 9);
        QCOMPARE(writeBulk(data, 32), 4);
        QCOMPARE(query(req(0x8C, QByteArray::fromHex("03"), "418205")).received, 9);
        std::vector<uint8_t> got;
        hid_device *h = hid_open_path(simmouse::path(0, 0).c_str());
        std::vector<uint8_t> buf(33);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(hid_read_timeout(h, buf.data(), buf.size(), 1000), 32);
            got.insert(got.end(), buf.begin(), buf.begin() + 32);
        }
        hid_close(h);
        QCOMPARE(qb(got), qb(data));
    }

    void profileOutsideRecordsIsDropped()
    {
        simmouse::reset(makeConfig(560, false, 64));
        QCOMPARE(send(req(0x0C, QByteArray::fromHex("0580"))), 9);
        QCOMPARE(writeBulk(pattern(128, 3), 64), 2);
        QCOMPARE(describe(simmouse::state()), describe(State()));
        for (const auto &r : recordsOf(Kind::Output))
            QVERIFY(r.note.empty()); // taken, not refused
    }
};

QTEST_GUILESS_MAIN(TstSimProtocol)
#include "tst_simprotocol.moc"
