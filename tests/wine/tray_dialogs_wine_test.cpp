// The tray menu's dialogs: Call information live once a second, the About box and its web-page
// button, one of each open at a time through the main window's commands, and what the program says
// about itself (manifest and version).

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/call_length_text.h"
#include "core/win32/about_box.h"
#include "core/win32/call_info_dialog.h"
#include "core/win32/main_window.h"
#include "core/win32/program.h"
#include "call_world.h"
#include "modal_script.h"
#include "options/win32/options_dialog.h"
#include "platform/packed_time.h"
#include "resources/about_ids.h"
#include "resources/call_info_ids.h"
#include "resources/resource.h"
#include "text/money_text.h"
#include "text/volume_text.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

constexpr const char* kProgramKey = "Software\\Orvo\\Tollwick";

std::string TimeText(PackedTime time) {
  char text[kPackedTimeTextChars];
  PackedTimeText(time, text);
  return text;
}

std::string Money(Environment& env, float value) {
  char text[kMoneyTextChars];
  MoneyText(env, value, text);
  return text;
}

std::string Caption(HWND window) {
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The texts of the dialog's static controls and buttons, top to bottom in template order.
std::vector<std::string> Labels(HWND dialog) {
  std::vector<std::string> labels;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) continue;
    if (lstrcmpiA(className, "Static") == 0 &&
        (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      continue;
    }
    char text[128] = "";
    GetWindowTextA(child, text, sizeof text);
    if (text[0] != '\0') labels.push_back(text);
  }
  return labels;
}

class TrayDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgramKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgramKey); }

  Program program{GetModuleHandleA(nullptr)};
};

// --- Call information ---------------------------------------------------------------------------

struct CallInfoFields {
  std::string account, user, start, end, cost, length, received, sent;
};

CallInfoFields Fields(HWND dialog) {
  return {ControlText(dialog, IDC_CALL_ACCOUNT), ControlText(dialog, IDC_CALL_USER),
          ControlText(dialog, IDC_CALL_START),   ControlText(dialog, IDC_CALL_END),
          ControlText(dialog, IDC_CALL_COST),    ControlText(dialog, IDC_CALL_LENGTH),
          ControlText(dialog, IDC_CALL_RECEIVED), ControlText(dialog, IDC_CALL_SENT)};
}


// What the dialog shows with no call; `now` is the time of day at one end or the other of reading.
bool ShowsNoCall(const CallInfoFields& f, Environment& env, const std::string& now) {
  return f.account.empty() && f.user.empty() && f.length.empty() && f.sent.empty() &&
         f.start == now &&
         f.end == now && f.cost == Money(env, 0.0f);
}

TEST_F(TrayDialogsTest, CallInformationWithoutACallShowsTheTimeNowAndNoCost) {
  RunWhileModal([&] { ShowCallInfoDialog(nullptr, program.call(), program.environment()); },
                [&] {
    HWND dialog = OpenSingleDialog(IDD_CALL_INFO);
    ASSERT_NE(nullptr, dialog);
    const std::string before = TimeText(LocalTimeOfDay(program.environment()));
    const CallInfoFields shown = Fields(dialog);
    const std::string after = TimeText(LocalTimeOfDay(program.environment()));
    EXPECT_TRUE(ShowsNoCall(shown, program.environment(), before) ||
                ShowsNoCall(shown, program.environment(), after))
        << shown.start << " " << shown.end << " " << shown.cost;
    SaveScreenshot(dialog, "call_information");
  });
  EXPECT_EQ(nullptr, OpenSingleDialog(IDD_CALL_INFO));
}

TEST_F(TrayDialogsTest, CallInformationFollowsACallThatStartsRunsAndEndsUnderIt) {
  program.LoadState();
  RunWhileModal([&] { ShowCallInfoDialog(nullptr, program.call(), program.environment()); },
                [&] {
    HWND dialog = OpenSingleDialog(IDD_CALL_INFO);
    ASSERT_NE(nullptr, dialog);
    CurrentCall& call = program.call();
    // The connection has moved 3 MB in and 512 KB out when the call starts; a megabyte in and
    // 1,000 bytes out a reading after that.
    ScriptedTraffic traffic;
    traffic.answers.push_back(TrafficReading{3u << 20, 512u << 10});
    for (std::uint64_t i = 1; i <= 8; ++i) {
      traffic.answers.push_back(TrafficReading{(3u << 20) + (i << 20), (512u << 10) + 1000 * i});
    }
    call.StartCall("Orvonet Dial", &traffic);
    // Only the dialog's own timer refreshes it: nothing here sends it a message.
    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog, IDC_CALL_ACCOUNT) == "Orvonet Dial"; }));
    EXPECT_EQ(call.CallUserName(), ControlText(dialog, IDC_CALL_USER));
    EXPECT_EQ(TimeText(call.CallStartTime()), ControlText(dialog, IDC_CALL_START));

    // Two seconds of the call, counted as the main window's timer would.
    EXPECT_TRUE(PumpUntil([&] {
      call.AccrueTick(&traffic);
      return call.CallSeconds() >= 2;
    }, 5000));
    const std::string length =
        FormatCallLength(call.CallHours(), call.CallMinutes(), call.CallSeconds());
    EXPECT_EQ("0:00:02", length);
    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog, IDC_CALL_LENGTH) == length; }, 2500));
    EXPECT_EQ(Money(program.environment(), call.CurrentCost()), ControlText(dialog, IDC_CALL_COST));
    char received[kVolumeTextChars];
    char sent[kVolumeTextChars];
    VolumeText(call.Volume().received, received);
    VolumeText(call.Volume().sent, sent);
    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog, IDC_CALL_RECEIVED) == received; }, 2500))
        << ControlText(dialog, IDC_CALL_RECEIVED) << " not " << received;
    EXPECT_EQ(sent, ControlText(dialog, IDC_CALL_SENT));
    // Counted from the call's start: a megabyte and 1,000 bytes for each reading since.
    EXPECT_GE(call.Volume().sent, 1000u);
    EXPECT_EQ(call.Volume().sent / 1000 << 20, call.Volume().received);
    SaveScreenshot(dialog, "call_information_during_a_call");

    call.EndCall();
    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog, IDC_CALL_ACCOUNT).empty(); }, 2500));
    EXPECT_EQ("", ControlText(dialog, IDC_CALL_LENGTH));
    EXPECT_EQ("", ControlText(dialog, IDC_CALL_RECEIVED));
    EXPECT_EQ(Money(program.environment(), 0.0f), ControlText(dialog, IDC_CALL_COST));
  });
}

// --- About box ----------------------------------------------------------------------------------

struct Opened {
  HWND owner;
  std::string verb, file;
  bool parameters, directory;
  INT show;
};
std::vector<Opened>* opened = nullptr;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
  opened->push_back({owner, verb, file, parameters != nullptr, directory != nullptr, show});
  return reinterpret_cast<HINSTANCE>(33);  // above 32: success
}

// The version the program's VERSIONINFO gives.
std::string ProductVersion() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeA(path, &ignored));
  if (data.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(data.size()), data.data())) {
    return "";
  }
  char* value = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(data.data(), "\\StringFileInfo\\080904E4\\ProductVersion",
                      reinterpret_cast<void**>(&value), &size)) {
    return "";
  }
  return value;
}

TEST_F(TrayDialogsTest, AboutNamesTheProductAndTheVersionOfItsVersionInformation) {
  RunWhileModal([&] { ShowAboutBox(nullptr, program.desktop().shellExecute); }, [&] {
    HWND box = OpenSingleDialog(IDD_ABOUT);
    ASSERT_NE(nullptr, box);
    const std::vector<std::string> labels = Labels(box);
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ("Version " + ProductVersion(), labels[1]);
    EXPECT_NE(0, GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    SaveScreenshot(box, "about");
  });
}

struct AboutCloseCase {
  const char* name;
  UINT message;
  WPARAM wParam;
};

const AboutCloseCase kAboutCloses[] = {
    {"OK", WM_COMMAND, IDOK}, {"Esc", WM_COMMAND, IDCANCEL}, {"close box", WM_CLOSE, 0}};

TEST_F(TrayDialogsTest, TheWebPageButtonOpensTheAddressItShowsAndLeavesTheBoxOpen) {
  std::vector<Opened> seen;
  opened = &seen;
  program.desktop().shellExecute = RecordShellExecute;
  for (const AboutCloseCase& c : kAboutCloses) {
    SCOPED_TRACE(c.name);
    seen.clear();
    bool closed = false;
    RunWhileModal([&] { ShowAboutBox(nullptr, program.desktop().shellExecute); }, [&] {
      HWND box = OpenSingleDialog(IDD_ABOUT);
      ASSERT_NE(nullptr, box);
      HWND button = GetDlgItem(box, IDC_ABOUT_WEB_PAGE);
      SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_WEB_PAGE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
      ASSERT_EQ(1u, seen.size());
      EXPECT_EQ(nullptr, seen[0].owner);
      EXPECT_EQ("open", seen[0].verb);
      EXPECT_EQ(ControlText(box, IDC_ABOUT_WEB_PAGE), seen[0].file);
      EXPECT_EQ(0u, seen[0].file.find("https://"));
      EXPECT_FALSE(seen[0].parameters);
      EXPECT_FALSE(seen[0].directory);
      EXPECT_EQ(SW_SHOWMAXIMIZED, seen[0].show);
      EXPECT_TRUE(IsWindow(box));
      EXPECT_EQ(box, OpenSingleDialog(IDD_ABOUT));
      SendMessageA(box, c.message, c.wParam, 0);
      closed = OpenSingleDialog(IDD_ABOUT) == nullptr;
    });
    // The box closed from the message sent, not from the script's clearing up after it.
    EXPECT_TRUE(closed);
    EXPECT_EQ(nullptr, OpenSingleDialog(IDD_ABOUT));
  }
  opened = nullptr;
}

// --- The tray menu's commands -------------------------------------------------------------------

BOOL WINAPI IgnoreNotify(DWORD, PNOTIFYICONDATAA) { return TRUE; }
int WINAPI IgnoreBox(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

struct CommandCase {
  const char* caption;
  int command;
  int dialog;  // its template
};

const CommandCase kCommands[] = {
    {"Call information", IDM_CALLINFO, IDD_CALL_INFO},
    {"Tollwick configuration", IDM_OPTIONS, IDD_OPTIONS},
    {"About Tollwick", IDM_ABOUT, IDD_ABOUT},
};

int TopLevelWindowsTitled(const char* caption) {
  struct Count {
    const char* caption;
    int found;
  } count{caption, 0};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* c = reinterpret_cast<Count*>(data);
        if (Caption(window) == c->caption) ++c->found;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.found;
}

TEST_F(TrayDialogsTest, EachCommandOpensItsDialogOwnedByTheMainWindowAndOnceOnly) {
  program.desktop().trayNotify = IgnoreNotify;
  program.desktop().messageBox = IgnoreBox;
  program.SetOptionsOpener(ShowOptionsDialog);
  HWND main = CreateMainWindow(program);
  ASSERT_NE(nullptr, main);
  HWND other = CreateWindowExA(0, "STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, program.instance(), nullptr);
  for (const CommandCase& c : kCommands) {
    SCOPED_TRACE(c.caption);
    RunWhileModal([&] { SendMessageA(main, WM_COMMAND, c.command, 0); }, [&] {
      HWND dialog = OpenSingleDialog(c.dialog);
      ASSERT_NE(nullptr, dialog);
      EXPECT_EQ(c.caption, Caption(dialog));
      EXPECT_EQ(main, GetWindow(dialog, GW_OWNER));
      SetForegroundWindow(other);
      ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 1000));
      SendMessageA(main, WM_COMMAND, c.command, 0);
      EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog; }, 1000));
      EXPECT_EQ(1, TopLevelWindowsTitled(c.caption));
      SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(nullptr, OpenSingleDialog(c.dialog));
  }
  // A double click on the icon is the first command of the menu.
  RunWhileModal([&] { SendMessageA(main, kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK); }, [&] {
    EXPECT_NE(nullptr, OpenSingleDialog(IDD_CALL_INFO));
  });
  DestroyWindow(other);
  DestroyWindow(main);
  // The main window ended the thread's message loop as it went; later tests run loops of their own.
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// --- What the program says about itself ---------------------------------------------------------

TEST(ProgramInfoTest, TheManifestBringsCommonControlsSixAndAsksForSystemDpiAwareness) {
  // The common controls in use are those of the side-by-side assembly the manifest asks for, not
  // the system folder's old ones.
  char path[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
  CharLowerA(path);
  EXPECT_NE(nullptr, std::strstr(path, "\\winsxs\\amd64_microsoft.windows.common-controls_"))
      << path;

  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(nullptr, found);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  const char* const kParts[] = {
      ">system</dpiAwareness>",
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
  };
  for (const char* part : kParts) {
    EXPECT_NE(std::string::npos, manifest.find(part)) << part;
  }
}

}  // namespace
}  // namespace tollwick
