#include "core/win32/misc_page.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"
#include "core/win32/network_adapters.h"
#include "resources/misc_page_ids.h"

namespace tollwick {

void MiscPage::Fill() {
  frame_ = 0;
  ShowPreview();
  const ProgramSettings& settings = subject_.settings;
  Check(IDC_MISC_NO_DCC, settings.noDcc == 1);
  Check(IDC_MISC_CHECK_STATUS, settings.checkStatus == 1);
  Check(IDC_MISC_NORMAL_ICON, settings.clockIcon == 0);
  Check(IDC_MISC_CLOCK_ICON, settings.clockIcon == 1);
  Check(IDC_MISC_WARN_ALLOWANCE, settings.warnAllowance != 0);
  StartTimer(kClockPreviewTimerId, kClockPreviewPeriodMs);

  HWND list = GetDlgItem(window(), IDC_MISC_ADAPTERS);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  RECT client;
  GetClientRect(list, &client);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  chosen_ = settings.adapters;
  ListAdapters();
}

void MiscPage::Activated() {
  ReadChecks();
  FillScope filling(*this);
  ListAdapters();
}

void MiscPage::ListAdapters() {
  HWND list = GetDlgItem(window(), IDC_MISC_ADAPTERS);
  ListView_DeleteAllItems(list);
  listed_ = ChoosableAdapterAliases();
  const std::size_t present = listed_.size();
  for (const std::u16string& alias : chosen_) {
    if (std::find(listed_.begin(), listed_.begin() + static_cast<std::ptrdiff_t>(present), alias) ==
        listed_.begin() + static_cast<std::ptrdiff_t>(present)) {
      listed_.push_back(alias);
    }
  }
  for (std::size_t row = 0; row < listed_.size(); ++row) {
    std::u16string text = listed_[row];
    if (row >= present) text += u" (absent)";
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = reinterpret_cast<wchar_t*>(text.data());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const bool checked = std::find(chosen_.begin(), chosen_.end(), listed_[row]) != chosen_.end();
    ListView_SetCheckState(list, static_cast<int>(row), checked);
  }
}

void MiscPage::ReadChecks() {
  HWND list = GetDlgItem(window(), IDC_MISC_ADAPTERS);
  for (std::size_t row = 0; row < listed_.size(); ++row) {
    const bool checked = ListView_GetCheckState(list, static_cast<int>(row)) != FALSE;
    auto found = std::find(chosen_.begin(), chosen_.end(), listed_[row]);
    if (checked && found == chosen_.end()) chosen_.push_back(listed_[row]);
    if (!checked && found != chosen_.end()) chosen_.erase(found);
  }
}

void MiscPage::ShowPreview() {
  // The new face is in the control before the old one goes, so it never shows a destroyed icon.
  ScopedIcon face = BuildClockIconForStatic(kClockIconSize, kClockIconSize, frame_, 0);
  SendDlgItemMessageA(window(), IDC_MISC_PREVIEW, STM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(face.get()));
  preview_ = std::move(face);
}

void MiscPage::Ok() {
  ProgramSettings& settings = subject_.settings;
  settings.clockIcon = Checked(IDC_MISC_CLOCK_ICON) ? 1 : 0;
  settings.noDcc = Checked(IDC_MISC_NO_DCC) ? 1 : 0;
  settings.checkStatus = Checked(IDC_MISC_CHECK_STATUS) ? 1 : 0;
  settings.warnAllowance = Checked(IDC_MISC_WARN_ALLOWANCE) ? 1 : 0;
  ReadChecks();
  settings.adapters = chosen_;
  SaveProgramSettings(subject_.store, settings);
}

void MiscPage::Timer(UINT_PTR id) {
  if (id != kClockPreviewTimerId) return;
  ShowPreview();
  frame_ = NextClockPreviewFrame(frame_);
}

}  // namespace tollwick
