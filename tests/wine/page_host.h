#pragma once
// For the Wine tests of Options pages: a frame window to hold a page, and a fixture that makes the
// page over its subject inside one and reads and clicks its controls.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "modal_script.h"
#include "ui/win32/dialog.h"

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

// A page on its real template in a host, destroyed after each test.
class PageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (IsWindow(page_)) DestroyWindow(page_);
  }
  template <class Page>
  void OpenPage(int dialog, typename Page::Subject& subject) {
    page_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), host_.get(),
                               DialogProc<Page>, reinterpret_cast<LPARAM>(&subject));
    ASSERT_NE(nullptr, page_);
  }
  std::string Text(int id) const { return ControlText(page_, id); }
  bool Checked(int id) const { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page_, id)) != FALSE; }
  // A click as the mouse makes it: the button changes its state, then tells the page.
  void Click(int id) { SendDlgItemMessageA(page_, id, BM_CLICK, 0, 0); }

  PageHost host_;
  HWND page_ = nullptr;
};

}  // namespace tollwick
