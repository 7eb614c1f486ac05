#pragma once
// Owners of the Win32 handles the program creates: each gives its handle back the one right way
// when it goes out of scope, so feature code never calls DestroyIcon, DestroyMenu, DeleteObject,
// DeleteDC, ReleaseDC, EndDoc or CloseHandle itself, and an early return cannot leak. All are
// move-only: a copy would give the same handle back twice, and a moved-from owner holds nothing and
// gives nothing back.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tollwick {

// A handle released by Traits::Release unless it is null.
template <typename Handle, typename Traits>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the handle to a new owner (a call that takes ownership); nothing is released here.
  Handle release() { return std::exchange(handle_, nullptr); }
  // Releases the handle held, if any, and holds the given one.
  void reset(Handle handle = nullptr) {
    Handle previous = std::exchange(handle_, handle);
    if (previous != nullptr) Traits::Release(previous);
  }

 private:
  Handle handle_ = nullptr;
};

struct IconRelease {
  static void Release(HICON icon) { DestroyIcon(icon); }
};
struct MenuRelease {
  static void Release(HMENU menu) { DestroyMenu(menu); }
};
struct CreatedDcRelease {
  static void Release(HDC dc) { DeleteDC(dc); }
};
struct GdiObjectRelease {
  static void Release(HGDIOBJ object) { DeleteObject(object); }
};
struct ImageListRelease {
  static void Release(HIMAGELIST images) { ImageList_Destroy(images); }
};
struct KernelObjectRelease {
  static void Release(HANDLE object) { CloseHandle(object); }
};

// An icon the program built (CreateIcon); icons loaded from resources are shared and never owned.
using ScopedIcon = ScopedHandle<HICON, IconRelease>;
// A menu loaded or created and not attached to a window, which would destroy it itself.
using ScopedMenu = ScopedHandle<HMENU, MenuRelease>;
// The pop-up at `position` of a menu resource, detached from its bar (which is destroyed), so it
// survives it. Null when the resource cannot be loaded.
inline ScopedMenu LoadPopupMenu(HINSTANCE instance, UINT menuResource, int position) {
  ScopedMenu bar(LoadMenuA(instance, MAKEINTRESOURCEA(menuResource)));
  if (!bar) return ScopedMenu();
  ScopedMenu popup(GetSubMenu(bar.get(), position));
  RemoveMenu(bar.get(), static_cast<UINT>(position), MF_BYPOSITION);
  return popup;
}
// A device context the program created: a memory DC (CreateCompatibleDC) or a printer's
// (CreateDCA).
using ScopedDC = ScopedHandle<HDC, CreatedDcRelease>;
// A pen, brush, font, bitmap or region. Destroy it only once no DC has it selected: declare it
// before the ScopedSelection that selects it, so the selection is undone first.
template <typename Object>
using ScopedGdiObject = ScopedHandle<Object, GdiObjectRelease>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
// An image list no control owns (one given to a tab control stays the program's to destroy).
using ScopedImageList = ScopedHandle<HIMAGELIST, ImageListRelease>;
// A kernel object the program opened or created: a file (CreateFileA), a mutex (CreateMutexA,
// OpenMutexA), an access token. Hold null, never INVALID_HANDLE_VALUE, for none. A mutex this
// thread owns is released (ReleaseMutex) by whoever took it, before its handle goes.
using ScopedKernelObject = ScopedHandle<HANDLE, KernelObjectRelease>;

// The DC of a window or of the screen (window null), borrowed with GetDC and given back with
// ReleaseDC to the window it came from.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(WindowDC&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDC& operator=(WindowDC&& other) noexcept {
    if (this != &other) {
      Release();
      window_ = other.window_;
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { Release(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void Release() {
    if (dc_ != nullptr) ReleaseDC(window_, std::exchange(dc_, nullptr));
  }
  HWND window_;
  HDC dc_;
};

// An object selected into a DC; the object it replaced is selected again when this goes, so the DC
// never ends up holding an object that is about to be deleted. Not for regions, which SelectObject
// copies rather than swaps.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  // Selections are undone in the reverse order of making; assigning one over another would undo
  // them out of order, so a selection can only move into a new owner.
  ScopedSelection(ScopedSelection&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  ScopedSelection& operator=(ScopedSelection&&) = delete;
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }

  // False when the object could not be selected.
  explicit operator bool() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A document under way on a printer's DC: StartDocA when made; Finish() ends it with EndDoc and
// sends it to the printer; one never finished (an error part-way, an early return) is abandoned
// with AbortDoc, so a half-printed bill never leaves a job open. The DC itself belongs to the
// caller and must outlive the document.
class ScopedPrintDocument {
 public:
  ScopedPrintDocument(HDC printer, const char* name) : dc_(printer) {
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name;
    if (dc_ == nullptr || StartDocA(dc_, &document) <= 0) dc_ = nullptr;
  }
  ScopedPrintDocument(ScopedPrintDocument&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)) {}
  ScopedPrintDocument& operator=(ScopedPrintDocument&& other) noexcept {
    if (this != &other) {
      Abort();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ScopedPrintDocument(const ScopedPrintDocument&) = delete;
  ScopedPrintDocument& operator=(const ScopedPrintDocument&) = delete;
  ~ScopedPrintDocument() { Abort(); }

  // True while a started document awaits Finish.
  explicit operator bool() const { return dc_ != nullptr; }
  // Ends the document (EndDoc). False when none was under way or the printer refused it.
  bool Finish() {
    if (dc_ == nullptr) return false;
    return EndDoc(std::exchange(dc_, nullptr)) > 0;
  }

 private:
  void Abort() {
    if (dc_ != nullptr) AbortDoc(std::exchange(dc_, nullptr));
  }
  HDC dc_;
};

}  // namespace tollwick
