#pragma once

// Pure building blocks of the command channel: request framing, checksum,
// scrambling of the 8 bytes after the report ID, and bulk chunking. Kept free
// of any device state so they can be checked byte for byte.

#include <QString>
#include <QtGlobal>
#include <initializer_list>

namespace proto {

constexpr int kFeatureReportSize = 9;   // report ID + 8 bytes
constexpr int kBulkBufferSize = 512;
constexpr int kIdleStepMs = 8;
constexpr int kIdleMaxSleeps = 255;
constexpr int kBusyStepMs = 64;
constexpr int kOutputReportGapMs = 120;
constexpr int kAfterSendMs = 8;
// A bulk input report that does not arrive within this time is a failed read;
// the GUI thread must never wait on the device without bound.
constexpr int kBulkReadTimeoutMs = 1000;

// Complement of the 8-bit sum of cmd[0..6].
uchar checksum(const uchar *cmd);

// Frames a request: byte 0 report ID 0, byte 1 code, bytes 2..7 params (at
// most six, the rest zero), byte 8 the checksum of bytes 1..7.
void buildRequest(uchar report[kFeatureReportSize], uchar code,
                  std::initializer_list<uchar> params = {});

// The eight-character key the scrambling adds in ("TqWmbRax").
extern const uchar scrambleKey[8];

// Exchanges the two 4-bit halves of a byte.
uchar swapNibbles(uchar x);

// Scrambles / unscrambles one 8-byte block in place. Only code[1..6] take part.
void scrambleBlock(uchar block[8], const uchar code[8]);
void unscrambleBlock(uchar block[8], const uchar code[8]);

// Copies a six-character code text into code[1..6]; any other length leaves
// code untouched. Returns whether it was applied.
bool applyCodeText(const QString &text, uchar code[8]);

// The four echo bytes of the handshake, a pure function of the second they are
// drawn in, so two handshakes in the same second send the same bytes.
void handshakeBytes(qint64 secsSinceEpoch, uchar out[4]);

// A report length the channel can chunk by: 1 .. size of the bulk buffer.
bool reportLengthUsable(int reportLength);

// Bytes of bulk data per report: the smaller of length and reportLength.
int chunkSize(int length, int reportLength);

// Number of reports that carry length bytes (0 for no data or an unusable
// report length).
int reportCount(int length, int reportLength);

// Fills one bulk output report of reportLength + 1 bytes: report ID 0, the
// bytes of data[offset ..] that belong to this report (never beyond length),
// zero after them.
void fillOutputReport(uchar *report, int reportLength, const uchar *data,
                      int length, int offset);

} // namespace proto
