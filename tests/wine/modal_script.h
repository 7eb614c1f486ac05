#pragma once
// Driving a modal dialog from a test: the test's steps run inside the dialog's own message loop,
// started by a thread timer, and poll for what they expect with a limit.

#include <windows.h>

#include <functional>
#include <string>

namespace tollwick {

// Calls `open`, which runs a modal dialog, and runs `script` once from inside its message loop.
// Afterwards, whatever the script left open of the tray menu's dialogs is cancelled, so a failed
// step cannot leave the test waiting on a dialog.
void RunWhileModal(const std::function<void()>& open, const std::function<void()>& script);

// An action to run once a visible dialog with this caption is up (a message box is one), from a
// thread timer that the dialog's own modal loop dispatches. One at a time per caption; they may nest.
// With an owner, the caption is not asked for: the window that owner shows over itself counts,
// such as a question a system dialog asks, whose caption differs from system to system.
struct PendingDialog {
  std::string caption;
  std::function<void(HWND)> action;
  bool ran = false;
  HWND owner = nullptr;
};
// Arms the action; it must stay alive until it ran or ForgetPendingDialogs.
void WhenDialogOpens(PendingDialog& pending);
void ForgetPendingDialogs();

// The message box with this caption that the next step raises: its text and owner, and OK pressed
// on it. Armed while it lives; a box is modal, so it has come and gone once the step that raised it returns.
struct ExpectedBox {
  explicit ExpectedBox(const char* caption = "Error!");
  ExpectedBox(const ExpectedBox&) = delete;
  ExpectedBox& operator=(const ExpectedBox&) = delete;
  ~ExpectedBox();  // disarmed, if it has not run
  std::string text;
  HWND owner = nullptr;
  PendingDialog pending;
};

// Calls `open`, which runs a modal dialog with this caption, and runs `script` on that dialog once
// it shows (null if it does not within a few seconds), from inside its message loop. The dialog is
// cancelled afterwards if the script left it open.
void RunWithDialog(const char* caption, const std::function<void()>& open,
                   const std::function<void(HWND)>& script);

// Calls `open`, which tracks a pop-up menu, and once the menu shows (within a few seconds) runs
// `whileShown` on its window from a thread timer that the menu's own loop dispatches, then closes
// the menu. False when no menu showed; `where` is the menu's window rectangle.
bool WhileMenuShows(const std::function<void()>& open,
                    const std::function<void(HWND popup)>& whileShown, RECT& where);

// Dispatches this thread's messages until `done` holds or `limitMs` has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000);

// The text of a dialog's control.
std::string ControlText(HWND dialog, int id);
// Clicks a dialog's button as its owner hears of it: the BN_CLICKED command, sent.
void Press(HWND dialog, int id);

// Shows the window (and the hidden host of a page) and saves it as it shows on the screen as
// <name>.bmp in the folder named by the environment variable TOLLWICK_SCREENSHOT_DIR, when it is
// set; nothing otherwise. False only when a picture was asked for and could not be written.
bool SaveScreenshot(HWND window, const char* name);
// The same for an area of the screen, as it shows now: a dialog with a popup menu beside it.
bool SaveScreenshot(const RECT& area, const char* name);

}  // namespace tollwick
