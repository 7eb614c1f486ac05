// The dialog field wrappers on a real dialog, built from a template in memory, with edit controls
// and a static label.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_environment.h"
#include "modal_script.h"
#include "platform/win32/win32_environment.h"
#include "text/field_text.h"
#include "text/money_text.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

constexpr int kEdit = 1001;
constexpr int kSecondEdit = 1002;
constexpr int kLabel = 1051;

// A DLGTEMPLATE with its items, laid out as the dialog manager reads it: WORD-aligned strings,
// each item starting on a DWORD boundary.
class DialogTemplate {
 public:
  DialogTemplate() {
    DLGTEMPLATE t = {};
    t.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    t.cx = 200;
    t.cy = 100;
    Append(&t, sizeof t);
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(L"Fields");
    Word(8);
    Text(L"MS Shell Dlg");
  }

  void Item(WORD atom, int id, DWORD style, short y) {
    Align(4);
    count_ = static_cast<WORD>(count_ + 1);
    DLGITEMTEMPLATE item = {};
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = 5;
    item.y = y;
    item.cx = 150;
    item.cy = 12;
    item.id = static_cast<WORD>(id);
    Append(&item, sizeof item);
    Word(0xFFFF);
    Word(atom);
    Text(L"");
    Word(0);  // no creation data
  }

  const DLGTEMPLATE* get() {
    reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = count_;
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  void Append(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Word(WORD w) { Append(&w, sizeof w); }
  void Text(const wchar_t* s) { Append(s, (std::wcslen(s) + 1) * sizeof(wchar_t)); }
  void Align(std::size_t n) {
    while (bytes_.size() % n != 0) bytes_.push_back(0);
  }

  std::vector<unsigned char> bytes_;
  WORD count_ = 0;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class DialogFields : public ::testing::Test {
 protected:
  void SetUp() override {
    tmpl_.Item(0x0081, kEdit, ES_AUTOHSCROLL | WS_BORDER, 5);        // EDIT
    tmpl_.Item(0x0081, kSecondEdit, ES_AUTOHSCROLL | WS_BORDER, 20);
    tmpl_.Item(0x0082, kLabel, SS_LEFT, 35);                          // STATIC
    dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl_.get(), nullptr,
                                         PlainDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }

  std::string Text(int id) { return ControlText(dialog_, id); }
  void Put(int id, const std::string& text) { SetDlgItemTextA(dialog_, id, text.c_str()); }

  DialogTemplate tmpl_;
  HWND dialog_ = nullptr;
};

TEST_F(DialogFields, MoneyAndNumberFieldsWriteTheirTextsAndReadBack) {
  SetMoneyField(dialog_, kEdit, 2.675f);
  EXPECT_EQ(Text(kEdit), "2.67");
  EXPECT_FLOAT_EQ(static_cast<float>(GetNumberField(dialog_, kEdit)), 2.67f);
  SetMoneyField(dialog_, kEdit, 12.0f);
  EXPECT_EQ(Text(kEdit), "12.00");
  SetMoneyField(dialog_, kEdit, -0.5f);
  EXPECT_EQ(Text(kEdit), "-0.50");

  SetNumberField(dialog_, kSecondEdit, 100.0f);
  EXPECT_EQ(Text(kSecondEdit), "100");
  SetNumberField(dialog_, kSecondEdit, 10.5f);
  EXPECT_EQ(Text(kSecondEdit), "10.5");
  EXPECT_DOUBLE_EQ(GetNumberField(dialog_, kSecondEdit), 10.5);
  EXPECT_EQ(Text(kEdit), "-0.50");  // each call addresses its own control
}

TEST_F(DialogFields, NumberFieldReadsWhatTheUserTyped) {
  Put(kEdit, "  0.06");
  EXPECT_DOUBLE_EQ(GetNumberField(dialog_, kEdit), 0.06);
  Put(kEdit, "abc");
  EXPECT_EQ(GetNumberField(dialog_, kEdit), 0.0);
  Put(kEdit, "1.5p");
  EXPECT_DOUBLE_EQ(GetNumberField(dialog_, kEdit), 1.5);
  Put(kEdit, "");
  EXPECT_EQ(GetNumberField(dialog_, kEdit), 0.0);
  EXPECT_EQ(GetNumberField(dialog_, 4242), 0.0);  // no such control
}

TEST_F(DialogFields, OnlyTheFirst99CharactersAreRead) {
  std::string digits(150, '1');
  Put(kEdit, digits);
  ASSERT_EQ(Text(kEdit), digits);  // the control holds it all
  EXPECT_DOUBLE_EQ(GetNumberField(dialog_, kEdit), std::strtod(digits.substr(0, 99).c_str(), nullptr));

  // "1:" then 97 zeros then "5": the cut drops the 5, leaving 1:00.
  std::string time = "1:" + std::string(97, '0') + "5";
  ASSERT_EQ(time.size(), 100u);
  Put(kSecondEdit, time);
  EXPECT_EQ(GetTimeField(dialog_, kSecondEdit), 0x0100);
  Put(kSecondEdit, time.substr(1));  // ":000...05" is 99 characters: read whole
  EXPECT_EQ(GetTimeField(dialog_, kSecondEdit), 0x0005);
}

TEST_F(DialogFields, TimeFieldsWriteHoursUnpaddedAndReadOrReject) {
  SetTimeField(dialog_, kEdit, 0x1200);
  EXPECT_EQ(Text(kEdit), "18:00");
  SetTimeField(dialog_, kEdit, 0x0805);
  EXPECT_EQ(Text(kEdit), "8:05");
  EXPECT_EQ(GetTimeField(dialog_, kEdit), 0x0805);
  SetTimeField(dialog_, kEdit, 0);
  EXPECT_EQ(Text(kEdit), "0:00");
  Put(kEdit, "23:59");
  EXPECT_EQ(GetTimeField(dialog_, kEdit), 5947);
  Put(kEdit, "24:00");
  EXPECT_EQ(GetTimeField(dialog_, kEdit), kInvalidTime);
  Put(kEdit, "1200");
  EXPECT_EQ(GetTimeField(dialog_, kEdit), kInvalidTime);
  Put(kEdit, "8:05 pm");
  EXPECT_EQ(GetTimeField(dialog_, kEdit), kInvalidTime);
}

TEST_F(DialogFields, CurrencyFieldShowsTheLocalesMoneyText) {
  SetCurrencyField(dialog_, kEdit, 12.345f);
  EXPECT_EQ(Text(kEdit), "\xA3" "12.35");
  Win32Environment env;
  char expected[kMoneyTextChars];
  MoneyText(env, -1.5f, expected);
  SetCurrencyField(dialog_, kEdit, -1.5f);
  EXPECT_EQ(Text(kEdit), expected);

  FakeEnvironment failing;
  failing.failFormatting = true;
  SetCurrencyField(dialog_, kEdit, 1.0f, failing);
  EXPECT_EQ(Text(kEdit), "");
}

TEST_F(DialogFields, CurrencyLabelPutsTheSymbolIntoTheFormat) {
  SetCurrencyLabel(dialog_, kLabel, "Daytime : %s");
  EXPECT_EQ(Text(kLabel), "Daytime : \xA3");
  SetCurrencyLabel(dialog_, kLabel, "%s");
  EXPECT_EQ(Text(kLabel), "\xA3");

  FakeEnvironment env;
  env.currencySymbol = "%s%n";  // a symbol is text, never a format
  SetCurrencyLabel(dialog_, kLabel, "Money: %s", env);
  EXPECT_EQ(Text(kLabel), "Money: %s%n");
  env.currencySymbol = "0123456789ABC";  // read into 10 characters: cut to 9
  SetCurrencyLabel(dialog_, kLabel, "Cost: %s", env);
  EXPECT_EQ(Text(kLabel), "Cost: 012345678");
}

}  // namespace
}  // namespace tollwick
