#include "text/volume_text.h"

#include <charconv>
#include <cstdio>
#include <iterator>

namespace tollwick {
namespace {

// Tenths of a unit of `unitBytes`, rounded half up, without overflow for any 64-bit count.
std::uint64_t Tenths(std::uint64_t bytes, std::uint64_t unitBytes) {
  const std::uint64_t whole = bytes / unitBytes;
  const std::uint64_t rest = bytes % unitBytes;  // below 2^30: rest * 20 cannot overflow
  return whole * 10 + (rest * 20 + unitBytes) / (2 * unitBytes);
}

std::size_t TenthsText(std::uint64_t tenths, char* out) {
  char* end = std::to_chars(out, out + kVolumeTextChars - 3, tenths / 10).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + tenths % 10);
  *end = '\0';
  return static_cast<std::size_t>(end - out);
}

}  // namespace

void VolumeText(std::uint64_t bytes, char out[kVolumeTextChars]) {
  if (bytes < kBytesPerKB) {
    std::snprintf(out, kVolumeTextChars, "%u %s", static_cast<unsigned>(bytes),
                  bytes == 1 ? "byte" : "bytes");
    return;
  }
  static constexpr const char* kUnits[] = {"KB", "MB", "GB"};
  std::uint64_t unitBytes = kBytesPerKB;
  std::size_t unit = 0;
  // Up a unit while the figure, rounded, would reach 1,024 of this one.
  while (unit + 1 < std::size(kUnits) && Tenths(bytes, unitBytes) >= 10240) {
    unitBytes *= 1024;
    ++unit;
  }
  const std::size_t length = TenthsText(Tenths(bytes, unitBytes), out);
  std::snprintf(out + length, kVolumeTextChars - length, " %s", kUnits[unit]);
}

std::size_t MegabytesText(std::uint64_t bytes, char out[kVolumeTextChars]) {
  return TenthsText(Tenths(bytes, kBytesPerMB), out);
}

}  // namespace tollwick
