#pragma once
// The environment interface on the real system: the tick count, the local clock, the user name, the
// "Exclamation" sound and the user's currency settings.

#include "platform/environment.h"

namespace tollwick {

class Win32Environment : public Environment {
 public:
  std::uint32_t TickCount() override;
  LocalTime Now() override;
  void UserName(char* buffer, std::uint32_t size) override;
  void PlayExclamation() override;
  bool FormatCurrency(const char* number, char* out, int outChars) override;
  void CurrencySymbol(char* out, int outChars) override;
};

}  // namespace tollwick
