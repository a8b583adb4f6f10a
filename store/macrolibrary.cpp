#include "store/macrolibrary.h"

#include "store/filedialogs.h"
#include "store/fileops.h"
#include "store/inicompat.h"
#include "store/settingsstore.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kMacroGroup = QStringLiteral("macro");

// A reference as text; lists and other non-text values name no macro.
QString textOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
    case QMetaType::QVariantMap:
        return QString();
    default:
        return v.toString();
    }
}

bool refuse(const char *operation, const QString &name)
{
    qDebug() << operation << "refused: not a macro name:" << name;
    return false;
}

} // namespace

MacroLibrary::MacroLibrary(const QString &macroDir, SettingsStore &store)
    : m_dir(macroDir), m_store(store)
{
}

bool MacroLibrary::isValidName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // Refused everywhere what any supported file system refuses, so a library
    // stays usable when its files move between systems.
    static const QString forbidden = QStringLiteral("/\\<>:\"|?*");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
    // Longest file name most file systems take, with the ".bin" extension.
    return (name + QStringLiteral(".bin")).toUtf8().size() <= 255;
}

QString MacroLibrary::filePath(const QString &name) const
{
    return m_dir + QLatin1Char('/') + name + QStringLiteral(".bin");
}

bool MacroLibrary::createMacroIni(const QString &name, uint macroIndex)
{
    if (!isValidName(name))
        return refuse("createMacroIni", name);
    auto ini = IniCompat::open(filePath(name));
    ini->setValue(QStringLiteral("config/index"), macroIndex);
    ini->setValue(QStringLiteral("config/total"), 0);
    ini->setValue(QStringLiteral("config/repeat"), 1);
    ini->setValue(QStringLiteral("config/did"), -1);
    ini->sync();
    return ini->status() == QSettings::NoError && QFileInfo::exists(filePath(name));
}

bool MacroLibrary::saveMacroIni(const QString &name, const QStringList &macros,
                                const QVariant &repeat)
{
    if (!isValidName(name))
        return refuse("saveMacroIni", name);
    if (!QFileInfo::exists(filePath(name)))
        return false;
    auto ini = IniCompat::open(filePath(name));
    ini->remove(kMacroGroup);
    ini->setValue(QStringLiteral("config/total"), int(macros.size()));
    ini->setValue(QStringLiteral("config/repeat"), repeat);
    for (int i = 0; i < macros.size(); ++i)
        ini->setValue(kMacroGroup + QLatin1Char('/') + QString::number(i), macros.at(i));
    ini->sync();
    return ini->status() == QSettings::NoError;
}

QStringList MacroLibrary::loadMacroIni(const QString &name) const
{
    if (!isValidName(name)) {
        refuse("loadMacroIni", name);
        return {};
    }
    if (!QFileInfo::exists(filePath(name)))
        return {};
    auto ini = IniCompat::open(filePath(name));
    const qlonglong announced = ini->value(QStringLiteral("config/total"), 0).toLongLong();
    const int total = int(qBound(qlonglong(0), announced, qlonglong(kMaxEntries)));
    if (announced > kMaxEntries)
        qDebug() << "macro" << name << "announces" << announced << "entries; read" << kMaxEntries;
    QStringList out;
    for (int i = 0; i < total; ++i) {
        out.append(ini->value(kMacroGroup + QLatin1Char('/') + QString::number(i),
                              QStringLiteral("0")).toString());
    }
    out.append(ini->value(QStringLiteral("config/repeat"), QStringLiteral("0")).toString());
    return out;
}

bool MacroLibrary::deleteMacroIni(const QString &name)
{
    if (!isValidName(name))
        return refuse("deleteMacroIni", name);
    return QFile::remove(filePath(name));
}

bool MacroLibrary::modifyMacroNameUpdateProfile(const QString &oldname, const QString &newname)
{
    if (!isValidName(oldname))
        return refuse("modifyMacroNameUpdateProfile", oldname);
    if (!isValidName(newname))
        return refuse("modifyMacroNameUpdateProfile", newname);
    // The file first: profiles must never name a macro that has no file.
    if (!QFile::rename(filePath(oldname), filePath(newname)))
        return false;
    FileOps::touch(filePath(newname));

    for (int n = 0; n < kLinkedProfiles; ++n) {
        QSettings *profile = m_store.profile(n);
        if (!profile)
            continue;
        profile->beginGroup(QStringLiteral("mouseMacroKey"));
        const QStringList slotKeys = profile->childKeys();
        for (const QString &slot : slotKeys) {
            if (textOf(profile->value(slot)) == oldname)
                profile->setValue(slot, newname);
        }
        profile->endGroup();
    }
    return true;
}

void MacroLibrary::deleteMacroUpdateProfile(const QString &macroName)
{
    if (!isValidName(macroName)) {
        refuse("deleteMacroUpdateProfile", macroName);
        return;
    }
    QSettings *factory = m_store.defaults();
    for (int n = 0; n < kLinkedProfiles; ++n) {
        QSettings *profile = m_store.profile(n);
        if (!profile)
            continue;
        for (int k = 0; k < kKeyCount; ++k) {
            const QString key = QStringLiteral("mouseKeyMatrix/") + QString::number(k);
            const QVariantList entry = IniCompat::toList(profile->value(key));
            // Only a full entry whose function is "macro" names a macro slot.
            if (entry.size() < 3)
                continue;
            bool ok = false;
            if (entry.at(0).toInt(&ok) != 4 || !ok)
                continue;
            const int slot = entry.at(2).toInt(&ok);
            if (!ok)
                continue;
            const QVariant ref = profile->value(QStringLiteral("mouseMacroKey/") + QString::number(slot));
            if (textOf(ref) != macroName)
                continue;
            const QVariant factoryEntry = factory->value(key);
            if (factoryEntry.isValid())
                profile->setValue(key, factoryEntry);
            else
                profile->remove(key);
        }
    }
}

bool MacroLibrary::loadMacroFile(FileDialogs &dialogs, const QString &macroFileName)
{
    if (!isValidName(macroFileName))
        return refuse("loadMacroFile", macroFileName);
    const QString chosen = askImportFile(dialogs, DialogTexts::macroFilter());
    if (chosen.isEmpty())
        return false;
    const QString target = filePath(macroFileName);
    if (FileOps::copyNewFile(chosen, target))
        return true;
    // A macro of that name is kept as it is; otherwise nothing was imported.
    return QFileInfo::exists(target);
}

bool MacroLibrary::saveMacroFile(FileDialogs &dialogs, const QString &macroFileName)
{
    if (!isValidName(macroFileName))
        return refuse("saveMacroFile", macroFileName);
    const QString chosen = askExportFile(dialogs, DialogTexts::macroFilter());
    if (chosen.isEmpty())
        return false;
    return FileOps::replaceFile(filePath(macroFileName), chosen);
}
