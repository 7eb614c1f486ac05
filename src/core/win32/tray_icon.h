#pragma once
// The program's one icon in the notification area: added at start-up, removed at exit, showing the
// idle icon, the on-line icon (a fixed picture or the clock face) or the alarm flash, and the tip.

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>

#include "core/tray_look.h"
#include "core/win32/clock_icon_win32.h"

namespace tollwick {

constexpr UINT kTrayIconId = 1000;
constexpr UINT kTrayCallbackMessage = WM_APP + 100;

class TrayIcon : public TrayView {
 public:
  // The shell call; tests put a recorder in its place.
  using NotifyFunction = BOOL(WINAPI*)(DWORD action, PNOTIFYICONDATAA data);

  // Its pictures are drawn at the notification area's icon size (TrayIconSize).
  TrayIcon(HINSTANCE instance, HWND window, UINT id, NotifyFunction notify);

  // One Shell_NotifyIconA call (NIM_ADD, NIM_MODIFY or NIM_DELETE) with a resource icon.
  BOOL Add(int iconResource, const char* tip);
  BOOL Modify(int iconResource, const char* tip);
  BOOL Delete(int iconResource, const char* tip);

  const TrayLook& Shown() const override { return shown_; }
  // NIM_MODIFY with the look's resource icon, or its clock face (see ClockFaceCache).
  void Show(const TrayLook& look) override;
  // NIM_MODIFY with NIF_INFO alone: an information balloon.
  void Notify(const std::string& title, const std::string& text) override;

  // The shell's task bar was re-created (Explorer restarted, or the scale changed): add the icon
  // again as it last was, at the icon size the task bar now has.
  void Restore();

  // The resource shown last (the on-line icon while the clock is shown); 0 once deleted.
  int iconResource() const { return added_ ? shown_.iconResource : 0; }

 private:
  BOOL Apply(DWORD action, const TrayLook& look);
  HICON ResourceIcon(int iconResource);

  HINSTANCE instance_;
  HWND window_;
  UINT id_;
  NotifyFunction notify_;
  int iconSize_;
  ClockFaceCache clockFace_;
  // Each loaded once for the icon size, kept until that changes.
  std::map<int, ScopedIcon> resourceIcons_;
  TrayLook shown_;
  bool added_ = false;  // added and not deleted since: what Restore brings back
};

}  // namespace tollwick
