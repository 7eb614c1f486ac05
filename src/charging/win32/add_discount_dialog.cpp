#include "charging/win32/add_discount_dialog.h"

#include "charging/discount_presets.h"
#include "charging/win32/presets_menu.h"
#include "platform/win32/scoped_handles.h"
#include "resources/add_discount_ids.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

constexpr int kModeButtons[] = {IDC_DISCOUNT_PERCENTAGE_MODE, IDC_DISCOUNT_TIME_FREE_MODE,
                                IDC_DISCOUNT_FREE_CALL_MODE};
constexpr int kDayBoxes[7] = {IDC_DISCOUNT_SUNDAY,   IDC_DISCOUNT_MONDAY,   IDC_DISCOUNT_TUESDAY,
                              IDC_DISCOUNT_WEDNESDAY, IDC_DISCOUNT_THURSDAY, IDC_DISCOUNT_FRIDAY,
                              IDC_DISCOUNT_SATURDAY};

struct DialogState {
  Discount& record;
  const SettingsStore& store;
  ScopedMenu presets;
};

DialogState* StateOf(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

// The radio buttons are not automatic: exactly one is checked, the one last chosen.
void SelectMode(HWND dialog, int button) {
  for (int id : kModeButtons) Check(dialog, id, false);
  Check(dialog, button, true);
}

void UpdateEnabledStates(HWND dialog) {
  Enable(dialog, IDC_DISCOUNT_PERCENT, Checked(dialog, IDC_DISCOUNT_PERCENTAGE_MODE));
  Enable(dialog, IDC_DISCOUNT_FREE_MINS, Checked(dialog, IDC_DISCOUNT_TIME_FREE_MODE));
  const bool someTimes = Checked(dialog, IDC_DISCOUNT_SOME_TIMES);
  for (int id : kDayBoxes) Enable(dialog, id, someTimes);
  Enable(dialog, IDC_DISCOUNT_CERTAIN, someTimes);
  const bool certain = someTimes && Checked(dialog, IDC_DISCOUNT_CERTAIN);
  Enable(dialog, IDC_DISCOUNT_FROM, certain);
  Enable(dialog, IDC_DISCOUNT_TO, certain);
}

void ShowDiscount(HWND dialog, const Discount& discount) {
  SetDlgItemTextA(dialog, IDC_DISCOUNT_NAME, discount.name);
  SetNumberField(dialog, IDC_DISCOUNT_PERCENT, discount.percent);
  SetNumberField(dialog, IDC_DISCOUNT_FREE_MINS, discount.freeMins);
  SetTimeField(dialog, IDC_DISCOUNT_FROM, static_cast<PackedTime>(discount.from));
  SetTimeField(dialog, IDC_DISCOUNT_TO, static_cast<PackedTime>(discount.to));
  // Any mode other than time free or free call is evaluated as a percentage.
  const bool known = discount.mode == TimeFree || discount.mode == FreeCall;
  SelectMode(dialog, kModeButtons[known ? discount.mode : PercentageDiscount]);
  Check(dialog, IDC_DISCOUNT_SOME_TIMES, discount.someTimes != 0);
  for (int day = 0; day < 7; ++day) Check(dialog, kDayBoxes[day], discount.days[day] != 0);
  Check(dialog, IDC_DISCOUNT_CERTAIN, discount.certain != 0);
}

void ReadDiscount(HWND dialog, Discount& discount) {
  char name[kNameChars] = "";
  GetDlgItemTextA(dialog, IDC_DISCOUNT_NAME, name, kNameChars);
  CopyBoundedText(discount.name, kNameChars, name);
  discount.percent = static_cast<float>(GetNumberField(dialog, IDC_DISCOUNT_PERCENT));
  discount.freeMins = static_cast<float>(GetNumberField(dialog, IDC_DISCOUNT_FREE_MINS));
  discount.from = GetTimeField(dialog, IDC_DISCOUNT_FROM);
  discount.to = GetTimeField(dialog, IDC_DISCOUNT_TO);
  discount.mode = Checked(dialog, IDC_DISCOUNT_FREE_CALL_MODE)  ? FreeCall
                  : Checked(dialog, IDC_DISCOUNT_TIME_FREE_MODE) ? TimeFree
                                                                 : PercentageDiscount;
  discount.someTimes = Checked(dialog, IDC_DISCOUNT_SOME_TIMES) ? 1 : 0;
  for (int day = 0; day < 7; ++day) discount.days[day] = Checked(dialog, kDayBoxes[day]) ? 1 : 0;
  discount.certain = Checked(dialog, IDC_DISCOUNT_CERTAIN) ? 1 : 0;
}

void RebuildPresetsMenu(DialogState& state) {
  state.presets.reset(CreatePopupMenu());
  FillPresetsMenu(state.presets.get(), state.store, IDM_PRESET_FIRST);
}

void ShowPresetsMenu(HWND dialog, const DialogState& state) {
  RECT button;
  GetWindowRect(GetDlgItem(dialog, IDC_DISCOUNT_PRESETS), &button);
  TrackPopupMenu(state.presets.get(), 0, button.right, button.top, 0, dialog, nullptr);
}

// Only a preset the menu offers: the grayed "No presets" item shares the first command, and a
// command with no item behind it names no preset, so neither may load (and so create) one.
void ChoosePreset(HWND dialog, const DialogState& state, UINT command) {
  const UINT itemState = GetMenuState(state.presets.get(), command, MF_BYCOMMAND);
  if (itemState == static_cast<UINT>(-1) || (itemState & (MF_GRAYED | MF_DISABLED)) != 0) return;
  Discount preset;
  GetMenuStringA(state.presets.get(), command, preset.name, kNameChars, MF_BYCOMMAND);
  LoadPreset(state.store, preset);
  ShowDiscount(dialog, preset);
}

void SaveControlsAsPreset(HWND dialog, DialogState& state) {
  Discount preset;
  ReadDiscount(dialog, preset);
  SavePreset(state.store, preset);
  RebuildPresetsMenu(state);
}

void Command(HWND dialog, DialogState& state, UINT id) {
  switch (id) {
    case IDC_DISCOUNT_PERCENTAGE_MODE:
    case IDC_DISCOUNT_TIME_FREE_MODE:
    case IDC_DISCOUNT_FREE_CALL_MODE:
      SelectMode(dialog, static_cast<int>(id));
      break;
    case IDC_DISCOUNT_PRESETS:
      ShowPresetsMenu(dialog, state);
      break;
    case IDC_DISCOUNT_SAVE_PRESET:
      SaveControlsAsPreset(dialog, state);
      break;
    case IDOK:
      ReadDiscount(dialog, state.record);
      EndDialog(dialog, IDOK);
      break;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      break;
    default:
      if (id >= IDM_PRESET_FIRST && id <= IDM_PRESET_LAST) ChoosePreset(dialog, state, id);
      break;
  }
  UpdateEnabledStates(dialog);
}

INT_PTR CALLBACK AddDiscountProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto& state = *reinterpret_cast<DialogState*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    SendDlgItemMessageA(dialog, IDC_DISCOUNT_NAME, EM_LIMITTEXT, kNameChars - 1, 0);
    ShowDiscount(dialog, state.record);
    RebuildPresetsMenu(state);
    UpdateEnabledStates(dialog);
    return TRUE;
  }
  DialogState* state = StateOf(dialog);
  if (state == nullptr || message != WM_COMMAND) return FALSE;
  Command(dialog, *state, LOWORD(wParam));
  return TRUE;
}

}  // namespace

INT_PTR ShowAddDiscountDialog(HINSTANCE instance, HWND owner, Discount& discount,
                              const SettingsStore& store) {
  DialogState state{discount, store, ScopedMenu()};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADD_DISCOUNT), owner, AddDiscountProc,
                         reinterpret_cast<LPARAM>(&state));
}

}  // namespace tollwick
