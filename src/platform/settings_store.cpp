#include "platform/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/little_endian.h"

namespace tollwick {

namespace {

// The longest key name the registry allows, plus its terminator: subkeys are deleted whatever
// their names, including names too long for a name field.
constexpr std::uint32_t kKeyNameChars = 256;
// The same for value names.
constexpr std::uint32_t kValueNameChars = 16384;

}  // namespace

// ---- SettingsKey --------------------------------------------------------------------------------

SettingsKey::SettingsKey(SettingsKey&& other) noexcept
    : registry_(other.registry_), key_(other.key_) {
  other.key_ = 0;
}

SettingsKey& SettingsKey::operator=(SettingsKey&& other) noexcept {
  if (this != &other) {
    Close();
    registry_ = other.registry_;
    key_ = other.key_;
    other.key_ = 0;
  }
  return *this;
}

SettingsKey::~SettingsKey() { Close(); }

void SettingsKey::Close() {
  if (registry_ && key_ != 0) registry_->CloseKey(key_);
  key_ = 0;
}

// ---- Helpers ------------------------------------------------------------------------------------

void CopyBoundedText(char* out, std::uint32_t outBytes, const char* text) {
  if (!out || outBytes == 0) return;
  std::uint32_t length = 0;
  if (text) {
    while (length < outBytes - 1 && text[length] != '\0') ++length;
    std::memcpy(out, text, length);
  }
  std::memset(out + length, 0, outBytes - length);
}

void RootSubkeyPath(const char* name, char* out, std::uint32_t outSize) {
  if (!out || outSize == 0) return;
  std::snprintf(out, outSize, "%s\\%s", kRootPath, name ? name : "");
}

// ---- SettingsStore ------------------------------------------------------------------------------

namespace {

bool RootExists(Registry& registry, RegKey hive) {
  RegKey key = 0;
  if (registry.OpenKeyToRead(hive, kRootPath, &key) != kRegSuccess || key == 0) return false;
  registry.CloseKey(key);
  return true;
}

bool RootWritable(Registry& registry, RegKey hive) {
  RegKey key = 0;
  if (registry.CreateKey(hive, kRootPath, &key) != kRegSuccess || key == 0) return false;
  registry.CloseKey(key);
  return true;
}

}  // namespace

RegKey SettingsStore::otherHive() const {
  return hive_ == kHkeyCurrentUser ? kHkeyLocalMachine : kHkeyCurrentUser;
}

bool SettingsStore::ChooseHive() {
  if (RootExists(registry_, kHkeyCurrentUser)) {
    hive_ = kHkeyCurrentUser;
    return false;
  }
  if (RootWritable(registry_, kHkeyLocalMachine)) {
    hive_ = kHkeyLocalMachine;
    return false;
  }
  hive_ = kHkeyCurrentUser;
  return true;
}

std::optional<SettingsStore> SettingsStore::OtherHiveStore() const {
  RegKey other = otherHive();
  if (!RootExists(registry_, other)) return std::nullopt;
  return SettingsStore(registry_, other);
}

SettingsKey SettingsStore::OpenSettingsKey(const char* path) const {
  RegKey key = 0;
  if (registry_.CreateKey(hive_, path, &key) != kRegSuccess) key = 0;
  return SettingsKey(&registry_, key);
}

SettingsKey SettingsStore::OpenSubkey(const SettingsKey& parent, const char* name) const {
  if (!parent.valid()) return SettingsKey();
  RegKey key = 0;
  if (registry_.CreateKey(parent.get(), name, &key) != kRegSuccess) key = 0;
  return SettingsKey(&registry_, key);
}

SettingsKey SettingsStore::OpenSettingsKeyToRead(const char* path) const {
  SettingsKey key = OpenSettingsKey(path);
  return key.valid() ? std::move(key) : OpenKeyReadOnly(path);
}

SettingsKey SettingsStore::OpenKeyReadOnly(const char* path) const {
  RegKey key = 0;
  if (registry_.OpenKeyToRead(hive_, path, &key) != kRegSuccess) key = 0;
  return SettingsKey(&registry_, key);
}

bool SettingsStore::SubkeyExists(const SettingsKey& parent, const char* name) const {
  if (!parent.valid()) return false;
  RegKey key = 0;
  if (registry_.OpenKeyToRead(parent.get(), name, &key) != kRegSuccess) return false;
  SettingsKey opened(&registry_, key);
  return true;
}

void SettingsStore::WriteStringValue(const SettingsKey& key, const char* name,
                                     const char* text) const {
  if (!key.valid()) return;
  if (!text) text = "";
  registry_.SetValue(key.get(), name, kRegSz, text,
                     static_cast<std::uint32_t>(std::strlen(text) + 1));
}

void SettingsStore::ReadStringValue(const SettingsKey& key, const char* name, char* buffer,
                                    std::uint32_t bufferBytes, const char* defaultText) const {
  if (!buffer || bufferBytes == 0) return;
  if (key.valid()) {
    std::uint32_t size = bufferBytes;
    if (registry_.QueryValue(key.get(), name, buffer, &size) == kRegSuccess &&
        size <= bufferBytes) {
      // Only a text whose terminator fits is taken; one that fills the whole buffer without it is
      // as over-long as one that does not fit at all.
      const void* end = std::memchr(buffer, '\0', size);
      std::uint32_t length = end ? static_cast<std::uint32_t>(static_cast<const char*>(end) - buffer)
                                 : size;
      if (length < bufferBytes) {
        std::memset(buffer + length, 0, bufferBytes - length);
        return;
      }
    }
  }
  CopyBoundedText(buffer, bufferBytes, defaultText);
  WriteStringValue(key, name, buffer);
}

void SettingsStore::WriteDwordValue(const SettingsKey& key, const char* name,
                                    std::uint32_t value) const {
  if (!key.valid()) return;
  std::uint8_t bytes[4];
  PutU32(bytes, value);
  registry_.SetValue(key.get(), name, kRegDword, bytes, sizeof bytes);
}

std::uint32_t SettingsStore::ReadDwordValue(const SettingsKey& key, const char* name,
                                            std::uint32_t defaultValue) const {
  if (!key.valid()) return defaultValue;
  std::uint8_t bytes[4] = {};
  std::uint32_t size = sizeof bytes;
  if (registry_.QueryValue(key.get(), name, bytes, &size) == kRegSuccess) {
    // A shorter stored value leaves the high bytes zero: it is taken zero-extended.
    return GetU32(bytes);
  }
  WriteDwordValue(key, name, defaultValue);
  return defaultValue;
}

void SettingsStore::WriteBinaryValue(const SettingsKey& key, const char* name, const void* bytes,
                                     std::uint32_t size) const {
  if (!key.valid()) return;
  registry_.SetValue(key.get(), name, kRegBinary, bytes, size);
}

void SettingsStore::ReadBinaryValue(const SettingsKey& key, const char* name, void* destination,
                                    const void* defaultBytes, std::uint32_t size) const {
  if (!destination) return;
  auto* out = static_cast<std::uint8_t*>(destination);
  if (ReadAsStored(key, name, destination, size).read()) return;
  if (defaultBytes) {
    std::memmove(out, defaultBytes, size);
  } else {
    std::memset(out, 0, size);
  }
  WriteBinaryValue(key, name, destination, size);
}

void SettingsStore::DeleteAllSubkeys(const SettingsKey& key) const {
  if (!key.valid()) return;
  // Deleting a subkey moves the next one down to the same index. A subkey that cannot be deleted
  // stays where it is, so the walk steps past it; it ends when the enumeration runs out.
  std::uint32_t index = 0;
  for (;;) {
    char name[kKeyNameChars];
    std::uint32_t nameChars = kKeyNameChars;
    if (registry_.EnumKey(key.get(), index, name, &nameChars) != kRegSuccess) break;
    {
      SettingsKey subkey = OpenSubkey(key, name);
      DeleteAllSubkeys(subkey);
    }
    if (registry_.DeleteKey(key.get(), name) != kRegSuccess) ++index;
  }
}

bool SettingsStore::DeleteValue(const SettingsKey& key, const char* name) const {
  return key.valid() && registry_.DeleteValue(key.get(), name) == kRegSuccess;
}

bool SettingsStore::DeleteSubkey(const SettingsKey& parent, const char* name) const {
  return parent.valid() && registry_.DeleteKey(parent.get(), name) == kRegSuccess;
}

SettingsStore::StoredValue SettingsStore::ReadAsStored(const SettingsKey& key, const char* name,
                                                       void* destination,
                                                       std::uint32_t size) const {
  StoredValue found;
  found.size = size;
  if (!key.valid() || !destination) return found;
  // Read aside: only the stored bytes may reach the destination, and the registry adds a
  // terminator after a text value stored without one.
  std::vector<std::uint8_t> stored(size);
  found.result = registry_.QueryValue(key.get(), name, stored.data(), &found.size);
  if (found.result == kRegSuccess && found.size > size) found.result = kRegMoreData;
  if (found.read()) {
    std::copy(stored.begin(), stored.begin() + found.size, static_cast<std::uint8_t*>(destination));
  }
  return found;
}

std::uint32_t SettingsStore::ValueCount(const SettingsKey& key) const {
  std::uint32_t count = 0;
  if (!key.valid() || registry_.QueryValueCount(key.get(), &count) != kRegSuccess) return 0;
  return count;
}

std::optional<std::uint32_t> SettingsStore::SubkeyCount(const SettingsKey& key) const {
  std::uint32_t count = 0;
  if (!key.valid() || registry_.QuerySubkeyCount(key.get(), &count) != kRegSuccess) {
    return std::nullopt;
  }
  return count;
}

void SettingsStore::ForEachValueName(const SettingsKey& key,
                                     const std::function<void(const char* name)>& visit) const {
  if (!key.valid()) return;
  std::vector<char> name(kValueNameChars);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t chars = kValueNameChars;
    const long result = registry_.EnumValue(key.get(), index, name.data(), &chars);
    if (result == kRegMoreData) continue;
    if (result != kRegSuccess) break;
    visit(name.data());
  }
}

std::vector<std::string> SettingsStore::SubkeyNames(const SettingsKey& key) const {
  std::vector<std::string> names;
  const std::optional<std::uint32_t> count = SubkeyCount(key);
  for (std::uint32_t i = 0; count && i < *count; ++i) {
    char name[kNameChars];
    std::uint32_t nameChars = kNameChars;
    const long result = registry_.EnumKey(key.get(), i, name, &nameChars);
    if (result == kRegNoMoreItems) break;
    if (result == kRegSuccess) names.emplace_back(name);
  }
  return names;
}

std::vector<std::u16string> SettingsStore::ReadMultiStringAsStored(const SettingsKey& key,
                                                                   const char* name) const {
  std::vector<std::u16string> texts;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (!key.valid() || registry_.QueryValueWide(key.get(), name, &type, nullptr, &size) != kRegSuccess ||
      type != kRegMultiSz || size % 2 != 0) {
    return texts;
  }
  std::vector<std::uint8_t> bytes(size + 2);  // never a zero-length buffer
  if (registry_.QueryValueWide(key.get(), name, &type, bytes.data(), &size) != kRegSuccess ||
      type != kRegMultiSz || size % 2 != 0) {
    return texts;
  }
  std::vector<char16_t> units(size / 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  // Terminated: the last text's terminator and the empty text that closes the list, or the lone
  // terminator of an empty list.
  const std::size_t count = units.size();
  const bool terminated = count == 1 ? units[0] == 0
                                     : count >= 2 && units[count - 1] == 0 && units[count - 2] == 0;
  if (!terminated) return texts;
  for (std::size_t start = 0; start < count && units[start] != 0;) {
    std::size_t end = start;
    while (units[end] != 0) ++end;
    texts.emplace_back(units.begin() + static_cast<std::ptrdiff_t>(start),
                       units.begin() + static_cast<std::ptrdiff_t>(end));
    start = end + 1;
  }
  return texts;
}

void SettingsStore::WriteMultiStringValue(const SettingsKey& key, const char* name,
                                          const std::vector<std::u16string>& texts) const {
  if (!key.valid()) return;
  std::vector<std::uint8_t> bytes;
  auto put = [&bytes](char16_t unit) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  for (const std::u16string& text : texts) {
    if (text.empty()) continue;
    for (char16_t unit : text) put(unit);
    put(0);
  }
  if (bytes.empty()) put(0);
  put(0);
  registry_.SetValueWide(key.get(), name, kRegMultiSz, bytes.data(),
                         static_cast<std::uint32_t>(bytes.size()));
}

void SettingsStore::ReadRootBinary(const char* name, void* destination, std::uint32_t size,
                                   const void* defaultBytes) const {
  SettingsKey root = OpenSettingsKey(kRootPath);
  ReadBinaryValue(root, name, destination, defaultBytes, size);
}

void SettingsStore::WriteRootBinary(const char* name, const void* bytes,
                                    std::uint32_t size) const {
  SettingsKey root = OpenSettingsKey(kRootPath);
  WriteBinaryValue(root, name, bytes, size);
}

}  // namespace tollwick
