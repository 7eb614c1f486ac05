// The Setup page and its Charge Rates and Billing Rules dialogs on their real templates, driven through their window
// messages against the real registry, with a scripted discount editor; and the phone book read in
// full from the RAS simulator.

#include "charging/win32/setup_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "charging/win32/charge_rates_dialog.h"
#include "charging/win32/dialup_entries.h"
#include "discount_checks.h"
#include "modal_script.h"
#include "page_host.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "resources/setup_page_ids.h"
#include "sim_store.h"

namespace tollwick {
namespace {

using Names = std::vector<std::string>;

const Names kAccounts = {"Beta", "Alpha"};

class SetupPageWine : public PageTest {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ForgetPendingDialogs();
    ClearProfiles();
  }
  void TearDown() override {
    PageTest::TearDown();
    ForgetPendingDialogs();
    ClearProfiles();
  }
  static void ClearProfiles() {
    for (const char* name : {".Default", "Alpha", "Beta"}) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kRootPath) + "\\" + name).c_str());
    }
  }

  void Open() { OpenPage<SetupPage>(IDD_SETUP_PAGE, subject_); }
  // An account stored with its own settings and these discounts, before the page opens.
  void StoreAccount(const char* name, const Names& discounts, float minCharge = 0.25f) {
    ChargeProfile profile;
    CopyBoundedText(profile.name, kNameChars, name);
    profile.minChargeOn = 1;
    profile.minCharge = minCharge;
    for (const std::string& d : discounts) profile.discounts.push_back(Named(d.c_str()));
    library_.SaveChargeProfile(profile);
  }
  ProfileLibrary::Owned Stored(const char* name) {
    library_.Load(kDefaultProfileName, true);
    return library_.Load(name, false);
  }
  Names ComboItems() const {
    HWND box = GetDlgItem(page_, IDC_SETUP_ACCOUNT);
    Names items;
    for (LRESULT i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); ++i) {
      char text[128] = "";
      SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  void Choose(const char* account) {
    HWND box = GetDlgItem(page_, IDC_SETUP_ACCOUNT);
    SendMessageA(box, CB_SETCURSEL,
                 SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(account)),
                 0);
    SendMessageA(page_, WM_COMMAND, MAKEWPARAM(IDC_SETUP_ACCOUNT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  }
  std::string ShownAccount() const {
    HWND box = GetDlgItem(page_, IDC_SETUP_ACCOUNT);
    char text[128] = "";
    SendMessageA(box, CB_GETLBTEXT, SendMessageA(box, CB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(text));
    return text;
  }
  HWND List() const { return GetDlgItem(page_, IDC_SETUP_DISCOUNTS); }
  // The list's items in the order shown, each as "name/image".
  Names ListItems() const {
    Names items;
    for (int i = 0; i < ListView_GetItemCount(List()); ++i) {
      char text[128] = "";
      LVITEMA item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = i;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      items.push_back(std::string(text) + "/" + std::to_string(item.iImage));
    }
    return items;
  }
  void Select(const Names& names) {
    for (int i = 0; i < ListView_GetItemCount(List()); ++i) {
      char text[128] = "";
      ListView_GetItemText(List(), i, 0, text, sizeof text);
      bool wanted = false;
      for (const std::string& n : names) wanted = wanted || n == text;
      ListView_SetItemState(List(), i, wanted ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
  }
  void Check(int id, bool on) {
    CheckDlgButton(page_, id, on ? BST_CHECKED : BST_UNCHECKED);
    Press(page_, id);
  }
  // The frame's messages: OK asked, then told.
  LRESULT MayApply() { return SendMessageA(page_, kMayApplyPageMessage, 0, 0); }
  void FrameCommand(int id) { SendMessageA(page_, WM_COMMAND, id, 0); }

  Win32Registry registry_;
  SettingsStore store_{registry_};
  ProfileLibrary library_{store_};
  Win32Environment environment_;
  // What the scripted editor does to the record it is given; the record is kept.
  Discount editedTo_ = Named("Untitled");
  bool editorAccepts_ = true;
  std::vector<Discount> editorSaw_;
  SetupPageSubject subject_{library_, environment_, kAccounts, [this](HWND, Discount& record) {
                              editorSaw_.push_back(record);
                              if (editorAccepts_) record = editedTo_;
                              return editorAccepts_;
                            }};
};

TEST_F(SetupPageWine, OpensOnDefaultWithEveryAccountAndItsControls) {
  StoreAccount(".Default", {"Evening"});
  Open();
  EXPECT_EQ(Names({".Default", "Alpha", "Beta"}), ComboItems());
  EXPECT_EQ(".Default", ShownAccount());
  EXPECT_EQ(".Default", Text(IDC_SETUP_SHOWN_NAME));
  EXPECT_EQ("\xA3", Text(IDC_SETUP_CURRENCY));
  EXPECT_EQ("0.25", Text(IDC_SETUP_MIN_CHARGE));
  EXPECT_TRUE(Checked(IDC_SETUP_MIN_CHARGE_ON));
  EXPECT_FALSE(Enabled(IDC_SETUP_USE_DEFAULT));
  for (int id : {IDC_SETUP_RATES, IDC_SETUP_BILLING, IDC_SETUP_ADD, IDC_SETUP_REMOVE, IDC_SETUP_EDIT,
                 IDC_SETUP_MIN_CHARGE_ON, IDC_SETUP_MIN_CHARGE, IDC_SETUP_DISCOUNTS}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_EQ(Names({"Evening/0"}), ListItems());
  char header[32] = "";
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = header;
  column.cchTextMax = sizeof header;
  SendMessageA(List(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_STREQ("Discounts", header);
  EXPECT_EQ(3, ImageList_GetImageCount(ListView_GetImageList(List(), LVSIL_SMALL)));
  EXPECT_TRUE(SaveScreenshot(page_, "setup_page"));
}

TEST_F(SetupPageWine, TheDefaultSwitchStaysWithItsAccountAndLocksItsSettings) {
  Open();
  Choose("Alpha");
  EXPECT_TRUE(Checked(IDC_SETUP_USE_DEFAULT));  // never set up
  Check(IDC_SETUP_USE_DEFAULT, false);
  EXPECT_TRUE(Enabled(IDC_SETUP_EDIT));
  Check(IDC_SETUP_USE_DEFAULT, true);
  Choose("Beta");
  Choose("Alpha");
  EXPECT_EQ("Alpha", Text(IDC_SETUP_SHOWN_NAME));
  EXPECT_TRUE(Checked(IDC_SETUP_USE_DEFAULT));
  EXPECT_TRUE(Enabled(IDC_SETUP_USE_DEFAULT));
  for (int id : {IDC_SETUP_RATES, IDC_SETUP_BILLING, IDC_SETUP_ADD, IDC_SETUP_REMOVE, IDC_SETUP_EDIT,
                 IDC_SETUP_MIN_CHARGE_ON, IDC_SETUP_MIN_CHARGE, IDC_SETUP_DISCOUNTS}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_EQ(Names{}, ListItems());
}

TEST_F(SetupPageWine, AddingRefusesEmptyAndClashingNamesWithTheMessage) {
  StoreAccount(".Default", {"Evening", "a/b"});
  const struct {
    const char* name;
    bool accepted;
  } cases[] = {{"evening", false}, {"A\\B", false}, {"", false}, {"Evening 2", true}};
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    editedTo_ = Named(c.name, kTimeFree);
    ExpectedBox box;
    Press(page_, IDC_SETUP_ADD);
    EXPECT_EQ(!c.accepted, box.pending.ran);
    EXPECT_EQ(c.accepted ? "" : "Unable to add discount - a discount of that name already exists!",
              box.text);
    ForgetPendingDialogs();
  }
  EXPECT_STREQ("Untitled", editorSaw_.front().name);  // the editor starts from a new discount
  EXPECT_EQ(Names({"a/b/0", "Evening/0", "Evening 2/1"}), ListItems());
  editorAccepts_ = false;
  Press(page_, IDC_SETUP_ADD);
  EXPECT_EQ(3, ListView_GetItemCount(List()));
}

TEST_F(SetupPageWine, AnEditShowsTheNewNameAndKindAndAClashKeepsTheRecord) {
  StoreAccount(".Default", {"Evening", "Weekend"});
  Open();
  Select({"Weekend"});
  editedTo_ = Named("EVENING", kFreeCall);
  {
    ExpectedBox box;
    Press(page_, IDC_SETUP_EDIT);
    ASSERT_TRUE(box.pending.ran);
    EXPECT_EQ("Unable to add discount - a discount of that name already exists!", box.text);
  }
  ForgetPendingDialogs();
  EXPECT_EQ(Names({"Evening/0", "Weekend/0"}), ListItems());
  Select({"Weekend"});
  editedTo_ = Named("Late", kFreeCall);
  Press(page_, IDC_SETUP_EDIT);
  EXPECT_STREQ("Weekend", editorSaw_.back().name);
  EXPECT_EQ(Names({"Evening/0", "Late/2"}), ListItems());
}

TEST_F(SetupPageWine, RemovingThreeSelectedRemovesThemFromListAndProfile) {
  StoreAccount("Alpha", {"A", "B", "C", "D"});
  Open();
  Choose("Alpha");
  Select({"A", "C", "D"});
  Press(page_, IDC_SETUP_REMOVE);
  EXPECT_EQ(Names({"B/0"}), ListItems());
  ASSERT_EQ(0, MayApply());
  FrameCommand(IDOK);
  const ProfileLibrary::Owned alpha = Stored("Alpha");
  ASSERT_EQ(1u, alpha->discounts.size());
  EXPECT_STREQ("B", alpha->discounts[0].name);
}

TEST_F(SetupPageWine, OkSavesEveryAccountAndCancelNothing) {
  StoreAccount("Alpha", {"Evening"});
  for (int close : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(close);
    Open();
    Choose("Alpha");
    Check(IDC_SETUP_MIN_CHARGE_ON, false);
    SetDlgItemTextA(page_, IDC_SETUP_MIN_CHARGE, "0.5");
    Choose("Beta");
    Check(IDC_SETUP_USE_DEFAULT, false);
    Choose(".Default");
    SetDlgItemTextA(page_, IDC_SETUP_MIN_CHARGE, "0.07");
    if (close == IDOK) {
      ASSERT_EQ(0, MayApply());
    }
    FrameCommand(close);
    DestroyWindow(page_);

    const ProfileLibrary::Owned alpha = Stored("Alpha");
    EXPECT_EQ(close == IDOK ? 0u : 1u, alpha->minChargeOn);
    EXPECT_EQ(close == IDOK ? 0.5f : 0.25f, alpha->minCharge);
    EXPECT_EQ(close == IDOK ? 0u : 1u, Stored("Beta")->useDefault);
    EXPECT_EQ(close == IDOK ? 0.07f : 0.05f, library_.Load(kDefaultProfileName, true)->minCharge);
  }
}

TEST_F(SetupPageWine, ANegativeMinimumChargeTypedKeepsItsAccountAndRefusesOk) {
  StoreAccount(".Default", {}, -0.505f);  // as an older version may have stored it
  StoreAccount("Alpha", {});
  Open();
  {
    ExpectedBox none;  // nobody typed: neither .Default's amount nor Beta's locked copy is refused
    Choose("Beta");
    Choose("Alpha");
    EXPECT_FALSE(none.pending.ran) << none.text;
    ForgetPendingDialogs();
  }
  SetDlgItemTextA(page_, IDC_SETUP_MIN_CHARGE, "-0.10");
  {
    ExpectedBox box;
    Choose("Beta");
    ASSERT_TRUE(box.pending.ran);
    EXPECT_EQ("Invalid amount entered for 'Minimum charge'!", box.text);
  }
  EXPECT_EQ("Alpha", ShownAccount());
  EXPECT_EQ("-0.10", Text(IDC_SETUP_MIN_CHARGE));
  {
    ExpectedBox box;
    EXPECT_NE(0, MayApply());
    EXPECT_EQ("Invalid amount entered for 'Minimum charge'!", box.text);
  }
  SetDlgItemTextA(page_, IDC_SETUP_MIN_CHARGE, "abc");  // not a number: 0.00, as every field reads it
  EXPECT_EQ(0, MayApply());
  FrameCommand(IDOK);
  EXPECT_EQ(0.0f, Stored("Alpha")->minCharge);
  EXPECT_EQ(-0.505f, library_.Load(kDefaultProfileName, true)->minCharge);  // saved as it was
}

struct RatesCase {
  const char* from;
  const char* to;
  const char* day;
  const char* evening;
  const char* weekend;
  const char* refusal;  // null when accepted
};

TEST_F(SetupPageWine, ChargeRatesStoresValidFieldsAndRefusesEachBadOneNamingIt) {
  const RatesCase cases[] = {
      {"8:00", "18:00", "0.06", "0.02", "0.01", nullptr},
      {"25:00", "18:00", "0.06", "0.02", "0.01", "Invalid time entered for 'from'!"},
      {"8:00", "8.30", "0.06", "0.02", "0.01", "Invalid time entered for 'to'!"},
      {"8:00", "18:00", "-0.06", "0.02", "0.01", "Invalid rate entered for 'Daytime'!"},
      {"8:00", "18:00", "0.06", "-1", "0.01", "Invalid rate entered for 'Evening'!"},
      {"8:00", "18:00", "0.06", "0.02", "-0.01", "Invalid rate entered for 'Weekend'!"},
      {"8:00", "18:00", "0.06", "0.02", "1.7e38", "Invalid rate entered for 'Weekend'!"},
      {"8:00", "18:00", "2e9", "0.02", "0.01", "Invalid rate entered for 'Daytime'!"},
      {"8:00", "18:00", "abc", "0.02", "0.01", nullptr},
  };
  for (const RatesCase& c : cases) {
    SCOPED_TRACE(c.refusal ? c.refusal : c.day);
    const CallChargeInfo before{0x0700, 0x1300, 0.5f, 0.25f, 0.125f};
    CallChargeInfo rates = before;
    std::string shown;
    std::string opened[5];
    bool stayedOpen = false;
    ExpectedBox box;
    PendingDialog fill{"Charge Rates", [&](HWND dialog) {
                         const int ids[] = {IDC_RATES_DAY_FROM, IDC_RATES_DAY_TO,
                                            IDC_RATES_DAY_RATE, IDC_RATES_EVENING_RATE,
                                            IDC_RATES_WEEKEND_RATE};
                         const char* texts[] = {c.from, c.to, c.day, c.evening, c.weekend};
                         for (int i = 0; i < 5; ++i) {
                           opened[i] = ControlText(dialog, ids[i]);
                           SetDlgItemTextA(dialog, ids[i], texts[i]);
                         }
                         shown = ControlText(dialog, IDC_RATES_EVENING_LABEL);
                         if (&c == &cases[0]) SaveScreenshot(dialog, "charge_rates");
                         if (c.refusal == nullptr) ForgetPendingDialogs();
                         Press(dialog, IDOK);
                         stayedOpen = IsWindowVisible(dialog) != FALSE;
                         if (stayedOpen) Press(dialog, IDCANCEL);
                       }};
    WhenDialogOpens(fill);
    const bool accepted = ShowChargeRatesDialog(host_.get(), rates, environment_);
    EXPECT_EQ("Evening : \xA3", shown);
    EXPECT_EQ("7:00", opened[0]);
    EXPECT_EQ("19:00", opened[1]);
    EXPECT_EQ("0.50", opened[2]);
    EXPECT_EQ("0.25", opened[3]);
    EXPECT_EQ("0.12", opened[4]);
    if (c.refusal != nullptr) {
      EXPECT_FALSE(accepted);
      EXPECT_TRUE(stayedOpen);
      EXPECT_EQ(c.refusal, box.text);
      EXPECT_EQ(0, std::memcmp(&before, &rates, sizeof rates));
    } else {
      EXPECT_TRUE(accepted);
      EXPECT_EQ(0x0800, rates.dayFrom);
      EXPECT_EQ(0x1200, rates.dayTo);
      EXPECT_EQ(std::strcmp(c.day, "abc") == 0 ? 0.0f : 0.06f, rates.dayRate);
      EXPECT_EQ(0.02f, rates.eveningRate);
      EXPECT_EQ(0.01f, rates.weekendRate);
    }
    ForgetPendingDialogs();
  }
}

// Opened from the page beside the rates: each field out of range refused naming it, the dialog
// staying open; the one-click steps; OK and the page's OK store the account's values.
TEST_F(SetupPageWine, BillingRulesRefuseEachBadFieldAndAreSavedWithTheProfile) {
  const struct {
    int id;
    const char* bad;
    const char* good;
    const char* refusal;
  } fields[] = {
      {IDC_RULES_INCREMENT, "0", "1", "Invalid number entered for 'Increment'!"},
      {IDC_RULES_FIRST_PERIOD, "86401", "0", "Invalid number entered for 'First period'!"},
      {IDC_RULES_FEE, "-0.01", "0", "Invalid amount entered for 'Connection fee'!"},
      {IDC_RULES_FEE, "2e9", "0", "Invalid amount entered for 'Connection fee'!"},
      {IDC_RULES_VOLUME_STEP, "0", "1", "Invalid number entered for 'KB step'!"},
      {IDC_RULES_PERIOD_DAY, "32", "1", "Invalid number entered for 'Period day'!"},
      {IDC_RULES_INCLUDED_MINUTES, "1.5", "0", "Invalid number entered for 'Included minutes'!"},
  };
  StoreAccount("Alpha", {});
  Open();
  Choose("Alpha");
  std::string steps;
  PendingDialog fill{"Billing Rules", [&](HWND dialog) {
                       for (const auto& f : fields) {
                         ExpectedBox box;
                         SetDlgItemTextA(dialog, f.id, f.bad);
                         Press(dialog, IDOK);
                         EXPECT_EQ(f.refusal, box.text);
                         EXPECT_TRUE(IsWindowVisible(dialog)) << f.refusal;
                         SetDlgItemTextA(dialog, f.id, f.good);
                       }
                       for (int id : {IDC_RULES_PER_SECOND, IDC_RULES_FIRST_MINUTE,
                                      IDC_RULES_PER_HALF_MINUTE, IDC_RULES_PER_MINUTE}) {
                         Press(dialog, id);
                         steps += ControlText(dialog, IDC_RULES_FIRST_PERIOD) + "/" +
                                  ControlText(dialog, IDC_RULES_INCREMENT) + " ";
                       }
                       SetDlgItemTextA(dialog, IDC_RULES_FEE, "0.05");
                       CheckDlgButton(dialog, IDC_RULES_ROUND_UP, BST_CHECKED);
                       SaveScreenshot(dialog, "billing_rules");
                       Press(dialog, IDOK);
                     }};
  WhenDialogOpens(fill);
  Press(page_, IDC_SETUP_BILLING);
  EXPECT_TRUE(fill.ran);
  EXPECT_EQ("0/1 60/1 30/30 60/60 ", steps);
  ASSERT_EQ(0, MayApply());
  FrameCommand(IDOK);
  DestroyWindow(page_);
  const ProfileLibrary::Owned alpha = Stored("Alpha");
  EXPECT_EQ(60u, alpha->rules.increment);
  EXPECT_EQ(0.05f, alpha->rules.connectionFee);
  EXPECT_TRUE(alpha->rules.roundUp);
}

TEST(DialUpEntriesWine, EveryEntryOfALongPhoneBookIsListedInOrder) {
  ASSERT_TRUE(rassim::ResetState());
  rassim::SimState sim = rassim::LoadState();
  Names expected;
  for (int i = 0; i < 40; ++i) {
    // The last is longer than a profile's name: listed whole, cut only where profiles are named.
    expected.push_back("Entry " + std::to_string(i) + std::string(i == 39 ? 150 : 0, 'x'));
  }
  sim.entries = expected;
  ASSERT_TRUE(rassim::SaveState(sim));
  EXPECT_EQ(expected, DialUpEntryNames());
  ASSERT_TRUE(rassim::ResetState());
  EXPECT_EQ(Names{}, DialUpEntryNames());
}

}  // namespace
}  // namespace tollwick
