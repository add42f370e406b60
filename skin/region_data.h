// Window shapes as the byte layout of Windows' RGNDATA: a 32-byte header (size, type,
// rectangle count, rectangle bytes, bounds) followed by the rectangles, every field a
// little-endian 32-bit integer. The Mask2 block of a window description is a 32-bit byte
// count followed by such data.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRegion>
#include <optional>

namespace skin {

inline constexpr int kRgnDataHeaderSize = 32;
inline constexpr int kRgnDataRectSize = 16;

// The region's rectangles as RGNDATA bytes, as GetRegionData writes them.
QByteArray RegionToRgnData(const QRegion& region);

// The region the RGNDATA bytes describe; nullopt when they are not well-formed (wrong header
// size or type, or more rectangles announced than the bytes hold). Empty or inverted
// rectangles add nothing.
std::optional<QRegion> RegionFromRgnData(QByteArrayView data);

// The region data of a Mask2 block: empty when its count is 0; nullopt when the block is
// shorter than its count says.
std::optional<QByteArray> RgnDataOfMask2(QByteArrayView block);

// A Mask2 block holding `rgnData`.
QByteArray Mask2Block(const QByteArray& rgnData);

} // namespace skin
