#include "charging/win32/add_discount_dialog.h"

#include "charging/discount_presets.h"
#include "charging/win32/presets_menu.h"
#include "platform/win32/scoped_handles.h"
#include "resources/add_discount_ids.h"
#include "ui/win32/dialog.h"

namespace tollwick {
namespace {

constexpr int kModeButtons[] = {IDC_DISCOUNT_PERCENTAGE_MODE, IDC_DISCOUNT_TIME_FREE_MODE,
                                IDC_DISCOUNT_FREE_CALL_MODE};
constexpr int kDayBoxes[7] = {IDC_DISCOUNT_SUNDAY,   IDC_DISCOUNT_MONDAY,   IDC_DISCOUNT_TUESDAY,
                              IDC_DISCOUNT_WEDNESDAY, IDC_DISCOUNT_THURSDAY, IDC_DISCOUNT_FRIDAY,
                              IDC_DISCOUNT_SATURDAY};

struct AddDiscountSubject {
  Discount& record;
  const SettingsStore& store;
};

class AddDiscountDialog : public ModalDialog {
 public:
  using Subject = AddDiscountSubject;
  static constexpr int kTemplate = IDD_ADD_DISCOUNT;
  AddDiscountDialog(HWND window, Subject& subject) : ModalDialog(window), subject_(subject) {}

 private:
  void Fill() override {
    SendDlgItemMessageA(window(), IDC_DISCOUNT_NAME, EM_LIMITTEXT, kNameChars - 1, 0);
    ShowDiscount(subject_.record);
    RebuildPresetsMenu();
    UpdateEnabledStates();
  }

  // The radio buttons are not automatic: exactly one is checked, the one last chosen.
  void SelectMode(int button) {
    for (int id : kModeButtons) Check(id, false);
    Check(button, true);
  }

  void UpdateEnabledStates() {
    Enable(IDC_DISCOUNT_PERCENT, Checked(IDC_DISCOUNT_PERCENTAGE_MODE));
    Enable(IDC_DISCOUNT_FREE_MINS, Checked(IDC_DISCOUNT_TIME_FREE_MODE));
    const bool someTimes = Checked(IDC_DISCOUNT_SOME_TIMES);
    for (int id : kDayBoxes) Enable(id, someTimes);
    Enable(IDC_DISCOUNT_CERTAIN, someTimes);
    const bool certain = someTimes && Checked(IDC_DISCOUNT_CERTAIN);
    Enable(IDC_DISCOUNT_FROM, certain);
    Enable(IDC_DISCOUNT_TO, certain);
  }

  void ShowDiscount(const Discount& discount) {
    SetText(IDC_DISCOUNT_NAME, discount.name);
    SetNumberField(IDC_DISCOUNT_PERCENT, discount.percent);
    SetNumberField(IDC_DISCOUNT_FREE_MINS, discount.freeMins);
    SetTimeField(IDC_DISCOUNT_FROM, static_cast<PackedTime>(discount.from));
    SetTimeField(IDC_DISCOUNT_TO, static_cast<PackedTime>(discount.to));
    // Any mode other than time free or free call is evaluated as a percentage.
    const bool known = discount.mode == kTimeFree || discount.mode == kFreeCall;
    SelectMode(kModeButtons[known ? discount.mode : kPercentageDiscount]);
    Check(IDC_DISCOUNT_SOME_TIMES, discount.someTimes != 0);
    for (int day = 0; day < 7; ++day) Check(kDayBoxes[day], discount.days[day] != 0);
    Check(IDC_DISCOUNT_CERTAIN, discount.certain != 0);
  }

  void ReadDiscount(Discount& discount) const {
    const HWND dialog = window();
    char name[kNameChars] = "";
    GetDlgItemTextA(dialog, IDC_DISCOUNT_NAME, name, kNameChars);
    CopyBoundedText(discount.name, kNameChars, name);
    discount.percent = static_cast<float>(GetNumberField(IDC_DISCOUNT_PERCENT));
    discount.freeMins = static_cast<float>(GetNumberField(IDC_DISCOUNT_FREE_MINS));
    discount.from = GetTimeField(IDC_DISCOUNT_FROM);
    discount.to = GetTimeField(IDC_DISCOUNT_TO);
    discount.mode = Checked(IDC_DISCOUNT_FREE_CALL_MODE)  ? kFreeCall
                    : Checked(IDC_DISCOUNT_TIME_FREE_MODE) ? kTimeFree
                                                           : kPercentageDiscount;
    discount.someTimes = Checked(IDC_DISCOUNT_SOME_TIMES) ? 1 : 0;
    for (int day = 0; day < 7; ++day) discount.days[day] = Checked(kDayBoxes[day]) ? 1 : 0;
    discount.certain = Checked(IDC_DISCOUNT_CERTAIN) ? 1 : 0;
  }

  void RebuildPresetsMenu() {
    presets_.reset(CreatePopupMenu());
    FillPresetsMenu(presets_.get(), subject_.store, IDM_PRESET_FIRST);
  }

  void ShowPresetsMenu() const {
    RECT button;
    GetWindowRect(Control(IDC_DISCOUNT_PRESETS), &button);
    TrackPopupMenu(presets_.get(), 0, button.right, button.top, 0, window(), nullptr);
  }

  // Only a preset the menu offers: the grayed "No presets" item shares the first command, and a
  // command with no item behind it names no preset, so neither may load (and so create) one.
  void ChoosePreset(UINT command) {
    const UINT itemState = GetMenuState(presets_.get(), command, MF_BYCOMMAND);
    if (itemState == static_cast<UINT>(-1) || (itemState & (MF_GRAYED | MF_DISABLED)) != 0) return;
    Discount preset;
    GetMenuStringA(presets_.get(), command, preset.name, kNameChars, MF_BYCOMMAND);
    LoadPreset(subject_.store, preset);
    ShowDiscount(preset);
  }

  void SaveControlsAsPreset() {
    Discount preset;
    ReadDiscount(preset);
    SavePreset(subject_.store, preset);
    RebuildPresetsMenu();
  }

  bool Accept() override {
    ReadDiscount(subject_.record);
    return true;
  }

  void Command(int id, int /*code*/, HWND /*control*/) override {
    switch (id) {
      case IDC_DISCOUNT_PERCENTAGE_MODE:
      case IDC_DISCOUNT_TIME_FREE_MODE:
      case IDC_DISCOUNT_FREE_CALL_MODE:
        SelectMode(id);
        break;
      case IDC_DISCOUNT_PRESETS:
        ShowPresetsMenu();
        break;
      case IDC_DISCOUNT_SAVE_PRESET:
        SaveControlsAsPreset();
        break;
      default:
        if (id >= IDM_PRESET_FIRST && id <= IDM_PRESET_LAST) ChoosePreset(static_cast<UINT>(id));
        break;
    }
    UpdateEnabledStates();
  }

  Subject& subject_;
  ScopedMenu presets_;
};

}  // namespace

INT_PTR ShowAddDiscountDialog(HWND owner, Discount& discount, const SettingsStore& store) {
  AddDiscountSubject subject{discount, store};
  return RunModal<AddDiscountDialog>(owner, subject);
}

}  // namespace tollwick
