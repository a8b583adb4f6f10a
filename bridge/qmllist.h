#pragma once

#include <QVariantList>
#include <array>
#include <cstddef>

// Lists arrive from QML with whatever length the screen built. Every read
// goes through these helpers so a short list never reads out of range:
// a missing value counts as 0.
namespace qmllist {

// The value at position i as an integer, 0 when absent.
qint64 intAt(const QVariantList &list, int i);

// The low eight bits of the value at position i, 0 when absent.
inline uchar byteAt(const QVariantList &list, int i)
{
    return static_cast<uchar>(intAt(list, i) & 0xFF);
}

// The value at position i unchanged, or the integer 0 when absent.
QVariant valueAt(const QVariantList &list, int i);

// The first N values as bytes, zero-filled beyond the list's end.
template <std::size_t N>
std::array<uchar, N> bytes(const QVariantList &list)
{
    std::array<uchar, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = byteAt(list, static_cast<int>(i));
    return out;
}

} // namespace qmllist
