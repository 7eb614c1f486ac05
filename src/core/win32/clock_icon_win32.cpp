#include "core/win32/clock_icon_win32.h"

#include <cstdint>
#include <vector>

#include "core/clock_icon.h"

namespace tollwick {

namespace {

struct ClockPlanes {
  std::vector<std::uint8_t> andMask;
  std::vector<std::uint8_t> xorBits;
};

ClockPlanes PlanesOf(int width, int height, int minutes, int hours) {
  ClockPlanes planes{std::vector<std::uint8_t>(ClockPlaneBytes(width, height)),
                     std::vector<std::uint8_t>(ClockPlaneBytes(width, height))};
  ClockIconPlanes(width, height, minutes, hours, planes.andMask.data(), planes.xorBits.data());
  return planes;
}

}  // namespace

ScopedIcon BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours) {
  if (width <= 0 || height <= 0) return ScopedIcon();
  const ClockPlanes planes = PlanesOf(width, height, minutes, hours);
  return ScopedIcon(
      CreateIcon(instance, width, height, 1, 1, planes.andMask.data(), planes.xorBits.data()));
}

ScopedIcon BuildClockIconForStatic(int width, int height, int minutes, int hours) {
  if (width <= 0 || height <= 0) return ScopedIcon();
  const ClockPlanes planes = PlanesOf(width, height, minutes, hours);
  ScopedBitmap mask(CreateBitmap(width, height, 1, 1, planes.andMask.data()));
  ScopedBitmap picture(CreateBitmap(width, height, 1, 1, planes.xorBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), picture.get()};
  // The icon takes copies of both bitmaps.
  return ScopedIcon(CreateIconIndirect(&info));
}

HICON ClockFaceCache::Face(int minutes, int hours, int size) {
  if (icon_ && minutes == minutes_ && hours == hours_ && size == size_) return icon_.get();
  // Built before the old face goes, so the new one cannot reuse its handle.
  icon_ = BuildClockIcon(instance_, size, size, minutes, hours);
  minutes_ = minutes;
  hours_ = hours;
  size_ = size;
  return icon_.get();
}

}  // namespace tollwick
