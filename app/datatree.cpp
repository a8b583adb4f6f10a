#include "app/datatree.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace datatree {

namespace {

// The screens' language when the configuration names none.
const char kDefaultLanguage[] = "ChineseSimplified";

// Missing or unreadable, else nothing.
QList<Problem> fileProblems(const QString &file, const QString &use)
{
    const QFileInfo info(file);
    if (!info.exists())
        return {{LangStrings::FileMissing, file, use}};
    QFile f(file);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly))
        return {{LangStrings::FileUnreadable, file, use}};
    return {};
}

} // namespace

QString Problem::debugLine() const
{
    const QString text = LangStrings::builtInMessage(kind);
    return text.arg(file) + QStringLiteral(" (") + detail + QLatin1Char(')');
}

QList<Problem> configProblems(const QString &configFile)
{
    const QString use = QStringLiteral("no device table: no mouse can be found");
    QList<Problem> problems = fileProblems(configFile, use);
    if (!problems.isEmpty())
        return problems;
    QSettings config(configFile, QSettings::IniFormat);
    if (config.status() != QSettings::NoError || !config.contains(QStringLiteral("common/deviceCount")))
        problems.append({LangStrings::FileDamaged, configFile, use});
    return problems;
}

QList<Problem> startupProblems(const QString &modulesDir)
{
    if (!QFileInfo(modulesDir).isDir())
        return {{LangStrings::FileMissing, modulesDir, QStringLiteral("no settings, profiles or languages")}};

    const QString configFile = modulesDir + QStringLiteral("/setting/apConfig.bin");
    QList<Problem> problems = configProblems(configFile);

    QString language;
    if (QFileInfo(configFile).isFile()) {
        QSettings config(configFile, QSettings::IniFormat);
        language = config.value(QStringLiteral("common/language")).toString();
    }
    if (language.isEmpty())
        language = QString::fromLatin1(kDefaultLanguage);
    problems += fileProblems(modulesDir + QStringLiteral("/i18n/") + language + QStringLiteral(".ini"),
                             QStringLiteral("the screens show their built-in English texts"));
    return problems;
}

} // namespace datatree
