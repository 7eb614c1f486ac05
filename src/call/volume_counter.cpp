#include "call/volume_counter.h"

#include <algorithm>

namespace tollwick {
namespace {

struct Step {
  std::uint64_t received;
  std::uint64_t sent;
};

// What a counter moved from `from` to `to`, or nothing when no connection moves `limit` bytes.
std::optional<std::uint64_t> Moved(std::uint64_t from, std::uint64_t to, std::uint32_t bits,
                                   std::uint64_t limit) {
  if (to >= from) {
    if (to - from <= limit) return to - from;
    return std::nullopt;
  }
  if (bits == 32) {
    const std::uint64_t wrapped = (to - from) & 0xFFFFFFFFu;
    if (wrapped <= limit) return wrapped;
  }
  if (to <= limit) return to;  // restarted from 0
  return std::nullopt;
}

std::optional<Step> StepBetween(const TrafficReading& from, const TrafficReading& to,
                                std::uint64_t limit) {
  const auto received = Moved(from.received, to.received, to.counterBits, limit);
  const auto sent = Moved(from.sent, to.sent, to.counterBits, limit);
  if (!received || !sent) return std::nullopt;
  return Step{*received, *sent};
}

}  // namespace

void VolumeCounter::Reset() {
  last_.reset();
  jumped_.reset();
}

void VolumeCounter::Take(const TrafficReading& reading, std::uint32_t seconds, CallVolume& volume) {
  if (!last_) {
    last_ = reading;
    volume = CallVolume{true, 0, 0};
    return;
  }
  const std::uint64_t limit = kMostBytesPerSecond * std::max<std::uint32_t>(seconds, 1);
  std::optional<Step> step = StepBetween(*last_, reading, limit);
  if (!step && jumped_) step = StepBetween(*jumped_, reading, limit);
  if (!step) {
    jumped_ = reading;
    return;
  }
  jumped_.reset();
  last_ = reading;
  volume.received += step->received;
  volume.sent += step->sent;
}

}  // namespace tollwick
