#pragma once
// Control ids of the Call information dialog (IDD_CALL_INFO); see alarm_notice_ids.h for why each
// dialog has its own.

#define IDC_CALL_ACCOUNT 1000
#define IDC_CALL_START 1001
#define IDC_CALL_END 1002
#define IDC_CALL_COST 1003
#define IDC_CALL_USER 1004
#define IDC_CALL_LENGTH 1005
#define IDC_CALL_RECEIVED 1006
#define IDC_CALL_SENT 1007
