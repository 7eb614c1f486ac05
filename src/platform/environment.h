#pragma once
// The rest of the operating system that the window-free logic needs: the tick count, the local clock,
// the user name, the alarm sound and the user's currency format. The Win32 implementation is in
// platform/win32; tests use tests/fakes/fake_environment.h.

#include <cstdint>

namespace tollwick {

// GetLocalTime's fields. dayOfWeek: 0 Sunday to 6 Saturday.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::uint32_t TickCount() = 0;  // GetTickCount
  virtual LocalTime Now() = 0;            // GetLocalTime
  // GetUserNameA into buffer (size in bytes); on failure the buffer is left as it was.
  virtual void UserName(char* buffer, std::uint32_t size) = 0;
  // PlaySoundA("Exclamation", NULL, SND_ALIAS | SND_ASYNC).
  virtual void PlayExclamation() = 0;
  // GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, number, NULL, out, outChars): false when it fails.
  virtual bool FormatCurrency(const char* number, char* out, int outChars) = 0;
  // GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, out, outChars).
  virtual void CurrencySymbol(char* out, int outChars) = 0;
};

}  // namespace tollwick
