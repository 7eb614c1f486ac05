// The Alarms page on its real template, driven through its window messages: what the user does
// reaches the live table at once, and so does what a shown slot shows; OK stores the table byte for
// byte, Cancel reloads it and re-arms every alarm.

#include "alarms/win32/alarms_page.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "page_host.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "resources/alarms_page_ids.h"

namespace tollwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encoded(const AlarmTable& table) {
  Bytes bytes(kAlarmListBytes);
  EncodeAlarmList(table, bytes.data());
  return bytes;
}

// A stored list with every slot in use and bytes after each name's terminator, as an older save
// may have left them: the page must write those back untouched.
Bytes StoredList() {
  Bytes list(kAlarmListBytes, 0);
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    std::uint8_t* at = list.data() + slot * kAlarmSlotBytes;
    std::memset(at, 'q', 100);
    const std::string name = "Alarm " + std::to_string(slot + 1);
    std::memcpy(at, name.c_str(), name.size() + 1);
    const bool money = slot % 2 == 1;
    at[kAlarmKindOffset] = money ? 1 : 0;
    // Each slot also holds a value of the other kind, and sums have a third decimal: showing a
    // slot clears the one and cuts the other, as its fields show them.
    at[kAlarmMinutesOffset] = static_cast<std::uint8_t>(money ? 7 : 5 * (slot + 1));
    const float sum = 1.5f * static_cast<float>(slot) + 0.005f;
    std::memcpy(at + kAlarmMoneyOffset, &sum, 4);
    at[kAlarmDisplayMessageOffset] = 1;
    at[kAlarmRepeatOffset] = money ? 1 : 0;
  }
  return list;
}

class AlarmsPageWine : public PageTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRootPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root_, nullptr),
              ERROR_SUCCESS);
    stored_ = StoredList();
    Store(stored_);
    LoadAlarms(store_, table_);
    OpenPage<AlarmsPage>(IDD_ALARMS_PAGE, subject_);
  }
  void TearDown() override {
    PageTest::TearDown();
    RegDeleteValueA(root_, kAlarmListValue);
    RegCloseKey(root_);
  }

  void Store(const Bytes& list) {
    ASSERT_EQ(RegSetValueExA(root_, kAlarmListValue, 0, REG_BINARY, list.data(),
                             static_cast<DWORD>(list.size())),
              ERROR_SUCCESS);
  }
  Bytes Stored() const {
    Bytes bytes(2 * kAlarmListBytes);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegQueryValueExA(root_, kAlarmListValue, nullptr, nullptr, bytes.data(), &size) !=
        ERROR_SUCCESS) {
      return {};
    }
    bytes.resize(size);
    return bytes;
  }
  // The stored list once the given slots have been shown: the hidden sum of a time alarm (even
  // slots) cleared, and for a money alarm the minutes cleared and the sum cut to two decimals.
  Bytes StoredAfterShowing(std::initializer_list<int> slots) const {
    AlarmTable shown;
    DecodeAlarmList(stored_.data(), shown);
    for (const int slot : slots) {
      Alarm& alarm = shown.alarms[slot];
      alarm.money = slot % 2 == 0 ? 0.0f : 1.5f * static_cast<float>(slot);
      if (slot % 2 == 1) alarm.minutes = 0;
    }
    return Encoded(shown);
  }

  void Type(int id, const char* text) { SetDlgItemTextA(page_, id, text); }
  void Close(WPARAM command) { SendMessageA(page_, WM_COMMAND, command, 0); }

  HKEY root_ = nullptr;
  Win32Registry registry_;
  SettingsStore store_{registry_};
  AlarmTable table_;
  Win32Environment environment_;
  AlarmsPageSubject subject_{table_, store_, environment_};
  Bytes stored_;
};

TEST_F(AlarmsPageWine, OpensOnSlotOneAndAShownSlotHoldsWhatItShows) {
  EXPECT_TRUE(Checked(IDC_ALARM_SLOT_1));
  EXPECT_EQ(Text(IDC_ALARM_MONEY_LABEL), "Money: \xA3");
  EXPECT_EQ(Text(IDC_ALARM_NAME), "Alarm 1");
  EXPECT_TRUE(Checked(IDC_ALARM_TIME));
  EXPECT_FALSE(Checked(IDC_ALARM_MONEY_KIND));
  EXPECT_EQ(Text(IDC_ALARM_MINUTES), "5");
  EXPECT_EQ(Text(IDC_ALARM_MONEY), "");
  EXPECT_TRUE(Enabled(IDC_ALARM_MINUTES));
  EXPECT_FALSE(Enabled(IDC_ALARM_MONEY));
  EXPECT_TRUE(Checked(IDC_ALARM_DISPLAY_MESSAGE));
  EXPECT_FALSE(Checked(IDC_ALARM_REPEAT));
  EXPECT_TRUE(SaveScreenshot(page_, "options-alarms"));

  Click(IDC_ALARM_SLOT_4);  // slot 3, a money alarm of 4.505
  EXPECT_FALSE(Checked(IDC_ALARM_SLOT_1));
  EXPECT_EQ(Text(IDC_ALARM_NAME), "Alarm 4");
  EXPECT_TRUE(Checked(IDC_ALARM_MONEY_KIND));
  EXPECT_EQ(Text(IDC_ALARM_MINUTES), "");
  EXPECT_EQ(Text(IDC_ALARM_MONEY), "4.50");
  EXPECT_FALSE(Enabled(IDC_ALARM_MINUTES));
  EXPECT_TRUE(Enabled(IDC_ALARM_MONEY));
  EXPECT_TRUE(Checked(IDC_ALARM_REPEAT));
  EXPECT_EQ(Encoded(table_), StoredAfterShowing({0, 3}));
  EXPECT_EQ(Stored(), stored_);
}

struct Edit {
  const char* name;
  int slotButton;
  int control;
  const char* typed;  // null: a click
};

TEST_F(AlarmsPageWine, EditsReachTheSelectedSlotAtOnce) {
  const Edit edits[] = {
      {"name", IDC_ALARM_SLOT_3, IDC_ALARM_NAME, "Half an hour"},
      {"minutes", IDC_ALARM_SLOT_3, IDC_ALARM_MINUTES, "10"},
      {"sum", IDC_ALARM_SLOT_2, IDC_ALARM_MONEY, "1.239"},
      {"not a number", IDC_ALARM_SLOT_6, IDC_ALARM_MONEY, "lots"},
      {"play sound", IDC_ALARM_SLOT_3, IDC_ALARM_PLAY_SOUND, nullptr},
      {"display message", IDC_ALARM_SLOT_8, IDC_ALARM_DISPLAY_MESSAGE, nullptr},
      {"flash", IDC_ALARM_SLOT_1, IDC_ALARM_FLASH_TRAY_ICON, nullptr},
      {"repeat", IDC_ALARM_SLOT_2, IDC_ALARM_REPEAT, nullptr},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.name);
    Click(e.slotButton);
    const int slot = e.slotButton - IDC_ALARM_SLOT_1;
    Alarm expected = table_.alarms[slot];
    switch (e.control) {
      case IDC_ALARM_NAME: std::strcpy(expected.name, e.typed); break;
      case IDC_ALARM_MINUTES: expected.minutes = 10; break;
      case IDC_ALARM_MONEY: expected.money = e.typed[0] == 'l' ? 0.0f : 1.239f; break;
      case IDC_ALARM_PLAY_SOUND: expected.playSound ^= 1; break;
      case IDC_ALARM_DISPLAY_MESSAGE: expected.displayMessage ^= 1; break;
      case IDC_ALARM_FLASH_TRAY_ICON: expected.flashTrayIcon ^= 1; break;
      default: expected.repeat ^= 1; break;
    }
    if (e.typed != nullptr) {
      Type(e.control, e.typed);
    } else {
      Click(e.control);
    }
    AlarmTable want = table_;
    want.alarms[slot] = expected;
    EXPECT_EQ(Encoded(table_), Encoded(want));
  }
  // A sum shows, and is kept, cut to two decimals when its slot is shown again.
  Click(IDC_ALARM_SLOT_1);
  Click(IDC_ALARM_SLOT_2);
  EXPECT_EQ(Text(IDC_ALARM_MONEY), "1.23");
  EXPECT_EQ(table_.alarms[1].money, 1.23f);
}

TEST_F(AlarmsPageWine, ErasingTheNameFreesTheSlotBeforeOk) {
  Type(IDC_ALARM_NAME, "");
  EXPECT_EQ(table_.alarms[0].name[0], '\0');
  EXPECT_EQ(Stored(), stored_);
}

TEST_F(AlarmsPageWine, SwitchingTheKindClearsTheOtherValue) {
  Click(IDC_ALARM_MONEY_KIND);  // slot 0: a time alarm of 5 minutes, with a hidden sum of 0.005
  EXPECT_EQ(table_.alarms[0].kind, kMoneyAlarm);
  EXPECT_EQ(table_.alarms[0].minutes, 0);
  EXPECT_EQ(table_.alarms[0].money, 0.0f);
  EXPECT_TRUE(Checked(IDC_ALARM_MONEY_KIND));
  EXPECT_FALSE(Checked(IDC_ALARM_TIME));
  EXPECT_EQ(Text(IDC_ALARM_MONEY), "0.00");
  EXPECT_TRUE(Enabled(IDC_ALARM_MONEY));
  Type(IDC_ALARM_MONEY, "2");
  EXPECT_EQ(table_.alarms[0].money, 2.0f);

  Click(IDC_ALARM_TIME);
  EXPECT_EQ(table_.alarms[0].kind, kTimeAlarm);
  EXPECT_EQ(table_.alarms[0].money, 0.0f);
  EXPECT_EQ(Text(IDC_ALARM_MINUTES), "0");
  EXPECT_EQ(Text(IDC_ALARM_MONEY), "");
  EXPECT_TRUE(Enabled(IDC_ALARM_MINUTES));

  Type(IDC_ALARM_MINUTES, "5");
  Click(IDC_ALARM_DATA_KIND);
  EXPECT_FALSE(Enabled(IDC_ALARM_MINUTES));
  Type(IDC_ALARM_MEGABYTES, "500");
  EXPECT_TRUE(SaveScreenshot(page_, "options-alarms-data"));
  Close(IDOK);  // the MB stored where a time alarm's minutes go
  Bytes expected = StoredAfterShowing({0});
  expected[kAlarmKindOffset] = kDataAlarm;
  expected[kAlarmMinutesOffset] = 500 & 0xFF;
  expected[kAlarmMinutesOffset + 1] = 500 >> 8;
  EXPECT_EQ(Stored(), expected);
}

TEST_F(AlarmsPageWine, OkStoresTheTableByteForByte) {
  Click(IDC_ALARM_SLOT_5);
  Type(IDC_ALARM_NAME, "Ten");
  Type(IDC_ALARM_MINUTES, "10");
  Click(IDC_ALARM_PLAY_SOUND);
  Close(IDOK);

  Bytes expected = StoredAfterShowing({0, 4});
  std::uint8_t* slot = expected.data() + 4 * kAlarmSlotBytes;
  std::memcpy(slot, "Ten", 4);  // the rest of the name's bytes stay as they were
  slot[kAlarmMinutesOffset] = 10;
  slot[kAlarmPlaySoundOffset] = 1;
  EXPECT_EQ(Stored(), expected);
}

TEST_F(AlarmsPageWine, CancelReloadsTheStoredTableAndRearmsEveryAlarm) {
  Type(IDC_ALARM_NAME, "");
  Click(IDC_ALARM_MONEY_KIND);
  table_.run[2].disabled = true;
  table_.run[5].minuteCount = 4;
  Close(IDCANCEL);
  EXPECT_EQ(Encoded(table_), stored_);
  for (const AlarmRunState& run : table_.run) {
    EXPECT_FALSE(run.disabled);
    EXPECT_EQ(run.minuteCount, 0);
  }
  EXPECT_EQ(Stored(), stored_);
}

}  // namespace
}  // namespace tollwick
