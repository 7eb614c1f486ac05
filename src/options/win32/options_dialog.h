#pragma once
// The Options dialog ("Tollwick configuration"): a tab control over the pages of a page table, one
// page shown at a time. The frame creates every page when it opens and destroys them when it closes;
// it tells the page brought to the front (kActivatePageMessage), hands "&Print..." to the page in
// front, and OK or Cancel to every page in table order (see option_page.h). OK closes only once
// every page has agreed to keep its edits; a page that refuses is brought to the front instead.

#include <windows.h>

#include <array>

#include "core/win32/program.h"
#include "ui/win32/option_page.h"

namespace tollwick {

// One row of the page table: a page of the dialog, at its position.
struct OptionsPageRow {
  const char* tabText;
  int image;  // in the tab image list
  int dialog;  // the page's template
  // Makes the page as a child of the frame from the given template, over what the program holds.
  OptionsPageWindow (*create)(HWND frame, int dialog, Program& program);
  bool printable;  // "&Print..." is enabled while the page is in front
};

constexpr int kOptionsPageCount = 7;
using OptionsPageTable = std::array<OptionsPageRow, kOptionsPageCount>;

// The program's pages, in the order of the tabs, of creation and of the closing messages.
extern const OptionsPageTable kOptionsPages;

// "&Options...": opens the dialog over the program's pages, or brings the open one to the front.
void ShowOptionsDialog(HWND owner, Program& program);
// The same over the given pages. Returns IDOK or IDCANCEL as the dialog closed, or 0 when it was
// already open.
INT_PTR ShowOptionsDialog(HWND owner, const OptionsPageTable& pages, Program& program);

}  // namespace tollwick
