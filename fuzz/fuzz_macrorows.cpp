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

    QVariantList asNumbers, asTexts, asMaps;
    for (const QString &text : texts) {
        const fuzz::ScreenRow row = fuzz::screenRow(text);
        asNumbers << QVariant(QVariantList{row.type, row.value});
        asTexts << QVariant(QVariantList{text.left(1), row.info});
        asMaps << QVariant(QVariantMap{{QStringLiteral("type"), double(row.type)},
                                       {QStringLiteral("value"), row.info.toDouble()}});
    }
    MacroImageCodec codec;
    for (const QVariantList *rows : {&asNumbers, &asTexts, &asMaps}) {
        const QVariantList image = codec.encode(*rows, repeat);
        codec.encodedSize(*rows);
        macroimage::transferBuffer(image);
    }
    return 0;
}
