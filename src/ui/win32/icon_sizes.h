#pragma once
// Icons at the size Windows shows them, from resources that hold an image drawn for each size.

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

// The notification area's icon size: the small-icon size at the DPI of the task bar, which follows
// a change of scale while this program, aware of the system DPI only, keeps the one it started
// with. The system's small-icon size where the task bar or the per-DPI calls are missing.
int TrayIconSize();

// A resource icon of size x size pixels: the image drawn for that size, or else the nearest larger
// one scaled down, never a smaller one blurred up (LoadIconWithScaleDown). Owned by the caller.
ScopedIcon LoadIconOfSize(HINSTANCE instance, int icon, int size);

}  // namespace tollwick
