#include "bridge/pointersettings.h"

#include <QDebug>
#include <cmath>

namespace pointermap {

std::optional<int> pointerSpeed(uint index)
{
    if (index > MaxIndex)
        return std::nullopt;
    return index == 0 ? 1 : int(2 * index);
}

std::optional<int> doubleClickMs(uint index)
{
    if (index > MaxIndex)
        return std::nullopt;
    return 900 - 70 * int(index);
}

double gnomeSpeed(int speed)
{
    const double v = (speed - 10) / 10.0;
    return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v);
}

Acceleration x11Acceleration(int speed)
{
    return {speed < 1 ? 1 : speed, 5};
}

double xfceAcceleration(int speed)
{
    return qBound(1, speed, 20) / 2.0;
}

namespace {
int onScale(double speed)
{
    return qBound(1, int(std::lround(speed)), 20);
}
} // namespace

int speedFromGnome(double value)
{
    return onScale(10.0 + 10.0 * value);
}

int speedFromX11(const Acceleration &a)
{
    return a.denominator > 0 ? onScale(5.0 * a.numerator / a.denominator) : 10;
}

int speedFromXfce(double acceleration)
{
    return onScale(2.0 * acceleration);
}

uint speedIndex(int speed)
{
    // Index 0 is speed 1, every other index twice its number.
    return speed <= 1 ? 0u : uint(qBound(1, int(std::lround(speed / 2.0)), int(MaxIndex)));
}

uint doubleClickIndex(int ms)
{
    return uint(qBound(0, int(std::lround((900 - ms) / 70.0)), int(MaxIndex)));
}

} // namespace pointermap

PointerSettings::PointerSettings(std::unique_ptr<PointerBackend> backend)
    : m_backend(std::move(backend))
{
}

PointerSettings::~PointerSettings() = default;

void PointerSettings::setBackend(std::unique_ptr<PointerBackend> backend)
{
    m_backend = std::move(backend);
}

PointerBackend *PointerSettings::backend()
{
    if (!m_backend)
        m_backend = createSystemPointerBackend();
    return m_backend.get();
}

namespace {

bool reported(bool applied, const char *failure)
{
    if (!applied)
        qCritical("%s", failure);
    return applied;
}

} // namespace

// An index outside the slider's range has no value: it is refused like a
// setting the system rejects, never passed on as a wrapped number.
bool PointerSettings::setCursorSpeed(uint index)
{
    const std::optional<int> speed = pointermap::pointerSpeed(index);
    PointerBackend *b = backend();
    return reported(speed && b && b->setMouseSpeed(*speed), CursorSpeedFailed);
}

bool PointerSettings::setDoubleClickSpeed(uint index)
{
    const std::optional<int> ms = pointermap::doubleClickMs(index);
    PointerBackend *b = backend();
    return reported(ms && b && b->setDoubleClickTime(*ms), DoubleClickSpeedFailed);
}

bool PointerSettings::setVerticalScrollLines(uint lines)
{
    PointerBackend *b = backend();
    return reported(b && b->setWheelScrollLines(lines), VerticalScrollLinesFailed);
}

PointerUnavailable PointerSettings::unavailable(PointerSetting setting)
{
    PointerBackend *b = backend();
    return b ? b->unavailable(setting) : PointerUnavailable::UnknownDesktop;
}

std::optional<uint> PointerSettings::current(PointerSetting setting)
{
    PointerBackend *b = backend();
    if (!b || b->unavailable(setting) != PointerUnavailable::Available)
        return std::nullopt;
    switch (setting) {
    case PointerSetting::Speed:
        if (const std::optional<int> s = b->mouseSpeed())
            return pointermap::speedIndex(*s);
        break;
    case PointerSetting::DoubleClick:
        if (const std::optional<int> ms = b->doubleClickTime())
            return pointermap::doubleClickIndex(*ms);
        break;
    case PointerSetting::ScrollLines:
        return b->wheelScrollLines();
    }
    return std::nullopt;
}
