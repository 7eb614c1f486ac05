#include "alarms/win32/alarms_page.h"

#include "alarms/alarm_slot_edit.h"
#include "resources/alarms_page_ids.h"

namespace tollwick {
namespace {

struct ActionBox {
  int id;
  AlarmAction action;
};

constexpr ActionBox kActionBoxes[] = {
    {IDC_ALARM_DISPLAY_MESSAGE, AlarmAction::kDisplayMessage},
    {IDC_ALARM_PLAY_SOUND, AlarmAction::kPlaySound},
    {IDC_ALARM_FLASH_TRAY_ICON, AlarmAction::kFlashTrayIcon},
    {IDC_ALARM_REPEAT, AlarmAction::kRepeat},
};

}  // namespace

void AlarmsPage::Fill() {
  SetCurrencyLabel(IDC_ALARM_MONEY_LABEL, "Money: %s");
  Check(IDC_ALARM_SLOT_1, true);
  slot_ = 0;
  ShowSlot();
}

void AlarmsPage::ShowSlot() {
  FillScope filling(*this);
  const HWND page = window();
  const Alarm& alarm = Selected();
  const bool timeAlarm = alarm.kind == kTimeAlarm;
  Enable(IDC_ALARM_MINUTES, timeAlarm);
  Enable(IDC_ALARM_MONEY, !timeAlarm);
  Check(IDC_ALARM_TIME, timeAlarm);
  Check(IDC_ALARM_MONEY_KIND, !timeAlarm);
  for (const ActionBox& box : kActionBoxes) Check(box.id, AlarmActionOn(alarm, box.action));
  SetDlgItemTextA(page, IDC_ALARM_NAME, alarm.name);
  if (timeAlarm) {
    SetDlgItemInt(page, IDC_ALARM_MINUTES, static_cast<UINT>(alarm.minutes), FALSE);
    SetDlgItemTextA(page, IDC_ALARM_MONEY, "");
  } else {
    SetDlgItemTextA(page, IDC_ALARM_MINUTES, "");
    SetMoneyField(IDC_ALARM_MONEY, alarm.money);
  }
  // The slot then holds what the fields show, read back as an edit would be: a sum cut to two
  // decimals, the other kind's value cleared. Otherwise an alarm could fire above a sum the user
  // cannot see.
  for (const int id : {IDC_ALARM_NAME, IDC_ALARM_MINUTES, IDC_ALARM_MONEY}) StoreEdit(id);
}

void AlarmsPage::StoreEdit(int id) {
  const HWND page = window();
  switch (id) {
    case IDC_ALARM_NAME: {
      char name[kNameChars] = "";
      const int length = GetDlgItemTextA(page, id, name, sizeof name);
      SetAlarmName(Selected(), std::string_view(name, static_cast<std::size_t>(length)));
      break;
    }
    case IDC_ALARM_MINUTES:
      SetAlarmMinutes(Selected(), GetDlgItemInt(page, id, nullptr, FALSE));
      break;
    case IDC_ALARM_MONEY:
      SetAlarmMoney(Selected(), GetNumberField(id));
      break;
    default:
      break;
  }
}

void AlarmsPage::Ok() {
  SaveAlarms(subject_.store, subject_.table);
}

void AlarmsPage::Cancel() {
  LoadAlarms(subject_.store, subject_.table);
}

void AlarmsPage::Command(int id, int code, HWND /*control*/) {
  // Edits are taken as they change, buttons as they are clicked; focus comings and goings are not
  // edits.
  if (code == EN_CHANGE) {
    StoreEdit(id);
    return;
  }
  if (code != BN_CLICKED) return;
  if (id >= IDC_ALARM_SLOT_1 && id <= IDC_ALARM_SLOT_8) {
    slot_ = id - IDC_ALARM_SLOT_1;
    ShowSlot();
    return;
  }
  switch (id) {
    case IDC_ALARM_TIME:
      SetAlarmKind(Selected(), kTimeAlarm);
      ShowSlot();
      return;
    case IDC_ALARM_MONEY_KIND:
      SetAlarmKind(Selected(), kMoneyAlarm);
      ShowSlot();
      return;
    default:
      break;
  }
  for (const ActionBox& box : kActionBoxes) {
    if (box.id == id) {
      SetAlarmAction(Selected(), box.action, Checked(id));
    }
  }
}

}  // namespace tollwick
