#pragma once
// The machine's network adapters through the IP Helper: the ones a user may choose to time, and the
// state and byte counters of the chosen ones.

#include <cstdint>
#include <string>
#include <vector>

#include "core/adapter_probe.h"

namespace tollwick {

// The aliases of the adapters a user may choose, in the system's order: every interface but
// loopbacks, tunnels and the filter layers Windows stacks on adapters. One whole table query.
std::vector<std::u16string> ChoosableAdapterAliases();

// Asks each tick for the chosen adapters' own rows only (GetIfEntry2 by the interface's LUID), and
// for the whole table (GetIfTable2) only to find them: when the chosen list changes, when a row
// is gone or has another alias now, and once a second while a chosen adapter is absent, so one
// that is plugged in is found.
class Win32AdapterProbe : public AdapterProbe {
 public:
  std::vector<std::optional<AdapterReading>> Read(
      const std::vector<std::u16string>& aliases) override;
  std::optional<std::string> AnsiText(const std::u16string& text) override;

 private:
  struct Chosen {
    std::u16string alias;
    std::uint64_t luid = 0;  // 0: absent at the last look
    std::string ipText;      // asked for while the adapter is up and has none
  };
  void FindChosen();
  // The reading of one present adapter; false when its row is gone or names another alias.
  bool ReadRow(Chosen& chosen, AdapterReading* reading) const;

  std::vector<Chosen> chosen_;
  int readsSinceLook_ = 0;
};

}  // namespace tollwick
