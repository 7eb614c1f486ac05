#pragma once
// The Misc page of the Options dialog: its template and its controls (see alarm_notice_ids.h for why
// each dialog has its own header).

#define IDD_MISC_PAGE 132

#define IDC_MISC_NO_DCC 1014
#define IDC_MISC_CHECK_STATUS 1016
#define IDC_MISC_NORMAL_ICON 1026
#define IDC_MISC_CLOCK_ICON 1027
#define IDC_MISC_PREVIEW 1046
#define IDC_MISC_ADAPTERS 1060
#define IDC_MISC_WARN_ALLOWANCE 1080
