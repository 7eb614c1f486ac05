#pragma once
// The Graphs page of the Options dialog: one usage series for all users or for one, in a graph
// window, printed on the default printer by "&Print...". The series and the user are simply the
// entries selected in the page's two lists.

#include <windows.h>

#include <vector>

#include "bill/bill_store.h"
#include "graphs/usage_series.h"
#include "ui/win32/option_page.h"

namespace tollwick {

struct GraphsPageSubject {
  const Bill& bill;
};

// Made with CreateOptionsPage<GraphsPage>(frame, IDD_PAGE_GRAPHS, subject) (option_page.h); the
// graph window class must be registered.
class GraphsPage : public OptionPage {
 public:
  using Subject = GraphsPageSubject;
  GraphsPage(HWND window, Subject& subject) : OptionPage(window), subject_(subject) {}

 private:
  void Fill() override;
  // Each time the tab comes to the front: the users of the bill as it is now, all of them, and
  // the first series.
  void Activated() override;
  void Print() override;
  void Command(int id, int code, HWND control) override;

  void ShowFirstSeries();
  // Sets the graph up for the selected series, then computes it.
  void ShowSeries();
  // Fills the graph with the selected series for the selected user and scales it.
  void ComputeSeries();

  HWND Graph() const;
  HWND Users() const;
  HWND Display() const;
  const UsageSeries& SelectedSeries() const;

  Subject& subject_;
  std::vector<UserKey> keys_;
};

}  // namespace tollwick
