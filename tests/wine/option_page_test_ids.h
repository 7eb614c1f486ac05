#pragma once
// The test page of option_page_wine_test.cpp: a dialog and control ids of its own, clear of the
// program's resources.

#define IDD_TEST_PAGE 901
#define IDD_TEST_MODAL 903
#define IDC_TEST_EDIT 1001
#define IDC_TEST_LIST 1002
