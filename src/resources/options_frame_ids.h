#pragma once
// Control ids of the Options dialog frame; see alarm_notice_ids.h for why each dialog has its own.
// The frame also sends the Print button's id to the page in front, so pages know it as a command.

#define IDC_OPTIONS_TABS 1005
#define IDC_OPTIONS_PRINT 1035
