#pragma once
// The clock face (core/clock_icon.h) as an icon handle for the tray and the Misc tab preview.

#include <windows.h>

namespace tollwick {

// A new monochrome icon of width x height pixels showing the given call length; the caller owns it
// and destroys it with DestroyIcon. Null if the icon cannot be created.
HICON BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours);

}  // namespace tollwick
