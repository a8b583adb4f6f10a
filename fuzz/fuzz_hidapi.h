#pragma once

// A stand-in for hidapi whose every answer comes from the fuzzer's input:
// whether an open or a transfer succeeds, how many bytes a read returns and
// what they are, and which interfaces an enumeration lists. When the input
// runs out every call fails, so any loop over the device ends.

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace fuzzhid {

void feed(FuzzedDataProvider *provider);   // null: every call fails
// Calls made since the last feed (a bound against loops that never end).
unsigned long calls();

} // namespace fuzzhid
