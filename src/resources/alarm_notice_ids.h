#pragma once
// Control ids of the alarm notice (dialog IDD_ALARM_NOTICE) and of no other dialog. Each dialog keeps
// its controls in a header of its own, included only by that dialog's code and the resource script,
// so an id that another dialog uses for another control can never be reached from here by mistake.

#define IDC_NOTICE_NOW_COST 1008
#define IDC_NOTICE_NOW_TIME 1044
#define IDC_NOTICE_REASON 1047
#define IDC_NOTICE_NAME 1048
#define IDC_NOTICE_FIRED_TIME 1049
#define IDC_NOTICE_FIRED_COST 1050
