#pragma once
// Every persistent part of the program opens its keys and reads and writes its values through this
// store, and nothing above the platform reaches the registry any other way. A read never fails: a
// value that cannot be read yields the caller's default, which is written back at once, so the
// registry fills itself with defaults on first use. The few callers that must see the registry as
// it is (crash-safe saves, the bill's count, the other hive) use the reads marked "as stored",
// which write nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tollwick {

constexpr const char* kRootPath = "Software\\Orvo\\Tollwick";
constexpr std::uint32_t kNameChars = 100;  // every name field, terminator included

// An open key, closed when it goes out of scope. Move-only. A key that could not be opened holds 0;
// every operation on it then does nothing (reads give their default without writing). Only the
// store opens keys, so no raw handle is ever wrapped, or closed, elsewhere.
class SettingsKey {
 public:
  SettingsKey() = default;
  SettingsKey(SettingsKey&& other) noexcept;
  SettingsKey& operator=(SettingsKey&& other) noexcept;
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;
  ~SettingsKey();

  RegKey get() const { return key_; }
  bool valid() const { return key_ != 0; }

 private:
  friend class SettingsStore;
  SettingsKey(Registry* registry, RegKey key) : registry_(registry), key_(key) {}
  void Close();
  Registry* registry_ = nullptr;
  RegKey key_ = 0;
};

class SettingsStore {
 public:
  // hive: kHkeyLocalMachine or kHkeyCurrentUser (see ChooseHive).
  explicit SettingsStore(Registry& registry, RegKey hive = kHkeyLocalMachine)
      : registry_(registry), hive_(hive) {}

  RegKey hive() const { return hive_; }
  // The hive this store does not use.
  RegKey otherHive() const;
  // Both stores work on one tree: the same registry and hive.
  bool SharesTreeWith(const SettingsStore& other) const {
    return &registry_ == &other.registry_ && hive_ == other.hive_;
  }

  // Chooses the hive so that one user's data stays in one place from run to run, whether or not
  // this run may write HKEY_LOCAL_MACHINE (an administrator runs elevated one day and not the next):
  //  1. the user's own tree, HKEY_CURRENT_USER\Software\Orvo\Tollwick, whenever it exists;
  //  2. otherwise the machine's, when its root key can be opened to read and write;
  //  3. otherwise the user's own, which the first write then creates.
  // Returns true in case 3, the one run that starts keeping data for this user alone; the caller
  // tells the user, and from the next run on rule 1 applies. Creates nothing in the user's hive.
  bool ChooseHive();
  // A store on the other hive when the program's tree exists there, for billing a call that a run on
  // that hive left in progress; the hive may refuse writes. None otherwise, so that nothing is ever
  // created there.
  std::optional<SettingsStore> OtherHiveStore() const;

  // A full path below the hive ("Software\\Orvo\\Tollwick\\.Bill").
  SettingsKey OpenSettingsKey(const char* path) const;
  // A key relative to an open parent (a discount below "Discounts").
  SettingsKey OpenSubkey(const SettingsKey& parent, const char* name) const;
  // For a hive the program may not be allowed to write: the key as OpenSettingsKey opens it when the
  // hive allows that, else opened to read only when it exists (writes through it change nothing).
  SettingsKey OpenSettingsKeyToRead(const char* path) const;
  // An existing key opened to read only, whatever the hive allows: nothing is created, and writes
  // through it change nothing. Invalid when the key does not exist.
  SettingsKey OpenKeyReadOnly(const char* path) const;
  bool SubkeyExists(const SettingsKey& parent, const char* name) const;

  void WriteStringValue(const SettingsKey& key, const char* name, const char* text) const;
  // The text is always terminated within bufferBytes; the bytes after the terminator are zero.
  void ReadStringValue(const SettingsKey& key, const char* name, char* buffer,
                       std::uint32_t bufferBytes, const char* defaultText) const;
  void WriteDwordValue(const SettingsKey& key, const char* name, std::uint32_t value) const;
  std::uint32_t ReadDwordValue(const SettingsKey& key, const char* name,
                               std::uint32_t defaultValue) const;
  void WriteBinaryValue(const SettingsKey& key, const char* name, const void* bytes,
                        std::uint32_t size) const;
  // defaultBytes null = zeros. A stored value shorter than size fills the leading bytes and writes
  // nothing into the rest of the destination, so callers start from defined bytes: zeros, or the
  // stored form of what the record holds.
  void ReadBinaryValue(const SettingsKey& key, const char* name, void* destination,
                       const void* defaultBytes, std::uint32_t size) const;
  // Deletes every subkey, recursively; the key's own values stay.
  void DeleteAllSubkeys(const SettingsKey& key) const;
  // Each true when something was deleted. A key must have no subkeys to be deleted.
  bool DeleteValue(const SettingsKey& key, const char* name) const;
  bool DeleteSubkey(const SettingsKey& parent, const char* name) const;

  // What a read as stored found: the registry's answer and the value's stored size, which is also
  // given when the value did not fit.
  struct StoredValue {
    long result = kRegInvalidHandle;
    std::uint32_t size = 0;
    // The value was read whole into the destination.
    bool read() const { return result == kRegSuccess; }
    // The value is there, whether or not it fit.
    bool exists() const { return result == kRegSuccess || result == kRegMoreData; }
  };
  // Reads a value as it is stored, writing no default back. The destination receives the stored
  // bytes, and only them, when the value fits in size bytes; otherwise it is left alone.
  StoredValue ReadAsStored(const SettingsKey& key, const char* name, void* destination,
                           std::uint32_t size) const;
  // The number of values (the unnamed one included when set); 0 when it cannot be told.
  std::uint32_t ValueCount(const SettingsKey& key) const;
  std::optional<std::uint32_t> SubkeyCount(const SettingsKey& key) const;
  // Every value's name, in the registry's order, whatever its length; a visitor rather than a list,
  // since the bill's key holds a value per item.
  void ForEachValueName(const SettingsKey& key,
                        const std::function<void(const char* name)>& visit) const;
  // The subkeys named within a name field (kNameChars), in the registry's order. A longer name
  // could only be opened under a cut name, which would be another key, so it is left out.
  std::vector<std::string> SubkeyNames(const SettingsKey& key) const;

  // The texts of a REG_MULTI_SZ value in their stored order, read as stored (UTF-16, up to the first
  // empty text). A value that is missing, of another type, or not ended by its terminators reads as
  // no texts, and nothing is written back.
  std::vector<std::u16string> ReadMultiStringAsStored(const SettingsKey& key,
                                                      const char* name) const;
  // Stores the texts as REG_MULTI_SZ; empty texts cannot be stored in one and are left out.
  void WriteMultiStringValue(const SettingsKey& key, const char* name,
                             const std::vector<std::u16string>& texts) const;

  void ReadRootBinary(const char* name, void* destination, std::uint32_t size,
                      const void* defaultBytes) const;
  void WriteRootBinary(const char* name, const void* bytes, std::uint32_t size) const;

 private:
  Registry& registry_;
  RegKey hive_;
};

// Copies a text into a field of outBytes, cut to fit, always terminated and zero after the terminator,
// so nothing beyond a name ever reaches the registry or another record.
void CopyBoundedText(char* out, std::uint32_t outBytes, const char* text);

// The letters a to z as A to Z and every other character as it is: how names (users, discounts)
// are compared without regard to case, whatever the code page.
inline char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "%s\\%s" of the root path and a name, cut to fit. Key paths of accounts, the bill, the current call.
void RootSubkeyPath(const char* name, char* out, std::uint32_t outSize);

}  // namespace tollwick
