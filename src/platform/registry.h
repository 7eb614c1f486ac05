#pragma once
// The registry calls the program makes, behind a small interface so that the logic above it can be
// tested natively against an in-memory registry. The Win32 implementation forwards each call to the
// function of the same name; the fake (tests/fakes) follows the same rules, which one conformance
// suite checks against both.

#include <cstdint>

namespace tollwick {

// An open key, or one of the predefined roots. 0 is "no key": every operation on it fails.
using RegKey = std::uintptr_t;

// The predefined roots, with the values Windows gives HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;

// Win32 result codes the callers look at.
constexpr long kRegSuccess = 0;
constexpr long kRegFileNotFound = 2;
constexpr long kRegAccessDenied = 5;
constexpr long kRegInvalidHandle = 6;
constexpr long kRegMoreData = 234;
constexpr long kRegNoMoreItems = 259;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

class Registry {
 public:
  virtual ~Registry() = default;
  // RegCreateKeyExA(parent, path, 0, NULL, 0, KEY_READ | KEY_WRITE | DELETE, NULL, out, NULL):
  // opens the key to read and write, creating every missing key on the path. On failure *out is 0.
  virtual long CreateKey(RegKey parent, const char* path, RegKey* out) = 0;
  // RegQueryValueExA without the type. name null = the unnamed default value. *size is the buffer
  // size on entry and the stored size on return (also with kRegMoreData).
  virtual long QueryValue(RegKey key, const char* name, void* data, std::uint32_t* size) = 0;
  virtual long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                        std::uint32_t size) = 0;
  virtual long DeleteValue(RegKey key, const char* name) = 0;
  // RegQueryValueExW and RegSetValueExW for a value named in ASCII: texts stay UTF-16 as stored, so
  // names the ANSI code page cannot hold (network connections' aliases) survive. The query also
  // gives the stored type; neither adds a terminator the caller did not store.
  virtual long QueryValueWide(RegKey key, const char* name, std::uint32_t* type, void* data,
                              std::uint32_t* size) = 0;
  virtual long SetValueWide(RegKey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) = 0;
  // RegQueryInfoKeyA, the number of subkeys only.
  virtual long QuerySubkeyCount(RegKey key, std::uint32_t* count) = 0;
  // RegEnumKeyExA: *nameSize is the buffer size in characters on entry, the name length on return.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
  // RegQueryInfoKeyA, the number of values only (the unnamed default value included when set).
  virtual long QueryValueCount(RegKey key, std::uint32_t* count) = 0;
  // RegEnumValueA, the name only: *nameSize as for EnumKey; a name that does not fit gives
  // kRegMoreData. The order is the registry's own.
  virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
  // RegOpenKeyExA(parent, path, 0, KEY_READ, out): opens an existing key for reading only, where the
  // rights to write it may be missing. Writes through the key fail with
  // kRegAccessDenied; a missing key is not created. On failure *out is 0.
  virtual long OpenKeyToRead(RegKey parent, const char* path, RegKey* out) = 0;
  virtual long DeleteKey(RegKey key, const char* name) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace tollwick
