#pragma once
// The Bill page of the Options dialog and the picture strip of its list (a call, a payment).

#define IDD_BILL_PAGE 110
#define IDB_BILL_ITEMS 115

#define IDC_BILL_LIST 1008
#define IDC_BILL_ADD_CALL 1009
#define IDC_BILL_ADD_PAYMENT 1010
#define IDC_BILL_DELETE 1011
#define IDC_BILL_REMAINING 1012
#define IDC_BILL_MORE 1015
#define IDC_BILL_USERS 1036
#define IDC_BILL_EXPORT 1038
