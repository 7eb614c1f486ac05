#pragma once
// The stand-in pages of options_frame_wine_test.cpp: a template of the real pages' size, clear of
// the program's resource ids.

#define IDD_STAND_IN_PAGE 902
#define IDC_STAND_IN_TEXT 1001
