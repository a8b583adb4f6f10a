// The view's file operations: thin forwarders to the store classes, over the
// program's ./modules tree.
#include "app/myqquickview.h"

#include "app/filedialogs_qt.h"
#include "device/hid_thread.h"
#include "store/fileops.h"
#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/macrolibrary.h"
#include "store/namelists.h"
#include "store/profilefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJSValue>

namespace {

const QString kMacroDir = QStringLiteral("./modules/macro");
const QString kNameList = QStringLiteral("./modules/setting/name.bin");
const QString kGunData = QStringLiteral("./modules/gun/gunData.bin");
const QString kI18nDir = QStringLiteral("./modules/i18n");

// Values from QML may arrive as script values; the INI files take plain ones.
QVariant plain(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<QJSValue>())
        return plain(v.value<QJSValue>().toVariant());
    if (v.typeId() == QMetaType::QVariantList) {
        QVariantList list = v.toList();
        for (QVariant &item : list)
            item = plain(item);
        return list;
    }
    return v;
}

QVariantList plainList(const QVariantList &list)
{
    return plain(QVariant(list)).toList();
}

QString macroPath(const QVariant &name)
{
    return kMacroDir + QLatin1Char('/') + name.toString() + QStringLiteral(".bin");
}

} // namespace

void myQQuickView::initStoreState()
{
    m_fileDialogs = std::make_unique<QtFileDialogs>(this);
    // Every burst of writes is put on disk once control returns to the event
    // loop, where a file that cannot be written is told.
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, &myQQuickView::flushSettings);
    m_store->setWriteHook([this] { scheduleFlush(); });
}

void myQQuickView::scheduleFlush()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

bool myQQuickView::flushSettings()
{
    m_flushTimer.stop();
    const QStringList failed = m_store->flush();
    for (const QString &file : failed)
        reportNotWritten(file);
    return failed.isEmpty();
}

void myQQuickView::reportNotWritten(const QString &file)
{
    const QString shown = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    const FileOps::WriteProblem problem = FileOps::writeProblem(file);
    qDebug().noquote() << "settings file not written:" << shown << "problem" << int(problem);
    emit settingsFileNotWritten(shown, int(problem));
}

void myQQuickView::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    m_fileDialogs = std::move(dialogs);
}

void myQQuickView::resetApconfig()
{
    m_store->resetApconfig();
}

bool myQQuickView::loadMacroFile(QVariant macroFileName)
{
    return MacroLibrary(kMacroDir, *m_store).loadMacroFile(*m_fileDialogs, macroFileName.toString());
}

void myQQuickView::saveMacroFile(QVariant macroFileName)
{
    MacroLibrary(kMacroDir, *m_store).saveMacroFile(*m_fileDialogs, macroFileName.toString());
}

bool myQQuickView::loadProfile(int profile)
{
    return ProfileFiles::loadProfile(*m_store, *m_fileDialogs, profile);
}

void myQQuickView::saveProfile(int profile)
{
    ProfileFiles::saveProfile(*m_store, *m_fileDialogs, profile);
}

bool myQQuickView::resetProfile(int profile)
{
    if (ProfileFiles::resetProfile(*m_store, profile))
        return true;
    if (m_store->profile(profile))
        reportNotWritten(m_store->profilePath(profile));
    return false;
}

void myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    ProfileFiles::copyProfile(*m_store, destprofile, srcprofile);
}

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode)
{
    const QStringList strings = LangStrings::getLangStrings(kI18nDir, typeStr, langCode);
    if (typeStr == QLatin1String("other"))
        setDpiSwitchTexts(LangStrings::dpiSwitchTextsFrom(strings));
    return strings;
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex)
{
    const bool made = MacroLibrary(kMacroDir, *m_store).createMacroIni(name.toString(), macroIndex.toUInt());
    if (!made && MacroLibrary::isValidName(name.toString()))
        reportNotWritten(macroPath(name));
    return made;
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    const bool written = NameLists(kNameList).updataNameList(type, nameList);
    if (!written)
        reportNotWritten(kNameList);
    return written;
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    const bool renamed = MacroLibrary(kMacroDir, *m_store)
                             .modifyMacroNameUpdateProfile(oldname.toString(), newname.toString());
    // A refused name or a name already taken is the screen's business; a
    // folder that takes no rename is the user's to know.
    if (!renamed && MacroLibrary::isValidName(newname.toString())
        && QFileInfo::exists(macroPath(oldname)) && !QFileInfo::exists(macroPath(newname)))
        reportNotWritten(macroPath(oldname));
    scheduleFlush();
    return renamed;
}

void myQQuickView::deleteMacroUpdateProfile(QVariant macroName)
{
    MacroLibrary(kMacroDir, *m_store).deleteMacroUpdateProfile(macroName.toString());
    scheduleFlush();
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return MacroLibrary(kMacroDir, *m_store).deleteMacroIni(name.toString());
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return NameLists(kNameList).getNameList(type);
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariant repeat)
{
    const QString n = name.toString();
    const bool saved = MacroLibrary(kMacroDir, *m_store).saveMacroIni(n, macros, plain(repeat));
    if (!saved && MacroLibrary::isValidName(n) && QFileInfo::exists(macroPath(name)))
        reportNotWritten(macroPath(name));
    return saved;
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return MacroLibrary(kMacroDir, *m_store).loadMacroIni(name.toString());
}

void myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6)
{
    GunStore(kGunData).mouseSaveGundata(index, plainList(src6));
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    GunStore(kGunData).modifyGundata(modifyType, plainList(src6));
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    return GunStore(kGunData).getGunData(name);
}

QStringList myQQuickView::getGunDataKey()
{
    return GunStore(kGunData).getGunDataKey();
}

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    return GunStore::getXYSensitive(*m_store, index);
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    return GunStore::getselectGun(*m_store, index);
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    GunStore::setXYSensitive(*m_store, index, plain(xyData));
    scheduleFlush();
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    GunStore::setSelectGun(*m_store, index, plain(xyData));
    scheduleFlush();
}

void myQQuickView::setCurrentProfile(int profile)
{
    m_store->setCurrentProfile(profile);
}

QVariant myQQuickView::getData(QVariant key, bool isRecovery)
{
    return m_store->getData(key.toString(), isRecovery);
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    return m_store->getGlobalData(key.toString());
}

QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery)
{
    return m_store->getDataList(key.toString(), isRecovery);
}

void myQQuickView::setData(QVariant key, QVariant data)
{
    m_store->setData(key.toString(), plain(data));
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    m_store->setGlobalData(key.toString(), plain(tmpdata));
}

void myQQuickView::setDataList(QVariant key, QVariantList datalist)
{
    m_store->setDataList(key.toString(), plainList(datalist));
}
