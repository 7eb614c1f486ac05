#pragma once
// Turns a fuzzer's bytes into stored registry values, so that each decoder of a stored value is fed
// whatever a damaged or hand-edited registry could hold: a value absent, of another type, shorter
// or longer than its record, or holding any bytes at all.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fake_registry.h"

namespace tollwick {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  // The next byte, 0 once the input is used up.
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Up to count bytes, fewer when the input runs out.
  std::vector<std::uint8_t> Bytes(std::size_t count);
  // A name of up to 120 characters (longer than any name field), any bytes but the terminator.
  std::string Name();

  // Stores the next value of the input at path\name below root, or leaves it absent: one byte picks
  // absence or the type, one byte the length, then the bytes.
  void StoreValue(FakeRegistry& registry, RegKey root, const std::string& path,
                  const std::string& name);

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A failed check stops the run with the message, so both the fuzzer and the corpus replay report it.
void FuzzCheck(bool condition, const char* what);

}  // namespace tollwick
