// The Add Discount dialog and its presets menu under Wine, driven through window messages: what it
// shows of a record, which controls it enables, what OK and Cancel leave in the record, and how the
// presets menu loads, stores and lists presets.

#include "charging/win32/add_discount_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "charging/discount_presets.h"
#include "charging/win32/presets_menu.h"
#include "discount_checks.h"
#include "fake_registry.h"
#include "modal_script.h"
#include "platform/win32/scoped_handles.h"
#include "resources/add_discount_ids.h"

namespace tollwick {
namespace {

using Ids = std::vector<int>;

constexpr const char* kCaption = "Add Discount";
const Ids kDays = {IDC_DISCOUNT_SUNDAY,   IDC_DISCOUNT_MONDAY, IDC_DISCOUNT_TUESDAY,
                   IDC_DISCOUNT_WEDNESDAY, IDC_DISCOUNT_THURSDAY, IDC_DISCOUNT_FRIDAY,
                   IDC_DISCOUNT_SATURDAY};
// Every control whose enabled state follows the others.
const Ids kFollowers = {IDC_DISCOUNT_PERCENT,  IDC_DISCOUNT_FREE_MINS, IDC_DISCOUNT_SUNDAY,
                        IDC_DISCOUNT_MONDAY,   IDC_DISCOUNT_TUESDAY,   IDC_DISCOUNT_WEDNESDAY,
                        IDC_DISCOUNT_THURSDAY, IDC_DISCOUNT_FRIDAY,    IDC_DISCOUNT_SATURDAY,
                        IDC_DISCOUNT_CERTAIN,  IDC_DISCOUNT_FROM,      IDC_DISCOUNT_TO};
const Ids kModes = {IDC_DISCOUNT_PERCENTAGE_MODE, IDC_DISCOUNT_TIME_FREE_MODE,
                    IDC_DISCOUNT_FREE_CALL_MODE};

// What a click does to an automatic check box: toggle, then tell the dialog.
void Tick(HWND dialog, int id) {
  CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) == BST_CHECKED ? BST_UNCHECKED
                                                                            : BST_CHECKED);
  Press(dialog, id);
}

Ids Enabled(HWND dialog, const Ids& ids) {
  Ids enabled;
  for (int id : ids) {
    if (IsWindowEnabled(GetDlgItem(dialog, id))) enabled.push_back(id);
  }
  return enabled;
}

Ids Checked(HWND dialog, const Ids& ids) {
  Ids checked;
  for (int id : ids) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) checked.push_back(id);
  }
  return checked;
}

Ids Join(Ids ids, const Ids& more) {
  ids.insert(ids.end(), more.begin(), more.end());
  return ids;
}

struct MenuItem {
  std::string text;
  UINT id;
  ULONG_PTR data;
  UINT state;
  bool operator==(const MenuItem& o) const {
    return text == o.text && id == o.id && data == o.data && state == o.state;
  }
};

void PrintTo(const MenuItem& item, std::ostream* out) {
  *out << '"' << item.text << "\" id " << item.id << " data " << item.data << " state "
       << item.state;
}

std::vector<MenuItem> ItemsOf(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[128] = "";
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    EXPECT_EQ(static_cast<UINT>(MFT_STRING), info.fType) << text;
    items.push_back({text, info.wID, info.dwItemData, info.fState});
  }
  return items;
}

// The presets menu as it shows after "&Presets >": where it opened and what it offered.
struct OpenedMenu {
  bool shown = false;
  RECT rect{};
  std::vector<MenuItem> items;
};

OpenedMenu OpenPresetsMenu(HWND dialog, const char* screenshot = nullptr) {
  OpenedMenu menu;
  menu.shown = WhileMenuShows(
      [dialog] { Press(dialog, IDC_DISCOUNT_PRESETS); },
      [&](HWND popup) {
        menu.items = ItemsOf(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)));
        if (screenshot == nullptr) return;
        RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT both;
        GetWindowRect(dialog, &both);
        UnionRect(&both, &both, &menu.rect);
        SaveScreenshot(both, screenshot);
      },
      menu.rect);
  return menu;
}

class AddDiscountDialogTest : public ::testing::Test {
 protected:
  // Opens the dialog on the record, runs the script on it, and returns the dialog's result.
  INT_PTR Run(Discount& record, const std::function<void(HWND)>& script) {
    INT_PTR result = 0;
    RunWithDialog(
        kCaption,
        [&] { result = ShowAddDiscountDialog(nullptr, record, store); },
        [&](HWND dialog) {
          ASSERT_NE(nullptr, dialog);
          script(dialog);
        });
    return result;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
};

TEST_F(AddDiscountDialogTest, OpensANewDiscountAsAnUntitledPercentageAtAllTimes) {
  Discount record = NewDiscount();
  const Discount before = record;
  const INT_PTR result = Run(record, [](HWND dialog) {
    EXPECT_EQ("Untitled", ControlText(dialog, IDC_DISCOUNT_NAME));
    EXPECT_EQ("0", ControlText(dialog, IDC_DISCOUNT_PERCENT));
    EXPECT_EQ("0", ControlText(dialog, IDC_DISCOUNT_FREE_MINS));
    EXPECT_EQ("18:00", ControlText(dialog, IDC_DISCOUNT_FROM));
    EXPECT_EQ("23:59", ControlText(dialog, IDC_DISCOUNT_TO));
    EXPECT_EQ(Ids{IDC_DISCOUNT_PERCENTAGE_MODE}, Checked(dialog, kModes));
    EXPECT_EQ(kDays, Checked(dialog, Join(kDays, {IDC_DISCOUNT_SOME_TIMES, IDC_DISCOUNT_CERTAIN})));
    EXPECT_EQ(Ids{IDC_DISCOUNT_PERCENT}, Enabled(dialog, kFollowers));
    SaveScreenshot(dialog, "add_discount");
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(0, std::memcmp(&before, &record, sizeof record));
}

// One walk through the controls from a new discount: each step presses a radio button or clicks a
// check box, and the followers' enabled states must match after it.
TEST_F(AddDiscountDialogTest, EnabledStatesFollowTheModeAndTheTimeLimits) {
  struct Step {
    const char* what;
    int control;
    Ids enabled;
  };
  const Ids days = Join({IDC_DISCOUNT_PERCENT}, Join(kDays, {IDC_DISCOUNT_CERTAIN}));
  const Ids daysAndTimes = Join(days, {IDC_DISCOUNT_FROM, IDC_DISCOUNT_TO});
  const Step steps[] = {
      {"free call", IDC_DISCOUNT_FREE_CALL_MODE, {}},
      {"time free", IDC_DISCOUNT_TIME_FREE_MODE, {IDC_DISCOUNT_FREE_MINS}},
      {"percentage", IDC_DISCOUNT_PERCENTAGE_MODE, {IDC_DISCOUNT_PERCENT}},
      {"times without days", IDC_DISCOUNT_CERTAIN, {IDC_DISCOUNT_PERCENT}},
      {"days with times", IDC_DISCOUNT_SOME_TIMES, daysAndTimes},
      {"days without times", IDC_DISCOUNT_CERTAIN, days},
      {"times again", IDC_DISCOUNT_CERTAIN, daysAndTimes},
      {"no days", IDC_DISCOUNT_SOME_TIMES, {IDC_DISCOUNT_PERCENT}},
  };
  Discount record = NewDiscount();
  Run(record, [&](HWND dialog) {
    for (const Step& step : steps) {
      SCOPED_TRACE(step.what);
      const bool mode = std::find(kModes.begin(), kModes.end(), step.control) != kModes.end();
      if (mode) {
        Press(dialog, step.control);
        EXPECT_EQ(Ids{step.control}, Checked(dialog, kModes));
      } else {
        Tick(dialog, step.control);
      }
      EXPECT_EQ(step.enabled, Enabled(dialog, kFollowers));
    }
    Press(dialog, IDCANCEL);
  });
}

TEST_F(AddDiscountDialogTest, FreeCallStoresModeTwoOnOk) {
  Discount record = NewDiscount();
  const INT_PTR result = Run(record, [](HWND dialog) {
    Press(dialog, IDC_DISCOUNT_FREE_CALL_MODE);
    EXPECT_EQ(Ids{}, Enabled(dialog, {IDC_DISCOUNT_PERCENT, IDC_DISCOUNT_FREE_MINS}));
    Press(dialog, IDOK);
  });
  EXPECT_EQ(IDOK, result);
  Discount expected = NewDiscount();
  expected.mode = kFreeCall;
  ExpectSameDiscount(expected, record);
}

TEST_F(AddDiscountDialogTest, OkStoresEveryControlAsEnteredWithoutChecks) {
  Discount record = NewDiscount();
  const std::string longName(kNameChars + 20, 'n');
  const INT_PTR result = Run(record, [&longName](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DISCOUNT_NAME, longName.c_str());
    SetDlgItemTextA(dialog, IDC_DISCOUNT_PERCENT, "150");
    SetDlgItemTextA(dialog, IDC_DISCOUNT_FREE_MINS, "2.5 minutes");
    SetDlgItemTextA(dialog, IDC_DISCOUNT_FROM, "7:05");
    SetDlgItemTextA(dialog, IDC_DISCOUNT_TO, "25:00");
    Press(dialog, IDC_DISCOUNT_TIME_FREE_MODE);
    Tick(dialog, IDC_DISCOUNT_SOME_TIMES);
    Tick(dialog, IDC_DISCOUNT_MONDAY);
    Tick(dialog, IDC_DISCOUNT_SATURDAY);
    Tick(dialog, IDC_DISCOUNT_CERTAIN);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(std::string(kNameChars - 1, 'n'), record.name);
  EXPECT_EQ(150.0f, record.percent);
  EXPECT_EQ(2.5f, record.freeMins);
  EXPECT_EQ(static_cast<std::uint32_t>(kTimeFree), record.mode);
  EXPECT_EQ(1u, record.someTimes);
  const std::uint32_t days[7] = {1, 0, 1, 1, 1, 1, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(days[i], record.days[i]) << "day " << i;
  EXPECT_EQ(1u, record.certain);
  EXPECT_EQ(0x0705, record.from);
  EXPECT_EQ(-1, record.to);
}

TEST_F(AddDiscountDialogTest, AChosenPresetFillsEveryControlAndReachesTheRecordOnlyOnOk) {
  const Discount preset = MakeDiscount("Weekend free", kTimeFree, 12.5f, 30.0f);
  SavePreset(store, preset);
  struct Case {
    int close;
    INT_PTR result;
  };
  for (const Case& c : {Case{IDCANCEL, IDCANCEL}, Case{IDOK, IDOK}}) {
    SCOPED_TRACE(c.close);
    Discount record = NewDiscount();
    const INT_PTR result = Run(record, [&c](HWND dialog) {
      Press(dialog, IDC_DISCOUNT_FREE_CALL_MODE);
      Tick(dialog, IDC_DISCOUNT_MONDAY);
      SendMessageA(dialog, WM_COMMAND, IDM_PRESET_FIRST, 0);
      EXPECT_EQ("Weekend free", ControlText(dialog, IDC_DISCOUNT_NAME));
      EXPECT_EQ("12.5", ControlText(dialog, IDC_DISCOUNT_PERCENT));
      EXPECT_EQ("30", ControlText(dialog, IDC_DISCOUNT_FREE_MINS));
      EXPECT_EQ("8:30", ControlText(dialog, IDC_DISCOUNT_FROM));
      EXPECT_EQ("17:45", ControlText(dialog, IDC_DISCOUNT_TO));
      EXPECT_EQ(Ids{IDC_DISCOUNT_TIME_FREE_MODE}, Checked(dialog, kModes));
      EXPECT_EQ((Ids{IDC_DISCOUNT_SOME_TIMES, IDC_DISCOUNT_SUNDAY, IDC_DISCOUNT_SATURDAY,
                     IDC_DISCOUNT_CERTAIN}),
                Checked(dialog, Join({IDC_DISCOUNT_SOME_TIMES}, Join(kDays, {IDC_DISCOUNT_CERTAIN}))));
      EXPECT_EQ(Join(Join({IDC_DISCOUNT_FREE_MINS}, kDays),
                     {IDC_DISCOUNT_CERTAIN, IDC_DISCOUNT_FROM, IDC_DISCOUNT_TO}),
                Enabled(dialog, kFollowers));
      Press(dialog, c.close);
    });
    EXPECT_EQ(c.result, result);
    ExpectSameDiscount(c.close == IDOK ? preset : NewDiscount(), record);
  }
}

// Only the first 51 menu items can be chosen; a command with no preset behind it, or the grayed
// "No presets" item, changes nothing and stores nothing. Each case sends the ignored command first.
TEST_F(AddDiscountDialogTest, OnlyCommandsOfTheFirstFiftyOnePresetsLoadOne) {
  struct Case {
    int presets;
    UINT ignored;
    UINT chosen;  // 0: none to choose
    const char* name;
  };
  const Case cases[] = {
      {52, IDM_PRESET_FIRST + 51, IDM_PRESET_FIRST + 50, "Preset 51"},
      {3, IDM_PRESET_FIRST + 3, IDM_PRESET_FIRST + 2, "Preset 03"},
      {0, IDM_PRESET_FIRST, 0, "Untitled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.presets);
    FakeRegistry fresh;
    SettingsStore freshStore{fresh};
    for (int i = 1; i <= c.presets; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "Preset %02d", i);
      SavePreset(freshStore, MakeDiscount(name, kPercentageDiscount, static_cast<float>(i), 0.0f));
    }
    Discount record = NewDiscount();
    RunWithDialog(
        kCaption,
        [&] { ShowAddDiscountDialog(nullptr, record, freshStore); },
        [&c](HWND dialog) {
          ASSERT_NE(nullptr, dialog);
          SendMessageA(dialog, WM_COMMAND, c.ignored, 0);
          EXPECT_EQ("Untitled", ControlText(dialog, IDC_DISCOUNT_NAME));
          EXPECT_EQ("0", ControlText(dialog, IDC_DISCOUNT_PERCENT));
          if (c.chosen != 0) SendMessageA(dialog, WM_COMMAND, c.chosen, 0);
          EXPECT_EQ(c.name, ControlText(dialog, IDC_DISCOUNT_NAME));
          Press(dialog, IDCANCEL);
        });
    EXPECT_EQ(static_cast<std::size_t>(c.presets), PresetNames(freshStore).size());
  }
}

TEST_F(AddDiscountDialogTest, SavePresetStoresTheControlsAndTheMenuThenListsIt) {
  SavePreset(store, MakeDiscount("Weekend free", kFreeCall, 0.0f, 0.0f));
  SavePreset(store, MakeDiscount("Daytime tenth", kPercentageDiscount, 10.0f, 0.0f));
  Discount record = NewDiscount();
  const Discount before = record;
  Run(record, [this](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DISCOUNT_NAME, "Evening half");
    SetDlgItemTextA(dialog, IDC_DISCOUNT_PERCENT, "50");
    Tick(dialog, IDC_DISCOUNT_SOME_TIMES);
    Tick(dialog, IDC_DISCOUNT_CERTAIN);
    Press(dialog, IDC_DISCOUNT_SAVE_PRESET);

    Discount saved = NewDiscount();
    CopyBoundedText(saved.name, kNameChars, "Evening half");
    Discount expected = saved;
    LoadPreset(store, saved);
    expected.percent = 50.0f;
    expected.someTimes = 1;
    expected.certain = 1;
    ExpectSameDiscount(expected, saved);

    const OpenedMenu menu = OpenPresetsMenu(dialog, "add_discount_presets");
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ((std::vector<MenuItem>{{"Daytime tenth", IDM_PRESET_FIRST, 0, 0},
                                     {"Evening half", IDM_PRESET_FIRST + 1, 1, 0},
                                     {"Weekend free", IDM_PRESET_FIRST + 2, 2, 0}}),
              menu.items);
    // At the button's top right corner.
    RECT button;
    GetWindowRect(GetDlgItem(dialog, IDC_DISCOUNT_PRESETS), &button);
    EXPECT_EQ(button.right, menu.rect.left);
    EXPECT_EQ(button.top, menu.rect.top);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(0, std::memcmp(&before, &record, sizeof record));
}

TEST(PresetsMenuTest, ListsEachPresetByPositionOrSaysThereAreNone) {
  struct Case {
    std::vector<const char*> presets;
    UINT firstId;
    std::vector<MenuItem> items;
  };
  const Case cases[] = {
      {{}, 40003, {{"No presets", 40003, 1, MFS_GRAYED}}},
      {{}, 500, {{"No presets", 500, 1, MFS_GRAYED}}},
      {{"Weekend free", "Evening half"},
       40003,
       {{"Evening half", 40003, 0, 0}, {"Weekend free", 40004, 1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.presets.size());
    FakeRegistry registry;
    SettingsStore store{registry};
    for (const char* name : c.presets) SavePreset(store, MakeDiscount(name, kFreeCall, 0.0f, 0.0f));
    ScopedMenu menu(CreatePopupMenu());
    FillPresetsMenu(menu.get(), store, c.firstId);
    EXPECT_EQ(c.items, ItemsOf(menu.get()));
  }
}

}  // namespace
}  // namespace tollwick
