#pragma once
// The Statistics page of the Options dialog; see alarm_notice_ids.h for why each dialog has its own.

#define IDD_STATISTICS_PAGE 109

#define IDC_STATS_TIME 1007
#define IDC_STATS_COST 1008
#define IDC_STATS_PAID 1009
#define IDC_STATS_TOTAL 1010
#define IDC_STATS_DATA 1011
