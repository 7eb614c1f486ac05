// Exporting a bill of 100,000 items as the Bill tab does (the CSV text written to a temporary file
// piece by piece as it is made, flushed to disk and moved over the target), beside the bare cost
// of the same bytes: one file created, written in one call, flushed and closed. The export aims
// at 1.5 times that floor. The calls carry volumes, as calls of a connection that reports do.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench_bill.h"
#include "bench_clock.h"
#include "bill/bill_csv.h"
#include "bill/bill_views.h"
#include "bill/win32/bill_export.h"

namespace {

using namespace tollwick;

constexpr int kItems = 100000;
constexpr int kRounds = 7;

bool WriteBare(const char* path, const std::string& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  return done;
}

Bill WithVolumes(const Bill& made) {
  std::vector<BillItem> items(made.begin(), made.end());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].type == kCall) items[i].volume = {true, 40000000 + 7919 * i, 3000000 + 31 * i};
  }
  return Bill(std::move(items));
}

}  // namespace

int main() {
  const Bill bill = WithVolumes(MakeBill(kItems));
  const std::vector<std::uint32_t> rows = BillRows(bill, nullptr);
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string target = std::string(folder) + "tollwick-export-bench.csv";
  const std::string bare = std::string(folder) + "tollwick-export-bench-bare.csv";

  double text = 1e30, exported = 1e30, floor = 1e30;
  const std::string csv = BillCsv(bill, rows, AppendAnsiAsUtf8);
  for (int round = 0; round < kRounds; ++round) {
    double start = Seconds();
    std::size_t made = 0;
    WriteBillCsv(bill, rows, AppendAnsiAsUtf8, [&made](const char*, std::size_t size) {
      made += size;
      return true;
    });
    text = std::min(text, Seconds() - start);
    if (made != csv.size()) {
      std::fprintf(stderr, "pieces of %zu bytes, the whole text %zu\n", made, csv.size());
      return 1;
    }

    start = Seconds();
    if (ExportBillTo(target.c_str(), bill, rows) != ERROR_SUCCESS) {
      std::fprintf(stderr, "could not write %s\n", target.c_str());
      return 1;
    }
    exported = std::min(exported, Seconds() - start);

    start = Seconds();
    if (!WriteBare(bare.c_str(), csv)) {
      std::fprintf(stderr, "could not write %s\n", bare.c_str());
      return 1;
    }
    floor = std::min(floor, Seconds() - start);
  }
  DeleteFileA(target.c_str());
  DeleteFileA(bare.c_str());

  std::printf("Export of %d items, %.1f MB (best of %d rounds)\n", kItems, csv.size() / 1e6,
              kRounds);
  std::printf("  %-52s %9.1f ms\n", "CSV text made, piece by piece", text * 1e3);
  std::printf("  %-52s %9.1f ms\n", "exported: made and written, flushed, moved", exported * 1e3);
  std::printf("  %-52s %9.1f ms\n", "floor: the same bytes written, flushed, closed", floor * 1e3);
  std::printf("  %-52s %9.2f    (target 1.5)\n", "export / floor", exported / floor);
  return 0;
}
