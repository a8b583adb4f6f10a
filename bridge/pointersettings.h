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

} // namespace pointermap

// Applies the values on one platform; each returns true only when the
// setting really took effect.
class PointerBackend
{
public:
    virtual ~PointerBackend() = default;
    virtual bool setMouseSpeed(int speed) = 0;        // 1..20
    virtual bool setDoubleClickTime(int ms) = 0;
    virtual bool setWheelScrollLines(uint lines) = 0;
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

    void setBackend(std::unique_ptr<PointerBackend> backend);

private:
    PointerBackend *backend();
    std::unique_ptr<PointerBackend> m_backend;
};
