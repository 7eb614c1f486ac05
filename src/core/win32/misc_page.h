#pragma once
// The Misc page of the Options dialog: the program switches, stored only on OK, and a moving
// preview of the clock face the tray shows on line while "Clock icon" is chosen. The preview runs
// as long as the page lives, whether or not its tab is in front.

#include <windows.h>

#include "core/program_settings.h"
#include "platform/settings_store.h"
#include "platform/win32/scoped_handles.h"
#include "ui/win32/option_page.h"

namespace tollwick {

constexpr UINT_PTR kClockPreviewTimerId = 1000;
constexpr UINT kClockPreviewPeriodMs = 250;

struct MiscPageSubject {
  ProgramSettings& settings;
  const SettingsStore& store;
};

// Made with CreateOptionsPage<MiscPage>(frame, IDD_MISC_PAGE, subject) (option_page.h).
class MiscPage : public OptionPage {
 public:
  using Subject = MiscPageSubject;
  MiscPage(HWND window, Subject& subject) : OptionPage(window), subject_(subject) {}

 private:
  void Fill() override;
  void Ok() override;
  void Timer(UINT_PTR id) override;

  // Shows the clock face of the current frame's length in the preview.
  void ShowPreview();

  Subject& subject_;
  ScopedIcon preview_;
  int frame_ = 0;
};

}  // namespace tollwick
