#include "bridge/pointersettings.h"

#include <QDebug>

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
