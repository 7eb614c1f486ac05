#include "core/win32/clock_icon_win32.h"

#include <cstdint>
#include <vector>

#include "core/clock_icon.h"

namespace tollwick {

ScopedIcon BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours) {
  if (width <= 0 || height <= 0) return ScopedIcon();
  std::vector<std::uint8_t> andMask(ClockPlaneBytes(width, height));
  std::vector<std::uint8_t> xorBits(ClockPlaneBytes(width, height));
  ClockIconPlanes(width, height, minutes, hours, andMask.data(), xorBits.data());
  return ScopedIcon(CreateIcon(instance, width, height, 1, 1, andMask.data(), xorBits.data()));
}

}  // namespace tollwick
