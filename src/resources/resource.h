#pragma once
// Resource and command ids. Shared by tollwick.rc and the code, so plain #defines. The controls of
// each dialog are numbered in a header of that dialog's own (alarm_notice_ids.h, ...).

#define IDI_APP 101
#define IDI_IDLE 103
#define IDI_ONLINE 104
#define IDI_ALARM 134

#define IDR_MENU 105

#define IDD_CALL_INFO 107
#define IDD_OPTIONS 108
#define IDD_ABOUT 122
#define IDD_ALARM_NOTICE 135

// The Graphs page's template; the other pages' templates are in their pages' own headers.
#define IDD_PAGE_GRAPHS 125

// The Options dialog's tab pictures: six 16 x 16 images side by side.
#define IDB_TAB_IMAGES 128

#define IDC_STATIC (-1)

#define IDM_EXIT 40001
#define IDM_CALLINFO 40002
#define IDM_OPTIONS 40003
#define IDM_ABOUT 40004
