// Control socket of the shared-library form: a plain POSIX Unix socket served
// by one thread, one command line per connection.
#include "ctlserver.h"
#include "iniconfig.h"
#include "simmouse.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>

namespace simmouse::server {

namespace {

std::string boundPath;

void removeSocket()
{
    if (!boundPath.empty())
        ::unlink(boundPath.c_str());
}

void configure()
{
    const char *file = std::getenv("SIMMOUSE_CONFIG");
    if (!file || !*file) {
        reset(Config());
        return;
    }
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "simmouse: cannot read %s; using the sample mouse\n", file);
        reset(Config());
        return;
    }
    std::stringstream text;
    text << in.rdbuf();
    reset(parseIniConfig(text.str()));
}

void serve(int listener)
{
    for (;;) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::string line;
        char c;
        while (line.size() < 1024 && ::recv(client, &c, 1, 0) == 1 && c != '\n')
            line += c;
        const std::string answer = execute(line);
        size_t sent = 0;
        while (sent < answer.size()) {
            const ssize_t n = ::send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += size_t(n);
        }
        ::close(client);
    }
}

void listen()
{
    const std::string path = socketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "simmouse: socket path too long: %s\n", path.c_str());
        return;
    }
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0) {
        std::fprintf(stderr, "simmouse: cannot listen on %s: %s\n", path.c_str(), std::strerror(errno));
        ::close(fd);
        return;
    }
    boundPath = path;
    std::atexit(removeSocket);
    std::thread(serve, fd).detach();
}

std::string status()
{
    std::ostringstream out;
    for (int d = 0; d < deviceCount(); ++d) {
        const Config c = config(d);
        const State s = state(d);
        char head[160];
        std::snprintf(head, sizeof head,
                      "device %d: family %d %s vid %04x pid %04x reportLength %d scrambled %s\n", d,
                      c.family, isPlugged(d) ? "plugged" : "unplugged", c.vid, c.pid, c.reportLength,
                      c.isEncode ? "yes" : "no");
        out << head;
        out << "  paths " << path(d, 0) << " " << path(d, 1) << "\n";
        out << "  keyboardOption " << detail::hexText(s.keyboardOption.data(), 4) << "\n";
        if (c.family == 560) {
            out << "  currentProfile " << int(s.currentProfile) << "\n";
            out << "  dpiStageByPosition " << detail::hexText(s.dpiStageByPosition.data(), 4) << "\n";
            out << "  reportRateByPosition " << detail::hexText(s.reportRateByPosition.data(), 4) << "\n";
        } else {
            out << "  currentDpiStage " << int(s.currentDpiStage) << "\n";
            out << "  reportRate " << int(s.reportRate) << "\n";
            out << "  currentKeyMatrix " << int(s.currentKeyMatrix) << "\n";
        }
        out << "  keyMatrixLayers " << s.keyMatrixLayers.size() << " macros " << s.macros.size()
            << "\n";
    }
    if (deviceCount() == 0)
        out << "no devices configured\n";
    return out.str();
}

// Everything one device's firmware holds, one store per line, so tests can
// compare what reached the mouse without replaying the wire log.
std::string dump(int d)
{
    const State s = state(d);
    std::ostringstream out;
    auto line = [&out](const std::string &name, const uint8_t *bytes, size_t n) {
        out << name << " " << detail::hexText(bytes, n) << "\n";
    };
    auto maps = [&line](const char *name, const std::map<uint8_t, std::vector<uint8_t>> &m) {
        for (const auto &[key, bytes] : m)
            line(std::string(name) + " " + std::to_string(key), bytes.data(), bytes.size());
    };
    line("keyboardOption", s.keyboardOption.data(), s.keyboardOption.size());
    out << "currentDpiStage " << int(s.currentDpiStage) << "\n";
    line("dpiStageByPosition", s.dpiStageByPosition.data(), s.dpiStageByPosition.size());
    out << "reportRate " << int(s.reportRate) << "\n";
    line("reportRateByPosition", s.reportRateByPosition.data(), s.reportRateByPosition.size());
    out << "currentProfile " << int(s.currentProfile) << "\n";
    out << "currentKeyMatrix " << int(s.currentKeyMatrix) << "\n";
    maps("keyMatrix", s.keyMatrixLayers);
    maps("macro", s.macros);
    maps("dpiSet", s.dpiSets);
    line("fixLedColor", s.fixLedColor.data(), s.fixLedColor.size());
    line("rgbLedEffect", s.rgbLedEffect.data(), s.rgbLedEffect.size());
    maps("led8", s.led8StageColors);
    for (const auto &[slot, bytes] : s.gunData)
        line("gun " + std::to_string(slot), bytes.data(), bytes.size());
    for (size_t i = 0; i < s.profiles.size(); ++i)
        line("profile " + std::to_string(i), s.profiles[i].data(), s.profiles[i].size());
    return out.str();
}

} // namespace

std::string execute(const std::string &line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    auto device = [&](int fallback) {
        int d = fallback;
        if (!(in >> d))
            d = fallback;
        return d;
    };
    auto checkDevice = [](int d) { return d >= 0 && d < deviceCount(); };

    if (command == "plug" || command == "unplug") {
        const int d = device(0);
        if (!checkDevice(d))
            return "error: no device " + std::to_string(d) + "\n";
        if (command == "plug")
            plug(d);
        else
            unplug(d);
        return "ok\n";
    }
    if (command == "dpi") {
        int stage = -1;
        if (!(in >> stage) || stage < 0 || stage > 255)
            return "error: usage: dpi <stage 0-255> [device]\n";
        const int d = device(0);
        if (!checkDevice(d))
            return "error: no device " + std::to_string(d) + "\n";
        if (!isPlugged(d))
            return "error: device " + std::to_string(d) + " is unplugged\n";
        pressDpiButton(uint8_t(stage), d);
        return "ok\n";
    }
    if (command == "withhold" || command == "failopen") {
        std::string mode;
        in >> mode;
        if (mode != "on" && mode != "off")
            return "error: usage: " + command + " on|off" + (command == "withhold" ? " [device]\n" : "\n");
        if (command == "failopen") {
            failOpen(mode == "on");
            return "ok\n";
        }
        const int d = device(0);
        if (!checkDevice(d))
            return "error: no device " + std::to_string(d) + "\n";
        withholdReplies(mode == "on", d);
        return "ok\n";
    }
    if (command == "corrupt") {
        const int d = device(0);
        if (!checkDevice(d))
            return "error: no device " + std::to_string(d) + "\n";
        corruptNextReply(d);
        return "ok\n";
    }
    if (command == "fail") {
        int n = 0;
        if (!(in >> n))
            return "error: usage: fail <n> (the n-th next transfer fails; 0 cancels)\n";
        failTransferAfter(n);
        return "ok\n";
    }
    if (command == "status")
        return status();
    if (command == "dump") {
        const int d = device(0);
        if (!checkDevice(d))
            return "error: no device " + std::to_string(d) + "\n";
        return dump(d);
    }
    if (command == "log") {
        std::string out;
        for (const WireRecord &r : wireLog())
            out += formatRecord(r) + "\n";
        return out;
    }
    if (command == "clearlog") {
        clearWireLog();
        return "ok\n";
    }
    return "error: unknown command '" + command + "' (" + kUsage + ")\n";
}

namespace {

// A program that ends by itself (a command-line run) takes its simulated
// mouse along: SIMMOUSE_COMMANDS ("unplug; fail 3") prepares the mouse before
// the program's first call, and SIMMOUSE_WIRELOG names a file that the wire
// log is appended to when the process ends.
void runStartCommands()
{
    const char *commands = std::getenv("SIMMOUSE_COMMANDS");
    std::istringstream in(commands ? commands : "");
    std::string line;
    while (std::getline(in, line, ';')) {
        if (line.find_first_not_of(' ') == std::string::npos)
            continue;
        const std::string answer = execute(line);
        if (answer.rfind("error:", 0) == 0)
            std::fprintf(stderr, "simmouse: SIMMOUSE_COMMANDS: %s", answer.c_str());
    }
}

void appendWireLog()
{
    const char *file = std::getenv("SIMMOUSE_WIRELOG");
    if (!file || !*file)
        return;
    std::ofstream out(file, std::ios::app);
    out << execute("log");
}

} // namespace

void ensureStarted()
{
    static std::once_flag once;
    std::call_once(once, [] {
        configure();
        runStartCommands();
        std::atexit(appendWireLog);
        listen();
    });
}

} // namespace simmouse::server
