#pragma once
// The Setup page of the Options dialog and its Charge Rates dialog: their templates, controls and the
// discount pictures (see alarm_notice_ids.h for why each dialog has its own header).

#define IDD_SETUP_PAGE 111
#define IDD_CHARGE_RATES 112

// Three 16 x 16 pictures, one per discount mode: percentage, time free, free call.
#define IDB_DISCOUNT_IMAGES 114

// Setup page.
#define IDC_SETUP_DISCOUNTS 1008
#define IDC_SETUP_MIN_CHARGE 1012
#define IDC_SETUP_ACCOUNT 1013
#define IDC_SETUP_USE_DEFAULT 1014
#define IDC_SETUP_MIN_CHARGE_ON 1016
#define IDC_SETUP_RATES 1022
#define IDC_SETUP_ADD 1023
#define IDC_SETUP_REMOVE 1024
#define IDC_SETUP_EDIT 1025
#define IDC_SETUP_SHOWN_NAME 1033
#define IDC_SETUP_CURRENCY 1051

// Charge Rates.
#define IDC_RATES_DAY_FROM 1012
#define IDC_RATES_DAY_TO 1024
#define IDC_RATES_DAY_RATE 1025
#define IDC_RATES_EVENING_RATE 1026
#define IDC_RATES_WEEKEND_RATE 1027
#define IDC_RATES_DAY_LABEL 1052
#define IDC_RATES_EVENING_LABEL 1053
#define IDC_RATES_WEEKEND_LABEL 1054
