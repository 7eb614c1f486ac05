#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <string>

namespace tollwick {
namespace {

// The predefined roots are sign-extended 32-bit values in a 64-bit HKEY, so they are mapped by name
// rather than by converting the number.
HKEY ToHkey(RegKey key) {
  if (key == kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(key);
}

// What the program does with its keys and no more: read and write values, create, enumerate and
// delete subkeys. The installer grants the Users group exactly this on the shared tree; asking for
// KEY_ALL_ACCESS, which adds the rights to change a key's permissions and owner, would be refused
// to them and send every account to a tree of its own.
constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_WRITE | DELETE;

// The program's value names are ASCII; null stays the unnamed value.
std::wstring WideName(const char* name) {
  std::wstring wide;
  for (const char* c = name; c && *c; ++c) wide.push_back(static_cast<unsigned char>(*c));
  return wide;
}

}  // namespace

long Win32Registry::CreateKey(RegKey parent, const char* path, RegKey* out) {
  HKEY opened = nullptr;
  LONG result = RegCreateKeyExA(ToHkey(parent), path, 0, nullptr, 0, kReadWriteAccess, nullptr,
                                &opened, nullptr);
  if (out) *out = result == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
  return result;
}

long Win32Registry::QueryValue(RegKey key, const char* name, void* data, std::uint32_t* size) {
  DWORD bytes = size ? *size : 0;
  LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, nullptr, static_cast<BYTE*>(data),
                                 size ? &bytes : nullptr);
  if (size) *size = bytes;
  return result;
}

long Win32Registry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                             std::uint32_t size) {
  return RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Registry::QueryValueWide(RegKey key, const char* name, std::uint32_t* type, void* data,
                                   std::uint32_t* size) {
  DWORD bytes = size ? *size : 0;
  DWORD stored = 0;
  const std::wstring wide = WideName(name);
  LONG result = RegQueryValueExW(ToHkey(key), name ? wide.c_str() : nullptr, nullptr, &stored,
                                 static_cast<BYTE*>(data), size ? &bytes : nullptr);
  if (size) *size = bytes;
  if (type) *type = stored;
  return result;
}

long Win32Registry::SetValueWide(RegKey key, const char* name, std::uint32_t type,
                                 const void* data, std::uint32_t size) {
  const std::wstring wide = WideName(name);
  return RegSetValueExW(ToHkey(key), name ? wide.c_str() : nullptr, 0, type,
                        static_cast<const BYTE*>(data), size);
}

long Win32Registry::DeleteValue(RegKey key, const char* name) {
  return RegDeleteValueA(ToHkey(key), name);
}

long Win32Registry::QuerySubkeyCount(RegKey key, std::uint32_t* count) {
  DWORD subkeys = 0;
  LONG result = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr);
  if (count && result == ERROR_SUCCESS) *count = subkeys;
  return result;
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
  DWORD chars = nameSize ? *nameSize : 0;
  LONG result = RegEnumKeyExA(ToHkey(key), index, name, nameSize ? &chars : nullptr, nullptr,
                              nullptr, nullptr, nullptr);
  if (nameSize) *nameSize = chars;
  return result;
}

long Win32Registry::QueryValueCount(RegKey key, std::uint32_t* count) {
  DWORD values = 0;
  LONG result = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 &values, nullptr, nullptr, nullptr, nullptr);
  if (count && result == ERROR_SUCCESS) *count = values;
  return result;
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize) {
  DWORD chars = nameSize ? *nameSize : 0;
  LONG result = RegEnumValueA(ToHkey(key), index, name, nameSize ? &chars : nullptr, nullptr,
                              nullptr, nullptr, nullptr);
  if (nameSize) *nameSize = chars;
  return result;
}

long Win32Registry::OpenKeyToRead(RegKey parent, const char* path, RegKey* out) {
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExA(ToHkey(parent), path, 0, KEY_READ, &opened);
  if (out) *out = result == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
  return result;
}

long Win32Registry::DeleteKey(RegKey key, const char* name) {
  return RegDeleteKeyA(ToHkey(key), name);
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

}  // namespace tollwick
