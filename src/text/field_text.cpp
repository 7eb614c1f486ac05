#include "text/field_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tollwick {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Accumulates decimal digits; beyond the cap the exact value no longer matters (it is out of range
// either way) and stopping there keeps a long run of digits from overflowing.
bool AccumulateDigits(const char* begin, const char* end, int* value) {
  constexpr int kCap = 1000;
  int v = 0;
  for (const char* p = begin; p != end; ++p) {
    if (!IsDigit(*p)) return false;
    if (v < kCap) v = v * 10 + (*p - '0');
  }
  *value = v;
  return true;
}

}  // namespace

double ParseNumberText(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  for (; IsDigit(*p); ++p) ++digits;
  if (*p == '.') {
    ++p;
    for (; IsDigit(*p); ++p) ++digits;
  }
  if (digits == 0) return 0.0;
  // An exponent counts only when it has digits: "2e" and "2e+" read as 2.
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (IsDigit(*q)) {
      while (IsDigit(*q)) ++q;
      p = q;
    }
  }
  char number[kFieldChars];
  std::size_t length = static_cast<std::size_t>(p - start);
  if (length >= sizeof number) length = sizeof number - 1;
  std::memcpy(number, start, length);
  number[length] = '\0';
  return std::strtod(number, nullptr);
}

void MoneyFieldText(float value, char out[kFieldChars]) {
  std::snprintf(out, kFieldChars, "%f", static_cast<double>(value));
  char* point = std::strrchr(out, '.');
  if (point == nullptr) {
    std::size_t length = std::strlen(out);
    std::snprintf(out + length, kFieldChars - length, ".00");
    return;
  }
  // Exactly two characters after the point; a missing or non-digit one becomes "0".
  bool ended = false;
  for (int i = 1; i <= 2; ++i) {
    if (point[i] == '\0') ended = true;
    if (ended || !IsDigit(point[i])) point[i] = '0';
  }
  point[3] = '\0';
}

void NumberFieldText(float value, char out[kFieldChars]) {
  std::snprintf(out, kFieldChars, "%f", static_cast<double>(value));
  std::size_t length = std::strlen(out);
  while (length > 0 && out[length - 1] == '0') out[--length] = '\0';
  if (length > 0 && out[length - 1] == '.') out[--length] = '\0';
}

std::int32_t ParseTimeText(const char* text) {
  const char* colon = std::strchr(text, ':');
  if (colon == nullptr) return kInvalidTime;
  int hours = 0;
  int minutes = 0;
  if (!AccumulateDigits(text, colon, &hours) || hours > 23) return kInvalidTime;
  if (!AccumulateDigits(colon + 1, colon + std::strlen(colon), &minutes) || minutes > 59)
    return kInvalidTime;
  return hours * 256 + minutes;
}

void CurrencyLabelText(const char* format, const char* symbol, char* out, std::size_t outChars) {
  if (outChars == 0) return;
  std::size_t n = 0;
  auto put = [&](const char* s, std::size_t count) {
    for (std::size_t i = 0; i < count && s[i] != '\0' && n + 1 < outChars; ++i) out[n++] = s[i];
  };
  const char* slot = std::strstr(format, "%s");
  if (slot == nullptr) {
    put(format, std::strlen(format));
  } else {
    put(format, static_cast<std::size_t>(slot - format));
    put(symbol, std::strlen(symbol));
    put(slot + 2, std::strlen(slot + 2));
  }
  out[n] = '\0';
}

}  // namespace tollwick
