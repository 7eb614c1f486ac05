// The clock icon as Windows sees it: the bitmaps behind the handle, and what it draws.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {
namespace {

// The bitmaps GetIconInfo makes, which the caller owns.
struct IconBitmaps {
  explicit IconBitmaps(const ICONINFO& info) : mask(info.hbmMask), colour(info.hbmColor) {}
  ScopedBitmap mask;
  ScopedBitmap colour;
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
  WindowDC screen(nullptr);
  int lines = GetDIBits(screen.get(), bitmap, 0, height, rows.data(),
                        reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
  EXPECT_EQ(lines, height);
  // Colour 0 of a monochrome bitmap is black: a set bit is a 1 in the plane only if colour 1 is white.
  EXPECT_EQ(bmi.colours[1].rgbRed, 0xFF);
  return rows;
}

void ExpectIconHoldsPlanes(int minutes, int hours) {
  std::vector<std::uint8_t> andMask(kClockPlaneBytes), xorBits(kClockPlaneBytes);
  ClockIconPlanes(32, 32, minutes, hours, andMask.data(), xorBits.data());

  ScopedIcon icon = BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, minutes, hours);
  ASSERT_TRUE(icon);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  IconBitmaps bitmaps(info);
  EXPECT_TRUE(info.fIcon);
  BITMAP mask = {};
  ASSERT_EQ(GetObjectA(bitmaps.mask.get(), sizeof mask, &mask), static_cast<int>(sizeof mask));
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmBitsPixel, 1);

  // A monochrome icon has no colour bitmap: one mask of double height, AND mask above XOR bits.
  EXPECT_FALSE(bitmaps.colour);
  ASSERT_EQ(mask.bmHeight, 64);
  std::vector<std::uint8_t> rows = MonochromeRows(bitmaps.mask.get(), 64);
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
  ScopedIcon icon = BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 15, 0);
  ASSERT_TRUE(icon);
  ScopedBitmap canvas;
  ScopedDC dc;
  {
    WindowDC screen(nullptr);
    dc.reset(CreateCompatibleDC(screen.get()));
    canvas.reset(CreateCompatibleBitmap(screen.get(), 32, 32));
  }
  ScopedSelection drawing(dc.get(), canvas.get());
  ScopedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  RECT all = {0, 0, 32, 32};
  FillRect(dc.get(), &all, red.get());
  ASSERT_TRUE(DrawIconEx(dc.get(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL));

  EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc.get(), 31, 31), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc.get(), 8, 15), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc.get(), 1, 15), RGB(0, 0, 0));   // rim
  EXPECT_EQ(GetPixel(dc.get(), 25, 15), RGB(0, 0, 0));  // minute hand at three o'clock
  EXPECT_EQ(GetPixel(dc.get(), 18, 6), RGB(0, 0, 0));   // hour hand a little past twelve
}

TEST(BuildClockIcon, EachCallMakesANewIcon) {
  ScopedIcon a = BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 5, 0);
  ScopedIcon b = BuildClockIcon(GetModuleHandleA(nullptr), 32, 32, 5, 0);
  ASSERT_TRUE(a);
  ASSERT_TRUE(b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_FALSE(BuildClockIcon(GetModuleHandleA(nullptr), 0, 32, 5, 0));
}

}  // namespace
}  // namespace tollwick
