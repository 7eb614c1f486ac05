#pragma once
// The clock face shown as the on-line tray icon while "ClockIcon" is on: a white disc with a black
// rim and two black hands giving the length of the call. The minute hand goes round once an hour,
// the hour hand once in four hours. The pixels are drawn here into two bit planes; the Win32 side
// (core/win32/clock_icon_win32.h) turns them into an icon.

#include <cstddef>
#include <cstdint>

namespace tollwick {

// The size of the Misc tab's preview; the tray's face is drawn at the notification area's size.
constexpr int kClockIconSize = 32;

// A row of a plane fills whole 16-bit words, as CreateIcon and CreateBitmap take them.
constexpr std::size_t ClockPlaneStride(int width) {
  return (static_cast<std::size_t>(width) + 15) / 16 * 2;
}
constexpr std::size_t ClockPlaneBytes(int width, int height) {
  return ClockPlaneStride(width) * static_cast<std::size_t>(height);
}
constexpr std::size_t kClockPlaneBytes = ClockPlaneBytes(kClockIconSize, kClockIconSize);

// Writes the AND mask and the XOR bits of a width x height clock face, ClockPlaneBytes(width, height)
// bytes each, as CreateIcon takes them for 1 plane of 1 bit per pixel: rows from the top, each
// ClockPlaneStride(width) bytes, the leftmost pixel in the most significant bit. Transparent is
// AND 1 / XOR 0, white AND 0 / XOR 1, black AND 0 / XOR 0. Face, rim and hands scale with the size.
//
// Minutes above 60 carry into the hours (61 draws as 1:01, 120 as 1:60), and hours above 4 wrap to
// 1..4 (8 draws as 4, 5 as 1).
void ClockIconPlanes(int width, int height, int minutes, int hours, std::uint8_t* andMask,
                     std::uint8_t* xorBits);

// The Misc tab's moving preview shows call lengths 0:00 to 4:00, one minute more per frame, then
// starts again: the frame after frame.
constexpr int kLastClockPreviewFrame = 240;
constexpr int NextClockPreviewFrame(int frame) {
  return frame >= kLastClockPreviewFrame ? 0 : frame + 1;
}

}  // namespace tollwick
