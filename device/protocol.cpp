#include "protocol.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cstring>

namespace proto {

const uchar scrambleKey[8] = {'T', 'q', 'W', 'm', 'b', 'R', 'a', 'x'};

uchar checksum(const uchar *cmd)
{
    uchar sum = 0;
    for (int i = 0; i < 7; ++i)
        sum = uchar(sum + cmd[i]);
    return uchar(~sum);
}

void buildRequest(uchar report[kFeatureReportSize], uchar code,
                  std::initializer_list<uchar> params)
{
    std::memset(report, 0, kFeatureReportSize);
    report[1] = code;
    int pos = 2;
    for (uchar p : params) {
        if (pos > 7)
            break;
        report[pos++] = p;
    }
    report[8] = checksum(report + 1);
}

uchar swapNibbles(uchar x)
{
    return uchar((x << 4) | (x >> 4));
}

static void permute(uchar b[8])
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

void scrambleBlock(uchar b[8], const uchar code[8])
{
    permute(b);
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
    uchar old[8];
    std::memcpy(old, b, 8);
    for (int i = 0; i < 8; ++i)
        b[i] = uchar((old[i] << 3) | (old[(i + 1) % 8] >> 5));
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] + swapNibbles(scrambleKey[i]));
}

void unscrambleBlock(uchar b[8], const uchar code[8])
{
    for (int i = 0; i < 8; ++i)
        b[i] = uchar(b[i] - swapNibbles(scrambleKey[i]));
    uchar old[8];
    std::memcpy(old, b, 8);
    for (int i = 0; i < 8; ++i)
        b[i] = uchar((old[i] >> 3) | (old[(i + 7) % 8] << 5));
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
    permute(b);
}

bool applyCodeText(const QString &text, uchar code[8])
{
    if (text.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        code[i + 1] = uchar(text.at(i).unicode() & 0xFF);
    return true;
}

void handshakeBytes(qint64 secsSinceEpoch, uchar out[4])
{
    QRandomGenerator gen(quint32(quint64(secsSinceEpoch) & 0xFFFFFFFFu));
    for (int i = 0; i < 4; ++i)
        out[i] = uchar(gen.generate() & 0xFF);
}

bool reportLengthUsable(int reportLength)
{
    return reportLength >= 1 && reportLength <= kBulkBufferSize;
}

int chunkSize(int length, int reportLength)
{
    return std::min(length, reportLength);
}

int reportCount(int length, int reportLength)
{
    if (length <= 0 || !reportLengthUsable(reportLength))
        return 0;
    const int chunk = chunkSize(length, reportLength);
    return (length + chunk - 1) / chunk;
}

void fillOutputReport(uchar *report, int reportLength, const uchar *data,
                      int length, int offset)
{
    std::memset(report, 0, size_t(reportLength) + 1);
    const int chunk = chunkSize(length, reportLength);
    const int n = std::min(chunk, length - offset);
    if (n > 0)
        std::memcpy(report + 1, data + offset, size_t(n));
}

} // namespace proto
