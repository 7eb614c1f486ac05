#include "core/win32/misc_page.h"

#include <utility>

#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"
#include "resources/misc_page_ids.h"

namespace tollwick {
namespace {

UINT CheckState(bool on) { return on ? BST_CHECKED : BST_UNCHECKED; }

std::uint32_t Checked(HWND page, int id) {
  return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

}  // namespace

void MiscPage::Fill() {
  const HWND page = window();
  frame_ = 0;
  ShowPreview();
  const ProgramSettings& settings = subject_.settings;
  CheckDlgButton(page, IDC_MISC_NO_DCC, CheckState(settings.noDcc == 1));
  CheckDlgButton(page, IDC_MISC_CHECK_STATUS, CheckState(settings.checkStatus == 1));
  CheckDlgButton(page, IDC_MISC_NORMAL_ICON, CheckState(settings.clockIcon == 0));
  CheckDlgButton(page, IDC_MISC_CLOCK_ICON, CheckState(settings.clockIcon == 1));
  SetTimer(page, kClockPreviewTimerId, kClockPreviewPeriodMs, nullptr);
}

void MiscPage::ShowPreview() {
  // The new face is in the control before the old one goes, so it never shows a destroyed icon.
  ScopedIcon face = BuildClockIconForStatic(kClockIconSize, kClockIconSize, frame_, 0);
  SendDlgItemMessageA(window(), IDC_MISC_PREVIEW, STM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(face.get()));
  preview_ = std::move(face);
}

void MiscPage::Ok() {
  const HWND page = window();
  ProgramSettings& settings = subject_.settings;
  settings.clockIcon = Checked(page, IDC_MISC_CLOCK_ICON);
  settings.noDcc = Checked(page, IDC_MISC_NO_DCC);
  settings.checkStatus = Checked(page, IDC_MISC_CHECK_STATUS);
  SaveProgramSettings(subject_.store, settings);
}

bool MiscPage::Message(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kClockPreviewTimerId) return false;
      ShowPreview();
      frame_ = NextClockPreviewFrame(frame_);
      return true;
    case WM_DESTROY:
      KillTimer(window(), kClockPreviewTimerId);
      return true;
    default:
      return false;
  }
}

}  // namespace tollwick
