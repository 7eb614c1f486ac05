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

// Each kind's radio button and the one edit it enables.
struct KindControls {
  std::int32_t kind;
  int button;
  int edit;
};

constexpr KindControls kKinds[] = {
    {kTimeAlarm, IDC_ALARM_TIME, IDC_ALARM_MINUTES},
    {kMoneyAlarm, IDC_ALARM_MONEY_KIND, IDC_ALARM_MONEY},
    {kDataAlarm, IDC_ALARM_DATA_KIND, IDC_ALARM_MEGABYTES},
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
  const std::int32_t kind = AlarmKindOf(alarm.kind);
  for (const KindControls& shown : kKinds) {
    const bool on = shown.kind == kind;
    Check(shown.button, on);
    Enable(shown.edit, on);
    if (!on) SetDlgItemTextA(page, shown.edit, "");
  }
  for (const ActionBox& box : kActionBoxes) Check(box.id, AlarmActionOn(alarm, box.action));
  SetDlgItemTextA(page, IDC_ALARM_NAME, alarm.name);
  if (kind == kTimeAlarm) SetDlgItemInt(page, IDC_ALARM_MINUTES, static_cast<UINT>(alarm.minutes), FALSE);
  if (kind == kMoneyAlarm) SetMoneyField(IDC_ALARM_MONEY, alarm.money);
  if (kind == kDataAlarm) SetDlgItemInt(page, IDC_ALARM_MEGABYTES, static_cast<UINT>(alarm.megabytes), FALSE);
  // The slot then holds what the fields show, read back as an edit would be: a sum cut to two
  // decimals, the other kinds' values cleared. Otherwise an alarm could fire above a sum the user
  // cannot see.
  for (const int id : {IDC_ALARM_NAME, IDC_ALARM_MINUTES, IDC_ALARM_MONEY, IDC_ALARM_MEGABYTES}) {
    StoreEdit(id);
  }
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
    case IDC_ALARM_MEGABYTES:
      SetAlarmMegabytes(Selected(), GetDlgItemInt(page, id, nullptr, FALSE));
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
  for (const KindControls& chosen : kKinds) {
    if (chosen.button == id) {
      SetAlarmKind(Selected(), chosen.kind);
      ShowSlot();
      return;
    }
  }
  for (const ActionBox& box : kActionBoxes) {
    if (box.id == id) {
      SetAlarmAction(Selected(), box.action, Checked(id));
    }
  }
}

}  // namespace tollwick
