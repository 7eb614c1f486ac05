#pragma once
// For the Wine tests of Options pages: a frame window to hold a page, message pumping with a time
// limit, and a picture of the page for docs/screenshots when TOLLWICK_SCREENSHOT_DIR names a folder.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/win32/scoped_handles.h"
#include "modal_script.h"
#include "screen_bitmap.h"

namespace tollwick {

// A top-level window standing in for the Options frame; hidden unless a picture is taken (without
// a window manager, Wine waits a while for a shown window to go when it is destroyed).
class PageHost {
 public:
  PageHost() {
    window_ = CreateWindowExA(0, "STATIC", "frame", WS_POPUP, 0, 0, 400, 360, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~PageHost() { DestroyWindow(window_); }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Shows the page and, when TOLLWICK_SCREENSHOT_DIR is set, saves what the screen shows of it as
// <dir>/<name>.bmp (24-bit, through GDI). Returns false only when a picture was asked for and could
// not be written.
inline bool SavePagePicture(HWND page, const char* name) {
  const char* dir = std::getenv("TOLLWICK_SCREENSHOT_DIR");
  if (dir == nullptr || *dir == '\0') return true;
  ShowWindow(GetParent(page), SW_SHOW);
  ShowWindow(page, SW_SHOW);
  UpdateWindow(page);
  PumpUntil([] { return false; }, 300);  // lets every control paint
  RECT rect;
  GetWindowRect(page, &rect);
  const std::string path = std::string(dir) + "\\" + name + ".bmp";
  return SaveScreenBitmap(rect, path.c_str());
}

}  // namespace tollwick
