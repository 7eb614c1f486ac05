#pragma once
// The Misc page of the Options dialog: the program switches and the network connections also
// timed, stored only on OK, and a moving preview of the clock face the tray shows on line while
// "Clock icon" is chosen. The preview runs as long as the page lives, whether or not its tab is in
// front; the list of connections is asked for again each time the page is shown.

#include <windows.h>

#include <string>
#include <vector>

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
  void Activated() override;
  void Ok() override;
  void Timer(UINT_PTR id) override;

  // Lists the machine's adapters, then the chosen ones absent now, each checked when chosen.
  void ListAdapters();
  // Takes the list's checks into chosen_: an unchecked one leaves it, a newly checked one joins
  // at its end, so the order stays the order of choosing.
  void ReadChecks();

  // Shows the clock face of the current frame's length in the preview.
  void ShowPreview();

  Subject& subject_;
  ScopedIcon preview_;
  int frame_ = 0;
  std::vector<std::u16string> chosen_;  // edited until OK
  std::vector<std::u16string> listed_;  // the alias of each row of the list
};

}  // namespace tollwick
