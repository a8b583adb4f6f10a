// Controls the simulated mouse of a running program over its local socket:
//   simmousectl <command> [arguments]; the commands are listed in kUsage.
// The socket is SIMMOUSE_SOCKET, else /tmp/simmouse-<uid>.sock.
#include "ctlserver.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: simmousectl <command>\ncommands: %s\n", simmouse::server::kUsage);
        return 2;
    }
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += std::string(i > 1 ? " " : "") + argv[i];
    line += "\n";

    const std::string path = simmouse::server::socketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "simmousectl: no simulated mouse listening at %s\n", path.c_str());
        return 2;
    }
    if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size())) {
        std::fprintf(stderr, "simmousectl: send failed\n");
        return 2;
    }
    ::shutdown(fd, SHUT_WR);
    std::string answer;
    char buffer[4096];
    ssize_t n;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        answer.append(buffer, size_t(n));
    ::close(fd);
    std::fputs(answer.c_str(), stdout);
    return answer.rfind("error:", 0) == 0 ? 1 : 0;
}
