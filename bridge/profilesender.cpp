#include "bridge/profilesender.h"

#include <QJSValue>

#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "bridge/pagerules.h"
#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/macrolibrary.h"
#include "store/settingsstore.h"

namespace {

const QString kKeyMatrixJs = QStringLiteral("pages/keymatrix/keymatrix.js");
const QString kDpiJs = QStringLiteral("pages/dpi/dpi.js");
const QString kLightJs = QStringLiteral("pages/light/light.js");
const QString kMacroJs = QStringLiteral("pages/macro/macro.js");
const QString kGunJs = QStringLiteral("pages/gun/gun.js");
const QString kValuesJs = QStringLiteral("common/values.js");
const QString kKeyCodesJs = QStringLiteral("common/keycodes.js");
const QString kMainJs = QStringLiteral("mainscreen.js");

constexpr int kMacroEntry = 4;   // interface type of a macro entry

} // namespace

ProfileSender::Paths ProfileSender::Paths::program()
{
    return {QStringLiteral("./modules/macro"), QStringLiteral("./modules/gun/gunData.bin"),
            QStringLiteral("./modules/i18n")};
}

ProfileSender::ProfileSender(SettingsStore &store, DeviceOps &ops, PageRules &rules, const Paths &paths)
    : m_store(store), m_ops(ops), m_rules(rules), m_paths(paths)
{
}

void ProfileSender::send()
{
    // A macro has to be on the mouse before its button can play it.
    sendMacros();
    if (m_ops.driver().facts().isGun) {
        // Layers 2-4 start from the factory matrix; a profile with gun
        // switches replaces them with its recoil layers right after, and
        // either way key matrix 1 ends selected, as after a Save.
        m_ops.switchKeyMatrix(1);
        m_ops.resetKeyMatrix();
    }
    sendKeyMatrix();
    sendReportRate();
    sendDpi();
    sendLighting();
}

QVariantList ProfileSender::keyMatrixValues() const
{
    QJSEngine &js = m_rules.engine();
    QVariantList flat;
    for (int slot = 0; slot < 16; ++slot) {
        const QJSValue entry = m_rules.call(kKeyMatrixJs, QStringLiteral("entryOf"),
                                            {js.toScriptValue(m_ops.keyDefine(slot, false))});
        for (int k = 0; k < 4; ++k)
            flat << entry.property(quint32(k)).toInt();
    }
    return flat;
}

QVariantList ProfileSender::gunPeriods()
{
    QJSEngine &js = m_rules.engine();
    const QJSValue gunRows = m_rules.call(kGunJs, QStringLiteral("slotsOf"),
                                        {js.toScriptValue(m_store.getGlobalData(QStringLiteral("mouse/selectGun")))});
    GunStore guns(m_paths.gunData);
    QVariantList periods;
    for (int i = 0; i < 3; ++i) {
        const int row = gunRows.property(quint32(i)).toInt();
        const QJSValue r = m_rules.call(kGunJs, QStringLiteral("rowFromRecord"),
                                        {row, js.toScriptValue(guns.getGunData(row))});
        periods << r.property(QStringLiteral("gunPeriod")).toInt();
    }
    return periods;
}

void ProfileSender::sendKeyMatrix()
{
    m_ops.setKeyMatrix(keyMatrixValues(), true,
                       m_ops.driver().facts().isGun ? gunPeriods() : QVariantList{10, 10, 10});
}

void ProfileSender::sendReportRate()
{
    const int index = qBound(0, m_rules.call(kValuesJs, QStringLiteral("toInt"),
                                             {m_rules.engine().toScriptValue(m_store.getData(QStringLiteral("mouse/reportRate"), false)), 0})
                                    .toInt(), 3);
    m_ops.setReportRate(uchar(m_rules.call(kMainJs, QStringLiteral("reportInterval"), {index}).toInt()));
}

void ProfileSender::sendDpi()
{
    QJSEngine &js = m_rules.engine();
    auto global = [&](const char *key) { return js.toScriptValue(m_store.getGlobalData(QLatin1String(key))); };
    auto toInt = [&](const QJSValue &v, int fallback) {
        return m_rules.call(kValuesJs, QStringLiteral("toInt"), {v, fallback}).toInt();
    };
    const QJSValue defaults = m_rules.library(kDpiJs).property(QStringLiteral("defaults"));
    const int offered = m_rules.call(kDpiJs, QStringLiteral("validStageCount"),
                                     {js.toScriptValue(m_store.getData(QStringLiteral("mouse/dpiCount"), false))}).toInt();
    if (offered == 0)
        return;   // the panel ends its initialisation here too
    const int minDpi = toInt(global("mouse/minDPI"), defaults.property(QStringLiteral("minDPI")).toInt());
    const int maxDpi = toInt(global("mouse/maxDPI"), defaults.property(QStringLiteral("maxDPI")).toInt());
    const int base = toInt(global("mouse/dpiBase"), defaults.property(QStringLiteral("dpiBase")).toInt());
    const QVariant sensorValue = m_store.getGlobalData(QStringLiteral("mouse/sensorType"));
    const QString sensor = sensorValue.isValid() ? sensorValue.toString()
                                                 : defaults.property(QStringLiteral("sensorType")).toString();
    const int active = m_rules.call(kDpiJs, QStringLiteral("activeCount"),
                                    {js.toScriptValue(m_store.getData(QStringLiteral("mouse/currentDpiCount"), false)),
                                     offered, defaults.property(QStringLiteral("currentDpiCount"))}).toInt();

    // Each stored value goes through its knob position, as on the panel; a
    // missing one keeps the panel's built-in value.
    const QVariantList stored = m_store.getDataList(QStringLiteral("mouse/dpiValueArray"), false);
    const QJSValue builtIn = defaults.property(QStringLiteral("values"));
    QVariantList values;
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        const int v = i < stored.size() ? stored.at(i).toString().trimmed().toInt(&ok) : 0;
        const int position = m_rules.call(kDpiJs, QStringLiteral("positionOfValue"),
                                          {ok ? v : builtIn.property(quint32(i)).toInt(), minDpi, maxDpi}).toInt();
        values << m_rules.call(kDpiJs, QStringLiteral("valueOfPosition"), {position, minDpi, maxDpi, base}).toInt();
    }
    m_store.setDataList(QStringLiteral("mouse/dpiValueArray"), values);
    m_store.setData(QStringLiteral("mouse/currentDpiCount"), active);
    m_ops.setDpi(active, sensor, values);
}

void ProfileSender::sendLighting()
{
    QJSEngine &js = m_rules.engine();
    const DeviceFacts &f = m_ops.driver().facts();
    auto toInt = [&](const QVariant &v, int fallback) {
        return m_rules.call(kValuesJs, QStringLiteral("toInt"), {js.toScriptValue(v), fallback}).toInt();
    };
    // The panel starts from entry 0 with both sliders at their top step.
    int effect = 0, speed = 4, brightness = 4;
    const QVariantList value = m_store.getDataList(QStringLiteral("mouse/lightValue"), false);
    if (value.size() >= 3) {
        effect = toInt(value.at(0), effect);
        speed = qBound(0, toInt(value.at(1), speed), 4);
        brightness = qBound(0, toInt(value.at(2), brightness), 4);
    }
    const QVariantList stored = m_store.getDataList(QStringLiteral("mouse/colorValue"), false);
    const QJSValue blocks = m_rules.call(kLightJs, QStringLiteral("blocksOf"), {js.toScriptValue(stored)});
    const QVariantList colours = m_rules.call(kLightJs, QStringLiteral("savedColours"),
                                              {blocks, f.is55328, effect}).toVariant().toList();
    const QVariantList lightValue{effect, speed, brightness};
    m_store.setDataList(QStringLiteral("mouse/lightValue"), lightValue);
    m_store.setDataList(QStringLiteral("mouse/colorValue"), colours);
    m_ops.setRgbEffect(uchar(effect), uchar(speed), uchar(brightness));
    m_ops.setRgbColor(uchar(m_rules.call(kLightJs, QStringLiteral("colourType"), {f.isColorful}).toInt()),
                      colours);
}

QJSValue ProfileSender::keyCodeFunction()
{
    if (m_keyCodeOf.isCallable())
        return m_keyCodeOf;
    // The macro editor's name table: built-in names, replaced by the
    // language's "keyCode" section.
    QJSEngine &js = m_rules.engine();
    const QString language = m_store.getGlobalData(QStringLiteral("common/language")).toString();
    const QStringList loaded = LangStrings::getLangStrings(m_paths.i18nDir, QStringLiteral("keyCode"), language);
    const QJSValue names = m_rules.call(kMainJs, QStringLiteral("mergeTexts"),
                                        {m_rules.call(kKeyCodesJs, QStringLiteral("names")), js.toScriptValue(loaded)});
    const QJSValue make = js.evaluate(QStringLiteral(
        "(function(keys, codes, names) { return function(name) { return Number(keys.strTokeycode(codes, names, name)) } })"));
    m_keyCodeOf = make.call({m_rules.library(kKeyCodesJs), m_rules.call(kKeyCodesJs, QStringLiteral("codes")), names});
    return m_keyCodeOf;
}

QVariantList ProfileSender::macroImage(const QString &name)
{
    const QStringList stored = MacroLibrary(m_paths.macroDir, m_store).loadMacroIni(name);
    if (stored.isEmpty())
        return {};
    QJSEngine &js = m_rules.engine();
    const QJSValue macro = m_rules.call(kMacroJs, QStringLiteral("parseStored"), {js.toScriptValue(stored)});
    const QJSValue rows = m_rules.call(kMacroJs, QStringLiteral("codecRows"),
                                       {macro.property(QStringLiteral("rows")), keyCodeFunction()});
    const int repeat = m_rules.call(kMacroJs, QStringLiteral("repeatOf"), {macro.property(QStringLiteral("times"))}).toInt();
    return MacroImageCodec().encode(rows.toVariant().toList(), repeat);
}

void ProfileSender::sendMacros()
{
    const QVariantList flat = keyMatrixValues();
    for (int slot = 0; slot < 16; ++slot) {
        if (flat.value(slot * 4).toInt() != kMacroEntry)
            continue;
        const QString name = m_store.getData(QStringLiteral("mouseMacroKey/") + QString::number(slot), false).toString();
        if (name.isEmpty())
            continue;
        const QVariantList image = macroImage(name);
        if (!image.isEmpty())
            m_ops.sendMacroData(image, slot);
    }
}
