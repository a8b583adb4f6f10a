#pragma once

#include <QList>
#include <QObject>
#include <QVariantList>
#include <array>
#include <vector>

// The macro image the mouse stores: repeat count, then one two-byte record
// per action (timing byte, key code), long pauses as extra unit and count
// records, and a terminator.
namespace macroimage {

enum ActionType { Pause = 0, KeyPress = 1, KeyRelease = 2, ButtonPress = 3, ButtonRelease = 4 };

struct Action
{
    int type = Pause;
    // Milliseconds for a pause, the key code for every other type.
    qint64 value = 0;
};

constexpr int MaxImageBytes = 128;
constexpr int TickMs = 10;
constexpr uchar ReleaseBit = 0x80;
// Pauses of this many ticks or more need the unit and count records.
constexpr qint64 LongPauseTicks = 127;
// The coarsest unit (100 ms) is only defined below 600000 ticks: longer
// pauses are cut to the longest one the format can carry.
constexpr qint64 MaxPauseTicks = 599999;

// Whole ticks of a pause: m / 10, rounded down; negative counts as 0.
qint64 ticksForMs(qint64 ms);

// The unit record value (1: 20 ms, 2: 50 ms, 3: 100 ms) and the count in
// that unit for a long pause (ticks >= 127, already clamped).
struct LongPause { uchar unit; quint16 count; };
LongPause longPause(qint64 ticks);

// The full image; repeat is clamped to 0..65535.
std::vector<uchar> encode(const QList<Action> &actions, qint64 repeat);

// The size the macro editor budgets with before it adds a row: the image
// size plus two bytes, because the editor counts the last action's closing
// delay apart from its record; a list without any action counts 2.
int encodedSize(const QList<Action> &actions);

// The 128 bytes handed to the device: the list values as bytes, at most 128,
// zero-filled behind.
std::array<uchar, MaxImageBytes> transferBuffer(const QVariantList &macroData);

// Device macro slots: only button slots 0 to 11 can carry a macro.
constexpr uint MacroSlotCount = 12;

} // namespace macroimage

// The same rules offered to QML: rows are [type, value] lists (or maps with
// "type" and "value"), value in milliseconds for pauses and the key code for
// every other row.
class MacroImageCodec : public QObject
{
    Q_OBJECT
public:
    explicit MacroImageCodec(QObject *parent = nullptr) : QObject(parent) {}

    Q_INVOKABLE QVariantList encode(const QVariantList &rows, int repeat) const;
    Q_INVOKABLE int encodedSize(const QVariantList &rows) const;

    static QList<macroimage::Action> actionsFromRows(const QVariantList &rows);
};
