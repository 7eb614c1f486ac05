// Start-up as the entry point runs it, under Wine with the RAS simulator: what the program tells the
// user when its data is kept per user, and that telling never holds up the tray icon, the timer or
// the timing of a call.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/win32/main_window.h"
#include "core/win32/program.h"
#include "modal_script.h"
#include "platform/win32/win32_registry.h"
#include "resources/resource.h"
#include "sim_connections.h"

namespace tollwick {
namespace {

constexpr const char* kProgramKey = "Software\\Orvo\\Tollwick";

// An ordinary user's view of the registry: HKEY_LOCAL_MACHINE can be read but not opened with full
// access.
class MachineReadOnlyRegistry : public Win32Registry {
 public:
  long CreateKey(RegKey parent, const char* path, RegKey* out) override {
    if (parent != kHkeyLocalMachine) return Win32Registry::CreateKey(parent, path, out);
    if (out != nullptr) *out = 0;
    return kRegAccessDenied;
  }
};

struct Box {
  std::string text;
  UINT type;
  bool mainWindowExisted;  // when the box came up
  bool trayIconAdded;
  bool callTimedWhileOpen;
};

// What the recorders below saw during one run.
struct Seen {
  std::vector<Box> boxes;
  int trayAdds = 0;
  bool insideBox = false;
  bool waitForCall = false;  // a connection is up: keep the box open until it is timed
};
Seen* current = nullptr;

BOOL WINAPI RecordNotify(DWORD action, PNOTIFYICONDATAA) {
  if (action == NIM_ADD) ++current->trayAdds;
  return TRUE;
}

// A message box runs a message loop of its own until OK is pressed; so does this, for as long as a
// connection that is up takes to be found (with a limit).
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR, UINT type) {
  current->insideBox = true;
  HWND main = FindWindowA(kMainWindowClass, nullptr);
  Box box{text, type, main != nullptr, current->trayAdds > 0, false};
  auto online = [main] { return main != nullptr && MainWindowOf(main)->online(); };
  PumpUntil([&] { return !current->waitForCall || online(); }, 3000);
  box.callTimedWhileOpen = online();
  current->boxes.push_back(box);
  current->insideBox = false;
  return IDOK;
}

// Ends the run from the program's own loop. A timer message comes only once no posted message
// waits, so by then the notice the window posted to itself at creation has been handled.
void CALLBACK EndRun(HWND, UINT, UINT_PTR timer, DWORD) {
  if (current->insideBox) return;
  HWND window = FindWindowA(kMainWindowClass, nullptr);
  if (window == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
}

void DeleteProgramKeys() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgramKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
}

bool KeyExists(HKEY hive, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hive, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

DWORD CallMarker(HKEY hive) {
  DWORD value = 0xFFFFFFFF;
  DWORD size = sizeof value;
  RegGetValueA(hive, "Software\\Orvo\\Tollwick\\CurCall", nullptr, RRF_RT_ANY, nullptr, &value,
               &size);
  return value;
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteProgramKeys();
    rassim::ResetState();
  }
  void TearDown() override {
    DeleteProgramKeys();
    rassim::ResetState();
  }

  // One run of the program from start-up to E&xit through the entry point's own loop.
  Seen RunProgram(Registry* registry, bool waitForCall = false) {
    Seen seen;
    seen.waitForCall = waitForCall;
    current = &seen;
    {
      Program program(GetModuleHandleA(nullptr), registry);
      program.desktop().trayNotify = RecordNotify;
      program.desktop().messageBox = RecordBox;
      SetTimer(nullptr, 0, 50, EndRun);
      EXPECT_EQ(0, RunMainWindow(program));
    }
    current = nullptr;
    return seen;
  }

  MachineReadOnlyRegistry ordinaryUser;
};

TEST_F(StartupTest, TheWarningComesOnceTheTrayIconAndTimerRunSoACallIsTimedMeanwhile) {
  BringUp("My ISP");
  Seen seen = RunProgram(&ordinaryUser, true);

  ASSERT_EQ(1u, seen.boxes.size());
  const Box& box = seen.boxes[0];
  EXPECT_EQ(0u, box.text.find("Tollwick cannot write its settings for all users")) << box.text;
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), box.type);
  EXPECT_TRUE(box.mainWindowExisted);
  EXPECT_TRUE(box.trayIconAdded);
  EXPECT_TRUE(box.callTimedWhileOpen);
  // The call went on in the user's own hive, and the machine's was never created.
  EXPECT_EQ(1u, CallMarker(HKEY_CURRENT_USER));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgramKey));
}

// Two runs each, with what the user is told on each: the per-user warning and the bill left in the
// machine's hive are each told once, in one box when both are due.
struct TellCase {
  const char* name;
  bool ordinaryUser;    // HKEY_LOCAL_MACHINE cannot be written
  bool userTree;        // the user's own tree exists before the first run
  DWORD machineItems;   // items of a bill stored in HKEY_LOCAL_MACHINE beforehand (0: no tree)
  std::vector<std::vector<std::string>> told;  // per run: the opening of each paragraph told
};

const char* const kWarning = "Tollwick cannot write";
const char* const kTwoItems = "A bill of 2 items is also stored under HKEY_LOCAL_MACHINE";

const TellCase kTellCases[] = {
    {"first run with rights", false, false, 0, {{}, {}}},
    {"first run without rights, machine bill", true, false, 2, {{kWarning, kTwoItems}, {}}},
    {"user data, run elevated, machine bill", false, true, 2, {{kTwoItems}, {}}},
};

TEST_F(StartupTest, EachNoticeIsToldOnce) {
  for (const TellCase& c : kTellCases) {
    SCOPED_TRACE(c.name);
    DeleteProgramKeys();
    HKEY key = nullptr;
    if (c.userTree) {
      RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr);
      RegCloseKey(key);
    }
    if (c.machineItems > 0) {
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Orvo\\Tollwick\\.Bill", 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
      RegSetValueExA(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.machineItems),
                     sizeof c.machineItems);
      RegCloseKey(key);
    }
    for (const std::vector<std::string>& expected : c.told) {
      Seen seen = RunProgram(c.ordinaryUser ? &ordinaryUser : nullptr);
      ASSERT_LE(seen.boxes.size(), 1u);
      std::vector<std::string> told;
      for (const char* opening : {kWarning, kTwoItems}) {
        if (!seen.boxes.empty() && seen.boxes[0].text.find(opening) != std::string::npos) {
          told.push_back(opening);
        }
      }
      EXPECT_EQ(expected, told);
    }
  }
}

}  // namespace
}  // namespace tollwick
