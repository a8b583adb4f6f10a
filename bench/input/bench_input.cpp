// Per-event cost of the input capture core: what every key and mouse event of
// the whole desktop pays inside the hook procedure (table look-ups, key state
// and one callback call). It must stay far below a microsecond.
//
// Usage: bench_input [events]   (default 20 million). Exit code 1 when an
// event costs a microsecond or more.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/inputhook_core.h"

namespace {

volatile unsigned sink = 0;

void countKey(unsigned char usbCode, bool isDown, void *context)
{
    *static_cast<unsigned *>(context) += usbCode + (isDown ? 1u : 0u);
}

void countMouse(unsigned char button, bool isDown, int x, int y, void *context)
{
    *static_cast<unsigned *>(context) += button + (isDown ? 1u : 0u) + unsigned(x + y);
}

struct Event
{
    bool isKey;
    unsigned scanOrMessage;
    unsigned flags;
    bool isDown;
};

template <typename F>
double nanosecondsPerEvent(long events, F &&run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / double(events);
}

} // namespace

int main(int argc, char *argv[])
{
    const long events = argc > 1 ? std::atol(argv[1]) : 20000000L;
    if (events <= 0) {
        std::fprintf(stderr, "usage: bench_input [events]\n");
        return 2;
    }

    InputHook::buildTables(0);
    unsigned counter = 0;
    InputHook::setKeyboardCallback(countKey, &counter);
    InputHook::setMouseCallback(countMouse, &counter);

    // A mix of what the desktop sends: every table key pressed and released,
    // auto-repeats, unknown keys, mouse moves and clicks.
    std::vector<Event> mix;
    for (std::size_t i = 0; i < InputHook::kScanCodeRowCount; ++i) {
        const InputHook::ScanCodeRow &row = InputHook::kScanCodeRows[i];
        const unsigned flags = row.extended ? InputHook::kFlagExtended : 0;
        mix.push_back({true, row.scanCode, flags, true});
        mix.push_back({true, row.scanCode, flags, true});   // repeat
        mix.push_back({true, row.scanCode, flags | 0x80, false});
        mix.push_back({true, 0x55, 0, true});                // not in the table
        mix.push_back({false, InputHook::MouseMove, 0, false});
    }
    mix.push_back({false, InputHook::LeftButtonDown, 0, true});
    mix.push_back({false, InputHook::LeftButtonUp, 0, false});

    const double mixed = nanosecondsPerEvent(events, [&] {
        std::size_t j = 0;
        for (long i = 0; i < events; ++i) {
            const Event &e = mix[j];
            if (e.isKey)
                InputHook::keyEvent(e.scanOrMessage, e.flags, e.isDown);
            else
                InputHook::mouseEvent(e.scanOrMessage, int(i & 1023), int(j));
            if (++j == mix.size())
                j = 0;
        }
    });

    // The worst case for keys: every event a real change with a callback.
    const double keyChanges = nanosecondsPerEvent(events, [&] {
        for (long i = 0; i < events; ++i)
            InputHook::keyEvent(0x1E, (i & 1) ? 0x80u : 0u, (i & 1) == 0);
    });

    const double clicks = nanosecondsPerEvent(events, [&] {
        for (long i = 0; i < events; ++i)
            InputHook::mouseEvent((i & 1) ? InputHook::LeftButtonUp : InputHook::LeftButtonDown, int(i), 7);
    });

    sink = counter;
    std::printf("input capture core, %ld events per run\n", events);
    std::printf("  mixed desktop events : %8.2f ns/event\n", mixed);
    std::printf("  key state changes    : %8.2f ns/event\n", keyChanges);
    std::printf("  button presses       : %8.2f ns/event\n", clicks);
    const double worst = std::max(mixed, std::max(keyChanges, clicks));
    if (worst >= 1000.0) {
        std::printf("FAIL: %.2f ns per event is not well under a microsecond\n", worst);
        return 1;
    }
    std::printf("ok: worst %.2f ns per event\n", worst);
    return 0;
}
