#pragma once
// The Alarms page of the Options dialog: one slot of the live alarm table at a time, chosen with the
// buttons "1" to "8". What the user types goes into the table at once, so the minute check sees it
// before the dialog is closed; OK stores the table, Cancel reloads it (and re-arms every alarm).

#include <windows.h>

#include "alarms/alarm_table.h"
#include "platform/environment.h"
#include "platform/settings_store.h"
#include "ui/win32/option_page.h"

namespace tollwick {

struct AlarmsPageSubject {
  AlarmTable& table;
  const SettingsStore& store;
  Environment& environment;
};

// Made with CreateOptionsPage<AlarmsPage>(frame, IDD_ALARMS_PAGE, subject) (option_page.h).
class AlarmsPage : public OptionPage {
 public:
  using Subject = AlarmsPageSubject;
  AlarmsPage(HWND window, Subject& subject)
      : OptionPage(window, subject.environment), subject_(subject) {}

 private:
  void Fill() override;
  void Ok() override;
  void Cancel() override;
  void Command(int id, int code, HWND control) override;

  // Puts the selected slot into the controls, then stores what they show back into it.
  void ShowSlot();
  // The edit `id`'s text into the selected slot, through that field's conversion.
  void StoreEdit(int id);
  Alarm& Selected() { return subject_.table.alarms[slot_]; }

  Subject& subject_;
  int slot_ = 0;
};

}  // namespace tollwick
