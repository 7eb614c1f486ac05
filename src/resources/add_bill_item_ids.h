#pragma once
// The Add call ("Add bill") and Add payment dialogs, which share their user, amount and label ids.

#define IDD_ADD_CALL 116
#define IDD_ADD_PAYMENT 117

#define IDC_ADD_ACCOUNT 1013
#define IDC_ADD_LENGTH 1024
#define IDC_ADD_START 1025
#define IDC_ADD_COST 1026
#define IDC_ADD_USER 1034
#define IDC_ADD_COST_LABEL 1051
