#include "core/win32/misc_page.h"

#include <utility>

#include "core/clock_icon.h"
#include "core/win32/clock_icon_win32.h"
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
  SaveProgramSettings(subject_.store, settings);
}

void MiscPage::Timer(UINT_PTR id) {
  if (id != kClockPreviewTimerId) return;
  ShowPreview();
  frame_ = NextClockPreviewFrame(frame_);
}

}  // namespace tollwick
