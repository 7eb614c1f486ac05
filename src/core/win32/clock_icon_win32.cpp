#include "core/win32/clock_icon_win32.h"

#include <cstdint>
#include <vector>

#include "core/clock_icon.h"

namespace tollwick {

HICON BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours) {
  if (width <= 0 || height <= 0) return nullptr;
  std::vector<std::uint8_t> andMask(ClockPlaneBytes(width, height));
  std::vector<std::uint8_t> xorBits(ClockPlaneBytes(width, height));
  ClockIconPlanes(width, height, minutes, hours, andMask.data(), xorBits.data());
  return CreateIcon(instance, width, height, 1, 1, andMask.data(), xorBits.data());
}

ClockFaceCache::~ClockFaceCache() {
  if (icon_ != nullptr) DestroyIcon(icon_);
}

HICON ClockFaceCache::Face(int minutes, int hours) {
  if (icon_ != nullptr && minutes == minutes_ && hours == hours_) return icon_;
  HICON face = BuildClockIcon(instance_, kClockIconSize, kClockIconSize, minutes, hours);
  if (icon_ != nullptr) DestroyIcon(icon_);
  icon_ = face;
  minutes_ = minutes;
  hours_ = hours;
  return icon_;
}

}  // namespace tollwick
