// The program's settings files read from whatever a disk holds: each target
// (FUZZ_KIND) puts the input in place of one file and runs every operation
// that reads it, and those that write it back.

#include <fuzzer/FuzzedDataProvider.h>

#include "app/datatree.h"
#include "device/devicetable.h"
#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "bridge/profilesettings.h"
#include "device/hid_thread.h"
#include "fuzz_hidapi.h"
#include "fuzzcommon.h"
#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/macrolibrary.h"
#include "store/namelists.h"
#include "store/profilefiles.h"
#include "store/settingsstore.h"

#define KIND_DEVICETABLE 1
#define KIND_PROFILE 2
#define KIND_NAMELIST 3
#define KIND_GUNDATA 4
#define KIND_LANGUAGE 5
#define KIND_MACROFILE 6

namespace {

#if FUZZ_KIND == KIND_MACROFILE
// The stored actions as the macro editor hands them to the encoder.
QVariantList screenRows(const QStringList &entries)
{
    QVariantList rows;
    for (const QString &e : entries) {
        const fuzz::ScreenRow row = fuzz::screenRow(e);
        rows << QVariant(QVariantList{row.type, int(row.value)});
    }
    return rows;
}
#endif

void run(const uint8_t *data, size_t size)
{
    const fuzz::RunDir dir;
#if FUZZ_KIND == KIND_DEVICETABLE
    const QString file = dir.write(QStringLiteral("apConfig.bin"), data, size);
    DeviceTable table = devicetable::read(file);
    datatree::configProblems(file);
    FuzzedDataProvider in(data, size);
    fuzzhid::feed(&in);
    devicetable::findPaths(table);
    fuzzhid::feed(nullptr);
#elif FUZZ_KIND == KIND_PROFILE
    // The same bytes as a profile, the factory profile and the configuration.
    for (const char *name : {"setting/p1.bin", "setting/pD.bin", "setting/apConfig.bin"})
        dir.write(QString::fromLatin1(name), data, size);
    SettingsStore store(dir.path(QStringLiteral("setting")));
    const char *keys[] = {"mouse/reportRate", "mouse/dpiCount", "mouse/currentDpiCount",
                          "mouse/dpiValueArray", "mouse/lightValue", "mouse/colorValue",
                          "mouse/mouseRate", "mouse/doubleRate", "mouse/scrollRate"};
    for (bool recovery : {false, true}) {
        for (const char *k : keys) {
            store.getData(QString::fromLatin1(k), recovery);
            store.getDataList(QString::fromLatin1(k), recovery);
        }
    }
    for (const char *k : {"common/deviceCount", "common/language", "mouse/icType", "mouse/isGun",
                          "mouse/selectGun", "mouse/profileNo"})
        store.getGlobalData(QString::fromLatin1(k));
    StoreProfileSettings settings(&store);
    DeviceOps ops;
    ops.setProfileSettings(&settings);
    for (int k = 0; k < 16; ++k) {
        ops.keyDefine(k, false);
        ops.keyDefine(k, true);
    }
    GunStore::getXYSensitive(store, 0);
    GunStore::getselectGun(store, 1);
    MacroLibrary macros(dir.path(QStringLiteral("macro")), store);
    QDir().mkpath(dir.path(QStringLiteral("macro")));
    macros.createMacroIni(QStringLiteral("Macro_0"), 0);
    macros.deleteMacroUpdateProfile(QStringLiteral("Macro_0"));
    macros.modifyMacroNameUpdateProfile(QStringLiteral("Macro_0"), QStringLiteral("Macro_1"));
    // Written back, replaced and copied.
    ops.setKeyMatrix(ops.keyDefine(0, false) + ops.keyDefine(1, true), false, {});
    store.setData(QStringLiteral("mouse/reportRate"), 2);
    store.syncAll();
    ProfileFiles::resetProfile(store, 1);
    ProfileFiles::copyProfile(store, 2, 0);
    store.getDataList(QStringLiteral("mouseKeyMatrix/3"), false);
#elif FUZZ_KIND == KIND_NAMELIST
    const QString file = dir.write(QStringLiteral("name.bin"), data, size);
    NameLists names(file);
    for (const QVariant &type : {QVariant(0), QVariant(1), QVariant(2), QVariant(3), QVariant(7),
                                 QVariant(QStringLiteral("x"))}) {
        const QVariantList list = names.getNameList(type);
        QStringList texts;
        for (const QVariant &v : list)
            texts << v.toString();
        names.updataNameList(type, texts);
    }
    names.getNameList(0);
#elif FUZZ_KIND == KIND_GUNDATA
    const QString file = dir.write(QStringLiteral("gunData.bin"), data, size);
    GunStore guns(file);
    for (const QString &key : guns.getGunDataKey())
        guns.getGunData(key);
    for (int row = 0; row < 6; ++row)
        guns.getGunData(row);
    guns.mouseSaveGundata(2, {"M16A4", "L-Click", 9, 0, 8, 0});
    guns.modifyGundata(1, {"AK", "L-Click", 10, 0, 10, 0, "AKM"});
    guns.modifyGundata(0, {"0"});
    guns.getGunDataKey();
#elif FUZZ_KIND == KIND_LANGUAGE
    dir.write(QStringLiteral("Fuzz.ini"), data, size);
    const QStringList sections{"main", "keyMatrix", "keyAssigment", "dpiSetting", "lightControl",
                               "macroEditor", "systemSetting", "gunControl", "profile", "keyCode",
                               "other", "message", "unknown"};
    for (const QString &s : sections) {
        const QStringList strings = LangStrings::getLangStrings(dir.path(), s, QStringLiteral("Fuzz"));
        if (s == QLatin1String("other"))
            setDpiSwitchTexts(LangStrings::dpiSwitchTextsFrom(strings));
    }
    for (int id = 0; id < 4; ++id)
        LangStrings::messageText(dir.path(), QStringLiteral("Fuzz"), LangStrings::MessageText(id));
    setDpiSwitchTexts({});
#elif FUZZ_KIND == KIND_MACROFILE
    dir.write(QStringLiteral("macro/M.bin"), data, size);
    SettingsStore store(dir.path(QStringLiteral("setting")));
    MacroLibrary macros(dir.path(QStringLiteral("macro")), store);
    QStringList loaded = macros.loadMacroIni(QStringLiteral("M"));
    if (!loaded.isEmpty()) {
        const QString repeat = loaded.takeLast();
        // As the editor sends it: the rows encoded into the device's image.
        MacroImageCodec codec;
        const QVariantList rows = screenRows(loaded);
        macroimage::transferBuffer(codec.encode(rows, repeat.toInt()));
        codec.encodedSize(rows);
        macros.saveMacroIni(QStringLiteral("M"), loaded, repeat);
        macros.loadMacroIni(QStringLiteral("M"));
    }
#else
#error "FUZZ_KIND names no file kind"
#endif
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    run(data, size);
    return 0;
}
