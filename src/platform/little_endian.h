#pragma once
// Stored records are little-endian with floats as their IEEE single-precision bits. These put and
// take one field at a time, so no stored format depends on a struct's layout or the host's order.

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tollwick {

inline void PutU32(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
  out[2] = static_cast<std::uint8_t>(value >> 16);
  out[3] = static_cast<std::uint8_t>(value >> 24);
}

inline std::uint32_t GetU32(const std::uint8_t* in) {
  return static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
         (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
}

inline void PutU64(std::uint8_t* out, std::uint64_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
  PutU32(out + 4, static_cast<std::uint32_t>(value >> 32));
}

inline std::uint64_t GetU64(const std::uint8_t* in) {
  return GetU32(in) | (static_cast<std::uint64_t>(GetU32(in + 4)) << 32);
}

inline void PutI32(std::uint8_t* out, std::int32_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
}

inline std::int32_t GetI32(const std::uint8_t* in) {
  return static_cast<std::int32_t>(GetU32(in));
}

static_assert(sizeof(float) == 4, "stored amounts are IEEE single precision");

inline void PutF32(std::uint8_t* out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(out, bits);
}

inline float GetF32(const std::uint8_t* in) {
  std::uint32_t bits = GetU32(in);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The largest amount (pounds, pounds a minute, a percentage) the program takes, typed or stored. Far
// above any price, and so far below the float range that no sum the program forms from such amounts
// (a call's seconds and discounts, a bill's items, as many as the registry can hold) overflows.
constexpr float kLargestAmount = 1.0e9f;

// A finite amount no larger than kLargestAmount either way.
inline bool IsUsableAmount(float value) {
  return std::isfinite(value) && std::fabs(value) <= kLargestAmount;
}

// A stored amount of money or a rate. One that is not a finite number (NaN, an infinity), or one so
// large that the sums it enters could overflow, would make every total meaningless, so it reads as
// 0, the value a missing one has.
inline float GetAmountF32(const std::uint8_t* in) {
  const float value = GetF32(in);
  return IsUsableAmount(value) ? value : 0.0f;
}

}  // namespace tollwick
