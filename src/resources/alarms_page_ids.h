#pragma once
// The Alarms page of the Options dialog: its template and its controls (see alarm_notice_ids.h for
// why each dialog has its own header).

#define IDD_ALARMS_PAGE 126

#define IDC_ALARM_NAME 1012
#define IDC_ALARM_DISPLAY_MESSAGE 1014
#define IDC_ALARM_PLAY_SOUND 1016
#define IDC_ALARM_FLASH_TRAY_ICON 1017
#define IDC_ALARM_REPEAT 1018
#define IDC_ALARM_MINUTES 1024
#define IDC_ALARM_MONEY 1025
// The eight slot buttons "1" to "8" have consecutive ids.
#define IDC_ALARM_SLOT_1 1026
#define IDC_ALARM_SLOT_2 1027
#define IDC_ALARM_SLOT_3 1028
#define IDC_ALARM_SLOT_4 1029
#define IDC_ALARM_SLOT_5 1030
#define IDC_ALARM_SLOT_6 1031
#define IDC_ALARM_SLOT_7 1032
#define IDC_ALARM_SLOT_8 1033
#define IDC_ALARM_TIME 1044
#define IDC_ALARM_MONEY_KIND 1045
#define IDC_ALARM_MONEY_LABEL 1051
#define IDC_ALARM_DATA_KIND 1052
#define IDC_ALARM_MEGABYTES 1053
