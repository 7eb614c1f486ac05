#pragma once
// Values as the registry stores them, for tests to put into a fake and compare with what the code
// wrote: little-endian 32-bit numbers, IEEE single floats, texts with their terminator.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/little_endian.h"

namespace tollwick {

using Bytes = std::vector<std::uint8_t>;

inline Bytes U32Bytes(std::uint32_t value) {
  Bytes bytes(4);
  PutU32(bytes.data(), value);
  return bytes;
}

inline Bytes F32Bytes(float value) {
  Bytes bytes(4);
  PutF32(bytes.data(), value);
  return bytes;
}

inline Bytes RawBytes(const char* data, std::size_t size) { return Bytes(data, data + size); }

inline Bytes TextBytes(const std::string& text) {
  return Bytes(text.c_str(), text.c_str() + text.size() + 1);
}

}  // namespace tollwick
