// The hidden main window under Wine with the RAS simulator: start-up on an empty registry, the tray
// icon and tip as connections come and go, the switches that decide what counts as a connection, the
// tray menu's Exit, the icon coming back when the task bar is re-created, and the shell left alone
// when a tick has nothing new to show.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/win32/connection_win32.h"
#include "core/win32/main_window.h"
#include "core/win32/program.h"
#include "handle_checks.h"
#include "modal_script.h"
#include "resources/resource.h"
#include "sim_connections.h"

namespace tollwick {
namespace {

struct NotifyCall {
  DWORD action;
  DWORD size;
  UINT id;
  UINT flags;
  UINT callback;
  bool hasIcon;
  HICON icon;
  std::string tip;
  std::string balloon;  // title, then text
};

std::vector<NotifyCall>* recorded = nullptr;

BOOL WINAPI RecordNotify(DWORD action, PNOTIFYICONDATAA data) {
  recorded->push_back(NotifyCall{action, data->cbSize, data->uID, data->uFlags,
                                 data->uCallbackMessage, data->hIcon != nullptr, data->hIcon,
                                 data->szTip, {}});
  if (data->uFlags & NIF_INFO) {
    recorded->back().balloon = std::string(data->szInfoTitle) + " | " + data->szInfo;
  }
  return TRUE;
}

void DeleteProgramKey(HKEY hive) { RegDeleteTreeA(hive, "Software\\Orvo\\Tollwick"); }

DWORD ReadDword(const char* subkey, const char* name, DWORD* type = nullptr) {
  std::string path = std::string("Software\\Orvo\\Tollwick") + (subkey[0] ? "\\" : "") + subkey;
  DWORD value = 0xFFFFFFFF;
  DWORD size = sizeof value;
  DWORD storedType = 0;
  RegGetValueA(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_ANY, &storedType, &value, &size);
  if (type != nullptr) *type = storedType;
  return value;
}

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteProgramKey(HKEY_LOCAL_MACHINE);
    DeleteProgramKey(HKEY_CURRENT_USER);  // else the program would keep its data there
    rassim::ResetState();
    recorded = &calls;
    program.desktop().trayNotify = RecordNotify;
  }

  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    UnregisterMainWindowClass(program.instance());
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    recorded = nullptr;
    rassim::ResetState();
  }

  void Start() {
    window = CreateMainWindow(program);
    ASSERT_NE(nullptr, window);
  }

  void Down() {
    rassim::SimState sim = rassim::LoadState();
    sim.connections.clear();
    ASSERT_TRUE(rassim::SaveState(sim));
  }

  void SetState(rassim::LinkState state) {
    rassim::SimState sim = rassim::LoadState();
    for (auto& connection : sim.connections) connection.state = state;
    ASSERT_TRUE(rassim::SaveState(sim));
  }

  void Tick() { SendMessageA(window, WM_TIMER, kTimerId, 0); }

  // Ticks until one calls the shell, for at most a few seconds of the real clock.
  bool TickUntilTheShellIsCalled() {
    const std::size_t before = calls.size();
    return PumpUntil([&] {
      Tick();
      return calls.size() > before;
    }, 3000);
  }

  MainWindow& Main() const { return *MainWindowOf(window); }

  std::vector<NotifyCall> calls;
  Program program{GetModuleHandleA(nullptr)};
  HWND window = nullptr;
};

TEST_F(MonitorTest, FirstStartStoresTheSwitchesAndShowsTheIdleIcon) {
  Start();
  DWORD type = 0;
  EXPECT_EQ(0u, ReadDword("", "ClockIcon", &type));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(1u, ReadDword("", "NoDCC", &type));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(0u, ReadDword("", "CheckStatus", &type));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ(0u, ReadDword(".Bill", nullptr));
  EXPECT_EQ(0u, ReadDword("CurCall", nullptr));
  EXPECT_EQ(0xFFFFFFFFu, ReadDword("", "WarnAllowance"));  // stored only once changed

  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(static_cast<DWORD>(NIM_ADD), calls[0].action);
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), calls[0].size);
  EXPECT_EQ(1000u, calls[0].id);
  EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), calls[0].flags);
  EXPECT_EQ(static_cast<UINT>(WM_APP + 100), calls[0].callback);
  EXPECT_NE(nullptr, calls[0].icon);
  EXPECT_EQ("Tollwick", calls[0].tip);
  EXPECT_EQ(IDI_IDLE, Main().tray().iconResource());
}

TEST_F(MonitorTest, TheTimerRunsEveryHalfSecond) {
  Start();
  BringUp("My ISP");
  // Let the real timer find the connection.
  EXPECT_TRUE(PumpUntil([&] { return Main().online(); }, 1500));
}

TEST_F(MonitorTest, ConnectionUpShowsTheOnlineTipAndDownBillsTheCall) {
  Start();
  BringUp("My ISP");
  Tick();
  ASSERT_TRUE(Main().online());
  ASSERT_TRUE(program.call().IsCallInProgress());
  // A new account runs on the .Default settings: the minimum charge of 0.05 from the first tick.
  EXPECT_EQ("Tollwick On - My ISP (IP:10.1.2.3) 0:0:0 - \xA3" "0.05", calls.back().tip);
  EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), calls.back().action);
  EXPECT_EQ(IDI_ONLINE, Main().tray().iconResource());
  EXPECT_EQ(1u, ReadDword("CurCall", nullptr));

  Down();
  Tick();
  EXPECT_FALSE(Main().online());
  EXPECT_EQ("Tollwick", calls.back().tip);
  EXPECT_EQ(IDI_IDLE, Main().tray().iconResource());
  EXPECT_EQ(1u, ReadDword(".Bill", nullptr));
  EXPECT_EQ(0u, ReadDword("CurCall", nullptr));
  ASSERT_EQ(1u, program.bill().size());
  EXPECT_STREQ("My ISP", program.bill().front().account);
}

TEST_F(MonitorTest, AnAllowanceUsedUpShowsOneBalloonAndLeavesTheIconAndTip) {
  // The account's own settings, one minute included: the first tick uses it up.
  for (const auto& [name, value] : {std::pair<const char*, DWORD>{"UseDefault", 0},
                                    std::pair<const char*, DWORD>{"IncludedMinutes", 1}}) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Orvo\\Tollwick\\My ISP", name, REG_DWORD,
                    &value, sizeof value);
  }
  Start();
  BringUp("My ISP");
  for (int i = 0; i < 5; ++i) Tick();
  std::vector<NotifyCall> balloons;
  for (const NotifyCall& call : calls) {
    if (!call.balloon.empty()) balloons.push_back(call);
  }
  ASSERT_EQ(1u, balloons.size());
  EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), balloons[0].action);
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE), balloons[0].size);
  EXPECT_EQ(static_cast<UINT>(NIF_INFO), balloons[0].flags);
  EXPECT_EQ(0u, balloons[0].balloon.find("My ISP: allowance used up | All 1 included minutes"))
      << balloons[0].balloon;
  EXPECT_NE(0xFFFFFFFFu, ReadDword("My ISP", "PlanWarned"));
}

TEST_F(MonitorTest, AnAddressThatIsNotADottedQuadShowsUnavailable) {
  Start();
  BringUp("No Address", rassim::LinkState::kConnected, "");
  Tick();
  ASSERT_TRUE(Main().online());
  EXPECT_EQ(0u, calls.back().tip.find("Tollwick On - No Address (IP:Unavailable) 0:0:0 - "))
      << calls.back().tip;
}

TEST_F(MonitorTest, LongTipsAreCutTo63Characters) {
  Start();
  BringUp(std::string(200, 'E'));
  Tick();
  ASSERT_TRUE(Main().online());
  EXPECT_EQ(63u, calls.back().tip.size());
  EXPECT_EQ("Tollwick On - " + std::string(49, 'E'), calls.back().tip);
}

TEST_F(MonitorTest, DirectCableConnectionCountsOnlyWithoutNoDcc) {
  Start();
  BringUp("Direct Cable Connection (COM1)");
  Tick();
  EXPECT_FALSE(Main().online());
  program.settings().noDcc = 0;
  Tick();
  EXPECT_TRUE(Main().online());
}

TEST_F(MonitorTest, CheckStatusWaitsUntilTheServiceReportsConnected) {
  Start();
  BringUp("Slow ISP", rassim::LinkState::kAuthenticating);
  program.settings().checkStatus = 1;
  Tick();
  EXPECT_FALSE(Main().online());
  SetState(rassim::LinkState::kConnected);
  Tick();
  EXPECT_TRUE(Main().online());

  // Without the switch a connection still on its way up counts at once.
  Down();
  Tick();
  program.settings().checkStatus = 0;
  BringUp("Slow ISP", rassim::LinkState::kConnecting);
  Tick();
  EXPECT_TRUE(Main().online());
}

TEST_F(MonitorTest, OnlyTheFirstListedConnectionIsTimed) {
  Start();
  BringUp("First");
  BringUp("Second");
  Tick();
  ASSERT_TRUE(Main().online());
  EXPECT_STREQ("First", program.call().CallProfile()->name);
}

TEST_F(MonitorTest, ExitRemovesTheIconAndEndsTheLoop) {
  Start();
  HMENU trayMenu = Main().trayMenu();
  SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_FALSE(IsMenu(trayMenu));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls.back().action);
  EXPECT_EQ(1000u, calls.back().id);
  MSG message;
  bool quit = false;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) quit = quit || message.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(MonitorTest, ExitDuringACallLeavesItForTheNextStart) {
  Start();
  BringUp("My ISP");
  Tick();
  ASSERT_TRUE(Main().online());
  SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(0u, ReadDword(".Bill", nullptr));
  EXPECT_EQ(1u, ReadDword("CurCall", nullptr));
}

TEST_F(MonitorTest, TheIconComesBackWhenTheTaskBarIsRecreated) {
  Start();
  BringUp("My ISP");
  Tick();
  std::string onlineTip = calls.back().tip;
  calls.clear();
  SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(static_cast<DWORD>(NIM_ADD), calls[0].action);
  EXPECT_EQ(onlineTip, calls[0].tip);
}

TEST_F(MonitorTest, AnAlarmFlashAlternatesTheAlarmIconOnOnlineTicks) {
  Start();
  FlashTrayIcon(program.flash());
  Tick();  // idle: the flash waits for an on-line tick
  EXPECT_EQ(5, program.flash().flashCount);
  BringUp("My ISP");
  std::vector<int> shown;
  for (int i = 0; i < 6; ++i) {
    Tick();
    shown.push_back(Main().tray().iconResource());
  }
  EXPECT_EQ((std::vector<int>{IDI_ALARM, IDI_ONLINE, IDI_ALARM, IDI_ONLINE, IDI_ALARM, IDI_ONLINE}),
            shown);
}

// Ticks come every 500 ms and the length moves once a second: a tick showing the same length as the
// tick before it has nothing new for the shell.
TEST_F(MonitorTest, ATickThatShowsTheSameLengthMakesNoShellCall) {
  Start();
  BringUp("My ISP");
  Tick();
  ASSERT_TRUE(Main().online());
  int shownSeconds = program.call().CallSeconds();
  int quiet = 0;
  for (int i = 0; i < 8; ++i) {
    std::size_t before = calls.size();
    int seconds = program.call().CallSeconds();  // what this tick's tip shows
    Tick();
    if (seconds == shownSeconds) {
      EXPECT_EQ(before, calls.size()) << "tick " << i;
      ++quiet;
    } else {
      ASSERT_EQ(before + 1, calls.size()) << "tick " << i;
      EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), calls.back().action);
    }
    shownSeconds = seconds;
  }
  EXPECT_GT(quiet, 0);  // ticks sent back to back mostly fall within one second
}

TEST_F(MonitorTest, TheClockFaceIsHandedOverAgainWhenOnlyTheTipChanges) {
  Start();
  program.settings().clockIcon = 1;
  BringUp("My ISP");
  Tick();
  ASSERT_TRUE(Main().online());
  HICON face = calls.back().icon;
  ASSERT_NE(nullptr, face);
  std::string firstTip = calls.back().tip;
  ASSERT_TRUE(TickUntilTheShellIsCalled());
  EXPECT_NE(firstTip, calls.back().tip);
  EXPECT_EQ(face, calls.back().icon);  // the same minute: the same face, not drawn again
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(face, &info));  // still alive: the shell may be handed it again
  DeleteObject(info.hbmMask);
}

// The probe on the simulated service: what it reports of the first listed connection, and that the
// state is asked for only on demand.
TEST_F(MonitorTest, TheProbeReportsTheFirstListedConnection) {
  struct Link {
    std::string entry;
    rassim::LinkState state;
    std::string ip = "10.1.2.3";
  };
  struct Case {
    const char* what;
    std::vector<Link> up;
    bool askState;
    bool listed;
    std::string entry;
    std::string ip;
    bool connected;
  };
  const std::string longest(256, 'L');
  const auto kConnected = rassim::LinkState::kConnected;
  const Case cases[] = {
      {"nothing up", {}, true, false, "", "", false},
      {"connected, state asked", {{"My ISP", kConnected}}, true, true, "My ISP", "10.1.2.3", true},
      {"connected, state not asked", {{"My ISP", kConnected}}, false, true, "My ISP", "10.1.2.3",
       false},
      // The address is known only once the connection is up.
      {"authenticating", {{"Slow", rassim::LinkState::kAuthenticating}}, true, true, "Slow", "",
       false},
      {"no IP projection", {{"Bare", kConnected, ""}}, true, true, "Bare", "", true},
      {"the longest entry name", {{longest, kConnected}}, true, true, longest, "10.1.2.3", true},
      {"two up", {{"First", kConnected}, {"Second", rassim::LinkState::kConnecting}}, true, true,
       "First", "10.1.2.3", true},
      {"two up, the first on its way", {{"First", rassim::LinkState::kConnecting}, {"Second", kConnected}},
       true, true, "First", "", false},
  };
  RasConnectionProbe probe;
  for (const Case& c : cases) {
    Down();
    for (const Link& link : c.up) BringUp(link.entry, link.state, link.ip);
    std::optional<ListedConnection> listed = probe.FirstConnection(c.askState);
    ASSERT_EQ(c.listed, listed.has_value()) << c.what;
    if (!listed) continue;
    EXPECT_EQ(c.entry, listed->entryName) << c.what;
    EXPECT_EQ(c.ip, listed->ipText) << c.what;
    EXPECT_EQ(c.connected, listed->connected) << c.what;
  }
}

bool IsLiveIcon(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  return true;
}

// Width and height of an icon's picture; 0 for none.
SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return SIZE{0, 0};
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  // A monochrome icon's mask holds the AND and XOR planes one above the other.
  return SIZE{mask.bmWidth, info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2};
}

// The notification area's icon size Windows uses: 16 pixels at 96 dots per inch, in proportion
// beyond. The test group that runs at 192 names that DPI in TOLLWICK_WINE_DPI.
int ExpectedTrayIconSize() {
  WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  if (const char* asked = std::getenv("TOLLWICK_WINE_DPI")) {
    EXPECT_EQ(std::atoi(asked), dpi);
  }
  return MulDiv(16, dpi, 96);
}

// The tray draws a clock face once for each length it shows, hands the same face over with every
// new tip and across a flash, destroys it once another length replaces it, and brings it back when
// the task bar is re-created. Every picture it hands over, face or resource, has the small-icon size
// of the screen's DPI.
TEST(TrayIconClockFace, IsDrawnOncePerLengthShown) {
  std::vector<NotifyCall> calls;
  recorded = &calls;
  const int size = ExpectedTrayIconSize();
  {
    TrayIcon tray(GetModuleHandleA(nullptr), nullptr, kTrayIconId, RecordNotify);
    tray.Add(IDI_IDLE, "Tollwick");
    struct Step {
      TrayLook look;
      int face;  // which face the shell must get: the same number, the same handle; 0 a resource
    };
    const Step steps[] = {
        {TrayLook::Clock(5, 0, "0:5:0"), 1},  {TrayLook::Clock(5, 0, "0:5:1"), 1},
        {TrayLook::Resource(IDI_ALARM, "0:5:1"), 0}, {TrayLook::Clock(5, 0, "0:5:2"), 1},
        {TrayLook::Resource(IDI_ONLINE, "0:5:2"), 0}, {TrayLook::Clock(6, 0, "0:6:0"), 2},
        {TrayLook::Clock(6, 0, "0:6:1"), 2},  {TrayLook::Clock(6, 1, "1:6:0"), 3},
    };
    EXPECT_EQ(size, IconSize(calls.back().icon).cx) << "the idle icon";
    std::vector<HICON> faces(4, nullptr);
    for (const Step& step : steps) {
      tray.Show(step.look);
      ASSERT_EQ(static_cast<DWORD>(NIM_MODIFY), calls.back().action);
      EXPECT_EQ(step.look.tip, calls.back().tip);
      HICON icon = calls.back().icon;
      ASSERT_NE(nullptr, icon) << step.look.tip;
      const SIZE shown = IconSize(icon);
      EXPECT_EQ(size, shown.cx) << step.look.tip;
      EXPECT_EQ(size, shown.cy) << step.look.tip;
      if (step.face == 0) continue;
      if (faces[step.face] == nullptr) faces[step.face] = icon;
      EXPECT_EQ(faces[step.face], icon) << step.look.tip;
    }
    EXPECT_NE(faces[1], faces[2]);
    EXPECT_NE(faces[2], faces[3]);
    EXPECT_FALSE(IsLiveIcon(faces[1]));  // replaced faces are destroyed
    EXPECT_FALSE(IsLiveIcon(faces[2]));
    EXPECT_TRUE(IsLiveIcon(faces[3]));   // the face shown stays

    tray.Restore();
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), calls.back().action);
    EXPECT_EQ(faces[3], calls.back().icon);
    EXPECT_EQ("1:6:0", calls.back().tip);
  }
  recorded = nullptr;
}

TEST_F(MonitorTest, TheTrayMenuIsTheMenusPopup) {
  Start();
  HMENU tray = Main().trayMenu();
  ASSERT_NE(nullptr, tray);
  EXPECT_EQ(static_cast<UINT>(IDM_CALLINFO), GetMenuItemID(tray, 0));
}

// Call information is the main window's own (see tray_dialogs_wine_test.cpp); Options and About
// come from the entry point, and a main window given none leaves their commands alone.
TEST_F(MonitorTest, TheOptionsCommandWithoutItsDialogDoesNothing) {
  Start();
  SendMessageA(window, WM_COMMAND, IDM_OPTIONS, 0);
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
}  // namespace tollwick
