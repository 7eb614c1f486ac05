#pragma once
// The Statistics and Bill pages of the Options dialog, which follow the bill's changes while they are
// open. Made with CreateOptionsPage<StatisticsPage> (IDD_STATISTICS_PAGE) or
// CreateOptionsPage<BillPage> (IDD_BILL_PAGE) over their subjects (option_page.h).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "bill/bill_views.h"
#include "platform/environment.h"
#include "platform/settings_store.h"
#include "platform/win32/scoped_handles.h"
#include "ui/win32/option_page.h"

namespace tollwick {

// What the Statistics page works on. The call in progress comes from above the bill, hence a
// function; an empty one means no call.
struct StatisticsSubject {
  const Bill& bill;
  Environment& environment;
  std::function<LiveCallFigures()> liveCall;
};

// What the Bill page works on. The dial-up entries, which Add call offers, come from above too.
struct BillPageSubject {
  const SettingsStore& store;
  Bill& bill;
  Environment& environment;
  std::function<std::vector<std::string>()> accountNames;
};

// The totals live with the page: they are counted when it opens, kept up while it is open (it
// listens to the bill) and shown once a second with the call in progress added.
class StatisticsPage : public OptionPage, BillListener {
 public:
  using Subject = StatisticsSubject;
  StatisticsPage(HWND window, StatisticsSubject& subject)
      : OptionPage(window, subject.environment), subject_(subject) {}
  ~StatisticsPage() override;

 private:
  void Fill() override;
  void Timer(UINT_PTR id) override;
  void ItemAppended(const BillItem& item) override;
  void ItemsDeleted() override;
  void Show();

  StatisticsSubject& subject_;
  BillTotals totals_;
};

// The list is virtual: it holds only how many rows there are and which are selected, and asks for
// the texts and pictures of the rows it draws. rows_ maps a row to the item's position in the bill,
// which is how a selected row leads back to its item.
class BillPage : public OptionPage, BillListener {
 public:
  using Subject = BillPageSubject;
  BillPage(HWND window, BillPageSubject& subject)
      : OptionPage(window, subject.environment), subject_(subject) {}
  ~BillPage() override;

 private:
  HWND List() const;
  HWND Users() const;

  void Fill() override;
  void Print() override;
  void Command(int id, int code, HWND control) override;
  LRESULT Notify(const NMHDR& header) override;
  // An append anywhere: the balance of the whole bill, whatever the list shows, until the next
  // refresh.
  void ItemAppended(const BillItem& item) override;
  void ShowRemainingBill();
  void ShowList(const UserKey* filter);
  void Refresh();
  void Add(bool call);
  void Delete();

  BillPageSubject& subject_;
  std::vector<std::uint32_t> rows_;
  std::optional<UserKey> shownFilter_;  // the filter rows_ were chosen by
  std::vector<UserKey> keys_;
  ScopedMenu moreMenu_;
};

// The users box, shared with the pages that filter by user: ".All users" (selected, no key) and
// each user of the bill once, spelt as first seen; keys holds the filters the entries point to.
void FillUsersBox(HWND box, const Bill& bill, std::vector<UserKey>& keys);
// The filter of the selected entry; null for ".All users".
const UserKey* SelectedUserKey(HWND box, const std::vector<UserKey>& keys);

}  // namespace tollwick
