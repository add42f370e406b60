#include "skin/region_data.h"

#include <QRect>
#include <algorithm>
#include <cstdint>

namespace skin {
namespace {

constexpr std::uint32_t kRdhRectangles = 1;

void AppendUint32(QByteArray& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.append(static_cast<char>((value >> shift) & 0xFF));
}

void AppendInt32(QByteArray& out, std::int32_t value) {
  AppendUint32(out, static_cast<std::uint32_t>(value));
}

// Callers check that offset + 4 lies within the data.
std::uint32_t Uint32At(QByteArrayView data, qsizetype offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<std::uint8_t>(data[offset + i]);
  return value;
}

std::int32_t Int32At(QByteArrayView data, qsizetype offset) {
  return static_cast<std::int32_t>(Uint32At(data, offset));
}

// GDI regions live within 27-bit coordinates; keeping to them keeps QRect's int arithmetic
// from overflowing on hostile input.
int ClampCoordinate(std::int32_t value) {
  constexpr std::int32_t kLimit = 1 << 27;
  return std::clamp(value, -kLimit, kLimit);
}

} // namespace

QByteArray RegionToRgnData(const QRegion& region) {
  const auto count = static_cast<std::uint32_t>(region.rectCount());
  const QRect bounds = region.boundingRect();
  QByteArray out;
  out.reserve(kRgnDataHeaderSize + static_cast<qsizetype>(count) * kRgnDataRectSize);
  AppendUint32(out, kRgnDataHeaderSize);
  AppendUint32(out, kRdhRectangles);
  AppendUint32(out, count);
  AppendUint32(out, count * kRgnDataRectSize);
  // Windows rectangles exclude their right and bottom edges.
  const auto appendRect = [&out](const QRect& r) {
    AppendInt32(out, r.left());
    AppendInt32(out, r.top());
    AppendInt32(out, r.left() + r.width());
    AppendInt32(out, r.top() + r.height());
  };
  appendRect(region.isEmpty() ? QRect() : bounds);
  for (const QRect& rect : region)
    appendRect(rect);
  return out;
}

std::optional<QRegion> RegionFromRgnData(QByteArrayView data) {
  if (data.size() < kRgnDataHeaderSize)
    return std::nullopt;
  if (Uint32At(data, 0) != kRgnDataHeaderSize || Uint32At(data, 4) != kRdhRectangles)
    return std::nullopt;
  const std::uint64_t count = Uint32At(data, 8);
  const std::uint64_t available =
      static_cast<std::uint64_t>(data.size() - kRgnDataHeaderSize) / kRgnDataRectSize;
  if (count > available)
    return std::nullopt;
  QRegion region;
  for (std::uint64_t i = 0; i < count; ++i) {
    const qsizetype at = kRgnDataHeaderSize + static_cast<qsizetype>(i) * kRgnDataRectSize;
    const int left = ClampCoordinate(Int32At(data, at));
    const int top = ClampCoordinate(Int32At(data, at + 4));
    const int right = ClampCoordinate(Int32At(data, at + 8));
    const int bottom = ClampCoordinate(Int32At(data, at + 12));
    if (left >= right || top >= bottom)
      continue;
    region += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
  }
  return region;
}

std::optional<QByteArray> RgnDataOfMask2(QByteArrayView block) {
  if (block.size() < 4)
    return std::nullopt;
  const std::uint64_t count = Uint32At(block, 0);
  if (count > static_cast<std::uint64_t>(block.size() - 4))
    return std::nullopt;
  return block.sliced(4, static_cast<qsizetype>(count)).toByteArray();
}

QByteArray Mask2Block(const QByteArray& rgnData) {
  QByteArray out;
  AppendUint32(out, static_cast<std::uint32_t>(rgnData.size()));
  out.append(rgnData);
  return out;
}

} // namespace skin
