// The dialog framework on real dialogs. A page gets what it works on from its creation parameter,
// filling its controls is never an edit, the frame's messages reach it, and the page object goes
// with its window. A modal dialog closes through Accept and Dismissed, and one of a kind is held
// as the open one while it is up.

#include "ui/win32/option_page.h"
#include "ui/win32/single_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modal_script.h"
#include "option_page_test_ids.h"

namespace tollwick {
namespace {

// What the test page works on, and a log of what reached it.
struct PageSubject {
  std::string text;
  std::vector<std::string> log;
};

class TestPage : public OptionPage {
 public:
  using Subject = PageSubject;
  TestPage(HWND window, PageSubject& subject) : OptionPage(window), subject_(subject) {}
  ~TestPage() override { subject_.log.push_back("gone"); }

  // Shows the subject again, as a page does after choosing another item to show.
  void Refill() {
    FillScope filling(*this);
    FillScope nested(*this);
    Fill();
  }

 private:
  void Fill() override {
    SetDlgItemTextA(window(), IDC_TEST_EDIT, subject_.text.c_str());
    HWND list = GetDlgItem(window(), IDC_TEST_LIST);
    ListView_DeleteAllItems(list);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.pszText = const_cast<char*>(subject_.text.c_str());
    item.state = item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  void Activated() override { subject_.log.push_back("activated"); }
  void Ok() override { subject_.log.push_back("ok"); }
  void Cancel() override { subject_.log.push_back("cancel"); }
  void Print() override { subject_.log.push_back("print"); }
  void Command(int id, int code, HWND control) override {
    if (id == IDC_TEST_EDIT) {
      if (code == EN_CHANGE) subject_.log.push_back("edited");  // EN_UPDATE comes first
    } else {
      subject_.log.push_back("command " + std::to_string(id) + (control ? " from a control" : ""));
    }
  }
  LRESULT Notify(const NMHDR& header) override {
    if (header.idFrom == IDC_TEST_LIST && header.code == LVN_ITEMCHANGED) {
      subject_.log.push_back("selection changed");
    }
    return 0;
  }

  PageSubject& subject_;
};

class OptionPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    frame = CreateWindowExA(0, "STATIC", "frame", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, frame);
    subject.text = "Orvonet Dial";
    page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_PAGE), frame,
                              DialogProc<TestPage>, reinterpret_cast<LPARAM>(&subject));
    ASSERT_NE(nullptr, page);
  }
  void TearDown() override {
    if (IsWindow(page)) DestroyWindow(page);
    DestroyWindow(frame);
  }

  std::string EditText() { return ControlText(page, IDC_TEST_EDIT); }
  TestPage* Page() { return reinterpret_cast<TestPage*>(GetWindowLongPtrA(page, GWLP_USERDATA)); }

  PageSubject subject;
  HWND frame = nullptr;
  HWND page = nullptr;
};

TEST_F(OptionPageTest, ThePageFillsFromItsCreationParameterWithoutCountingAnEdit) {
  EXPECT_EQ("Orvonet Dial", EditText());
  EXPECT_EQ(1, ListView_GetItemCount(GetDlgItem(page, IDC_TEST_LIST)));
  EXPECT_EQ(std::vector<std::string>{}, subject.log);

  // The same controls changed outside filling are the user's edits.
  SetDlgItemTextA(page, IDC_TEST_EDIT, "typed");
  ListView_SetItemState(GetDlgItem(page, IDC_TEST_LIST), 0, 0, LVIS_SELECTED);
  EXPECT_EQ((std::vector<std::string>{"edited", "selection changed"}), subject.log);
}

TEST_F(OptionPageTest, RefillingLaterIsNoEditEitherAndEditsCountAgainAfter) {
  subject.text = "Other ISP";
  ASSERT_NE(nullptr, Page());
  Page()->Refill();
  EXPECT_EQ("Other ISP", EditText());
  EXPECT_EQ(std::vector<std::string>{}, subject.log);
  EXPECT_FALSE(Page()->filling());
  SetDlgItemTextA(page, IDC_TEST_EDIT, "typed");
  EXPECT_EQ(std::vector<std::string>{"edited"}, subject.log);
}

struct FrameMessage {
  const char* name;
  UINT message;
  WPARAM wParam;
  bool fromControl;  // lParam: the page's edit rather than 0
  const char* expected;
};

const FrameMessage kFrameMessages[] = {
    {"brought to the front", WM_USER + 200, 0, false, "activated"},
    {"closed with OK", WM_COMMAND, IDOK, false, "ok"},
    {"closed with Cancel", WM_COMMAND, IDCANCEL, false, "cancel"},
    {"Print pressed", WM_COMMAND, 1035, false, "print"},
    {"a menu command", WM_COMMAND, 40008, false, "command 40008"},
    {"a control that shares OK's id", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), true,
     "command 1 from a control"},
};

TEST_F(OptionPageTest, TheFramesMessagesReachThePage) {
  for (const FrameMessage& m : kFrameMessages) {
    SCOPED_TRACE(m.name);
    subject.log.clear();
    LPARAM lParam = m.fromControl ? reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_TEST_EDIT)) : 0;
    SendMessageA(page, m.message, m.wParam, lParam);
    EXPECT_EQ(std::vector<std::string>{m.expected}, subject.log);
  }
}

TEST_F(OptionPageTest, ThePageObjectGoesWithItsWindow) {
  DestroyWindow(page);
  EXPECT_EQ(std::vector<std::string>{"gone"}, subject.log);
}

// Refuses the first OK it is given.
class TestModal : public SingleDialog {
 public:
  using Subject = PageSubject;
  static constexpr int kTemplate = IDD_TEST_MODAL;
  TestModal(HWND window, PageSubject& subject) : SingleDialog(window, kTemplate), subject_(subject) {}

 private:
  bool Accept() override {
    subject_.log.push_back("accept");
    return subject_.log.size() > 1;
  }
  void Dismissed() override { subject_.log.push_back("dismissed"); }
  PageSubject& subject_;
};

struct Closing {
  const char* name;
  UINT message;
  WPARAM wParam;
  int sent;  // times, the dialog open
  INT_PTR result;
  std::vector<std::string> log;
};

TEST(ModalDialogTest, OkAndCancelCloseThroughAcceptAndDismissedAndOneIsOpenAtATime) {
  const Closing closings[] = {
      {"OK, refused once", WM_COMMAND, IDOK, 2, IDOK, {"accept", "accept"}},
      {"Cancel", WM_COMMAND, IDCANCEL, 1, IDCANCEL, {"dismissed"}},
      {"the close box", WM_CLOSE, 0, 1, IDCANCEL, {"dismissed"}},
  };
  for (const Closing& c : closings) {
    SCOPED_TRACE(c.name);
    PageSubject subject;
    INT_PTR result = 0;
    RunWithDialog("Test modal", [&] { result = RunSingleModal<TestModal>(nullptr, subject); },
                  [&](HWND dialog) {
                    ASSERT_NE(nullptr, dialog);
                    EXPECT_EQ(dialog, OpenSingleDialog(IDD_TEST_MODAL));
                    EXPECT_EQ(0, RunSingleModal<TestModal>(nullptr, subject));  // not a second
                    for (int i = 0; i < c.sent; ++i) SendMessageA(dialog, c.message, c.wParam, 0);
                    PumpUntil([&] { return OpenSingleDialog(IDD_TEST_MODAL) == nullptr; }, 2000);
                  });
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.log, subject.log);
    EXPECT_EQ(nullptr, OpenSingleDialog(IDD_TEST_MODAL));
  }
}

}  // namespace
}  // namespace tollwick
