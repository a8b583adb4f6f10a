#pragma once

// Device rows for the shared-library form, read from an INI text with the
// row keys of the program's own device table ([0], [1], ... with vid, pid,
// usagePage, usage, usagePage2, usage2 in hexadecimal, reportLength decimal,
// isEncode, sCode) plus two keys of the simulator: family (553/560) and
// plugged (boolean, default true). The family defaults to 560 when the text
// has mouse/icType = 560, else 553. common/deviceCount, when given, limits
// the rows. So the program's own apConfig.bin is itself a valid input.

#include "simmouse.h"

#include <string>
#include <vector>

namespace simmouse {

std::vector<Config> parseIniConfig(const std::string &text);

} // namespace simmouse
