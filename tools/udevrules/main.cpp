// Build step: writes the udev rule for the device table of a settings file.
//   quill_udevrules <apConfig.bin> <output.rules>
// A table with a faulty row writes nothing and fails with the reasons.
#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

#include "udevrules.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: quill_udevrules <apConfig.bin> <output.rules>\n");
        return 2;
    }
    const udevrules::Result result = udevrules::fromFile(args.at(1));
    for (const QString &error : result.errors)
        std::fprintf(stderr, "%s: %s\n", qPrintable(args.at(1)), qPrintable(error));
    if (!result.errors.isEmpty())
        return 1;

    QSaveFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text) || out.write(result.rules.toUtf8()) < 0
        || !out.commit()) {
        std::fprintf(stderr, "%s: cannot write: %s\n", qPrintable(args.at(2)), qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
