#pragma once
// The clock face (core/clock_icon.h) as an icon handle for the tray and the Misc tab preview.

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace tollwick {

// A new monochrome icon of width x height pixels showing the given call length. Empty if the icon
// cannot be created.
ScopedIcon BuildClockIcon(HINSTANCE instance, int width, int height, int minutes, int hours);
// The same face with its picture as a bitmap of its own (an icon with a colour bitmap), for an
// SS_ICON static: Wine's static control refuses an icon without one, as the monochrome face is.
ScopedIcon BuildClockIconForStatic(int width, int height, int minutes, int hours);

// The tray's clock face, drawn again only when the length it shows or its size changes: the tip
// changes every second, the face once a minute. The shell copies the icon it is given, so the face is
// kept only to be handed over again with the next tip.
class ClockFaceCache {
 public:
  explicit ClockFaceCache(HINSTANCE instance) : instance_(instance) {}

  // The size x size face of minutes past hours, owned by the cache until another face is asked for.
  // A new face is built before the old one goes, so a rebuilt face never has the old one's handle.
  HICON Face(int minutes, int hours, int size);

 private:
  HINSTANCE instance_;
  ScopedIcon icon_;
  int minutes_ = 0;
  int hours_ = 0;
  int size_ = 0;
};

}  // namespace tollwick
