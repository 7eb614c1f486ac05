#pragma once
// The Statistics and Bill pages of the Options dialog, and how an append reaches them while they
// are open. The frame creates them with CreateDialogParamA(instance, IDD_STATISTICS_PAGE or
// IDD_BILL_PAGE, frame, StatisticsPageProc or BillPageProc, the address of the subject).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "bill/bill_views.h"
#include "platform/environment.h"
#include "platform/settings_store.h"

namespace tollwick {

// What the Statistics page works on. The call in progress comes from above the bill, hence a
// function; an empty one means no call.
struct StatisticsSubject {
  const Bill& bill;
  std::function<LiveCallFigures()> liveCall;
};

// What the Bill page works on. The dial-up entries, which Add call offers, come from above too.
struct BillPageSubject {
  const SettingsStore& store;
  Bill& bill;
  Environment& environment;
  std::function<std::vector<std::string>()> accountNames;
};

INT_PTR CALLBACK StatisticsPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BillPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Every append calls this after storing the item (the hook of AddToBill): an open Bill page shows
// the remaining bill of the whole bill, an open Statistics page adds the item to its totals.
void BillItemAppended(const BillItem& item);
// After a delete: an open Statistics page counts its totals again from the bill.
void RecountBillTotals();

// The users box, shared with the pages that filter by user: ".All users" (selected, no key) and
// each user of the bill once, spelt as first seen; keys holds the filters the entries point to.
void FillUsersBox(HWND box, const Bill& bill, std::vector<UserKey>& keys);
// The filter of the selected entry; null for ".All users".
const UserKey* SelectedUserKey(HWND box, const std::vector<UserKey>& keys);

}  // namespace tollwick
