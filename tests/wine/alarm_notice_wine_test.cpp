// The alarm notice as a real modal dialog under Wine: what it shows, that it stays on top without an
// owner, that its current state moves while it is open, and what OK and "Disable" do to the alarm.

#include "alarms/win32/alarm_notice.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "modal_script.h"
#include "platform/win32/win32_environment.h"
#include "resources/alarm_notice_ids.h"

namespace tollwick {
namespace {

constexpr const char* kNoticeTitle = "Tollwick Alarm!";

// Runs the given inspection once the notice is up, from a thread timer of the notice's own loop.
std::function<void(HWND)> whileOpen;
int inspections = 0;

void CALLBACK InspectNotice(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND notice = FindWindowA("#32770", kNoticeTitle);
  if (notice == nullptr || !IsWindowVisible(notice)) return;
  KillTimer(nullptr, timer);
  ++inspections;
  whileOpen(notice);
}

class AlarmNoticeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::strcpy(alarms.alarms[2].name, "Half an hour");
    alarms.alarms[2].kind = kTimeAlarm;
    alarms.alarms[2].minutes = 30;
    std::strcpy(alarms.alarms[5].name, "Big spender");
    alarms.alarms[5].kind = kMoneyAlarm;
    alarms.alarms[5].money = 2.5f;
    inspections = 0;
  }

  INT_PTR Open(int slot, float cost, PackedTime length, std::function<void(HWND)> inspect) {
    whileOpen = std::move(inspect);
    SetTimer(nullptr, 0, 50, InspectNotice);
    return ShowAlarmNotice(source, slot, cost, length);
  }

  AlarmTable alarms;
  Win32Environment environment;
  float liveCost = 1.0f;
  PackedTime liveLength = 0x0105;
  AlarmNoticeSource source{alarms, environment, [this] { return liveCost; },
                           [this] { return liveLength; }};
};

TEST_F(AlarmNoticeTest, ShowsTheAlarmItsReasonAndTheStateWhenItWentOff) {
  alarms.run[2].disabled = true;  // a non-repeating alarm is disabled as it goes off
  INT_PTR result = Open(2, 0.5f, 0x001F, [](HWND notice) {
    EXPECT_EQ("Half an hour", ControlText(notice, IDC_NOTICE_NAME));
    EXPECT_EQ("Once connection time has passed 30", ControlText(notice, IDC_NOTICE_REASON));
    EXPECT_EQ("0:31", ControlText(notice, IDC_NOTICE_FIRED_TIME));
    EXPECT_EQ("0.50", ControlText(notice, IDC_NOTICE_FIRED_COST));
    EXPECT_EQ("1:05", ControlText(notice, IDC_NOTICE_NOW_TIME));
    EXPECT_EQ("1.00", ControlText(notice, IDC_NOTICE_NOW_COST));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(notice, IDCANCEL))) << "nothing left to disable";
    EXPECT_TRUE(GetWindowLongA(notice, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(nullptr, GetWindow(notice, GW_OWNER));
    PostMessageA(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(notice, IDOK)));
  });
  EXPECT_EQ(1, inspections);
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(nullptr, FindWindowA("#32770", kNoticeTitle));
  EXPECT_TRUE(alarms.run[2].disabled);
}

TEST_F(AlarmNoticeTest, MoneyReasonUsesTheCurrencyTextAndDisableStopsTheAlarm) {
  INT_PTR result = Open(5, 2.75f, 0x0203, [](HWND notice) {
    std::string reason = ControlText(notice, IDC_NOTICE_REASON);
    EXPECT_EQ("Once text has reached \xA3" "2.50", reason);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(notice, IDCANCEL))) << "a repeating alarm can be disabled";
    EXPECT_EQ("Disable", ControlText(notice, IDCANCEL));
    PostMessageA(notice, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(notice, IDCANCEL)));
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_TRUE(alarms.run[5].disabled);
  EXPECT_FALSE(alarms.run[2].disabled) << "only the notice's own slot";
}

TEST_F(AlarmNoticeTest, CurrentStateFollowsTheCallEverySecond) {
  Open(5, 2.75f, 0x0203, [this](HWND notice) {
    EXPECT_EQ("1.00", ControlText(notice, IDC_NOTICE_NOW_COST));
    liveCost = 3.25f;
    liveLength = 0x0204;
    EXPECT_TRUE(PumpUntil([&] { return ControlText(notice, IDC_NOTICE_NOW_COST) == "3.25"; }, 3000));
    EXPECT_EQ("2:04", ControlText(notice, IDC_NOTICE_NOW_TIME));
    EXPECT_EQ("2.75", ControlText(notice, IDC_NOTICE_FIRED_COST)) << "the state at firing never moves";
    EXPECT_EQ("2:03", ControlText(notice, IDC_NOTICE_FIRED_TIME));
    EndDialog(notice, IDOK);
  });
  EXPECT_EQ(1, inspections);
}

}  // namespace
}  // namespace tollwick
