#include <QtTest>

#include "app/hookcallbacks.h"

// The tagged text another program sends for a warning box.
class TestCopyData : public QObject
{
    Q_OBJECT
private slots:
    void warningText_data()
    {
        QTest::addColumn<quintptr>("tag");
        QTest::addColumn<QByteArray>("buffer");   // exactly what the sender gave
        QTest::addColumn<int>("cbData");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("text");

        const QByteArray hello("Hello");
        const QByteArray umlaut = QString::fromUtf8("Größe ändern").toUtf8();
        QTest::newRow("length without terminator") << quintptr(0x250F) << hello << 5 << true << "Hello";
        QTest::newRow("length counting terminator") << quintptr(0x250F) << QByteArray("Hello\0", 6) << 6 << false << "";
        QTest::newRow("other tag") << quintptr(0x2510) << hello << 5 << false << "";
        QTest::newRow("utf-8 text") << quintptr(0x250F) << umlaut << int(umlaut.size()) << true
                                    << QString::fromUtf8("Größe ändern");
        QTest::newRow("shorter count cuts the text") << quintptr(0x250F) << hello << 3 << true << "Hel";
        QTest::newRow("embedded terminator") << quintptr(0x250F) << QByteArray("He\0lo", 5) << 5 << false << "";
        QTest::newRow("empty") << quintptr(0x250F) << QByteArray() << 0 << true << "";
        // A cut inside a multi-byte character re-encodes to another length.
        QTest::newRow("broken utf-8") << quintptr(0x250F) << umlaut.left(3) << 3 << false << "";
    }

    void warningText()
    {
        QFETCH(quintptr, tag);
        QFETCH(QByteArray, buffer);
        QFETCH(int, cbData);
        QFETCH(bool, shown);
        QFETCH(QString, text);

        // The sender's buffer is exactly cbData bytes on the heap, with no
        // terminator after it: reading past it would show under ASan/valgrind.
        std::unique_ptr<char[]> heap(new char[size_t(qMax(cbData, 1))]);
        memcpy(heap.get(), buffer.constData(), size_t(qMin<qsizetype>(cbData, buffer.size())));
        const CopyData data{tag, quint32(cbData), heap.get()};
        QString out;
        QCOMPARE(warningTextFromCopyData(&data, &out), shown);
        if (shown)
            QCOMPARE(out, text);
    }

    void nullData()
    {
        QString out;
        QVERIFY(!warningTextFromCopyData(nullptr, &out));
        const CopyData noBuffer{0x250F, 4, nullptr};
        QVERIFY(!warningTextFromCopyData(&noBuffer, &out));
    }
};

QTEST_GUILESS_MAIN(TestCopyData)
#include "tst_copydata.moc"
