#pragma once

// Simulated mouse: a firmware model of a 553- or 560-family mouse behind the
// hidapi C API. Link `quill_simhid` instead of hidapi and the code under test
// cannot tell the difference; this header is the control side for tests.
//
// The model in short
// ------------------
// * Each simulated device has two HID interfaces. Interface 0 (usagePage/usage)
//   takes command feature reports, bulk output reports and serves bulk input
//   reports; interface 1 (usagePage2/usage2) only delivers notification input
//   reports (the DPI button). Paths: "sim:vvvv:pppp:0" and "sim:vvvv:pppp:1"
//   for device 0, "simN:vvvv:pppp:I" for device N > 0 (lower-case hex).
// * A command is a 9-byte feature report: report ID 0, code, six parameters,
//   checksum (255 minus the 8-bit sum of bytes 1..7). With scrambling on, the
//   device unscrambles bytes 1..8 with its own six-character code first. A
//   request with a bad checksum or an unknown code is taken off the wire
//   (the transfer succeeds) but ignored: logged with a note, and it clears
//   the pending reply. A report that is not exactly 9 bytes or has a
//   non-zero report ID fails the transfer (-1).
// * Every accepted request prepares a reply that hid_get_feature_report
//   returns (as often as it is asked) until the next request: report ID 0,
//   byte 1 the command code, bytes 2.. the results (zero for set commands),
//   byte 8 the checksum of bytes 1..7, then bytes 1..8 scrambled when
//   scrambling is on. Results:
//     00H (both families) echo of request bytes 2..5
//     83H (both families) keyboard option bytes 1..4 in reply bytes 2..5
//     8BH (553)           current DPI stage in byte 2
//     81H (560)           keyboard option bytes 1, 2 in reply bytes 2, 3
//     82H (560)           current profile in byte 2
//     84H (560)           request byte 2 (position p) echoed in byte 2, the
//                         DPI stage of position p (1..4, else 0) in byte 3
//     8CH (560)           byte 2 = profile number; the record itself follows
//                         as bulk input reports (see below)
// * Bulk output: commands with bulk data announce its length in request
//   byte 3 (553: 10H, 11H, 12H, 13H; 560: 0CH, 0DH, 0FH). The device then
//   takes output reports of reportLength + 1 bytes (report ID 0), using
//   min(remaining, reportLength) data bytes of each. Data is stored as it
//   arrives, so a transfer broken half-way leaves the chunks already received
//   in place. A new command abandons an unfinished transfer.
// * Bulk input: 8CH queues ceil(128 / reportLength) input reports of
//   reportLength data bytes (last one zero-padded) on interface 0; hid_read
//   returns them without a report-ID byte, like hidapi for report ID 0.
//   Profile numbers outside 0..4 read as 128 zero bytes; 0CH to such a
//   number is accepted and dropped.
// * Queues belong to the interface, not to a handle, so reports survive the
//   program's close/reopen between transfers. Unplugging empties them and
//   drops the pending reply; the firmware State survives (like flash).
// * The 560 family uses 03H/04H with a position p (1..4) and keeps a report
//   rate and a DPI stage per position. It has no 83H of its own but answers
//   it like the 553 family (no code clash). 553 03H is the keyboard option,
//   560 03H the report rate: each device follows its own family.
// * pressDpiButton(stage) sets the 553 current stage and the stage of all
//   four 560 positions, then queues 06 07 00 stage on interface 1.
// * Transfers of the wrong kind on an interface (feature or output reports on
//   interface 1, feature reports of other sizes) fail with -1 and are logged.
// * A blocking hid_read waits, as hidapi does, until a report comes or the
//   device is unplugged (-1) or reset (-1); it has no time limit of its own.
// * A feature read with no reply pending (nothing sent since plugging, or the
//   last request was ignored) returns report ID 0 and eight zero bytes, never
//   scrambled, and is logged with the note "no reply pending".
//
// * Wire log: every report that crosses the wire, and every transfer that
//   fails (ok = false, with the reason). Reads that find no report (time-out,
//   unplugged device) are not logged, so an idle listener leaves no trace.
// * A reportLength below 1 acts as 1.
//
// Thread safety: every function here and every hidapi call may be used from
// any thread; one mutex guards the model. hid_read_timeout really waits and
// returns as soon as a report is queued, or -1 when the device is unplugged.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace simmouse {

// One simulated device. Defaults: the sample mouse.
struct Config
{
    int family = 553;             // 553 or 560
    uint16_t vid = 0x04D9;
    uint16_t pid = 0xA1EE;
    uint16_t usagePage = 0xFF00;  // interface 0: commands
    uint16_t usage = 0xFF00;
    uint16_t usagePage2 = 0xFF01; // interface 1: notifications
    uint16_t usage2 = 0xFF01;
    int reportLength = 32;        // data bytes of one output/input report
    bool isEncode = true;         // requests and replies scrambled
    std::string code = "418205";  // six characters; other lengths act as zeros
    bool plugged = true;          // state right after reset()
};

enum class Kind {
    FeatureOut, // hid_send_feature_report
    FeatureIn,  // hid_get_feature_report
    Output,     // hid_write on interface 0
    Input,      // hid_read on interface 0 (bulk input)
    NotifyIn    // hid_read on interface 1 (notification)
};

struct WireRecord
{
    uint64_t timestampNs = 0;     // std::chrono::steady_clock
    Kind kind = Kind::FeatureOut;
    int device = 0;               // index into the configured devices
    int interface = 0;            // 0 = commands, 1 = notifications
    std::string path;
    std::vector<uint8_t> bytes;   // as on the wire (host buffer contents)
    std::vector<uint8_t> clear;   // FeatureOut/FeatureIn: the 9 unscrambled bytes
    bool ok = true;               // false: the transfer failed (returned -1)
    std::string note;             // why a request was ignored or a transfer failed
};

// Everything the firmware keeps. Maps are keyed by the id the command carries.
struct State
{
    std::array<uint8_t, 4> keyboardOption{};          // 553 03H/83H; 560 01H/81H use [0], [1]
    uint8_t currentDpiStage = 1;                      // 553 0BH/8BH
    std::array<uint8_t, 4> dpiStageByPosition{1, 1, 1, 1};   // 560 04H/84H, p = 1..4
    uint8_t reportRate = 1;                           // 553 01H
    std::array<uint8_t, 4> reportRateByPosition{1, 1, 1, 1}; // 560 03H, p = 1..4
    uint8_t currentProfile = 1;                       // 560 02H/82H
    uint8_t currentKeyMatrix = 0;                     // 553 02H
    std::map<uint8_t, std::vector<uint8_t>> keyMatrixLayers; // 553 12H / 560 0DH, by indexAddOne
    std::map<uint8_t, std::vector<uint8_t>> macros;          // 553 13H / 560 0FH, by macroId
    std::map<uint8_t, std::vector<uint8_t>> dpiSets;         // 553 11H, by dpiStage
    std::array<uint8_t, 3> fixLedColor{};             // 553 0CH
    std::array<uint8_t, 3> rgbLedEffect{};            // 553 0DH: effect, option1, option2
    std::map<uint8_t, std::vector<uint8_t>> led8StageColors; // 553 10H, by type
    std::map<uint8_t, std::array<uint8_t, 4>> gunData;       // 553 04H request bytes 3..6, by byte 6 (slot)
    std::array<std::array<uint8_t, 128>, 5> profiles{};      // 560 0CH/8CH records 0..4
};

// Configuration; also empties the wire log, clears every fault and resets
// each device's State. Open handles become invalid. No change callback.
void reset(const Config &config = Config());
void reset(const std::vector<Config> &devices);
int deviceCount();
Config config(int device = 0);

// Plug state. plug()/unplug() call the change callback (outside the lock,
// on the calling thread) when the state actually changes.
void plug(int device = 0);
void unplug(int device = 0);
bool isPlugged(int device = 0);
std::string path(int device = 0, int interface = 0);

// Notification interface: 06 07 00 stage, and arbitrary reports.
void pressDpiButton(uint8_t stage, int device = 0);
void queueNotifyReport(const std::vector<uint8_t> &bytes, int device = 0);
// Number of reports still waiting on an interface.
int pendingReports(int device = 0, int interface = 0);
// Number of reads currently waiting on an interface for a report (lets a test
// know that a reader is parked before it presses the button or unplugs).
int waitingReads(int device = 0, int interface = 1);

// Faults (cleared by reset()).
// Replies withheld: hid_get_feature_report fails (-1, as a device that never
// answers) and 8CH queues no input reports.
void withholdReplies(bool on, int device = 0);
// The next reply (feature reply or the first bulk input report) has its
// result bytes inverted: feature reply bytes 2..5 before scrambling, or every
// data byte of the input report.
void corruptNextReply(int device = 0);
// The n-th following transfer (n >= 1; feature out/in, output, input; any
// device or interface) fails with -1 and does not reach the firmware.
// n <= 0 cancels.
void failTransferAfter(int n);
// hid_open_path / hid_open fail while set.
void failOpen(bool on);
// The n-th following transfer that succeeds (n >= 1; feature out/in,
// output, input; any device or interface) is the last one: right after it
// the device it went to is unplugged, as if pulled out mid-command (the
// change callback runs as for unplug()). n <= 0 cancels.
void unplugAfterTransfers(int n);

// Firmware state.
State state(int device = 0);
void setState(const State &state, int device = 0);

// Wire log of every report received and delivered, oldest first.
std::vector<WireRecord> wireLog();
void clearWireLog();

// Pure helpers (also used by the firmware itself).
uint8_t checksum(const uint8_t *bytes7);               // 255 - sum of 7 bytes
void scramble(uint8_t block[8], const uint8_t code[8]);   // bytes 1..8 of a report
void unscramble(uint8_t block[8], const uint8_t code[8]);
std::array<uint8_t, 8> codeBytes(const std::string &sixChars); // s0..s7
const char *kindName(Kind kind);
std::string formatRecord(const WireRecord &record);

} // namespace simmouse

extern "C" {
// The program looks this up with dlsym when it runs on the simulated mouse:
// cb(ctx) is called after every plug and unplug. Pass null to remove.
void simmouse_set_change_callback(void (*cb)(void *), void *ctx);
}
