#pragma once
// "&About...": the product, its version, and a button that opens the product's web page in the
// user's browser (the box stays open). Modal; one at a time.

#include <windows.h>

namespace tollwick {

// Opens the About box, or brings the open one to the front.
void ShowAboutBox(HWND owner);

}  // namespace tollwick
