#include "core/connection_rules.h"

#include <cstring>

namespace tollwick {

bool IsDottedQuad(const char* text) {
  if (text == nullptr) return false;
  int dots = 0;
  int length = 0;
  // Only the first 16 characters matter: anything longer is rejected by its length alone.
  for (; length < 16 && text[length] != '\0'; ++length) {
    if (text[length] == '.') ++dots;
  }
  return length <= 15 && dots == 3;
}

bool IsDirectCableConnection(const char* entryName) {
  return std::strncmp(entryName, kDirectCableConnection, std::strlen(kDirectCableConnection)) == 0;
}

std::optional<ListedConnection> FindActiveConnection(ConnectionProbe& probe,
                                                     const ProgramSettings& settings) {
  const bool checkStatus = settings.checkStatus == 1;
  std::optional<ListedConnection> first = probe.FirstConnection(checkStatus);
  if (!first) return std::nullopt;
  if (checkStatus && !first->connected) return std::nullopt;
  if (settings.noDcc == 1 && IsDirectCableConnection(first->entryName.c_str())) return std::nullopt;
  return first;
}

}  // namespace tollwick
