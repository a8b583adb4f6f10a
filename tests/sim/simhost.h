#pragma once

// The host side of the simulated mouse's tests: frames requests the way the
// program does and talks to the simulated device through the hidapi C API.

#include "simmouse.h"

#include <hidapi.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

using Report9 = std::array<uint8_t, 9>;

inline Report9 scrambled(Report9 r, const std::string &code)
{
    const auto s = simmouse::codeBytes(code);
    simmouse::scramble(r.data() + 1, s.data());
    return r;
}

inline Report9 unscrambled(Report9 r, const std::string &code)
{
    const auto s = simmouse::codeBytes(code);
    simmouse::unscramble(r.data() + 1, s.data());
    return r;
}

// 00 code params (at most six)... checksum, optionally scrambled with a
// six-character code.
inline Report9 frameRequest(uint8_t code, const uint8_t *params, size_t count,
                            const std::string &scrambleCode = std::string())
{
    Report9 r{};
    r[1] = code;
    for (size_t i = 0; i < count && i < 6; ++i)
        r[2 + i] = params[i];
    r[8] = simmouse::checksum(r.data() + 1);
    return scrambleCode.empty() ? r : scrambled(r, scrambleCode);
}

inline Report9 frameRequest(uint8_t code, std::initializer_list<uint8_t> params,
                            const std::string &scrambleCode = std::string())
{
    return frameRequest(code, params.begin(), params.size(), scrambleCode);
}

// One exchange on a freshly opened command interface, as the program does.
struct Exchange
{
    int sent = -1;
    int received = -1;
    Report9 reply{};
};

inline Exchange query(const Report9 &request, int device = 0)
{
    Exchange e;
    hid_device *h = hid_open_path(simmouse::path(device, 0).c_str());
    if (!h)
        return e;
    e.sent = hid_send_feature_report(h, request.data(), request.size());
    e.received = hid_get_feature_report(h, e.reply.data(), e.reply.size());
    hid_close(h);
    return e;
}

inline int send(const Report9 &request, int device = 0)
{
    hid_device *h = hid_open_path(simmouse::path(device, 0).c_str());
    if (!h)
        return -1;
    const int n = hid_send_feature_report(h, request.data(), request.size());
    hid_close(h);
    return n;
}

// Bulk data as output reports of reportLength + 1 bytes; returns the number
// of reports written successfully.
inline int writeBulk(const std::vector<uint8_t> &data, int reportLength, int device = 0)
{
    int written = 0;
    for (size_t offset = 0; offset < data.size(); offset += size_t(reportLength)) {
        std::vector<uint8_t> report(size_t(reportLength) + 1, 0);
        for (size_t i = 0; i < size_t(reportLength) && offset + i < data.size(); ++i)
            report[1 + i] = data[offset + i];
        hid_device *h = hid_open_path(simmouse::path(device, 0).c_str());
        const int n = h ? hid_write(h, report.data(), report.size()) : -1;
        if (h)
            hid_close(h);
        if (n < 0)
            break;
        ++written;
    }
    return written;
}

inline std::vector<uint8_t> pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(seed + i * 7);
    return v;
}

inline simmouse::Config makeConfig(int family, bool encode, int reportLength = 32)
{
    simmouse::Config c;
    c.family = family;
    c.isEncode = encode;
    c.reportLength = reportLength;
    return c;
}

inline std::vector<simmouse::WireRecord> recordsOf(simmouse::Kind kind)
{
    std::vector<simmouse::WireRecord> out;
    for (const auto &r : simmouse::wireLog())
        if (r.kind == kind)
            out.push_back(r);
    return out;
}
