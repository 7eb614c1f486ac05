// The clock icon as Windows sees it: the bitmaps behind the handle, and what it draws.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"

namespace tollwick {
namespace {

struct IconHandle {
  HICON icon;
  explicit IconHandle(HICON i) : icon(i) {}
  ~IconHandle() {
    if (icon != nullptr) DestroyIcon(icon);
  }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
};

struct IconBitmaps {
  ICONINFO info = {};
  ~IconBitmaps() {
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  }
};

// The rows of a monochrome bitmap, top first, as 1-bit DIB rows of 4 bytes (32 pixels).
std::vector<std::uint8_t> MonochromeRows(HBITMAP bitmap, int height) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } bmi = {};
  bmi.header.biSize = sizeof bmi.header;
  bmi.header.biWidth = 32;
  bmi.header.biHeight = -height;  // top-down
  bmi.header.biPlanes = 1;
  bmi.header.biBitCount = 1;
  bmi.header.biCompression = BI_RGB;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(height) * 4);
  HDC dc = GetDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&bmi),
                        DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(lines, height);
  // Colour 0 of a monochrome bitmap is black: a set bit is a 1 in the plane only if colour 1 is white.
  EXPECT_EQ(bmi.colours[1].rgbRed, 0xFF);
  return rows;
}

void ExpectIconHoldsPlanes(int minutes, int hours) {
  std::vector<std::uint8_t> andMask(kClockPlaneBytes), xorBits(kClockPlaneBytes);
  ClockIconPlanes(32, 32, minutes, hours, andMask.data(), xorBits.data());

  IconHandle icon(BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, minutes, hours));
  ASSERT_NE(icon.icon, nullptr);
  IconBitmaps bitmaps;
  ASSERT_TRUE(GetIconInfo(icon.icon, &bitmaps.info));
  EXPECT_TRUE(bitmaps.info.fIcon);
  BITMAP mask = {};
  ASSERT_EQ(GetObjectA(bitmaps.info.hbmMask, sizeof mask, &mask), static_cast<int>(sizeof mask));
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmBitsPixel, 1);

  // A monochrome icon has no colour bitmap: one mask of double height, AND mask above XOR bits.
  EXPECT_EQ(bitmaps.info.hbmColor, nullptr);
  ASSERT_EQ(mask.bmHeight, 64);
  std::vector<std::uint8_t> rows = MonochromeRows(bitmaps.info.hbmMask, 64);
  EXPECT_EQ(std::vector<std::uint8_t>(rows.begin(), rows.begin() + 128), andMask)
      << minutes << " min " << hours << " h";
  EXPECT_EQ(std::vector<std::uint8_t>(rows.begin() + 128, rows.end()), xorBits)
      << minutes << " min " << hours << " h";
}

TEST(BuildClockIcon, IconBitmapsHoldThePlanes) {
  ExpectIconHoldsPlanes(0, 0);
  ExpectIconHoldsPlanes(15, 0);
  ExpectIconHoldsPlanes(0, 1);
  ExpectIconHoldsPlanes(0, 2);
  ExpectIconHoldsPlanes(61, 0);
  ExpectIconHoldsPlanes(37, 3);
}

// Drawn over a red background: transparent pixels stay red, the face is white, the hands black.
TEST(BuildClockIcon, DrawsTransparentCornersWhiteFaceBlackHands) {
  IconHandle icon(BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 15, 0));
  ASSERT_NE(icon.icon, nullptr);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all = {0, 0, 32, 32};
  FillRect(dc, &all, red);
  ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon.icon, 32, 32, 0, nullptr, DI_NORMAL));

  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 31, 31), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 8, 15), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 15), RGB(0, 0, 0));   // rim
  EXPECT_EQ(GetPixel(dc, 25, 15), RGB(0, 0, 0));  // minute hand at three o'clock
  EXPECT_EQ(GetPixel(dc, 18, 6), RGB(0, 0, 0));   // hour hand a little past twelve

  SelectObject(dc, old);
  DeleteObject(red);
  DeleteObject(canvas);
  DeleteDC(dc);
}

TEST(BuildClockIcon, EachCallMakesANewIcon) {
  IconHandle a(BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 5, 0));
  IconHandle b(BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 5, 0));
  ASSERT_NE(a.icon, nullptr);
  ASSERT_NE(b.icon, nullptr);
  EXPECT_NE(a.icon, b.icon);
  EXPECT_EQ(BuildClockIcon(GetModuleHandleA(nullptr), 0, 32, 5, 0), nullptr);
}

}  // namespace
}  // namespace tollwick
