#pragma once
// A call's volume from its connection's byte counters. The counters belong to the connection, not to
// the call: they are read about once a second, and the call adds what they moved between readings.
// Counters misbehave (32-bit ones wrap, a link that restarts starts them at 0 again, a read can come
// back with rubbish), so each step between two readings is judged before it is added.

#include <cstdint>
#include <optional>

#include "platform/call_volume.h"

namespace tollwick {

// One reading of a connection's counters, as its source keeps them: the Remote Access Service's are
// 32 bits wide and wrap at 4 GiB, a network adapter's 64 bits.
struct TrafficReading {
  std::uint64_t received = 0;
  std::uint64_t sent = 0;
  std::uint32_t counterBits = 32;
};

// Where a call's readings come from: the connection that the call is timing.
class TrafficSource {
 public:
  virtual ~TrafficSource() = default;
  // The counters now, or nothing when they cannot be read (the next reading tries again).
  virtual std::optional<TrafficReading> ReadTraffic() = 0;
};

// Adds the steps between a call's readings to its volume. The first reading is the starting point
// (what the connection moved before is not the call's) and makes the volume known, 0 so far. A
// later reading adds, per direction, what moved since the previous one, `seconds` earlier:
// - a higher value: the difference;
// - a lower one: a 32-bit counter that wrapped when the difference modulo 2^32 is no more than the
//   connection could move in the time; otherwise (and always for a 64-bit counter) a counter that
//   restarted, counting from 0 again: its value is what moved;
// - anything more than kMostBytesPerSecond a second is a jump, and the whole reading adds nothing.
//   A jump is believed only when the next reading follows on from it rather than from the reading
//   before it: counting then goes on from the jumped value, so a counter that really jumped is not
//   lost for the rest of the call, and one wrong reading costs nothing.
class VolumeCounter {
 public:
  // Forgets every reading: the next one is a new call's starting point.
  void Reset();
  void Take(const TrafficReading& reading, std::uint32_t seconds, CallVolume& volume);

 private:
  std::optional<TrafficReading> last_;    // the reading counted from
  std::optional<TrafficReading> jumped_;  // the newest reading that jumped from last_
};

}  // namespace tollwick
