// The macro text rows the screens parse and hand to the native encoder: the
// stored action texts ("1,A", "0,50"), read as the macro editor reads them,
// and the same rows as the script values QML may pass instead (texts,
// doubles, maps), through the image encoder and the transfer buffer.

#include <fuzzer/FuzzedDataProvider.h>

#include "bridge/macroimage.h"
#include "fuzzcommon.h"

#include <QVariantMap>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int repeat = in.ConsumeIntegral<int>();
    const QStringList texts =
        QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRemainingBytesAsString())).split(QLatin1Char('\n'));
    const QStringList &keyNames = fuzz::keyNames();

    QVariantList asNumbers, asTexts, asMaps;
    for (const QString &row : texts) {
        // The first character is the type, the information follows the comma.
        const int type = row.isEmpty() ? 0 : row.at(0).unicode() - '0';
        const QString info = row.mid(2);
        const int index = keyNames.indexOf(info);
        const qint64 value = type == 0 ? info.toLongLong() : (index < 0 ? 0 : index + 4);
        asNumbers << QVariant(QVariantList{type, value});
        asTexts << QVariant(QVariantList{row.left(1), info});
        asMaps << QVariant(QVariantMap{{QStringLiteral("type"), double(type)},
                                       {QStringLiteral("value"), info.toDouble()}});
    }
    MacroImageCodec codec;
    for (const QVariantList *rows : {&asNumbers, &asTexts, &asMaps}) {
        const QVariantList image = codec.encode(*rows, repeat);
        codec.encodedSize(*rows);
        macroimage::transferBuffer(image);
    }
    return 0;
}
