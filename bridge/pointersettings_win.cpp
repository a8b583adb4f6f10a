#include "bridge/pointersettings.h"

#include <windows.h>

namespace {

// Written to the user profile and broadcast to running programs.
constexpr UINT kUpdateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

class WindowsPointerBackend : public PointerBackend
{
public:
    bool setMouseSpeed(int speed) override
    {
        // The speed travels in the pointer argument itself.
        return SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                                     reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                     kUpdateAndBroadcast) != 0;
    }
    bool setDoubleClickTime(int ms) override
    {
        return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(ms), nullptr,
                                     kUpdateAndBroadcast) != 0;
    }
    bool setWheelScrollLines(uint lines) override
    {
        return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr,
                                     kUpdateAndBroadcast) != 0;
    }
};

} // namespace

std::unique_ptr<PointerBackend> createSystemPointerBackend()
{
    return std::make_unique<WindowsPointerBackend>();
}
