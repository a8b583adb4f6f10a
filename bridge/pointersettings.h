#pragma once

#include <QtGlobal>
#include <memory>
#include <optional>

// The pointer settings of the user's desktop (not of the mouse): pointer
// speed, double-click time and wheel scroll lines. The page's slider indexes
// are mapped here; the platform backend applies the values.
namespace pointermap {

constexpr uint MaxIndex = 10;

// Pointer speed 1..20 on the desktop's 1..20 scale: 2 x index, index 0 gives 1.
// Indexes above 10 have no setting.
std::optional<int> pointerSpeed(uint index);

// Double-click time in ms: 900 - 70 x index (900 .. 200).
std::optional<int> doubleClickMs(uint index);

// GNOME's pointer speed (-1 .. 1) for a speed on the 1..20 scale, 10 = 0.
double gnomeSpeed(int speed);

// X11 pointer acceleration for a speed on the 1..20 scale: speed / 5, so the
// middle of the scale is the X server's default of 2/1.
struct Acceleration { int numerator; int denominator; };
Acceleration x11Acceleration(int speed);

// Xfce's acceleration (0.1 .. 10) for a speed on the 1..20 scale: speed / 2,
// so the middle of the scale is Xfce's neutral 5.
double xfceAcceleration(int speed);

// The way back, for showing what the desktop holds now. Each result is
// clamped to the 1..20 scale.
int speedFromGnome(double value);
int speedFromX11(const Acceleration &a);
int speedFromXfce(double acceleration);

// The slider index (0..10) nearest to a speed or a double-click time.
uint speedIndex(int speed);
uint doubleClickIndex(int ms);

} // namespace pointermap

// The three settings, in the order the page shows them.
enum class PointerSetting { Speed, DoubleClick, ScrollLines };

// Why a setting cannot be offered here. The numbers travel to the screen,
// which shows its text for each.
enum class PointerUnavailable {
    Available = 0,
    NotOnThisDesktop = 1,   // the desktop has no such setting
    UnknownDesktop = 2,     // no desktop whose settings this program knows
    ToolMissing = 3,        // the desktop's settings tool or schema is missing
    NoSession = 4,          // no session bus to reach the desktop's settings
};

// Applies the values on one platform; each returns true only when the
// setting really took effect.
class PointerBackend
{
public:
    virtual ~PointerBackend() = default;
    virtual bool setMouseSpeed(int speed) = 0;        // 1..20
    virtual bool setDoubleClickTime(int ms) = 0;
    virtual bool setWheelScrollLines(uint lines) = 0;

    // Whether a setting can be applied here, and if not, why. A desktop
    // that offers everything need not say so.
    virtual PointerUnavailable unavailable(PointerSetting) { return PointerUnavailable::Available; }
    // The desktop's current values, where they can be read.
    virtual std::optional<int> mouseSpeed() { return std::nullopt; }   // 1..20
    virtual std::optional<int> doubleClickTime() { return std::nullopt; }
    virtual std::optional<uint> wheelScrollLines() { return std::nullopt; }
};

// The backend of the platform the program was built for.
std::unique_ptr<PointerBackend> createSystemPointerBackend();

// The three operations of the system-settings page. A setting that cannot be
// applied writes its failure text at critical level and reports false.
class PointerSettings
{
public:
    static constexpr const char *CursorSpeedFailed = "setCursorSpeed Failed";
    static constexpr const char *DoubleClickSpeedFailed = "setDoubleClickSpeed Failed";
    static constexpr const char *VerticalScrollLinesFailed = "setVerticalScrollLines Failed";

    // Without a backend the platform's own is created on first use.
    explicit PointerSettings(std::unique_ptr<PointerBackend> backend = {});
    ~PointerSettings();

    bool setCursorSpeed(uint index);
    bool setDoubleClickSpeed(uint index);
    bool setVerticalScrollLines(uint lines);

    PointerUnavailable unavailable(PointerSetting setting);
    // What the page shows for the desktop's current value: the slider index
    // for speed and double-click, the line count for the wheel.
    std::optional<uint> current(PointerSetting setting);

    void setBackend(std::unique_ptr<PointerBackend> backend);

private:
    PointerBackend *backend();
    std::unique_ptr<PointerBackend> m_backend;
};
