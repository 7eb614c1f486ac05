// The dialog base's field conversions on a real dialog: the Charge Rates template, whose edits and
// labels serve as any fields.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fake_environment.h"
#include "modal_script.h"
#include "platform/win32/win32_environment.h"
#include "resources/resource.h"
#include "resources/setup_page_ids.h"
#include "text/field_text.h"
#include "ui/win32/dialog.h"

namespace tollwick {
namespace {

constexpr int kEdit = IDC_RATES_DAY_RATE;
constexpr int kSecondEdit = IDC_RATES_EVENING_RATE;
constexpr int kLabel = IDC_RATES_DAY_LABEL;

// The base's conversions, open to the test.
class FieldsDialog : public Dialog {
 public:
  using Subject = Environment;
  FieldsDialog(HWND window, Environment& environment) : Dialog(window, environment) {}
  using Dialog::GetNumberField, Dialog::GetTimeField, Dialog::SetCurrencyField,
      Dialog::SetCurrencyLabel, Dialog::SetMoneyField, Dialog::SetNumberField, Dialog::SetTimeField;
};

class DialogFields : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = Open(environment_);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }

  // The dialog's object lives in its window data from WM_INITDIALOG until the window goes.
  HWND Open(Environment& environment) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CHARGE_RATES), nullptr,
                              DialogProc<FieldsDialog>, reinterpret_cast<LPARAM>(&environment));
  }
  FieldsDialog& F() {
    const LONG_PTR kept = GetWindowLongPtrA(dialog_, GWLP_USERDATA);
    return static_cast<FieldsDialog&>(*reinterpret_cast<Dialog*>(kept));
  }
  // The dialog again, over another environment.
  void Reopen(Environment& environment) {
    DestroyWindow(dialog_);
    dialog_ = Open(environment);
  }

  std::string Text(int id) { return ControlText(dialog_, id); }
  void Put(int id, const std::string& text) { SetDlgItemTextA(dialog_, id, text.c_str()); }

  Win32Environment environment_;
  FakeEnvironment fake_;
  HWND dialog_ = nullptr;
};

// What each text becomes is the text functions' (field_text_test.cpp): here, that each field
// reaches its own control and comes back from it.
TEST_F(DialogFields, EachFieldWritesItsControlAndReadsItBack) {
  F().SetMoneyField(kEdit, 2.675f);
  F().SetNumberField(kSecondEdit, 10.5f);
  EXPECT_EQ(Text(kEdit), "2.67");
  EXPECT_EQ(Text(kSecondEdit), "10.5");
  EXPECT_FLOAT_EQ(static_cast<float>(F().GetNumberField(kEdit)), 2.67f);
  EXPECT_DOUBLE_EQ(F().GetNumberField(kSecondEdit), 10.5);
  Put(kEdit, "  0.06");
  EXPECT_DOUBLE_EQ(F().GetNumberField(kEdit), 0.06);
  EXPECT_EQ(F().GetNumberField(4242), 0.0);  // no such control

  F().SetTimeField(kEdit, 0x0805);
  EXPECT_EQ(Text(kEdit), "8:05");
  EXPECT_EQ(F().GetTimeField(kEdit), 0x0805);
  Put(kEdit, "8:05 pm");
  EXPECT_EQ(F().GetTimeField(kEdit), kInvalidTime);
}

TEST_F(DialogFields, OnlyTheFirst99CharactersAreRead) {
  std::string digits(150, '1');
  Put(kEdit, digits);
  ASSERT_EQ(Text(kEdit), digits);  // the control holds it all
  EXPECT_DOUBLE_EQ(F().GetNumberField(kEdit), std::strtod(digits.substr(0, 99).c_str(), nullptr));

  // "1:" then 97 zeros then "5": the cut drops the 5, leaving 1:00.
  std::string time = "1:" + std::string(97, '0') + "5";
  ASSERT_EQ(time.size(), 100u);
  Put(kSecondEdit, time);
  EXPECT_EQ(F().GetTimeField(kSecondEdit), 0x0100);
  Put(kSecondEdit, time.substr(1));  // ":000...05" is 99 characters: read whole
  EXPECT_EQ(F().GetTimeField(kSecondEdit), 0x0005);
}

TEST_F(DialogFields, CurrencyFieldShowsTheLocalesMoneyText) {
  F().SetCurrencyField(kEdit, 12.345f);
  EXPECT_EQ(Text(kEdit), "\xA3" "12.35");

  fake_.failFormatting = true;
  Reopen(fake_);
  F().SetCurrencyField(kEdit, 1.0f);
  EXPECT_EQ(Text(kEdit), "");
}

TEST_F(DialogFields, CurrencyLabelPutsTheSymbolIntoTheFormat) {
  F().SetCurrencyLabel(kLabel, "Daytime : %s");
  EXPECT_EQ(Text(kLabel), "Daytime : \xA3");

  Reopen(fake_);
  fake_.currencySymbol = "%s%n";  // a symbol is text, never a format
  F().SetCurrencyLabel(kLabel, "Money: %s");
  EXPECT_EQ(Text(kLabel), "Money: %s%n");
  fake_.currencySymbol = "0123456789ABC";  // read into 10 characters: cut to 9
  F().SetCurrencyLabel(kLabel, "Cost: %s");
  EXPECT_EQ(Text(kLabel), "Cost: 012345678");
}

}  // namespace
}  // namespace tollwick
