#pragma once
// The texts of a volume of data, in binary units (1 KB = 1,024 bytes, 1 MB = 1,024 KB), shared by
// Call information, the Statistics and Bill tabs, so one volume reads the same everywhere.

#include <cstddef>
#include <cstdint>

#include "platform/call_volume.h"

namespace tollwick {

constexpr std::size_t kVolumeTextChars = 24;  // "17179869184.0 GB" or "17592186044416.0", and room
constexpr char kUnknownVolumeText[] = "unknown";  // a connection that never reported: not "0 bytes"

// The bytes in the largest unit that keeps a whole part of at least 1, with one decimal rounded
// half up: "0 bytes", "1 byte", "1023 bytes", "1.0 KB", "1.5 MB", "2.3 GB". A figure that rounds up
// to 1,024 of its unit is written in the next one ("1.0 MB", not "1024.0 KB").
void VolumeText(std::uint64_t bytes, char out[kVolumeTextChars]);

// The bytes in MB with one decimal, rounded half up, no unit: 1,572,864 bytes read "1.5". Returns
// the text's length.
std::size_t MegabytesText(std::uint64_t bytes, char out[kVolumeTextChars]);

}  // namespace tollwick
