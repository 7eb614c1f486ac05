#include "fake_registry.h"

#include <cstring>
#include <iterator>

namespace tollwick {
namespace {

// Key and value names compare without regard to case, letters of code page 1252 included, and
// subkeys enumerate in the order of the lower-cased names ("_x" before "Alpha"), as Wine's does.
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + ('a' - 'A'));
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
  if (c == 0x9F) return 0xFF;
  return c;
}

bool IsStringType(std::uint32_t type) {
  return type == 1 /* REG_SZ */ || type == 2 /* REG_EXPAND_SZ */ || type == 7 /* REG_MULTI_SZ */;
}

std::string NameOf(const char* name) { return name ? std::string(name) : std::string(); }

std::string RootLabel(RegKey root) {
  return root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

}  // namespace

bool FakeRegistry::FoldedLess::operator()(const std::string& a, const std::string& b) const {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = Fold(static_cast<unsigned char>(a[i]));
    unsigned char y = Fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

FakeRegistry::FakeRegistry()
    : localMachine_(std::make_shared<Node>()), currentUser_(std::make_shared<Node>()) {
  localMachine_->name = RootLabel(kHkeyLocalMachine);
  currentUser_->name = RootLabel(kHkeyCurrentUser);
  accounts_[""] = currentUser_;
}

void FakeRegistry::UseAccount(const std::string& account) {
  std::shared_ptr<Node>& hive = accounts_[account];
  if (!hive) {
    hive = std::make_shared<Node>();
    hive->name = RootLabel(kHkeyCurrentUser);
  }
  currentUser_ = hive;
}

FakeRegistry::~FakeRegistry() = default;

std::shared_ptr<FakeRegistry::Node> FakeRegistry::RootNode(RegKey root) const {
  if (root == kHkeyLocalMachine) return localMachine_;
  if (root == kHkeyCurrentUser) return currentUser_;
  return nullptr;
}

RegKey FakeRegistry::RootOf(const Node* node) const {
  while (node->parent) node = node->parent;
  return node == localMachine_.get() ? kHkeyLocalMachine : kHkeyCurrentUser;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Resolve(RegKey key, long* error) const {
  std::shared_ptr<Node> node = RootNode(key);
  if (!node) {
    auto it = handles_.find(key);
    if (it == handles_.end()) {
      *error = kRegInvalidHandle;
      return nullptr;
    }
    node = it->second;
  }
  if (node->deleted) {
    *error = kErrorKeyDeleted;
    return nullptr;
  }
  *error = kRegSuccess;
  return node;
}

// Splits at backslashes; repeated and trailing separators are ignored, a leading one is an error.
bool FakeRegistry::SplitPath(const std::string& path, std::vector<std::string>* parts) {
  parts->clear();
  if (!path.empty() && path[0] == '\\') return false;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts->push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts->push_back(part);
  return true;
}

std::string FakeRegistry::FullPath(const Node* node) {
  std::string path = node->name;
  for (const Node* p = node->parent; p; p = p->parent) path = p->name + "\\" + path;
  return path;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Child(const std::shared_ptr<Node>& node,
                                                       const std::string& name) {
  auto it = node->subkeys.find(name);
  if (it == node->subkeys.end()) {
    auto child = std::make_shared<Node>();
    child->name = name;
    child->parent = node.get();
    it = node->subkeys.emplace(name, child).first;
  }
  return it->second;
}

long FakeRegistry::CreateKey(RegKey parent, const char* path, RegKey* out) {
  if (!out) return kErrorInvalidParameter;
  *out = 0;
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(parent, &error);
  if (!node) return error;
  if (RootNode(parent) && deniedHives_.count(parent)) return kRegAccessDenied;
  if (writeDeniedHives_.count(RootOf(node.get()))) return kRegAccessDenied;
  std::vector<std::string> parts;
  if (!SplitPath(NameOf(path), &parts)) return kErrorBadPathname;
  bool creates = false;
  for (const std::string& part : parts) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) {
      if (!creates && !MayChange(parent)) return kRegAccessDenied;
      creates = true;
    }
    node = Child(node, part);
  }
  if (creates) Changed();  // the whole path is made at once
  *out = NewHandle(node);
  return kRegSuccess;
}

long FakeRegistry::OpenKeyToRead(RegKey parent, const char* path, RegKey* out) {
  if (!out) return kErrorInvalidParameter;
  *out = 0;
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(parent, &error);
  if (!node) return error;
  if (RootNode(parent) && deniedHives_.count(parent)) return kRegAccessDenied;
  std::vector<std::string> parts;
  if (!SplitPath(NameOf(path), &parts)) return kErrorBadPathname;
  for (const std::string& part : parts) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) return kRegFileNotFound;
    node = it->second;
  }
  *out = NewHandle(node);
  readOnly_.insert(*out);
  return kRegSuccess;
}

RegKey FakeRegistry::NewHandle(const std::shared_ptr<Node>& node) {
  RegKey handle = nextHandle_;
  nextHandle_ += 4;  // never reused, so a closed handle stays invalid
  handles_[handle] = node;
  return handle;
}

bool FakeRegistry::MayChange(RegKey key) const {
  return !readOnly_.count(key) && !(writesLeft_ && *writesLeft_ == 0);
}

void FakeRegistry::Changed() {
  ++writesApplied_;
  if (writesLeft_) --*writesLeft_;
}

long FakeRegistry::QueryValue(RegKey key, const char* name, void* data, std::uint32_t* size) {
  std::uint32_t type = 0;
  const std::uint32_t room = size ? *size : 0;
  const long result = QueryValueWide(key, name, &type, data, size);
  // A text stored without its terminator gets one when the buffer has room for it.
  auto* bytes = static_cast<unsigned char*>(data);
  if (result == kRegSuccess && data && IsStringType(type) && *size && *size < room &&
      bytes[*size - 1] != 0) {
    bytes[*size] = 0;
  }
  return result;
}

long FakeRegistry::QueryValueType(RegKey key, const char* name, std::uint32_t* type) const {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  auto it = node->values.find(NameOf(name));
  if (it == node->values.end()) return kRegFileNotFound;
  if (type) *type = it->second.type;
  return kRegSuccess;
}

long FakeRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (!data && size) return kErrorInvalidParameter;
  if (!MayChange(key)) return kRegAccessDenied;
  Changed();
  writeLog_.push_back(NameOf(name));
  Value value;
  value.name = NameOf(name);
  value.type = type;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  // Like Windows, a text whose size leaves out its terminator gets it counted when the byte after
  // the given size is one (that byte is read, as the real call reads it).
  if (IsStringType(type) && size && bytes[size - 1] != 0 && bytes[size] == 0) ++size;
  if (size) value.bytes.assign(bytes, bytes + size);
  auto it = node->values.find(value.name);
  if (it != node->values.end()) {
    value.name = it->second.name;  // the name keeps the case it was first written in
    it->second = value;
  } else {
    node->values.emplace(value.name, value);
  }
  return kRegSuccess;
}

long FakeRegistry::QueryValueWide(RegKey key, const char* name, std::uint32_t* type, void* data,
                                   std::uint32_t* size) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (data && !size) return kErrorInvalidParameter;
  auto it = node->values.find(NameOf(name));
  if (it == node->values.end()) return kRegFileNotFound;
  const Value& value = it->second;
  const auto stored = static_cast<std::uint32_t>(value.bytes.size());
  if (type) *type = value.type;
  if (data && *size < stored) {
    *size = stored;
    return kRegMoreData;
  }
  if (data && stored) std::memcpy(data, value.bytes.data(), stored);
  if (size) *size = stored;
  return kRegSuccess;
}

// Every UTF-16 text the program writes ends in a zero byte, so the ANSI rule for a missing
// terminator never applies and the bytes are stored as given, as RegSetValueExW stores them.
long FakeRegistry::SetValueWide(RegKey key, const char* name, std::uint32_t type, const void* data,
                                std::uint32_t size) {
  return SetValue(key, name, type, data, size);
}

long FakeRegistry::DeleteValue(RegKey key, const char* name) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (!MayChange(key)) return kRegAccessDenied;
  if (!node->values.erase(NameOf(name))) return kRegFileNotFound;
  Changed();
  return kRegSuccess;
}

long FakeRegistry::QuerySubkeyCount(RegKey key, std::uint32_t* count) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (count) *count = static_cast<std::uint32_t>(node->subkeys.size());
  return kRegSuccess;
}

long FakeRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (!name || !nameSize) return kErrorInvalidParameter;
  if (index >= node->subkeys.size()) return kRegNoMoreItems;
  const std::string& found = std::next(node->subkeys.begin(), index)->second->name;
  // The terminator must fit as well; on failure the size is left as it was.
  if (found.size() >= *nameSize) return kRegMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  *nameSize = static_cast<std::uint32_t>(found.size());
  return kRegSuccess;
}

long FakeRegistry::QueryValueCount(RegKey key, std::uint32_t* count) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (count) *count = static_cast<std::uint32_t>(node->values.size());
  return kRegSuccess;
}

long FakeRegistry::EnumValue(RegKey key, std::uint32_t index, char* name,
                             std::uint32_t* nameSize) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (!name || !nameSize) return kErrorInvalidParameter;
  if (index >= node->values.size()) return kRegNoMoreItems;
  const std::string& found = std::next(node->values.begin(), index)->second.name;
  if (found.size() >= *nameSize) return kRegMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  *nameSize = static_cast<std::uint32_t>(found.size());
  return kRegSuccess;
}

long FakeRegistry::DeleteKey(RegKey key, const char* name) {
  long error = kRegSuccess;
  std::shared_ptr<Node> node = Resolve(key, &error);
  if (!node) return error;
  if (!name) return kErrorInvalidParameter;
  std::vector<std::string> parts;
  if (!SplitPath(name, &parts)) return kErrorBadPathname;
  for (const std::string& part : parts) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) return kRegFileNotFound;
    node = it->second;
  }
  if (!node->parent) return kRegAccessDenied;  // a predefined root
  if (!node->subkeys.empty()) return kRegAccessDenied;
  if (undeletable_.count(FullPath(node.get()))) return kRegAccessDenied;
  if (!MayChange(key)) return kRegAccessDenied;
  Changed();
  node->deleted = true;  // handles still open on it now fail with ERROR_KEY_DELETED
  node->parent->subkeys.erase(node->name);
  node->parent = nullptr;
  return kRegSuccess;
}

long FakeRegistry::CloseKey(RegKey key) {
  if (RootNode(key)) return kRegSuccess;
  readOnly_.erase(key);
  return handles_.erase(key) ? kRegSuccess : kRegInvalidHandle;
}

void FakeRegistry::DenyAccess(RegKey hive, bool deny) {
  if (deny) {
    deniedHives_.insert(hive);
  } else {
    deniedHives_.erase(hive);
  }
}

void FakeRegistry::DenyWrites(RegKey hive, bool deny) {
  if (deny) {
    writeDeniedHives_.insert(hive);
  } else {
    writeDeniedHives_.erase(hive);
  }
}

void FakeRegistry::FailDeletionOf(RegKey root, const std::string& path) {
  std::vector<std::string> parts;
  SplitPath(path, &parts);
  std::string full = RootLabel(root);
  for (const std::string& part : parts) full += "\\" + part;
  undeletable_.insert(full);
}

const FakeRegistry::Node* FakeRegistry::Find(RegKey root, const std::string& path) const {
  std::shared_ptr<Node> node = RootNode(root);
  if (!node) return nullptr;
  std::vector<std::string> parts;
  if (!SplitPath(path, &parts)) return nullptr;
  for (const std::string& part : parts) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) return nullptr;
    node = it->second;
  }
  return node.get();
}

bool FakeRegistry::KeyExists(RegKey root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

bool FakeRegistry::ValueExists(RegKey root, const std::string& path,
                               const std::string& name) const {
  const Node* node = Find(root, path);
  return node && node->values.count(name);
}

std::optional<std::uint32_t> FakeRegistry::ValueType(RegKey root, const std::string& path,
                                                     const std::string& name) const {
  const Node* node = Find(root, path);
  if (!node) return std::nullopt;
  auto it = node->values.find(name);
  if (it == node->values.end()) return std::nullopt;
  return it->second.type;
}

std::optional<std::vector<std::uint8_t>> FakeRegistry::ValueBytes(RegKey root,
                                                                  const std::string& path,
                                                                  const std::string& name) const {
  const Node* node = Find(root, path);
  if (!node) return std::nullopt;
  auto it = node->values.find(name);
  if (it == node->values.end()) return std::nullopt;
  return it->second.bytes;
}

std::vector<std::string> FakeRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  if (const Node* node = Find(root, path)) {
    for (const auto& entry : node->values) names.push_back(entry.second.name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::SubkeyNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  if (const Node* node = Find(root, path)) {
    for (const auto& entry : node->subkeys) names.push_back(entry.second->name);
  }
  return names;
}

void FakeRegistry::PutValue(RegKey root, const std::string& path, const std::string& name,
                            std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
  std::shared_ptr<Node> node = RootNode(root);
  std::vector<std::string> parts;
  SplitPath(path, &parts);
  for (const std::string& part : parts) node = Child(node, part);
  Value value{name, type, bytes};
  node->values[name] = value;
}

}  // namespace tollwick
