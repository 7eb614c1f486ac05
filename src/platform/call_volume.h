#pragma once
// What a connection moved during a call, as its counters reported it. A call whose connection never
// reported has no volume at all, which is not the same as a call that moved nothing: every view
// shows the difference and only a known volume is priced.

#include <cstdint>

namespace tollwick {

// Binary units, everywhere volume is shown or priced.
constexpr std::uint64_t kBytesPerKB = 1024;
constexpr std::uint64_t kBytesPerMB = 1024 * kBytesPerKB;

// More than any connection moves in a second: counting takes a step beyond it for no traffic.
constexpr std::uint64_t kMostBytesPerSecond = 1024 * kBytesPerMB;
// More than any call moves in either direction (256 TiB: three days flat out at that most a
// second), and what a bill item's 48-bit fields hold. A stored volume beyond it is not a call's and
// reads as unknown.
constexpr std::uint64_t kLargestCallBytes = (std::uint64_t{1} << 48) - 1;

struct CallVolume {
  bool known = false;
  std::uint64_t received = 0;  // bytes
  std::uint64_t sent = 0;      // bytes
  std::uint64_t Total() const { return received + sent; }
};

}  // namespace tollwick
