#include "core/win32/tray_icon.h"

#include "ui/win32/icon_sizes.h"

namespace tollwick {

TrayIcon::TrayIcon(HINSTANCE instance, HWND window, UINT id, NotifyFunction notify)
    : instance_(instance),
      window_(window),
      id_(id),
      notify_(notify),
      iconSize_(TrayIconSize()),
      clockFace_(instance) {}

HICON TrayIcon::ResourceIcon(int iconResource) {
  ScopedIcon& icon = resourceIcons_[iconResource];
  if (!icon) icon = LoadIconOfSize(instance_, iconResource, iconSize_);
  return icon.get();
}

BOOL TrayIcon::Apply(DWORD action, const TrayLook& look) {
  shown_ = look;
  NOTIFYICONDATAA data{};
  // The version-1 record: its 64-character tip is all this program uses.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = id_;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = shown_.clockFace
                   ? clockFace_.Face(shown_.clockMinutes, shown_.clockHours, iconSize_)
                   : ResourceIcon(shown_.iconResource);
  lstrcpynA(data.szTip, shown_.tip.c_str(), kTrayTipChars);
  return notify_(action, &data);
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

void TrayIcon::Notify(const std::string& title, const std::string& text) {
  NOTIFYICONDATAA data{};
  // The version-2 record, the first with a balloon; NIF_INFO alone leaves the picture and tip be.
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window_;
  data.uID = id_;
  data.uFlags = NIF_INFO;
  lstrcpynA(data.szInfo, text.c_str(), sizeof data.szInfo);
  lstrcpynA(data.szInfoTitle, title.c_str(), sizeof data.szInfoTitle);
  data.dwInfoFlags = NIIF_INFO;
  notify_(NIM_MODIFY, &data);
}

void TrayIcon::Restore() {
  if (!added_) return;  // never added, or already deleted
  const int size = TrayIconSize();
  if (size != iconSize_) {
    // The shell has its copies: the old pictures may go before the new ones are handed over.
    resourceIcons_.clear();
    iconSize_ = size;
  }
  Apply(NIM_ADD, shown_);
}

}  // namespace tollwick
