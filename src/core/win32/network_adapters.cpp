#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>

#include "core/win32/network_adapters.h"

#include <cstdio>
#include <cstring>

namespace tollwick {
namespace {

// The table is asked for again at most every this many reads (ticks) while a chosen adapter is
// absent: a second on the 500 ms timer.
constexpr int kReadsBetweenLooks = 2;

std::u16string AliasOf(const MIB_IF_ROW2& row) {
  const std::size_t length = wcsnlen(row.Alias, IF_MAX_STRING_SIZE + 1);
  return std::u16string(reinterpret_cast<const char16_t*>(row.Alias), length);
}

bool Choosable(const MIB_IF_ROW2& row) {
  return row.Type != IF_TYPE_SOFTWARE_LOOPBACK && row.Type != IF_TYPE_TUNNEL &&
         !row.InterfaceAndOperStatusFlags.FilterInterface && row.Alias[0] != L'\0';
}

// Calls visit for every choosable row of one table query.
template <typename Visit>
void ForEachChoosable(Visit visit) {
  MIB_IF_TABLE2* table = nullptr;
  if (GetIfTable2(&table) != NO_ERROR || table == nullptr) return;
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    if (Choosable(table->Table[i])) visit(table->Table[i]);
  }
  FreeMibTable(table);
}

// The first IPv4 address of the interface, as a dotted quad; empty when it has none.
std::string Ipv4Text(std::uint64_t luid) {
  MIB_UNICASTIPADDRESS_TABLE* table = nullptr;
  if (GetUnicastIpAddressTable(AF_INET, &table) != NO_ERROR || table == nullptr) return {};
  std::string text;
  for (ULONG i = 0; i < table->NumEntries && text.empty(); ++i) {
    const MIB_UNICASTIPADDRESS_ROW& row = table->Table[i];
    if (row.InterfaceLuid.Value != luid) continue;
    const auto* b = reinterpret_cast<const unsigned char*>(&row.Address.Ipv4.sin_addr);
    char quad[16];
    std::snprintf(quad, sizeof quad, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    text = quad;
  }
  FreeMibTable(table);
  return text;
}

}  // namespace

std::vector<std::u16string> ChoosableAdapterAliases() {
  std::vector<std::u16string> aliases;
  ForEachChoosable([&aliases](const MIB_IF_ROW2& row) { aliases.push_back(AliasOf(row)); });
  return aliases;
}

void Win32AdapterProbe::FindChosen() {
  readsSinceLook_ = 0;
  for (Chosen& chosen : chosen_) {
    chosen.luid = 0;
    chosen.ipText.clear();
  }
  ForEachChoosable([this](const MIB_IF_ROW2& row) {
    const std::u16string alias = AliasOf(row);
    for (Chosen& chosen : chosen_) {
      if (chosen.luid == 0 && chosen.alias == alias) chosen.luid = row.InterfaceLuid.Value;
    }
  });
}

bool Win32AdapterProbe::ReadRow(Chosen& chosen, AdapterReading* reading) const {
  MIB_IF_ROW2 row{};
  row.InterfaceLuid.Value = chosen.luid;
  if (GetIfEntry2(&row) != NO_ERROR || AliasOf(row) != chosen.alias) return false;
  reading->up = row.OperStatus == IfOperStatusUp;
  reading->received = row.InOctets;
  reading->sent = row.OutOctets;
  if (!reading->up) {
    chosen.ipText.clear();  // an address got after it comes up again may be another
  } else if (chosen.ipText.empty()) {
    chosen.ipText = Ipv4Text(chosen.luid);
  }
  reading->ipText = chosen.ipText;
  return true;
}

std::vector<std::optional<AdapterReading>> Win32AdapterProbe::Read(
    const std::vector<std::u16string>& aliases) {
  bool look = aliases.size() != chosen_.size();
  for (std::size_t i = 0; !look && i < aliases.size(); ++i) look = aliases[i] != chosen_[i].alias;
  if (look) {
    chosen_.clear();
    for (const std::u16string& alias : aliases) chosen_.push_back(Chosen{alias, 0, {}});
  }
  bool absent = false;
  for (const Chosen& chosen : chosen_) absent = absent || chosen.luid == 0;
  if (look || (absent && ++readsSinceLook_ >= kReadsBetweenLooks)) FindChosen();

  std::vector<std::optional<AdapterReading>> readings(chosen_.size());
  for (bool lookedAgain = false;;) {
    bool stale = false;
    for (std::size_t i = 0; i < chosen_.size(); ++i) {
      AdapterReading reading;
      readings[i].reset();
      if (chosen_[i].luid == 0) continue;
      if (ReadRow(chosen_[i], &reading)) {
        readings[i] = reading;
      } else {
        stale = true;
      }
    }
    // A row gone (or renamed) means the table changed: look once, then read again.
    if (!stale || lookedAgain) break;
    FindChosen();
    lookedAgain = true;
  }
  return readings;
}

std::optional<std::string> Win32AdapterProbe::AnsiText(const std::u16string& text) {
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  const int length = static_cast<int>(text.size());
  // A UTF-8 code page holds everything and takes no default character.
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int bytes = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr,
                                        utf8 ? nullptr : &usedDefault);
  if (bytes <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide, length, ansi.data(), bytes, nullptr,
                      utf8 ? nullptr : &usedDefault);
  if (usedDefault || ansi.find('\0') != std::string::npos) return std::nullopt;
  return ansi;
}

}  // namespace tollwick
