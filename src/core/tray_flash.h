#pragma once
// The alarm flash of the tray icon: how many on-line ticks still flash, and which picture is next.

#include <cstdint>

namespace tollwick {

struct TrayFlash {
  std::int32_t flashCount = 0;
  std::int32_t flashPhase = 0;
};

enum class TrayPicture { kOnline, kAlarm };

// An alarm asks for five flashing ticks; requests add up.
inline void FlashTrayIcon(TrayFlash& flash) { flash.flashCount += 5; }

// The picture of one on-line tick, advancing the flash.
inline TrayPicture NextOnlinePicture(TrayFlash& flash) {
  if (flash.flashCount <= 0) return TrayPicture::kOnline;
  TrayPicture picture = flash.flashPhase == 1 ? TrayPicture::kOnline : TrayPicture::kAlarm;
  flash.flashPhase = 1 - flash.flashPhase;
  flash.flashCount -= 1;
  return picture;
}

}  // namespace tollwick
