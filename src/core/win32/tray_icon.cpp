#include "core/win32/tray_icon.h"

#include "core/win32/clock_icon_win32.h"
#include "resources/resource.h"

namespace tollwick {

BOOL TrayIcon::Command(DWORD action, HICON icon, const char* tip) {
  NOTIFYICONDATAA data{};
  // The version-1 record: its 64-character tip is all this program uses.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = id_;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  if (tip != nullptr) lstrcpynA(data.szTip, tip, kTipChars);
  tip_ = data.szTip;
  return notify_(action, &data);
}

BOOL TrayIcon::Add(int iconResource, const char* tip) {
  iconResource_ = iconResource;
  return Command(NIM_ADD, LoadIconA(instance_, MAKEINTRESOURCEA(iconResource)), tip);
}

BOOL TrayIcon::Modify(int iconResource, const char* tip) {
  iconResource_ = iconResource;
  return Command(NIM_MODIFY, LoadIconA(instance_, MAKEINTRESOURCEA(iconResource)), tip);
}

BOOL TrayIcon::Delete(int iconResource, const char* tip) {
  iconResource_ = 0;  // nothing to restore any more
  return Command(NIM_DELETE, LoadIconA(instance_, MAKEINTRESOURCEA(iconResource)), tip);
}

BOOL TrayIcon::ModifyWithIcon(ScopedIcon icon, const char* tip) {
  iconResource_ = IDI_ONLINE;
  // The shell keeps its own copy; this one goes when the call returns.
  return Command(NIM_MODIFY, icon.get(), tip);
}

void TrayIcon::ShowOnline(const char* tip, bool clockIcon, int minutes, int hours) {
  if (clockIcon) {
    ModifyWithIcon(BuildClockIcon(instance_, 32, 32, minutes, hours), tip);
  } else {
    Modify(IDI_ONLINE, tip);
  }
}

void TrayIcon::UpdateOnline(TrayFlash& flash, const char* tip, bool clockIcon, int minutes,
                            int hours) {
  if (NextOnlinePicture(flash) == TrayPicture::Alarm) {
    Modify(IDI_ALARM, tip);
  } else {
    ShowOnline(tip, clockIcon, minutes, hours);
  }
}

void TrayIcon::Restore() {
  if (iconResource_ == 0) return;  // never added, or already deleted
  std::string tip = tip_;
  Add(iconResource_, tip.c_str());
}

}  // namespace tollwick
