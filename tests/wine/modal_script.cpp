#include "modal_script.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/scoped_handles.h"
#include "resources/resource.h"
#include "screen_bitmap.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

constexpr DWORD kShowLimitMs = 5000;

// What RunWhileModal and RunWithDialog wait for, run, and cancel afterwards.
struct Armed {
  std::function<bool()> shown;
  std::function<void()> script;
  std::function<void()> cancelOpen;
};

const Armed* pendingScript = nullptr;
DWORD scriptArmed = 0;

std::array<HWND, 3> OpenDialogs() {
  return {OpenSingleDialog(IDD_CALL_INFO), OpenSingleDialog(IDD_OPTIONS), OpenSingleDialog(IDD_ABOUT)};
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR timer, DWORD) {
  // The dialog's loop shows its dialog once its queue is first empty, which may come after this
  // timer; until then the timer keeps coming back, to the loop.
  if (pendingScript != nullptr && !pendingScript->shown() &&
      GetTickCount() - scriptArmed < kShowLimitMs) {
    return;
  }
  KillTimer(nullptr, timer);
  const Armed* armed = pendingScript;
  pendingScript = nullptr;
  if (armed == nullptr) return;
  armed->script();
  armed->cancelOpen();
}

void RunArmed(const Armed& armed, const std::function<void()>& open) {
  pendingScript = &armed;
  scriptArmed = GetTickCount();
  SetTimer(nullptr, 0, 10, RunPendingScript);
  open();
  pendingScript = nullptr;
}

HWND VisibleDialog(const char* caption) {
  HWND dialog = FindWindowA("#32770", caption);
  return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

std::vector<PendingDialog*> pendingDialogs;

void CALLBACK LookForDialogs(HWND, UINT, UINT_PTR timer, DWORD) {
  for (PendingDialog* p : pendingDialogs) {
    if (p->ran) continue;
    HWND dialog = p->owner != nullptr ? GetLastActivePopup(p->owner)
                                      : FindWindowA("#32770", p->caption.c_str());
    if (dialog == nullptr || dialog == p->owner || !IsWindowVisible(dialog)) continue;
    p->ran = true;
    KillTimer(nullptr, timer);
    p->action(dialog);
    return;
  }
}

struct MenuWatch {
  const std::function<void(HWND)>* whileShown;
  RECT* where;
  bool shown;
  DWORD start;
};
MenuWatch* menuWatch = nullptr;

void CALLBACK LookForMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  const bool shown = popup != nullptr && IsWindowVisible(popup);
  if (!shown && GetTickCount() - menuWatch->start < kShowLimitMs) return;
  KillTimer(nullptr, timer);
  if (shown) {
    menuWatch->shown = true;
    GetWindowRect(popup, menuWatch->where);
    (*menuWatch->whileShown)(popup);
  }
  EndMenu();
}

}  // namespace

bool WhileMenuShows(const std::function<void()>& open,
                    const std::function<void(HWND popup)>& whileShown, RECT& where) {
  MenuWatch watch{&whileShown, &where, false, GetTickCount()};
  menuWatch = &watch;
  SetTimer(nullptr, 0, 50, LookForMenu);
  open();  // returns when the menu closes
  menuWatch = nullptr;
  return watch.shown;
}

void WhenDialogOpens(PendingDialog& pending) {
  pendingDialogs.push_back(&pending);
  SetTimer(nullptr, 0, 30, LookForDialogs);
}

void ForgetPendingDialogs() { pendingDialogs.clear(); }

ExpectedBox::ExpectedBox(const char* caption)
    : pending{caption, [this](HWND box) {
                owner = GetWindow(box, GW_OWNER);
                text = ControlText(box, 0xFFFF);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
              }} {
  WhenDialogOpens(pending);
}

ExpectedBox::~ExpectedBox() {
  pendingDialogs.erase(std::remove(pendingDialogs.begin(), pendingDialogs.end(), &pending),
                       pendingDialogs.end());
}

void RunWhileModal(const std::function<void()>& open, const std::function<void()>& script) {
  const Armed armed{
      [] {
        const std::array<HWND, 3> open = OpenDialogs();
        return std::any_of(open.begin(), open.end(),
                           [](HWND dialog) { return dialog != nullptr && IsWindowVisible(dialog); });
      },
      script,
      [] {
        for (HWND open : OpenDialogs()) {
          if (open != nullptr) PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        }
      }};
  RunArmed(armed, open);
}

void RunWithDialog(const char* caption, const std::function<void()>& open,
                   const std::function<void(HWND)>& script) {
  const Armed armed{[caption] { return VisibleDialog(caption) != nullptr; },
                    [caption, &script] { script(VisibleDialog(caption)); },
                    [caption] {
                      if (HWND open = VisibleDialog(caption)) {
                        PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
                      }
                    }};
  RunArmed(armed, open);
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limitMs) return false;
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      // Back at once when a message comes; the short limit is for what no message announces.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  return true;
}

std::string ControlText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void Press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SaveScreenshot(HWND window, const char* name) {
  const char* folder = std::getenv("TOLLWICK_SCREENSHOT_DIR");
  if (folder == nullptr) return true;
  // A page in a hidden host shows only once both are shown.
  ShowWindow(GetAncestor(window, GA_ROOT), SW_SHOWNA);
  ShowWindow(window, SW_SHOWNA);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN |
                                             RDW_UPDATENOW);
  PumpUntil([] { return false; }, 300);  // let every control finish painting
  RECT area;
  GetWindowRect(window, &area);
  return SaveScreenshot(area, name);
}

bool SaveScreenshot(const RECT& area, const char* name) {
  const char* folder = std::getenv("TOLLWICK_SCREENSHOT_DIR");
  if (folder == nullptr) return true;
  return SaveScreenBitmap(area, (std::string(folder) + "\\" + name + ".bmp").c_str());
}

}  // namespace tollwick
