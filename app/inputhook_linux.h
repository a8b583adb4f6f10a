#pragma once

// Translation of X11 input into what the hook tables expect. Linux only.

#include <cstdint>

namespace InputHook {

// The scan code and hook flags (extended bit) that the key tables expect for
// a Linux evdev key code (the X key code minus 8); false for keys without one.
bool scanCodeForEvdevKey(unsigned evdevCode, std::uint32_t *scanCode, std::uint32_t *flags);
// The mouse hook message for an X button number (1 left, 2 middle, 3 right,
// 4 to 7 wheel, 8 and 9 back and forward); false for other buttons.
bool mouseMessageForX11Button(unsigned button, bool isPress, unsigned *message);

} // namespace InputHook
