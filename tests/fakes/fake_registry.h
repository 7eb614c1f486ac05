#pragma once
// An in-memory registry that follows the rules of the Win32 one wherever the program relies on them:
// create-on-open of every key on a path, case-insensitive names, subkeys enumerated in case-blind
// sorted order, value sizes and stored types, ERROR_MORE_DATA with the needed size, the unnamed
// default value, RegDeleteKeyA refusing a key with subkeys, keys opened for reading only, and invalid
// handles. The registry conformance suite runs the same checks against this and against the real
// registry under Wine.
//
// Tests can also make a hive refuse to be opened for writing (a user without rights to
// HKEY_LOCAL_MACHINE), make the deletion of one key fail, stop applying writes part-way through an
// operation (a crash), and inspect what was stored.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tollwick {

class FakeRegistry : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  long CreateKey(RegKey parent, const char* path, RegKey* out) override;
  long QueryValue(RegKey key, const char* name, void* data, std::uint32_t* size) override;
  long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                std::uint32_t size) override;
  long DeleteValue(RegKey key, const char* name) override;
  // The stored bytes as they are: the fake keeps one form of every text, so a value is read in the
  // form it was written in (the program never mixes the two on one value).
  long QueryValueWide(RegKey key, const char* name, std::uint32_t* type, void* data,
                      std::uint32_t* size) override;
  long SetValueWide(RegKey key, const char* name, std::uint32_t type, const void* data,
                    std::uint32_t size) override;
  long QuerySubkeyCount(RegKey key, std::uint32_t* count) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long QueryValueCount(RegKey key, std::uint32_t* count) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long OpenKeyToRead(RegKey parent, const char* path, RegKey* out) override;
  long DeleteKey(RegKey key, const char* name) override;
  long CloseKey(RegKey key) override;

  // --- Test controls -------------------------------------------------------------------------
  // While denied, opening or creating any key below the hive fails with ERROR_ACCESS_DENIED and
  // yields 0. Handles already open keep working.
  void DenyAccess(RegKey hive, bool deny = true);
  // While writes are denied (an ordinary user's view of HKEY_LOCAL_MACHINE), CreateKey anywhere in
  // the hive, which asks to write, fails with ERROR_ACCESS_DENIED; OpenKeyToRead still reads.
  void DenyWrites(RegKey hive, bool deny = true);
  // Another account logs on: HKEY_CURRENT_USER becomes that account's hive (each kept while the
  // registry lives); the machine's hive stays. The first account is "".
  void UseAccount(const std::string& account);
  // RegDeleteKeyA of the key at this path (below the root) fails with ERROR_ACCESS_DENIED.
  void FailDeletionOf(RegKey root, const std::string& path);

  // A crash part-way through an operation: after this many more changes (a value set, a value
  // deleted, a key created or deleted), every change fails with ERROR_ACCESS_DENIED and changes
  // nothing, while reads go on. Restart() applies changes again.
  void CrashAfterWrites(std::size_t writes) { writesLeft_ = writes; }
  void Restart() { writesLeft_.reset(); }
  // The changes applied since the registry was made.
  std::size_t WritesApplied() const { return writesApplied_; }

  // RegQueryValueExA asking for the type alone.
  long QueryValueType(RegKey key, const char* name, std::uint32_t* type) const;

  // --- Inspection, by path below a root ("Software\\Orvo\\Tollwick\\.Bill"); name "" = default --
  bool KeyExists(RegKey root, const std::string& path) const;
  bool ValueExists(RegKey root, const std::string& path, const std::string& name) const;
  std::optional<std::uint32_t> ValueType(RegKey root, const std::string& path,
                                         const std::string& name) const;
  std::optional<std::vector<std::uint8_t>> ValueBytes(RegKey root, const std::string& path,
                                                      const std::string& name) const;
  // The value names of a key, "" for the default value, sorted without regard to case.
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
  // The subkey names of a key in enumeration order.
  std::vector<std::string> SubkeyNames(RegKey root, const std::string& path) const;
  // Stores a value directly, creating the keys on the path.
  void PutValue(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& bytes);
  // The names of the values written with SetValue, in order ("" for the default value), since the
  // last ClearWriteLog: for checking the order in which records are stored.
  const std::vector<std::string>& WriteLog() const { return writeLog_; }
  void ClearWriteLog() { writeLog_.clear(); }
  // Handles opened and not yet closed: a leak check for code that must close every key it opens.
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Value {
    std::string name;  // as first written; lookups ignore case
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
  };
  struct Node;
  struct FoldedLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  struct Node {
    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    std::map<std::string, std::shared_ptr<Node>, FoldedLess> subkeys;
    std::map<std::string, Value, FoldedLess> values;
  };

  static constexpr long kErrorInvalidParameter = 87;
  static constexpr long kErrorBadPathname = 161;
  static constexpr long kErrorKeyDeleted = 1018;

  // The live node behind a handle, or an error code in *error.
  std::shared_ptr<Node> Resolve(RegKey key, long* error) const;
  std::shared_ptr<Node> RootNode(RegKey root) const;
  RegKey RootOf(const Node* node) const;
  const Node* Find(RegKey root, const std::string& path) const;
  // The subkey of that name, created when missing.
  static std::shared_ptr<Node> Child(const std::shared_ptr<Node>& node, const std::string& name);
  static bool SplitPath(const std::string& path, std::vector<std::string>* parts);
  static std::string FullPath(const Node* node);
  // False when the change must be refused: a handle opened to read, or a crash.
  bool MayChange(RegKey key) const;
  // Counts an applied change against the crash budget.
  void Changed();
  RegKey NewHandle(const std::shared_ptr<Node>& node);

  std::shared_ptr<Node> localMachine_;
  std::shared_ptr<Node> currentUser_;
  std::map<std::string, std::shared_ptr<Node>> accounts_;  // every account's hive, by name
  std::map<RegKey, std::shared_ptr<Node>> handles_;
  RegKey nextHandle_ = 0x1000;
  std::set<RegKey> deniedHives_;
  std::set<RegKey> writeDeniedHives_;
  std::set<std::string, FoldedLess> undeletable_;  // "<root>\\<path>"
  std::set<RegKey> readOnly_;                      // handles opened with OpenKeyToRead
  std::optional<std::size_t> writesLeft_;
  std::size_t writesApplied_ = 0;
  std::vector<std::string> writeLog_;
};

}  // namespace tollwick
