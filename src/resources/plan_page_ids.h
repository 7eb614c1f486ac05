#pragma once
// The Plan page of the Options dialog; see alarm_notice_ids.h for why each dialog has its own.

#define IDD_PLAN_PAGE 141

#define IDC_PLAN_ACCOUNT 1070
#define IDC_PLAN_DATES 1071
#define IDC_PLAN_DAYS_LEFT 1072
#define IDC_PLAN_MINUTES 1073
#define IDC_PLAN_MINUTES_BAR 1074
#define IDC_PLAN_MB 1075
#define IDC_PLAN_MB_BAR 1076
#define IDC_PLAN_COST 1077
#define IDC_PLAN_ESTIMATE 1078
