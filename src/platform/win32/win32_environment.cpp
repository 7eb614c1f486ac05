#include "platform/win32/win32_environment.h"

#include <windows.h>
#include <mmsystem.h>

namespace tollwick {

std::uint32_t Win32Environment::TickCount() { return GetTickCount(); }

LocalTime Win32Environment::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.dayOfWeek = st.wDayOfWeek;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.milliseconds = st.wMilliseconds;
  return t;
}

void Win32Environment::UserName(char* buffer, std::uint32_t size) {
  // GetUserNameA may write into the buffer before it finds it too small; keep the caller's text then.
  char name[257];  // UNLEN + 1
  DWORD length = sizeof name;
  if (!GetUserNameA(name, &length) || length > size) return;
  CopyMemory(buffer, name, length);  // length counts the terminator
}

void Win32Environment::PlayExclamation() {
  PlaySoundA("Exclamation", nullptr, SND_ALIAS | SND_ASYNC);
}

bool Win32Environment::FormatCurrency(const char* number, char* out, int outChars) {
  return GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, number, nullptr, out, outChars) != 0;
}

void Win32Environment::CurrencySymbol(char* out, int outChars) {
  if (outChars <= 0) return;
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, out, outChars) != 0) return;
  // A buffer too small for the symbol: take what fits rather than leave it undefined.
  char symbol[32];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, symbol, sizeof symbol) != 0)
    lstrcpynA(out, symbol, outChars);
  else
    out[0] = '\0';
}

}  // namespace tollwick
