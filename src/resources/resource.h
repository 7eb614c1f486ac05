#pragma once
// Resource and command ids. Shared by tollwick.rc and the code, so plain #defines. The controls of
// each dialog are numbered in a header of that dialog's own (alarm_notice_ids.h, ...).

#define IDI_APP 101
#define IDI_IDLE 103
#define IDI_ONLINE 104
#define IDI_ALARM 134

#define IDR_MENU 105

#define IDD_ALARM_NOTICE 135

#define IDC_STATIC (-1)

#define IDM_EXIT 40001
#define IDM_CALLINFO 40002
#define IDM_OPTIONS 40003
#define IDM_ABOUT 40004
