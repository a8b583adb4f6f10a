#pragma once

// Control socket of the shared-library form of the simulated mouse, and the
// start-up hook that the hidapi layer calls on every entry.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace simmouse::server {

// SIMMOUSE_SOCKET, else /tmp/simmouse-<uid>.sock.
inline std::string socketPath()
{
    if (const char *env = std::getenv("SIMMOUSE_SOCKET"); env && *env)
        return env;
    return "/tmp/simmouse-" + std::to_string(getuid()) + ".sock";
}

// Once per process: configure from SIMMOUSE_CONFIG and open the socket.
void ensureStarted();

constexpr const char *kUsage =
    "plug|unplug [device], dpi <stage> [device], status, dump [device], log, clearlog, "
    "withhold on|off [device], corrupt [device], fail <n>, failopen on|off";

// One command line ("plug", "dpi 3 1", ...) to its answer text.
std::string execute(const std::string &line);

} // namespace simmouse::server

namespace simmouse::detail {
// Bytes as lower-case hex pairs separated by spaces ("0a 1b").
std::string hexText(const uint8_t *bytes, size_t n);

inline void autoStart()
{
#ifdef SIMMOUSE_SERVER
    server::ensureStarted();
#endif
}
} // namespace simmouse::detail
