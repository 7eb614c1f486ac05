#include "core/tray_look.h"

#include "resources/resource.h"

namespace tollwick {
namespace {

constexpr std::size_t kShellTipLength = kTrayTipChars - 1;

std::string ShellTip(const char* tip) {
  std::string text = tip != nullptr ? tip : "";
  if (text.size() > kShellTipLength) text.resize(kShellTipLength);
  return text;
}

}  // namespace

TrayLook TrayLook::Resource(int iconResource, const char* tip) {
  TrayLook look;
  look.iconResource = iconResource;
  look.tip = ShellTip(tip);
  return look;
}

TrayLook TrayLook::Clock(int minutes, int hours, const char* tip) {
  TrayLook look = Resource(IDI_ONLINE, tip);
  look.clockFace = true;
  look.clockMinutes = minutes;
  look.clockHours = hours;
  return look;
}

bool operator==(const TrayLook& a, const TrayLook& b) {
  if (a.iconResource != b.iconResource || a.clockFace != b.clockFace || a.tip != b.tip) return false;
  return !a.clockFace || (a.clockMinutes == b.clockMinutes && a.clockHours == b.clockHours);
}

}  // namespace tollwick
