// The simulated firmware's own checksum and block routines, against vectors
// worked out by hand from the wire format.
#include "simmouse.h"

#include <QtTest>

using Block = std::array<uint8_t, 8>;
Q_DECLARE_METATYPE(Block)

static QByteArray bytes(const uint8_t *b, int n)
{
    return QByteArray(reinterpret_cast<const char *>(b), n);
}

class TstSimScramble : public QObject
{
    Q_OBJECT
private slots:
    void checksum_data()
    {
        QTest::addColumn<QByteArray>("seven");
        QTest::addColumn<int>("expected");
        QTest::newRow("zeros") << QByteArray(7, '\0') << 0xFF;
        QTest::newRow("01 02") << QByteArray::fromHex("01020000000000") << 0xFC;
        QTest::newRow("8B") << QByteArray::fromHex("8b000000000000") << 0x74;
        QTest::newRow("82") << QByteArray::fromHex("82000000000000") << 0x7D;
        QTest::newRow("wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
    }
    void checksum()
    {
        QFETCH(QByteArray, seven);
        QFETCH(int, expected);
        QCOMPARE(int(simmouse::checksum(reinterpret_cast<const uint8_t *>(seven.constData()))), expected);
    }

    void scrambleVectors_data()
    {
        QTest::addColumn<QByteArray>("clear");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("wire");
        // Only the key applies to a zero block with a zero code.
        QTest::newRow("zero block, no code") << QByteArray(8, '\0') << QString()
                                             << QByteArray::fromHex("451775d626251687");
        // b0 moves to b5 and is rotated left by 3 bits.
        QTest::newRow("b0 = 1") << QByteArray::fromHex("0100000000000000") << QString()
                                << QByteArray::fromHex("451775d6262d1687");
        QTest::newRow("zero block, 418205") << QByteArray(8, '\0') << QStringLiteral("418205")
                                            << QByteArray::fromHex("46b8fe97b7a6be87");
        QTest::newRow("8B request, 418205") << QByteArray::fromHex("8b00000000000074")
                                            << QStringLiteral("418205")
                                            << QByteArray::fromHex("46b99e97bbfebe87");
        QTest::newRow("echo request, 418205") << QByteArray::fromHex("00123456780000eb")
                                              << QStringLiteral("418205")
                                              << QByteArray::fromHex("477d469727a82f27");
        // A code that is not six characters long acts as no code.
        QTest::newRow("five-character code") << QByteArray(8, '\0') << QStringLiteral("41820")
                                             << QByteArray::fromHex("451775d626251687");
    }
    void scrambleVectors()
    {
        QFETCH(QByteArray, clear);
        QFETCH(QString, code);
        QFETCH(QByteArray, wire);
        const auto s = simmouse::codeBytes(code.toStdString());
        Block b;
        std::memcpy(b.data(), clear.constData(), 8);
        simmouse::scramble(b.data(), s.data());
        QCOMPARE(bytes(b.data(), 8).toHex(' '), wire.toHex(' '));
        simmouse::unscramble(b.data(), s.data());
        QCOMPARE(bytes(b.data(), 8).toHex(' '), clear.toHex(' '));
    }

    void unscrambleInvertsForAnyCode()
    {
        QRandomGenerator rng(20261207);
        for (int round = 0; round < 2000; ++round) {
            std::array<uint8_t, 8> code;
            Block block;
            for (auto &c : code)
                c = uint8_t(rng.bounded(256));
            for (auto &b : block)
                b = uint8_t(rng.bounded(256));
            Block work = block;
            simmouse::scramble(work.data(), code.data());
            simmouse::unscramble(work.data(), code.data());
            QCOMPARE(work, block);
        }
    }

    void outerCodeBytesTakeNoPart()
    {
        auto code = simmouse::codeBytes("418205");
        Block a = {1, 2, 3, 4, 5, 6, 7, 8};
        Block b = a;
        simmouse::scramble(a.data(), code.data());
        code[0] = 0xAA;
        code[7] = 0x55;
        simmouse::scramble(b.data(), code.data());
        QCOMPARE(a, b);
    }

    void codeBytesPlacesCharactersAtOneToSix()
    {
        const auto s = simmouse::codeBytes("418205");
        const std::array<uint8_t, 8> expected = {0, '4', '1', '8', '2', '0', '5', 0};
        QCOMPARE(s, expected);
        QCOMPARE(simmouse::codeBytes("4182050"), (std::array<uint8_t, 8>{}));
    }
};

QTEST_GUILESS_MAIN(TstSimScramble)
#include "tst_simscramble.moc"
