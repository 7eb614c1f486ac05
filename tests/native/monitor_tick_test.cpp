// The monitor's timer tick without a window: a scripted Remote Access Service, a tray that records
// what it is asked to show, and the real call in progress on an in-memory registry and a hand-driven
// clock. Covers when a call starts and ends, the on-line tip, and that the tray is left alone when
// nothing it shows would change.

#include "core/monitor_tick.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bill_items.h"
#include "call_world.h"
#include "resources/resource.h"
#include "scripted_probe.h"

namespace tollwick {
namespace {

const std::string kTipStart = "Tollwick On - ";

class RecordingTray : public TrayView {
 public:
  RecordingTray() : shown_(TrayLook::Resource(IDI_IDLE, "Tollwick")) {}  // as added at start-up
  const TrayLook& Shown() const override { return shown_; }
  void Show(const TrayLook& look) override {
    shown_ = look;
    shows.push_back(look);
    callInProgressAtShow.push_back(callInProgress && callInProgress());
  }
  void Notify(const std::string& title, const std::string& text) override {
    notices.push_back(title + " | " + text);
  }
  std::vector<TrayLook> shows;
  std::vector<std::string> notices;
  std::vector<bool> callInProgressAtShow;
  std::function<bool()> callInProgress;

 private:
  TrayLook shown_;
};

class MonitorTickTest : public ::testing::Test, protected OwnCallWorld {
 protected:
  MonitorTickTest() {
    env.SetDate(2026, 12, 9);
    env.SetNow(3, 12, 0);
    env.tickCount = 10000;
    tray.callInProgress = [this] { return call.IsCallInProgress(); };
  }

  // One tick of the 500 ms timer, the given milliseconds after the last.
  void Tick(std::uint32_t afterMs = 500) {
    env.tickCount += afterMs;
    RunMonitorTick(monitor);
  }

  void Up(const std::string& entry, const std::string& ip = "10.1.2.3") {
    probe.listed = Listed(entry, ip);
  }
  void Down() { probe.listed.reset(); }

  struct AccountRecorder : BillListener {
    explicit AccountRecorder(const Bill& bill) { bill.Listen(*this); }
    void ItemAppended(const BillItem& item) override { accounts.push_back(item.account); }
    std::vector<std::string> accounts;
  } billed{bill};
  std::vector<std::string>& billedAccounts = billed.accounts;
  ScriptedProbe probe;
  RecordingTray tray;
  ProgramSettings settings;
  TrayFlash flash;
  PlanWarnings planWarnings{store};
  ScriptedAdapters adapters;
  bool online = false;
  ListedConnection timed;
  Monitor monitor{probe, adapters, tray, call, env, settings, flash, planWarnings, online, timed};
};

TEST(OnlineTip, FormatsLengthUnpaddedAndReplacesAnAddressThatIsNoDottedQuad) {
  struct Case {
    const char* ip;
    int hours, minutes, seconds;
    const char* tip;
  };
  const Case cases[] = {
      {"10.0.0.1", 0, 0, 0, "Tollwick On - My ISP (IP:10.0.0.1) 0:0:0 - \xA3" "0.05"},
      {"255.255.255.255", 1, 5, 7, "Tollwick On - My ISP (IP:255.255.255.255) 1:5:7 - \xA3" "0.05"},
      {"", 0, 12, 59, "Tollwick On - My ISP (IP:Unavailable) 0:12:59 - \xA3" "0.05"},
      {"1.2.3", 0, 0, 1, "Tollwick On - My ISP (IP:Unavailable) 0:0:1 - \xA3" "0.05"},
      {"1.2.3.4.5", 0, 0, 1, "Tollwick On - My ISP (IP:Unavailable) 0:0:1 - \xA3" "0.05"},
      {"1234.255.255.255", 0, 0, 1, "Tollwick On - My ISP (IP:Unavailable) 0:0:1 - \xA3" "0.05"},
      {"...", 10, 0, 0, "Tollwick On - My ISP (IP:...) 10:0:0 - \xA3" "0.05"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.tip, OnlineTip("My ISP", c.ip, c.hours, c.minutes, c.seconds, "\xA3" "0.05"))
        << c.ip;
  }
  // The longest entry name the service gives comes through whole; the tray does the cutting.
  std::string longName(256, 'N');
  EXPECT_EQ(kTipStart + longName + " (IP:10.0.0.1) 0:0:0 - x",
            OnlineTip(longName, "10.0.0.1", 0, 0, 0, "x"));
}

TEST(TrayLook, KeepsTheTipAsTheShellDoesAndComparesWhatIsShown) {
  struct Case {
    std::size_t length;
    std::size_t kept;
  };
  for (const Case& c : {Case{0, 0}, Case{62, 62}, Case{63, 63}, Case{64, 63}, Case{300, 63}}) {
    EXPECT_EQ(std::string(c.kept, 't'), TrayLook::Resource(IDI_ONLINE, std::string(c.length, 't').c_str()).tip)
        << c.length;
  }
  EXPECT_EQ("", TrayLook::Resource(IDI_IDLE, nullptr).tip);

  const std::string tip(63, 't');
  // A difference past the 63rd character cannot be seen.
  EXPECT_EQ(TrayLook::Resource(IDI_ONLINE, (tip + "1").c_str()),
            TrayLook::Resource(IDI_ONLINE, (tip + "2").c_str()));
  EXPECT_NE(TrayLook::Resource(IDI_ONLINE, "a"), TrayLook::Resource(IDI_ONLINE, "b"));
  EXPECT_NE(TrayLook::Resource(IDI_ONLINE, "a"), TrayLook::Resource(IDI_ALARM, "a"));
  EXPECT_NE(TrayLook::Resource(IDI_ONLINE, "a"), TrayLook::Clock(0, 0, "a"));
  EXPECT_EQ(TrayLook::Clock(5, 1, "a"), TrayLook::Clock(5, 1, "a"));
  EXPECT_NE(TrayLook::Clock(5, 1, "a"), TrayLook::Clock(6, 1, "a"));
  EXPECT_NE(TrayLook::Clock(5, 1, "a"), TrayLook::Clock(5, 2, "a"));
}

TEST_F(MonitorTickTest, ACallRunsFromTheFirstTickThatFindsAnActiveConnectionToTheFirstThatFindsNone) {
  const std::optional<ListedConnection> none;
  const ListedConnection isp = Listed("My ISP");
  const ListedConnection dialling = Listed("My ISP", "", false);
  const ListedConnection cable = Listed("Direct Cable Connection");
  struct Step {
    const char* what;
    std::optional<ListedConnection> listed;
    std::uint32_t checkStatus;
    std::uint32_t noDcc;
    bool online;
    std::size_t billed;
  };
  const Step steps[] = {
      {"idle", none, 0, 1, false, 0},
      {"appears", isp, 0, 1, true, 0},
      {"stays", isp, 0, 1, true, 0},
      {"drops", none, 0, 1, false, 1},
      {"stays down", none, 0, 1, false, 1},
      {"dialling, CheckStatus", dialling, 1, 1, false, 1},
      {"dialling, no CheckStatus", dialling, 0, 1, true, 1},
      {"still dialling, CheckStatus again", dialling, 1, 1, false, 2},
      {"connected, CheckStatus", isp, 1, 1, true, 2},
      {"drops again", none, 1, 1, false, 3},
      {"cable, NoDCC", cable, 0, 1, false, 3},
      {"cable, NoDCC off", cable, 0, 0, true, 3},
      {"cable, NoDCC back on", cable, 0, 1, false, 4},
  };
  std::size_t ticks = 0;
  for (const Step& step : steps) {
    probe.listed = step.listed;
    settings.checkStatus = step.checkStatus;
    settings.noDcc = step.noDcc;
    Tick();
    ++ticks;
    EXPECT_EQ(step.online, online) << step.what;
    EXPECT_EQ(step.online, call.IsCallInProgress()) << step.what;
    EXPECT_EQ(step.billed, billedAccounts.size()) << step.what;
    // One service query per tick, asking the state only under CheckStatus.
    ASSERT_EQ(ticks, probe.askedState.size()) << step.what;
    EXPECT_EQ(step.checkStatus == 1, probe.askedState.back()) << step.what;
  }
  EXPECT_EQ((std::vector<std::string>{"My ISP", "My ISP", "My ISP", "Direct Cable Connection"}),
            billedAccounts);
}

TEST_F(MonitorTickTest, TheServiceComesFirstThenTheChosenAdaptersInTheirStoredOrder) {
  const std::u16string phone = u"Phone", mobile = u"\u041C\u043E\u0431\u0438\u043B\u044C\u043D"
                                                  u"\u0430\u044F \u0441\u0435\u0442\u044C";
  const char* kMobile = "xn-- -2rb4ddwpvqf0bm8ig1b";  // "Мобильная сеть" in Punycode
  enum Link { kAbsent, kDown, kUp };
  struct Step {
    const char* what;
    std::vector<std::u16string> chosen;
    const char* service;         // the entry the service lists, or null
    Link phoneLink, mobileLink;
    const char* timed;           // the call's account after the tick, or null
    const char* billed;          // the account billed at the tick, or null
  };
  const Step steps[] = {
      {"nothing chosen", {}, nullptr, kUp, kUp, nullptr, nullptr},
      {"down and absent", {phone, mobile}, nullptr, kDown, kAbsent, nullptr, nullptr},
      {"the phone comes up", {phone, mobile}, nullptr, kUp, kAbsent, "Phone", nullptr},
      {"both up: the first stays", {phone, mobile}, nullptr, kUp, kUp, "Phone", nullptr},
      {"the phone goes down", {phone, mobile}, nullptr, kDown, kUp, kMobile, "Phone"},
      {"the phone back: first wins", {phone, mobile}, nullptr, kUp, kUp, "Phone", kMobile},
      {"the service lists one", {phone, mobile}, "My ISP", kUp, kUp, "My ISP", "Phone"},
      {"the service's goes on", {phone, mobile}, "My ISP", kUp, kDown, "My ISP", nullptr},
      {"the service's ends", {phone, mobile}, nullptr, kUp, kDown, "Phone", "My ISP"},
      {"the phone vanishes", {phone, mobile}, nullptr, kAbsent, kDown, nullptr, "Phone"},
      {"another order", {mobile, phone}, nullptr, kUp, kUp, kMobile, nullptr},
      {"none chosen any more", {}, nullptr, kUp, kUp, nullptr, kMobile},
  };
  for (const Step& step : steps) {
    settings.adapters = step.chosen;
    probe.listed.reset();
    if (step.service) probe.listed = Listed(step.service);
    adapters.adapters.clear();
    // Counters that grow by 1000 and 100 bytes (the phone) or 5000 and 500 a step.
    const std::uint64_t k = static_cast<std::uint64_t>(&step - steps);
    if (step.phoneLink) adapters.adapters[phone] = {step.phoneLink == kUp, "192.168.5.2", 1000 * k, 100 * k};
    if (step.mobileLink) adapters.adapters[mobile] = {step.mobileLink == kUp, "", 5000 * k, 500 * k};
    const std::size_t billed = billedAccounts.size();
    const int reads = adapters.reads;
    Tick(1001);  // a counted second, whose tick reads the traffic
    // Asked only when the service lists nothing and one is chosen.
    EXPECT_EQ(!step.service && !step.chosen.empty(), adapters.reads > reads) << step.what;
    EXPECT_EQ(std::string(step.timed ? step.timed : ""),
              call.IsCallInProgress() ? call.CallProfile()->name : "")
        << step.what;
    EXPECT_EQ(std::vector<std::string>(step.billed ? 1 : 0, step.billed ? step.billed : ""),
              std::vector<std::string>(billedAccounts.begin() + billed, billedAccounts.end()))
        << step.what;
    // The tip names the account and the adapter's address as for the service's connections.
    if (step.timed && std::string(step.timed) == "Phone") {
      EXPECT_EQ(0u, tray.Shown().tip.find(kTipStart + "Phone (IP:192.168.5.2)")) << step.what;
    }
  }
  // The first call, on the phone from its third step to its fifth, moved what its counters did.
  EXPECT_EQ(1000u, bill[0].volume.received);
  EXPECT_EQ(100u, bill[0].volume.sent);
}

TEST_F(MonitorTickTest, TheFirstTickShowsTheNewCallAndTheLastShowsIdleBeforeBilling) {
  Up("My ISP");
  Tick();
  ASSERT_EQ(1u, tray.shows.size());
  // A new account runs on the .Default settings: the minimum charge from the first tick.
  EXPECT_EQ(TrayLook::Resource(IDI_ONLINE, "Tollwick On - My ISP (IP:10.1.2.3) 0:0:0 - \xA3" "0.05"),
            tray.shows[0]);
  EXPECT_TRUE(tray.callInProgressAtShow[0]);  // started before the tip was made

  Down();
  Tick();
  ASSERT_EQ(2u, tray.shows.size());
  EXPECT_EQ(TrayLook::Resource(IDI_IDLE, "Tollwick"), tray.shows[1]);
  EXPECT_TRUE(tray.callInProgressAtShow[1]);  // the idle icon comes back before the call ends
  EXPECT_EQ(1u, billedAccounts.size());
}

TEST_F(MonitorTickTest, TheTrayChangesOnlyWhenTheTipsLengthMoves) {
  Up("My ISP");
  std::vector<std::string> lengths;
  std::vector<int> showTicks;
  for (int tick = 0; tick < 20; ++tick) {
    std::size_t before = tray.shows.size();
    Tick();
    if (tray.shows.size() == before) continue;
    showTicks.push_back(tick);
    const std::string& tip = tray.shows.back().tip;
    std::size_t from = tip.find(") ") + 2;
    lengths.push_back(tip.substr(from, tip.find(" - ", from) - from));
  }
  // The first second needs more than 1000 ms; from then one a second, shown on the tick after it
  // is counted. Twenty ticks, nine changes.
  EXPECT_EQ((std::vector<int>{0, 4, 6, 8, 10, 12, 14, 16, 18}), showTicks);
  EXPECT_EQ((std::vector<std::string>{"0:0:0", "0:0:1", "0:0:2", "0:0:3", "0:0:4", "0:0:5", "0:0:6",
                                      "0:0:7", "0:0:8"}),
            lengths);
}

TEST_F(MonitorTickTest, ATipCutBeforeItsLengthChangesTheTrayOnlyAtTheStart) {
  struct Case {
    std::size_t nameLength;
    std::size_t shows;  // over the first 20 ticks of the call
  };
  // "Tollwick On - " is 14 characters and " (IP:10.1.2.3) 0:0:" 19: past a name of 29 characters
  // the seconds, all that changes in the first minute, fall beyond the 63 the shell keeps.
  const Case cases[] = {{29, 9}, {30, 1}, {49, 1}, {256, 1}};
  for (const Case& c : cases) {
    tray.shows.clear();
    Up(std::string(c.nameLength, 'E'));
    for (int i = 0; i < 20; ++i) Tick();
    EXPECT_EQ(c.shows, tray.shows.size()) << c.nameLength;
    ASSERT_FALSE(tray.shows.empty());
    EXPECT_LE(tray.shows.back().tip.size(), 63u);
    Down();
    Tick();
  }
}

TEST_F(MonitorTickTest, ACallGoesOnUnderItsFirstEntryWhileTheTipFollowsTheListedName) {
  Up("First");
  Tick();
  Up("Second", "10.9.9.9");
  Tick();
  EXPECT_STREQ("First", call.CallProfile()->name);
  EXPECT_EQ(0u, tray.Shown().tip.find("Tollwick On - Second (IP:10.9.9.9) 0:0:0")) << tray.Shown().tip;
  EXPECT_TRUE(billedAccounts.empty());
}

TEST_F(MonitorTickTest, AnAlarmFlashChangesThePictureOnEveryFlashingTick) {
  FlashTrayIcon(flash);
  Tick();  // idle: the flash waits for an on-line tick
  EXPECT_TRUE(tray.shows.empty());
  EXPECT_EQ(5, flash.flashCount);
  Up("My ISP");
  for (int i = 0; i < 7; ++i) Tick(100);  // short ticks: the tip stays the same throughout
  std::vector<int> icons;
  for (const TrayLook& look : tray.shows) icons.push_back(look.iconResource);
  // The five flashing ticks each change the picture, the sixth ends on the on-line icon, and the
  // seventh has nothing new to show.
  EXPECT_EQ((std::vector<int>{IDI_ALARM, IDI_ONLINE, IDI_ALARM, IDI_ONLINE, IDI_ALARM, IDI_ONLINE}),
            icons);
  for (const TrayLook& look : tray.shows) EXPECT_EQ(tray.shows[0].tip, look.tip);
}

TEST_F(MonitorTickTest, TheClockFaceMovesOncePerMinuteWhileTheTipMovesEverySecond) {
  settings.clockIcon = 1;
  Up("My ISP");
  for (int i = 0; i < 2 * 130; ++i) Tick();
  std::vector<std::pair<int, int>> faces;  // (minutes, hours) each time the face changes
  std::size_t tips = 0;
  for (const TrayLook& look : tray.shows) {
    ASSERT_TRUE(look.clockFace);
    EXPECT_EQ(IDI_ONLINE, look.iconResource);
    std::pair<int, int> face{look.clockMinutes, look.clockHours};
    if (faces.empty() || faces.back() != face) faces.push_back(face);
    ++tips;
  }
  EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}}), faces);
  // One change per counted second (the first needs 1001 ms), never one without a new tip.
  EXPECT_EQ(129u, tips);
}

TEST_F(MonitorTickTest, SwitchingTheClockIconChangesThePictureOnTheNextTick) {
  Up("My ISP");
  Tick();
  settings.clockIcon = 1;
  Tick(100);
  ASSERT_EQ(2u, tray.shows.size());
  EXPECT_TRUE(tray.shows[1].clockFace);
  EXPECT_EQ(tray.shows[0].tip, tray.shows[1].tip);
  settings.clockIcon = 0;
  Tick(100);
  ASSERT_EQ(3u, tray.shows.size());
  EXPECT_EQ(TrayLook::Resource(IDI_ONLINE, tray.shows[0].tip.c_str()), tray.shows[2]);
}

TEST_F(MonitorTickTest, EachAllowanceThresholdIsToldOncePerPeriodAndAccountAcrossRestarts) {
  // 10 minutes included from the 1st; 7 used in December, 9 dated in January.
  const char* key = "Software\\Orvo\\Tollwick\\Work";
  registry.PutValue(kHkeyLocalMachine, key, "UseDefault", kRegDword, {0, 0, 0, 0});
  registry.PutValue(kHkeyLocalMachine, key, "IncludedMinutes", kRegDword, {10, 0, 0, 0});
  bill = Bill{CallItem(0, 0, 0, MakePackedTime(0, 7), {1, 12, 2026}, "ann", "Work"),
              CallItem(0, 0, 0, MakePackedTime(0, 9), {1, 1, 2027}, "ann", "Work")};
  const std::string near = "Work: allowance running out | 2 of 10 included minutes left in this "
                           "period, which ends on 31/12/2026.";
  const std::string out = "Work: allowance used up | All 10 included minutes of this period are "
                          "used. It ends on 31/12/2026; until then the account's rates apply.";
  PlanWarnings restarted{store};
  Monitor again{probe, adapters, tray, call, env, settings, flash, restarted, online, timed};
  struct Step {
    const char* what;
    const Monitor& monitor;
    int seconds;  // on line, then down
    std::vector<std::string> notices;
  } steps[] = {
      {"80% with the first minute", monitor, 100, {near}},
      {"100% in the third", monitor, 30, {near, out}},
      {"after a restart, nothing again", again, 200, {near, out}},
  };
  for (const Step& step : steps) {
    Up("Work");
    for (int tick = 0; tick < 2 * step.seconds; ++tick) {
      RunMonitorTick(step.monitor);
      env.tickCount += 500;
    }
    Down();
    RunMonitorTick(step.monitor);
    EXPECT_EQ(step.notices, tray.notices) << step.what;
  }
  // A new period re-arms both: 9 of January's minutes and the first of the call reach 100%.
  env.SetDate(2027, 1, 2);
  Up("Work");
  RunMonitorTick(again);
  ASSERT_EQ(3u, tray.notices.size());
  EXPECT_EQ(0u, tray.notices.back().find("Work: allowance used up | All 10 included minutes"));
}

}  // namespace
}  // namespace tollwick
