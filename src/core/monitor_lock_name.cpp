#include "core/monitor_lock_name.h"

namespace tollwick {
namespace {

constexpr const char* kGlobalPrefix = "Global\\";
constexpr const char* kLocalPrefix = "Local\\";
constexpr const char* kBaseName = "Tollwick Monitor";

}  // namespace

std::string MonitorLockName(RegKey hive, const std::string& userId) {
  std::string name = std::string(kGlobalPrefix) + kBaseName;
  if (hive == kHkeyCurrentUser) {
    name += ' ';
    for (char c : userId) name += c == '\\' ? '/' : c;
  }
  if (name.size() > kLongestObjectName) name.resize(kLongestObjectName);
  return name;
}

std::string SessionMarkerName(const std::string& lockName) {
  const std::string global = kGlobalPrefix;
  const std::string rest =
      lockName.compare(0, global.size(), global) == 0 ? lockName.substr(global.size()) : lockName;
  return kLocalPrefix + rest;
}

}  // namespace tollwick
