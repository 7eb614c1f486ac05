#pragma once
// The clock face (core/clock_icon.h) as an icon handle for the tray and the Misc tab preview.

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

// A new monochrome icon of width x height pixels showing the given call length. Empty if the icon
// cannot be created.
ScopedIcon BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours);

}  // namespace tollwick
