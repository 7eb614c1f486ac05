#pragma once
// For tests that need a known default printer: sets the "device" entry of win.ini's [windows]
// section (null removes it) and puts the old entry back afterwards.

#include <windows.h>

#include <string>

namespace tollwick {

class ScopedDefaultPrinter {
 public:
  explicit ScopedDefaultPrinter(const char* device) {
    // Wine copies the host's printers, and its default, into the prefix when winspool is first
    // loaded; loading it now keeps that from overwriting the entry set here.
    LoadLibraryA("winspool.drv");
    char old[200] = "";
    hadEntry_ = GetProfileStringA("windows", "device", kMissing, old, sizeof old) != 0 &&
                std::string(old) != kMissing;
    old_ = old;
    WriteProfileStringA("windows", "device", device);
  }
  ~ScopedDefaultPrinter() {
    WriteProfileStringA("windows", "device", hadEntry_ ? old_.c_str() : nullptr);
  }
  ScopedDefaultPrinter(const ScopedDefaultPrinter&) = delete;
  ScopedDefaultPrinter& operator=(const ScopedDefaultPrinter&) = delete;

 private:
  static constexpr const char* kMissing = "<no device entry>";
  bool hadEntry_ = false;
  std::string old_;
};

}  // namespace tollwick
