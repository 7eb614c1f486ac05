#pragma once
// Resource and command ids. Shared by tollwick.rc and the code, so plain #defines.

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

// Alarm notice controls
#define IDC_NOTICE_NOW_TIME 1044
#define IDC_NOTICE_REASON 1047
#define IDC_NOTICE_NAME 1048
#define IDC_NOTICE_FIRED_TIME 1049
#define IDC_NOTICE_FIRED_COST 1050
#define IDC_NOTICE_NOW_COST 1008
