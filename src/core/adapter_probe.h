#pragma once
// Network connections the user chose to time besides the Remote Access Service's: a mobile modem or
// a tethered phone is a network adapter of its own, known by its alias (UTF-16, as the system names
// it). The Win32 implementation asks the interface table (core/win32/network_adapters.h); tests
// answer from a table.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tollwick {

struct AdapterReading {
  bool up = false;             // its operational status is up
  std::string ipText;          // its IPv4 address, empty when it has none
  std::uint64_t received = 0;  // the interface's byte counters since it was made
  std::uint64_t sent = 0;
};

class AdapterProbe {
 public:
  virtual ~AdapterProbe() = default;
  // The reading of each adapter named, in the order given; nothing for one that is absent now.
  virtual std::vector<std::optional<AdapterReading>> Read(
      const std::vector<std::u16string>& aliases) = 0;
  // The text in the ANSI code page, when that holds every character of it.
  virtual std::optional<std::string> AnsiText(const std::u16string& text) = 0;
};

// The prefix of an account name encoded from an alias (IDNA's, for the same reason: an ASCII name
// that any IDN decoder turns back into the original).
constexpr const char* kEncodedAccountPrefix = "xn--";

// The account a network connection is billed to, and the name of its charge profile: the alias in
// the ANSI code page, as a phone-book entry's name is, or, when the code page cannot hold it (or it
// could be taken for an encoded one), "xn--" and the alias's Punycode. Each alias thus has one
// name, the same at every start, which no other alias has (a cut of a long name aside, as for
// phone-book entries).
std::string AdapterAccountName(AdapterProbe& probe, const std::u16string& alias);

}  // namespace tollwick
