#include <cstdint>

#include "core/adapter_probe.h"
#include "platform/settings_store.h"

namespace tollwick {
namespace {

// RFC 3492's parameters.
constexpr std::uint32_t kBase = 36;
constexpr std::uint32_t kTMin = 1;
constexpr std::uint32_t kTMax = 26;
constexpr std::uint32_t kSkew = 38;
constexpr std::uint32_t kDamp = 700;
constexpr std::uint32_t kInitialBias = 72;
constexpr std::uint32_t kInitialN = 128;

std::vector<std::uint32_t> CodePoints(const std::u16string& text) {
  std::vector<std::uint32_t> points;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint32_t unit = text[i];
    const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pair) {
      points.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00u));
    } else {
      points.push_back(unit);  // a lone surrogate stays a value of its own
    }
  }
  return points;
}

std::uint64_t Adapt(std::uint64_t delta, std::uint64_t points, bool first) {
  delta = first ? delta / kDamp : delta / 2;
  delta += delta / points;
  std::uint64_t k = 0;
  while (delta > ((kBase - kTMin) * kTMax) / 2) {
    delta /= kBase - kTMin;
    k += kBase;
  }
  return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

char Digit(std::uint64_t d) { return static_cast<char>(d < 26 ? 'a' + d : '0' + (d - 26)); }

std::string Punycode(const std::vector<std::uint32_t>& input) {
  std::string output;
  for (std::uint32_t c : input) {
    if (c < 0x80) output.push_back(static_cast<char>(c));
  }
  const std::size_t basic = output.size();
  if (basic > 0) output.push_back('-');
  std::uint64_t n = kInitialN;
  std::uint64_t delta = 0;
  std::uint64_t bias = kInitialBias;
  for (std::size_t handled = basic; handled < input.size();) {
    std::uint64_t m = UINT64_MAX;
    for (std::uint32_t c : input) {
      if (c >= n && c < m) m = c;
    }
    delta += (m - n) * (handled + 1);
    n = m;
    for (std::uint32_t c : input) {
      if (c < n) ++delta;
      if (c != n) continue;
      std::uint64_t q = delta;
      for (std::uint64_t k = kBase;; k += kBase) {
        const std::uint64_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
        if (q < t) break;
        output.push_back(Digit(t + (q - t) % (kBase - t)));
        q = (q - t) / (kBase - t);
      }
      output.push_back(Digit(q));
      bias = Adapt(delta, handled + 1, handled == basic);
      delta = 0;
      ++handled;
    }
    ++delta;
    ++n;
  }
  return output;
}

bool LooksEncoded(const std::string& name) {
  const std::string prefix = kEncodedAccountPrefix;
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(name[i]) != FoldCase(prefix[i])) return false;
  }
  return true;
}

}  // namespace

std::string AdapterAccountName(AdapterProbe& probe, const std::u16string& alias) {
  std::optional<std::string> ansi = probe.AnsiText(alias);
  if (ansi && !LooksEncoded(*ansi)) return *ansi;
  return kEncodedAccountPrefix + Punycode(CodePoints(alias));
}

}  // namespace tollwick
