#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace tollwick {

std::vector<std::uint8_t> FuzzInput::Bytes(std::size_t count) {
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < count && !empty()) bytes.push_back(Byte());
  return bytes;
}

std::string FuzzInput::Name() {
  std::string name;
  const std::size_t length = Byte() % 121;
  while (name.size() < length && !empty()) {
    const char c = static_cast<char>(Byte());
    if (c != '\0') name.push_back(c);
  }
  return name;
}

void FuzzInput::StoreValue(FakeRegistry& registry, RegKey root, const std::string& path,
                           const std::string& name) {
  // Mostly the types the program writes; now and then one it never writes (REG_QWORD = 11).
  static constexpr std::uint32_t kTypes[] = {kRegBinary, kRegDword, kRegSz, 11};
  const std::uint8_t pick = Byte();
  if (pick % 5 == 4) return;  // absent
  // Short values byte by byte; the large records (a bill item, "AlarmList") exactly, or one byte
  // short or over, which is where a size check goes wrong.
  static constexpr std::size_t kLargeLengths[] = {239, 240, 241, 243, 244,  245,
                                                     255, 256, 257, 1023, 1024, 1025};
  const std::uint8_t length = Byte();
  const std::size_t bytes = length < 244 ? length % 64 : kLargeLengths[length - 244];
  registry.PutValue(root, path, name, kTypes[pick % 4], Bytes(bytes));
}

void FuzzCheck(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace tollwick
