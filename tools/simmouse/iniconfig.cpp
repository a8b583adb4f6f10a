#include "iniconfig.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace simmouse {

namespace {

std::string trim(const std::string &s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    const auto e = s.find_last_not_of(" \t\r\n");
    std::string t = s.substr(b, e - b + 1);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        t = t.substr(1, t.size() - 2);
    return t;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// Empty or not hexadecimal through to its end: 0.
uint16_t hex16(const std::string &s)
{
    if (s.empty())
        return 0;
    try {
        size_t used = 0;
        const unsigned long v = std::stoul(s, &used, 16);
        return used == s.size() ? uint16_t(v & 0xFFFF) : 0;
    } catch (...) {
        return 0;
    }
}

bool boolean(const std::string &s, bool fallback)
{
    if (s.empty())
        return fallback;
    const std::string l = lower(s);
    return !(l == "0" || l == "false");
}

} // namespace

std::vector<Config> parseIniConfig(const std::string &text)
{
    std::map<std::string, std::map<std::string, std::string>> groups;
    std::istringstream in(text);
    std::string line;
    std::string group = "General";
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            group = trim(line.substr(1, line.size() - 2));
            groups[group]; // an empty group is still a row
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        groups[group][trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }

    auto value = [&](const std::string &g, const std::string &k) {
        auto gi = groups.find(g);
        if (gi == groups.end())
            return std::string();
        auto ki = gi->second.find(k);
        return ki == gi->second.end() ? std::string() : ki->second;
    };

    const int defaultFamily = value("mouse", "icType") == "560" ? 560 : 553;
    int limit = 64;
    if (const std::string count = value("common", "deviceCount"); !count.empty())
        limit = std::max(0, std::atoi(count.c_str()));

    std::vector<Config> rows;
    for (int n = 0; n < limit; ++n) {
        const std::string g = std::to_string(n);
        if (groups.find(g) == groups.end())
            break;
        const Config d;
        Config c;
        const std::string family = value(g, "family");
        c.family = family.empty() ? defaultFamily : (std::atoi(family.c_str()) == 560 ? 560 : 553);
        c.vid = hex16(value(g, "vid"));
        c.pid = hex16(value(g, "pid"));
        c.usagePage = hex16(value(g, "usagePage"));
        c.usage = hex16(value(g, "usage"));
        c.usagePage2 = hex16(value(g, "usagePage2"));
        c.usage2 = hex16(value(g, "usage2"));
        const std::string length = value(g, "reportLength");
        c.reportLength = length.empty() ? 32 : std::atoi(length.c_str());
        c.isEncode = boolean(value(g, "isEncode"), false);
        const std::string code = value(g, "sCode");
        c.code = code.empty() ? d.code : code;
        c.plugged = boolean(value(g, "plugged"), true);
        rows.push_back(c);
    }
    return rows;
}

} // namespace simmouse
