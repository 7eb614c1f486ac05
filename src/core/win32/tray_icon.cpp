#include "core/win32/tray_icon.h"

#include "core/clock_icon.h"

namespace tollwick {

BOOL TrayIcon::Apply(DWORD action, const TrayLook& look) {
  shown_ = look;
  NOTIFYICONDATAA data{};
  // The version-1 record: its 64-character tip is all this program uses.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = id_;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  // A clock face is drawn for the call and destroyed after it; resource icons are shared.
  data.hIcon = shown_.clockFace
                   ? BuildClockIcon(instance_, kClockIconSize, kClockIconSize, shown_.clockMinutes,
                                    shown_.clockHours)
                   : LoadIconA(instance_, MAKEINTRESOURCEA(shown_.iconResource));
  lstrcpynA(data.szTip, shown_.tip.c_str(), kTrayTipChars);
  BOOL result = notify_(action, &data);
  if (shown_.clockFace && data.hIcon != nullptr) DestroyIcon(data.hIcon);
  return result;
}

BOOL TrayIcon::Add(int iconResource, const char* tip) {
  added_ = true;
  return Apply(NIM_ADD, TrayLook::Resource(iconResource, tip));
}

BOOL TrayIcon::Modify(int iconResource, const char* tip) {
  return Apply(NIM_MODIFY, TrayLook::Resource(iconResource, tip));
}

BOOL TrayIcon::Delete(int iconResource, const char* tip) {
  added_ = false;  // nothing to restore any more
  return Apply(NIM_DELETE, TrayLook::Resource(iconResource, tip));
}

void TrayIcon::Show(const TrayLook& look) { Apply(NIM_MODIFY, look); }

void TrayIcon::Restore() {
  if (!added_) return;  // never added, or already deleted
  Apply(NIM_ADD, shown_);
}

}  // namespace tollwick
