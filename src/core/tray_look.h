#pragma once
// What the notification-area icon shows: a picture and a tip. The tick works out the look it wants and
// hands it to the tray only when it differs from the look already shown, so an unchanged tick costs no
// shell call. A look holds its tip as the shell keeps it, cut to 63 characters: two looks the user
// cannot tell apart compare equal.

#include <string>

namespace tollwick {

constexpr int kTrayTipChars = 64;  // the shell's version-1 tip: 63 characters and the terminator

struct TrayLook {
  int iconResource = 0;     // the icon resource shown; IDI_ONLINE while the clock face stands in for it
  bool clockFace = false;   // the clock face of clockHours:clockMinutes instead of the resource icon
  int clockMinutes = 0;
  int clockHours = 0;
  std::string tip;

  // A resource icon (idle, on line, alarm) and its tip.
  static TrayLook Resource(int iconResource, const char* tip);
  // The clock face showing a call length of hours:minutes, and its tip.
  static TrayLook Clock(int minutes, int hours, const char* tip);
};

bool operator==(const TrayLook& a, const TrayLook& b);
inline bool operator!=(const TrayLook& a, const TrayLook& b) { return !(a == b); }

// The tray icon as the tick sees it. The Win32 implementation is TrayIcon (core/win32/tray_icon.h).
class TrayView {
 public:
  virtual ~TrayView() = default;
  // The look of the last change made.
  virtual const TrayLook& Shown() const = 0;
  // One NIM_MODIFY with the look's icon and tip.
  virtual void Show(const TrayLook& look) = 0;
  // A notification balloon over the icon; its picture and tip stay as they are.
  virtual void Notify(const std::string& title, const std::string& text) = 0;
};

}  // namespace tollwick
