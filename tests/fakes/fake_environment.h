#pragma once
// An Environment for native tests: a settable tick count, local time and user name, a count of the
// alarm sounds played, and a currency formatter that behaves like GetCurrencyFormatA with United
// Kingdom settings ("£" as the code-page-1252 byte 0xA3 before the amount, two decimals, "," between
// thousands, a leading "-" for negative amounts). Formatting can be made to fail, and the symbol set.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/environment.h"

namespace tollwick {

class FakeEnvironment : public Environment {
 public:
  std::uint32_t tickCount = 0;
  LocalTime now;
  std::string userName = "tester";
  int soundsPlayed = 0;
  std::string currencySymbol = "\xA3";
  bool failFormatting = false;
  int formatCalls = 0;

  void SetDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    now.year = year;
    now.month = month;
    now.day = day;
  }
  // A weekday clock reading; dayOfWeek 0 is Sunday.
  void SetNow(std::uint16_t dayOfWeek, std::uint16_t hour, std::uint16_t minute,
              std::uint16_t second = 0) {
    now.dayOfWeek = dayOfWeek;
    now.hour = hour;
    now.minute = minute;
    now.second = second;
  }

  std::uint32_t TickCount() override { return tickCount; }
  LocalTime Now() override { return now; }

  // Like GetUserNameA: a buffer too small for the name and its terminator is left untouched.
  void UserName(char* buffer, std::uint32_t size) override {
    if (buffer == nullptr || userName.size() + 1 > size) return;
    std::memcpy(buffer, userName.c_str(), userName.size() + 1);
  }

  void PlayExclamation() override { ++soundsPlayed; }

  bool FormatCurrency(const char* number, char* out, int outChars) override {
    ++formatCalls;
    if (failFormatting || number == nullptr || out == nullptr || outChars <= 0) return false;
    std::string text;
    if (!FormatUk(number, &text)) return false;
    if (text.size() + 1 > static_cast<std::size_t>(outChars)) return false;  // like ERROR_INSUFFICIENT_BUFFER
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
  }

  // GetLocaleInfoA with a short buffer: the symbol cut to the buffer, terminator included.
  void CurrencySymbol(char* out, int outChars) override {
    if (out == nullptr || outChars <= 0) return;
    std::snprintf(out, static_cast<std::size_t>(outChars), "%s", currencySymbol.c_str());
  }

 private:
  // The number text GetCurrencyFormatA accepts: an optional "-", digits, optionally "." and digits.
  // Rounds the decimal text to two places, half away from zero, as the platform does.
  bool FormatUk(const char* number, std::string* out) const {
    const char* p = number;
    bool negative = false;
    if (*p == '-') {
      negative = true;
      ++p;
    }
    std::string whole;
    std::string fraction;
    while (*p >= '0' && *p <= '9') whole += *p++;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') fraction += *p++;
    }
    if (*p != '\0' || (whole.empty() && fraction.empty())) return false;
    if (whole.empty()) whole = "0";
    bool roundUp = fraction.size() > 2 && fraction[2] >= '5';
    fraction.resize(2, '0');
    // The two kept decimals and the whole part as one digit string, incremented when rounding up.
    std::string digits = whole + fraction;
    if (roundUp) {
      int i = static_cast<int>(digits.size()) - 1;
      while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
      if (i < 0)
        digits.insert(digits.begin(), '1');
      else
        ++digits[static_cast<std::size_t>(i)];
    }
    whole = digits.substr(0, digits.size() - 2);
    fraction = digits.substr(digits.size() - 2);
    std::size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
      grouped += whole[i];
    }
    *out = (negative ? "-" : "") + currencySymbol + grouped + "." + fraction;
    return true;
  }
};

}  // namespace tollwick
