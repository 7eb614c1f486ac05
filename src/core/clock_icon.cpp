#include "core/clock_icon.h"

#include <cmath>
#include <cstring>

namespace tollwick {

namespace {

// The angles of the face are accumulated by repeated addition, not multiplied out: the two differ
// in the last bits, and a truncated coordinate can move by a pixel with them.
constexpr double kFullTurn = 6.283185307;
constexpr double kFaceStep = 0.06;

enum class Colour { kBlack, kWhite };

class Planes {
 public:
  Planes(int width, int height, std::uint8_t* andMask, std::uint8_t* xorBits)
      : width_(width), height_(height), stride_(ClockPlaneStride(width)), and_(andMask),
        xor_(xorBits) {
    std::size_t bytes = ClockPlaneBytes(width, height);
    std::memset(and_, 0xFF, bytes);
    std::memset(xor_, 0x00, bytes);
  }

  void Paint(int x, int y, Colour colour) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
    const std::size_t byte = static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) / 8;
    const auto bit = static_cast<std::uint8_t>(1u << (7 - x % 8));
    and_[byte] = static_cast<std::uint8_t>(and_[byte] & ~bit);
    if (colour == Colour::kWhite)
      xor_[byte] = static_cast<std::uint8_t>(xor_[byte] | bit);
    else
      xor_[byte] = static_cast<std::uint8_t>(xor_[byte] & ~bit);
  }

  // A white disc with a black rim, centred on (rx, ry).
  void Face() {
    int rx = (width_ - 1) / 2;
    int ry = (height_ - 1) / 2;
    for (double a = 0.0; a < kFullTurn; a += kFaceStep) {
      int x = rx + static_cast<int>(rx * std::sin(a));
      int y = ry + static_cast<int>(ry * std::cos(a));
      if (y < ry)
        for (int row = y + 1; row <= (height_ - 1) - y - 2; ++row) Paint(x, row, Colour::kWhite);
    }
    for (double a = 0.0; a < kFullTurn; a += kFaceStep)
      Paint(rx + static_cast<int>(rx * std::sin(a)), ry + static_cast<int>(ry * std::cos(a)), Colour::kBlack);
  }

  // A black hand from the hands' centre, length pixels long, at fraction of a turn clockwise from
  // twelve o'clock. The tip itself is not painted.
  void Hand(int length, double fraction) {
    double cx = width_ / 2;
    double cy = height_ / 2;
    double angle = fraction * kFullTurn;
    int tx = static_cast<int>(cx + length * std::sin(angle));
    int ty = static_cast<int>(cy - length * std::cos(angle));
    int steps = height_ / 2;
    double dx = (tx - cx) / steps;
    double dy = (ty - cy) / steps;
    double x = cx;
    double y = cy;
    for (int k = 0; k < steps; ++k) {
      Paint(static_cast<int>(x), static_cast<int>(y), Colour::kBlack);
      x += dx;
      y += dy;
    }
  }

 private:
  int width_;
  int height_;
  std::size_t stride_;
  std::uint8_t* and_;
  std::uint8_t* xor_;
};

}  // namespace

void ClockIconPlanes(int width, int height, int minutes, int hours, std::uint8_t* andMask,
                     std::uint8_t* xorBits) {
  if (minutes > 60) {
    int carry = (minutes - 1) / 60;
    hours += carry;
    minutes -= 60 * carry;
  }
  if (hours > 4) hours -= 4 * ((hours - 1) / 4);

  Planes planes(width, height, andMask, xorBits);
  planes.Face();
  planes.Hand((height - 1) / 2, minutes / 60.0);
  planes.Hand((height - 1) / 3, (minutes + 60 * hours) / 240.0);
}

}  // namespace tollwick
