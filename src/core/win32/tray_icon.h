#pragma once
// The program's one icon in the notification area: added at start-up, removed at exit, showing the
// idle icon, the on-line icon (a fixed picture or the clock face) or the alarm flash, and the tip.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/tray_flash.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {

constexpr UINT kTrayIconId = 1000;
constexpr UINT kTrayCallbackMessage = WM_APP + 100;
constexpr int kTipChars = 64;  // the shell's version-1 tip: 63 characters and the terminator

class TrayIcon {
 public:
  // The shell call; tests put a recorder in its place.
  using NotifyFunction = BOOL(WINAPI*)(DWORD action, PNOTIFYICONDATAA data);

  TrayIcon(HINSTANCE instance, HWND window, UINT id, NotifyFunction notify)
      : instance_(instance), window_(window), id_(id), notify_(notify) {}

  // One Shell_NotifyIconA call (NIM_ADD, NIM_MODIFY or NIM_DELETE).
  BOOL Command(DWORD action, HICON icon, const char* tip);

  // With an icon resource (LoadIconA): shared with the module, so never destroyed.
  BOOL Add(int iconResource, const char* tip);
  BOOL Modify(int iconResource, const char* tip);
  BOOL Delete(int iconResource, const char* tip);
  // An icon the program built (the clock face), destroyed once the shell has taken its copy.
  BOOL ModifyWithIcon(ScopedIcon icon, const char* tip);

  // The on-line picture: the clock face of the call's length, or icon 104.
  void ShowOnline(const char* tip, bool clockIcon, int minutes, int hours);
  // Every on-line tick: the on-line picture, or the next step of a pending alarm flash.
  void UpdateOnline(TrayFlash& flash, const char* tip, bool clockIcon, int minutes, int hours);

  // The shell's task bar was re-created (Explorer restarted): add the icon again as it last was.
  void Restore();

  const std::string& tip() const { return tip_; }
  int iconResource() const { return iconResource_; }

 private:
  HINSTANCE instance_;
  HWND window_;
  UINT id_;
  NotifyFunction notify_;
  std::string tip_;
  int iconResource_ = 0;  // the resource shown last, or the on-line icon while the clock is shown
};

}  // namespace tollwick
