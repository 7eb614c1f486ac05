#pragma once
// Whether a handle still names a live object: for tests that check a handle was given back.

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

inline bool GdiAlive(HGDIOBJ object) { return GetObjectType(object) != 0; }

inline bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  ScopedBitmap mask(info.hbmMask);
  ScopedBitmap colour(info.hbmColor);
  return true;
}

}  // namespace tollwick
