#include "charging/win32/dialup_entries.h"

#include <windows.h>
#include <ras.h>

#include <cstring>

#include "platform/win32/ras_records.h"

namespace tollwick {
namespace {

constexpr std::size_t kInitialRecords = 30;  // room for an ordinary phone book on the first query

}  // namespace

std::vector<std::string> DialUpEntryNames() {
  const std::vector<RASENTRYNAMEA> entries =
      ListRasRecords<RASENTRYNAMEA>(kInitialRecords, [](RASENTRYNAMEA* records, DWORD* bytes,
                                                        DWORD* count) {
        return RasEnumEntriesA(nullptr, nullptr, records, bytes, count);
      });
  std::vector<std::string> names;
  for (const RASENTRYNAMEA& entry : entries) {
    names.emplace_back(entry.szEntryName, strnlen(entry.szEntryName, sizeof entry.szEntryName));
  }
  return names;
}

}  // namespace tollwick
