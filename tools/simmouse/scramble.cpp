// Block routines of the firmware: checksum and the 8-byte scrambling of
// command reports. Written independently of the program's own copy so that a
// fault on either side shows up as a failed exchange.
#include "simmouse.h"

namespace simmouse {

namespace {

const uint8_t kKey[8] = {'T', 'q', 'W', 'm', 'b', 'R', 'a', 'x'};

uint8_t nibbleSwap(uint8_t x)
{
    return uint8_t((x << 4) | (x >> 4));
}

void permute(uint8_t b[8])
{
    static const int pairs[4][2] = {{0, 5}, {1, 4}, {2, 7}, {3, 6}};
    for (const auto &p : pairs) {
        const uint8_t t = b[p[0]];
        b[p[0]] = b[p[1]];
        b[p[1]] = t;
    }
}

void mixCode(uint8_t b[8], const uint8_t code[8])
{
    // s0 and s7 never take part.
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
}

} // namespace

uint8_t checksum(const uint8_t *bytes7)
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += bytes7[i];
    return uint8_t(~sum);
}

void scramble(uint8_t b[8], const uint8_t code[8])
{
    permute(b);
    mixCode(b, code);
    // The block as one big-endian 64-bit number, rotated left by 3.
    uint8_t old[8];
    for (int i = 0; i < 8; ++i)
        old[i] = b[i];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t((old[i] << 3) | (old[(i + 1) % 8] >> 5));
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(b[i] + nibbleSwap(kKey[i]));
}

void unscramble(uint8_t b[8], const uint8_t code[8])
{
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(b[i] - nibbleSwap(kKey[i]));
    uint8_t old[8];
    for (int i = 0; i < 8; ++i)
        old[i] = b[i];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t((old[i] >> 3) | (old[(i + 7) % 8] << 5));
    mixCode(b, code);
    permute(b);
}

std::array<uint8_t, 8> codeBytes(const std::string &sixChars)
{
    std::array<uint8_t, 8> s{};
    if (sixChars.size() == 6) {
        for (int i = 0; i < 6; ++i)
            s[i + 1] = uint8_t(sixChars[i]);
    }
    return s;
}

} // namespace simmouse
