// The Misc page on its real template, driven through its window messages: the switches shown and
// stored on OK only, and the clock preview that its timer moves on.

#include "core/win32/misc_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/clock_icon.h"
#include "handle_checks.h"
#include "page_host.h"
#include "platform/win32/win32_registry.h"
#include "resources/misc_page_ids.h"

namespace tollwick {
namespace {

constexpr const char* kSwitchNames[] = {"ClockIcon", "NoDCC", "CheckStatus", "WarnAllowance",
                                        "Adapters"};

class MiscPageWine : public PageTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRootPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root_, nullptr),
              ERROR_SUCCESS);
    for (const char* name : kSwitchNames) RegDeleteValueA(root_, name);
  }
  void TearDown() override {
    PageTest::TearDown();
    for (const char* name : kSwitchNames) RegDeleteValueA(root_, name);
    RegCloseKey(root_);
  }

  void Open() { OpenPage<MiscPage>(IDD_MISC_PAGE, subject_); }
  // The stored switch as its 4 bytes read little-endian, or -1 when it is not there as 4 bytes.
  std::int64_t Stored(const char* name) const {
    std::uint8_t bytes[8] = {};
    DWORD size = sizeof bytes;
    DWORD type = 0;
    if (RegQueryValueExA(root_, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS || size != 4 ||
        type != REG_BINARY) {
      return -1;
    }
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  }
  HICON Preview() const {
    return reinterpret_cast<HICON>(SendDlgItemMessageA(page_, IDC_MISC_PREVIEW, STM_GETIMAGE,
                                                       IMAGE_ICON, 0));
  }

  HKEY root_ = nullptr;
  Win32Registry registry_;
  SettingsStore store_{registry_};
  ProgramSettings settings_;
  MiscPageSubject subject_{settings_, store_};
};

struct SwitchCase {
  ProgramSettings shown;
  std::vector<int> clicks;
  ProgramSettings saved;
};

TEST_F(MiscPageWine, ShowsTheSwitchesAndStoresThemOnOk) {
  const SwitchCase cases[] = {
      {{0, 1, 0, 1, {}}, {}, {0, 1, 0, 1, {}}},
      {{0, 1, 0, 1, {}}, {IDC_MISC_CLOCK_ICON}, {1, 1, 0, 1, {}}},
      {{1, 0, 1, 1, {}}, {IDC_MISC_NORMAL_ICON, IDC_MISC_NO_DCC}, {0, 1, 1, 1, {}}},
      {{0, 1, 0, 1, {}}, {IDC_MISC_NO_DCC, IDC_MISC_CHECK_STATUS}, {0, 0, 1, 1, {}}},
      {{0, 1, 0, 1, {}}, {IDC_MISC_WARN_ALLOWANCE}, {0, 1, 0, 0, {}}},
  };
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.clicks.size() << " clicks from " << c.shown.clockIcon
                                    << c.shown.noDcc << c.shown.checkStatus);
    settings_ = c.shown;
    Open();
    EXPECT_EQ(Checked(IDC_MISC_CLOCK_ICON), c.shown.clockIcon == 1);
    EXPECT_EQ(Checked(IDC_MISC_NORMAL_ICON), c.shown.clockIcon == 0);
    EXPECT_EQ(Checked(IDC_MISC_NO_DCC), c.shown.noDcc == 1);
    EXPECT_EQ(Checked(IDC_MISC_CHECK_STATUS), c.shown.checkStatus == 1);
    EXPECT_EQ(Checked(IDC_MISC_WARN_ALLOWANCE), c.shown.warnAllowance == 1);
    for (int id : c.clicks) Click(id);
    SendMessageA(page_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(settings_.clockIcon, c.saved.clockIcon);
    EXPECT_EQ(settings_.noDcc, c.saved.noDcc);
    EXPECT_EQ(settings_.checkStatus, c.saved.checkStatus);
    EXPECT_EQ(Stored("ClockIcon"), c.saved.clockIcon);
    EXPECT_EQ(Stored("NoDCC"), c.saved.noDcc);
    EXPECT_EQ(Stored("CheckStatus"), c.saved.checkStatus);
    // Written only once it differs from its default.
    EXPECT_EQ(Stored("WarnAllowance"), c.saved.warnAllowance == 1 ? -1 : 0);
    DestroyWindow(page_);
  }
}

// A chosen adapter absent now is listed last (after the machine's own) and stays chosen until
// unchecked; OK then stores none.
TEST_F(MiscPageWine, AChosenAdapterAbsentNowStaysChosenUntilUnchecked) {
  settings_.adapters = {u"Absent adapter"};
  Open();
  HWND list = GetDlgItem(page_, IDC_MISC_ADAPTERS);
  const int last = ListView_GetItemCount(list) - 1;
  wchar_t text[64] = {};
  LVITEMW item{};
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(list, LVM_GETITEMTEXTW, last, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(L"Absent adapter (absent)", text);
  ListView_SetCheckState(list, last, FALSE);
  SendMessageA(page_, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(settings_.adapters.empty());
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(root_, L"Adapters", nullptr, nullptr, nullptr, nullptr));
}

TEST_F(MiscPageWine, CancelLeavesTheSwitchesAndTheRegistryAlone) {
  Open();
  EXPECT_TRUE(SaveScreenshot(page_, "options-misc"));
  Click(IDC_MISC_CLOCK_ICON);
  Click(IDC_MISC_NO_DCC);
  SendMessageA(page_, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(settings_.clockIcon, 0u);
  EXPECT_EQ(settings_.noDcc, 1u);
  for (const char* name : kSwitchNames) EXPECT_EQ(Stored(name), -1) << name;
}

// The call length, in minutes, whose clock face the icon shows; -1 when none of the preview's.
int PreviewMinutes(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return -1;
  ScopedBitmap mask(info.hbmMask);
  ScopedBitmap colour(info.hbmColor);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } bmi = {};
  bmi.header.biSize = sizeof bmi.header;
  bmi.header.biWidth = kClockIconSize;
  bmi.header.biHeight = -kClockIconSize;  // top-down
  bmi.header.biPlanes = 1;
  bmi.header.biBitCount = 1;
  // The AND mask and the picture, one above the other as the planes are made.
  std::vector<std::uint8_t> rows(2 * kClockPlaneBytes);
  WindowDC screen(nullptr);
  if (colour.get() == nullptr ||
      GetDIBits(screen.get(), mask.get(), 0, kClockIconSize, rows.data(),
                reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS) != kClockIconSize ||
      GetDIBits(screen.get(), colour.get(), 0, kClockIconSize, rows.data() + kClockPlaneBytes,
                reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS) != kClockIconSize) {
    return -1;
  }
  std::vector<std::uint8_t> planes(2 * kClockPlaneBytes);
  for (int minutes = 0; minutes <= kLastClockPreviewFrame; ++minutes) {
    ClockIconPlanes(kClockIconSize, kClockIconSize, minutes, 0, planes.data(),
                    planes.data() + kClockPlaneBytes);
    if (planes == rows) return minutes;
  }
  return -1;
}

TEST_F(MiscPageWine, ThePreviewMovesOnEveryQuarterSecondAndGivesBackEachFace) {
  Open();
  const HICON first = Preview();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(PreviewMinutes(first), 0);
  HICON shown = first;
  std::vector<HICON> replaced;
  // Frame 0 is drawn when the page opens and again at the first tick; the minutes then count up.
  ASSERT_TRUE(PumpUntil([&] {
    const HICON now = Preview();
    if (now != shown) {
      replaced.push_back(shown);
      shown = now;
    }
    return PreviewMinutes(shown) >= 3;
  }));
  EXPECT_LE(PreviewMinutes(shown), 4);  // one frame a tick, none skipped
  EXPECT_GE(replaced.size(), 4u);
  for (HICON old : replaced) EXPECT_FALSE(IconAlive(old));
  EXPECT_TRUE(IconAlive(shown));
}

}  // namespace
}  // namespace tollwick
