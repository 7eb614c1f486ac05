#pragma once
// The Remote Access Service lists connections and phone-book entries into a caller's buffer of
// records; when the buffer is too small it says how many bytes it needs. Both lists are asked for
// the same way, here.

#include <windows.h>
#include <raserror.h>

#include <cstddef>
#include <vector>

namespace tollwick {

// Calls query(records, &bytes, &count) with room for `initial` records (the first one's dwSize set),
// and again with the size it reports for as long as it answers ERROR_BUFFER_TOO_SMALL, a few times
// at most, since the list may grow in between. Returns the records it filled, none when it fails.
template <typename Record, typename Query>
std::vector<Record> ListRasRecords(std::size_t initial, Query query) {
  constexpr int kMaxTries = 3;
  std::vector<Record> records(initial);
  for (int attempt = 0; attempt < kMaxTries; ++attempt) {
    records[0].dwSize = sizeof(Record);
    DWORD bytes = static_cast<DWORD>(records.size() * sizeof(Record));
    DWORD count = 0;
    const DWORD result = query(records.data(), &bytes, &count);
    if (result == ERROR_SUCCESS) {
      records.resize(count < records.size() ? count : records.size());
      return records;
    }
    if (result != ERROR_BUFFER_TOO_SMALL) break;
    // Never reading records the service did not fill: it wrote nothing this time.
    std::size_t needed = (bytes + sizeof(Record) - 1) / sizeof(Record);
    if (needed <= records.size()) needed = records.size() * 2;
    records.assign(needed, Record{});
  }
  return {};
}

}  // namespace tollwick
