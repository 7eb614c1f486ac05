#pragma once
// Control ids of the About box (IDD_ABOUT); see alarm_notice_ids.h for why each dialog has its own.

#define IDC_ABOUT_WEB_PAGE 1022
#define IDC_ABOUT_ICON 1023
