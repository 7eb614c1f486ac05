#pragma once
// "&About...": the product, its version, and a button that opens the product's web page in the
// user's browser (the box stays open). Modal; one at a time.

#include <windows.h>

#include "core/win32/desktop_calls.h"

namespace tollwick {

// Opens the About box, whose button opens the page through shellExecute, or brings the open one to
// the front.
void ShowAboutBox(HWND owner, DesktopCalls::ShellExecuteFunction shellExecute);

}  // namespace tollwick
