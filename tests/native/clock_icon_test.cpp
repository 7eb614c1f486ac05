#include "core/clock_icon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace tollwick {
namespace {

// An independent drawing of the clock face into a grid of characters ('.' transparent, 'W' white,
// 'B' black), packed into planes afterwards. The hands use whole-number arithmetic: every step of a
// hand is (tip - centre) / 16, an exact binary fraction, so its points are floor divisions.
struct Grid {
  static constexpr int N = 32;
  char cell[N][N];

  Grid() {
    for (auto& row : cell)
      for (char& c : row) c = '.';
  }

  void Set(int x, int y, char c) { cell[y][x] = c; }

  void Draw(int minutes, int hours) {
    while (minutes > 60) {
      minutes -= 60;
      hours += 1;
    }
    while (hours > 4) hours -= 4;

    std::vector<double> angles;
    double a = 0.0;
    while (a < 6.283185307) {
      angles.push_back(a);
      a = a + 0.06;
    }
    EXPECT_EQ(angles.size(), 105u);
    const int r = 15;
    for (double angle : angles) {
      int x = r + static_cast<int>(std::trunc(r * std::sin(angle)));
      int y = r + static_cast<int>(std::trunc(r * std::cos(angle)));
      for (int row = y + 1; y < r && row <= 29 - y; ++row) Set(x, row, 'W');
    }
    for (double angle : angles)
      Set(r + static_cast<int>(std::trunc(r * std::sin(angle))),
          r + static_cast<int>(std::trunc(r * std::cos(angle))), 'B');

    HandTo(15, minutes / 60.0);
    HandTo(10, (minutes + 60 * hours) / 240.0);
  }

  void HandTo(int length, double fraction) {
    double angle = fraction * 6.283185307;
    int tx = static_cast<int>(std::trunc(16 + length * std::sin(angle)));
    int ty = static_cast<int>(std::trunc(16 - length * std::cos(angle)));
    for (int k = 0; k < 16; ++k) Set((16 * 16 + k * (tx - 16)) / 16, (16 * 16 + k * (ty - 16)) / 16, 'B');
  }

  void Pack(std::vector<std::uint8_t>* andMask, std::vector<std::uint8_t>* xorBits) const {
    andMask->assign(128, 0);
    xorBits->assign(128, 0);
    for (int y = 0; y < N; ++y)
      for (int x = 0; x < N; ++x) {
        int byte = y * 4 + x / 8;
        std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
        if (cell[y][x] == '.') (*andMask)[byte] |= bit;
        if (cell[y][x] == 'W') (*xorBits)[byte] |= bit;
      }
  }

  std::string Picture() const {
    std::string s;
    for (const auto& row : cell) s += std::string(row, N) + "\n";
    return s;
  }
};

struct Icon {
  std::vector<std::uint8_t> andMask = std::vector<std::uint8_t>(kClockPlaneBytes);
  std::vector<std::uint8_t> xorBits = std::vector<std::uint8_t>(kClockPlaneBytes);

  Icon(int minutes, int hours) {
    ClockIconPlanes(32, 32, minutes, hours, andMask.data(), xorBits.data());
  }
  // '.', 'W' or 'B' (or '?' for the impossible AND 1 / XOR 1).
  char At(int x, int y) const {
    int i = y * 32 + x;
    bool a = (andMask[i / 8] >> (7 - i % 8)) & 1;
    bool x1 = (xorBits[i / 8] >> (7 - i % 8)) & 1;
    return a ? (x1 ? '?' : '.') : (x1 ? 'W' : 'B');
  }
  std::string Picture() const {
    std::string s;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) s += At(x, y);
      s += "\n";
    }
    return s;
  }
};

void ExpectMatchesReference(int minutes, int hours) {
  Grid grid;
  grid.Draw(minutes, hours);
  std::vector<std::uint8_t> andMask, xorBits;
  grid.Pack(&andMask, &xorBits);
  Icon icon(minutes, hours);
  EXPECT_EQ(icon.andMask, andMask) << minutes << " min " << hours << " h\n" << icon.Picture()
                                   << "reference:\n" << grid.Picture();
  EXPECT_EQ(icon.xorBits, xorBits) << minutes << " min " << hours << " h\n" << icon.Picture()
                                   << "reference:\n" << grid.Picture();
}

TEST(ClockIconPlanes, MatchReferenceDrawingBitForBit) {
  ExpectMatchesReference(0, 0);
  ExpectMatchesReference(15, 0);
  ExpectMatchesReference(0, 1);
  ExpectMatchesReference(0, 2);
  ExpectMatchesReference(0, 4);
  ExpectMatchesReference(61, 0);
  ExpectMatchesReference(120, 0);
  ExpectMatchesReference(37, 3);
  ExpectMatchesReference(59, 0);
  ExpectMatchesReference(45, 2);
  for (int minutes = 0; minutes < 60; minutes += 7) ExpectMatchesReference(minutes, 1);
}

TEST(ClockIconPlanes, OnlyTheFaceIsOpaque) {
  Icon icon(0, 0);
  EXPECT_EQ(icon.At(0, 0), '.');
  EXPECT_EQ(icon.At(31, 0), '.');
  EXPECT_EQ(icon.At(0, 31), '.');
  EXPECT_EQ(icon.At(31, 31), '.');
  EXPECT_EQ(icon.At(8, 15), 'W');
  EXPECT_EQ(icon.At(22, 20), 'W');
  // No angle of the face is exactly a quarter or a half turn, so the truncated rim reaches row 0
  // and columns 0 and 30 nowhere; only six o'clock (angle 0) touches row 30.
  EXPECT_EQ(icon.At(15, 0), '.');
  EXPECT_EQ(icon.At(15, 1), 'B');
  EXPECT_EQ(icon.At(15, 30), 'B');
  EXPECT_EQ(icon.At(0, 15), '.');
  EXPECT_EQ(icon.At(1, 15), 'B');
  EXPECT_EQ(icon.At(29, 15), 'B');
  EXPECT_EQ(icon.At(30, 15), '.');
  // The fill mirrors the upper rim downwards, which leaves one pixel inside the lower rim open.
  EXPECT_EQ(icon.At(20, 28), '.');
  EXPECT_EQ(icon.Picture().find('?'), std::string::npos);
}

TEST(ClockIconPlanes, AtZeroBothHandsPointUp) {
  Icon icon(0, 0);
  for (int y = 2; y <= 16; ++y) EXPECT_EQ(icon.At(16, y), 'B') << "row " << y;
  EXPECT_EQ(icon.At(16, 17), 'W');  // nothing below the centre
  EXPECT_EQ(icon.At(17, 10), 'W');
  EXPECT_EQ(icon.At(15, 10), 'W');
}

TEST(ClockIconPlanes, AtAQuarterPastTheMinuteHandRunsRight) {
  Icon icon(15, 0);
  // The tip lands on row 15 (a quarter of the turn constant is a hair short of pi/2, so its cosine
  // is a hair above 0), and the hand leaves row 16 after its first point. It crosses the rim.
  EXPECT_EQ(icon.At(16, 16), 'B');
  for (int x = 17; x <= 30; ++x) EXPECT_EQ(icon.At(x, 15), 'B') << "column " << x;
  EXPECT_EQ(icon.At(31, 15), '.');  // the tip itself is not painted
  // The hour hand is 22.5 degrees past twelve: its last point is (18, 6).
  EXPECT_EQ(icon.At(18, 6), 'B');
  EXPECT_EQ(icon.At(17, 9), 'B');
  EXPECT_EQ(icon.At(16, 6), 'W');
  EXPECT_EQ(icon.At(16, 3), 'W');  // the minute hand has left twelve o'clock
}

TEST(ClockIconPlanes, HourHandQuarterTurnPerHour) {
  Icon one(0, 1);  // hour hand at three o'clock (on row 15, as above), minute hand at twelve
  for (int x = 17; x <= 25; ++x) EXPECT_EQ(one.At(x, 15), 'B') << "column " << x;
  EXPECT_EQ(one.At(26, 15), 'W');  // ten pixels long, tip not painted
  EXPECT_EQ(one.At(16, 2), 'B');
  Icon two(0, 2);  // hour hand at six o'clock
  for (int y = 16; y <= 25; ++y) EXPECT_EQ(two.At(16, y), 'B') << "row " << y;
  EXPECT_EQ(two.At(16, 26), 'W');
  EXPECT_EQ(two.At(20, 15), 'W');
}

TEST(ClockIconPlanes, NormalisedLengthsDrawAlike) {
  Icon four(0, 4), eight(0, 8), zero(0, 0), five(0, 5), one(0, 1);
  EXPECT_EQ(four.andMask, eight.andMask);
  EXPECT_EQ(four.xorBits, eight.xorBits);
  // Four hours: both hands back at twelve. A full turn of the constant is a hair short of 2 pi, so
  // the hour hand's tip truncates to column 15 and the hand leans one pixel left, unlike at 0:00.
  EXPECT_NE(four.Picture(), zero.Picture());
  for (int y = 7; y <= 15; ++y) EXPECT_EQ(four.At(15, y), 'B') << "row " << y;
  for (int y = 2; y <= 16; ++y) EXPECT_EQ(four.At(16, y), 'B') << "row " << y;
  EXPECT_EQ(five.Picture(), one.Picture());
  EXPECT_EQ(Icon(0, 9).Picture(), one.Picture());
  EXPECT_EQ(Icon(61, 0).Picture(), Icon(1, 1).Picture());
  EXPECT_EQ(Icon(120, 0).Picture(), Icon(60, 1).Picture());
  EXPECT_EQ(Icon(121, 0).Picture(), Icon(1, 2).Picture());
  EXPECT_NE(Icon(60, 0).Picture(), Icon(0, 1).Picture());  // 60 is not carried
  EXPECT_NE(Icon(15, 0).Picture(), zero.Picture());
}

TEST(ClockIconPlanes, SmallerSizesStayInsideTheirPlanes) {
  // 16 x 16 (the small icon size): 32 bytes a plane, every pixel within it.
  std::vector<std::uint8_t> andMask(ClockPlaneBytes(16, 16) + 4, 0xAA);
  std::vector<std::uint8_t> xorBits(ClockPlaneBytes(16, 16) + 4, 0xAA);
  ClockIconPlanes(16, 16, 25, 3, andMask.data(), xorBits.data());
  for (std::size_t i = ClockPlaneBytes(16, 16); i < andMask.size(); ++i) {
    EXPECT_EQ(andMask[i], 0xAA);
    EXPECT_EQ(xorBits[i], 0xAA);
  }
  EXPECT_EQ(andMask[0] & 0x80, 0x80);  // top left transparent
}

TEST(ClockPreview, RunsFromNoughtToFourHoursThenStartsAgain) {
  struct Step {
    int frame;
    int next;
  };
  const Step steps[] = {{0, 1}, {59, 60}, {239, 240}, {240, 0}};
  for (const Step& step : steps) {
    EXPECT_EQ(NextClockPreviewFrame(step.frame), step.next) << "after frame " << step.frame;
  }
  int frames = 1;
  for (int frame = NextClockPreviewFrame(0); frame != 0; frame = NextClockPreviewFrame(frame)) {
    ++frames;
  }
  EXPECT_EQ(frames, 241);
}

}  // namespace
}  // namespace tollwick
