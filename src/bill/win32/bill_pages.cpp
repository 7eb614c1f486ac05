#include "bill/win32/bill_pages.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>

#include "bill/win32/add_bill_item.h"
#include "bill/win32/bill_export.h"
#include "bill/win32/bill_print.h"
#include "platform/win32/print_job.h"
#include "platform/win32/scoped_handles.h"
#include "resources/bill_page_ids.h"
#include "resources/resource.h"
#include "resources/statistics_page_ids.h"
#include "text/volume_text.h"
#include "ui/win32/option_page.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kStatisticsTimer = 1000;
constexpr UINT kStatisticsPeriod = 1000;  // ms
constexpr char kAllUsers[] = ".All users";
// The ">" button's menu: "Menu 2" of the program's menu. None of its commands does anything, and the
// button is hidden and disabled as the template makes it.
constexpr int kMoreMenuPosition = 1;

struct ColumnLook {
  const char* title;
  int width;  // pixels
};
constexpr ColumnLook kColumns[kBillColumnCount] = {
    {"Type", 60}, {"Amount", 60}, {"By", 80}, {"Account", 80},
    {"Start", 50}, {"End", 50},   {"Length", 50}, {"Date", 80}, {"Data", 50}};

}  // namespace

StatisticsPage::~StatisticsPage() { subject_.bill.StopListening(*this); }

void StatisticsPage::Fill() {
  totals_ = CountBillTotals(subject_.bill);
  subject_.bill.Listen(*this);
  StartTimer(kStatisticsTimer, kStatisticsPeriod);
  Show();
}

void StatisticsPage::Timer(UINT_PTR id) {
  if (id == kStatisticsTimer) Show();
}

void StatisticsPage::ItemAppended(const BillItem& item) { totals_.Add(item); }

void StatisticsPage::ItemsDeleted() { totals_ = CountBillTotals(subject_.bill); }

void StatisticsPage::Show() {
  const LiveCallFigures call = subject_.liveCall ? subject_.liveCall() : LiveCallFigures{};
  const StatisticsFigures figures = FiguresOf(totals_, call);
  SetTimeField(IDC_STATS_TIME, figures.time);
  SetCurrencyField(IDC_STATS_COST, figures.cost);
  SetCurrencyField(IDC_STATS_PAID, figures.paid);
  SetCurrencyField(IDC_STATS_TOTAL, figures.total);
  char data[kVolumeTextChars + 3] = "";
  if (figures.data.known) {
    std::snprintf(data + MegabytesText(figures.data.Total(), data), 4, " MB");
  }
  SetText(IDC_STATS_DATA, figures.data.known ? data : kUnknownVolumeText);
}

BillPage::~BillPage() { subject_.bill.StopListening(*this); }

HWND BillPage::List() const { return Control(IDC_BILL_LIST); }
HWND BillPage::Users() const { return Control(IDC_BILL_USERS); }

void BillPage::ItemAppended(const BillItem& /*item*/) { ShowRemainingBill(); }

void BillPage::ShowRemainingBill() {
  SetCurrencyField(IDC_BILL_REMAINING, BillBalance(subject_.bill));
}

void BillPage::Fill() {
  subject_.bill.Listen(*this);
  HWND list = List();
  for (int i = 0; i < kBillColumnCount; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<char*>(kColumns[i].title);
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  // The list owns the picture list (its style does not share it) and destroys it with itself.
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(LoadImageStrip(IDB_BILL_ITEMS)));
  moreMenu_ = LoadPopupMenu(DialogInstance(), IDR_MENU, kMoreMenuPosition);
  FillUsersBox(Users(), subject_.bill, keys_);
  ShowList(SelectedUserKey(Users(), keys_));
}

// The bill of the user chosen in the users box. Printing nothing in silence would pass for
// success, so the user hears of a print that could not be made.
void BillPage::Print() {
  if (!PrintBill(subject_.environment, subject_.bill, SelectedUserKey(Users(), keys_))) {
    ShowError(kNoPrintJobText, kNoPrintJobCaption);
  }
}

void BillPage::Command(int id, int code, HWND) {
  switch (id) {
    case IDC_BILL_ADD_CALL:
      Add(true);
      break;
    case IDC_BILL_ADD_PAYMENT:
      Add(false);
      break;
    case IDC_BILL_DELETE:
      Delete();
      break;
    case IDC_BILL_EXPORT: {
      // What the list shows, which after an add may be another user's than the box shows.
      const std::string failure =
          ExportBill(window(), subject_.bill, rows_, shownFilter_ ? &*shownFilter_ : nullptr);
      if (!failure.empty()) ShowError(failure.c_str());
      break;
    }
    case IDC_BILL_MORE: {
      RECT button;
      GetWindowRect(Control(IDC_BILL_MORE), &button);
      TrackPopupMenu(moreMenu_.get(), 0, button.right, button.top, 0, window(), nullptr);
      break;
    }
    case IDC_BILL_USERS:
      if (code == CBN_SELCHANGE) ShowList(SelectedUserKey(Users(), keys_));
      break;
    default:
      break;
  }
}

LRESULT BillPage::Notify(const NMHDR& header) {
  if (header.idFrom != IDC_BILL_LIST || header.code != LVN_GETDISPINFOA) return 0;
  LVITEMA& row = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header))->item;
  if (row.iItem < 0 || static_cast<std::size_t>(row.iItem) >= rows_.size()) return 0;
  const BillItem& item = subject_.bill[rows_[row.iItem]];
  if ((row.mask & LVIF_TEXT) != 0 && row.pszText != nullptr && row.cchTextMax > 0) {
    char text[kBillCellChars];
    BillCellText(subject_.environment, item, row.iSubItem, text);
    std::snprintf(row.pszText, static_cast<std::size_t>(row.cchTextMax), "%s", text);
  }
  if ((row.mask & LVIF_IMAGE) != 0) row.iImage = BillItemImage(item);
  return 0;
}

// The rows of the items that pass the filter, newest first, none selected; the remaining bill is
// theirs.
void BillPage::ShowList(const UserKey* filter) {
  rows_ = BillRows(subject_.bill, filter);
  shownFilter_ = filter != nullptr ? std::optional<UserKey>(*filter) : std::nullopt;
  HWND list = List();
  // Row by row: clearing all rows at once (item -1) walks every row of the list.
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  for (const UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
    for (LRESULT row = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which); row >= 0;
         row = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which)) {
      SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&clear));
    }
  }
  SendMessageA(list, LVM_SETITEMCOUNT, rows_.size(), 0);
  InvalidateRect(list, nullptr, TRUE);
  SetCurrencyField(IDC_BILL_REMAINING, BillBalance(subject_.bill, filter));
}

// After every change, and after a cancelled add: the list keeps the filter it had, the users box
// is built again and shows ".All users" until the user picks another.
void BillPage::Refresh() {
  const UserKey* filter = SelectedUserKey(Users(), keys_);
  const UserKey kept = filter != nullptr ? *filter : UserKey{};
  ShowList(filter != nullptr ? &kept : nullptr);
  FillUsersBox(Users(), subject_.bill, keys_);
}

void BillPage::Add(bool call) {
  BillItem item = NewBillItem(subject_.environment);
  AddBillItemRequest request{item, subject_.bill, subject_.environment, {}};
  if (call && subject_.accountNames) request.accounts = subject_.accountNames();
  if (call ? ShowAddCallDialog(window(), request) : ShowAddPaymentDialog(window(), request)) {
    const CalendarDate date = LocalDate(subject_.environment);
    item.day = date.day;
    item.month = date.month;
    item.year = date.year;
    subject_.bill.Append(subject_.store, item);
  }
  Refresh();
}

void BillPage::Delete() {
  std::vector<std::uint32_t> positions;
  for (const int row : SelectedRows(IDC_BILL_LIST)) {
    if (static_cast<std::size_t>(row) < rows_.size()) positions.push_back(rows_[row]);
  }
  subject_.bill.Delete(subject_.store, positions);
  ShowRemainingBill();
  Refresh();
}

void FillUsersBox(HWND box, const Bill& bill, std::vector<UserKey>& keys) {
  keys.clear();
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const LRESULT all = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAllUsers));
  SendMessageA(box, CB_SETCURSEL, all, 0);
  const std::vector<std::string> users = DistinctBillUsers(bill);
  keys.reserve(users.size());
  for (const std::string& user : users) {
    keys.push_back(MakeUserKey(user.c_str()));
    const LRESULT entry = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(user.c_str()));
    // The entry's data is one past its key's index, so ".All users" keeps 0: no key.
    SendMessageA(box, CB_SETITEMDATA, entry, static_cast<LPARAM>(keys.size()));
  }
}

const UserKey* SelectedUserKey(HWND box, const std::vector<UserKey>& keys) {
  const LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
  if (selected < 0) return nullptr;
  const LRESULT data = SendMessageA(box, CB_GETITEMDATA, selected, 0);
  if (data <= 0 || static_cast<std::size_t>(data) > keys.size()) return nullptr;
  return &keys[static_cast<std::size_t>(data) - 1];
}

}  // namespace tollwick
