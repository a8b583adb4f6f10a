#pragma once

#include <QJSValue>
#include <QString>
#include <QVariantList>

class DeviceOps;
class PageRules;
class SettingsStore;

// "Send this profile": everything the active profile holds goes to the mouse
// as one unit, the same bytes and order the screens' Save of each page sends:
// the macros its buttons play, the key layers (with recoil layers where the
// profile has gun switches, key matrix 1 selected), the report rate, the DPI
// stages and the lighting. Values are read from the store and converted by
// the pages' own rule libraries; DPI and lighting are stored back the way the
// pages store them. Used by profile change, factory reset, the resend after
// a failed write, the command line and the game-profile watcher. The desktop
// pointer settings stay with the screens that apply them.
class ProfileSender
{
public:
    struct Paths
    {
        QString macroDir;
        QString gunData;
        QString i18nDir;
        // The program's data tree: ./modules/...
        static Paths program();
    };

    ProfileSender(SettingsStore &store, DeviceOps &ops, PageRules &rules,
                  const Paths &paths = Paths::program());

    // Sends the store's current profile.
    void send();

    // The parts, each as its page sends it.
    void sendMacros();
    void sendKeyMatrix();
    void sendReportRate();
    void sendDpi();
    void sendLighting();

    // The flat 64 interface values of the stored key matrix.
    QVariantList keyMatrixValues() const;
    // Firing periods of the presets bound to gun slots 1-3.
    QVariantList gunPeriods();

private:
    // name -> key code, as the macro editor reads a stored action.
    QJSValue keyCodeFunction();
    QVariantList macroImage(const QString &name);

    SettingsStore &m_store;
    DeviceOps &m_ops;
    PageRules &m_rules;
    Paths m_paths;
    QJSValue m_keyCodeOf;
};
