#include "text/win32/dialog_fields.h"

#include "platform/win32/win32_environment.h"
#include "text/field_text.h"
#include "text/money_text.h"

namespace tollwick {

namespace {

constexpr int kSymbolChars = 10;

Environment& SystemEnvironment() {
  static Win32Environment env;
  return env;
}

}  // namespace

double GetNumberField(HWND dialog, int id) {
  char text[kFieldChars] = {};
  GetDlgItemTextA(dialog, id, text, static_cast<int>(kFieldChars));
  return ParseNumberText(text);
}

void SetMoneyField(HWND dialog, int id, float value) {
  char text[kFieldChars];
  MoneyFieldText(value, text);
  SetDlgItemTextA(dialog, id, text);
}

void SetNumberField(HWND dialog, int id, float value) {
  char text[kFieldChars];
  NumberFieldText(value, text);
  SetDlgItemTextA(dialog, id, text);
}

void SetCurrencyField(HWND dialog, int id, float value, Environment& env) {
  char text[kMoneyTextChars];
  MoneyText(env, value, text);
  SetDlgItemTextA(dialog, id, text);
}

void SetCurrencyField(HWND dialog, int id, float value) {
  SetCurrencyField(dialog, id, value, SystemEnvironment());
}

std::int32_t GetTimeField(HWND dialog, int id) {
  char text[kFieldChars] = {};
  GetDlgItemTextA(dialog, id, text, static_cast<int>(kFieldChars));
  return ParseTimeText(text);
}

void SetTimeField(HWND dialog, int id, PackedTime time) {
  char text[kPackedTimeTextChars];
  PackedTimeText(time, text);
  SetDlgItemTextA(dialog, id, text);
}

void SetCurrencyLabel(HWND dialog, int id, const char* format, Environment& env) {
  char symbol[kSymbolChars] = {};
  env.CurrencySymbol(symbol, kSymbolChars);
  char text[kFieldChars];
  CurrencyLabelText(format, symbol, text, sizeof text);
  SetDlgItemTextA(dialog, id, text);
}

void SetCurrencyLabel(HWND dialog, int id, const char* format) {
  SetCurrencyLabel(dialog, id, format, SystemEnvironment());
}

}  // namespace tollwick
