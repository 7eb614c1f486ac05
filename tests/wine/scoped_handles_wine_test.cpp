// The handle owners against real Win32 objects: each gives its handle back when it goes, a move
// hands the handle over, a moved-from owner gives nothing back, a selection puts the previous object
// back, and none can be copied. (Wine's spooled printer DCs do not implement AbortDoc, and a printer
// would have to be installed, so ScopedPrintDocument is checked for its type only.)

#include "platform/win32/scoped_handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <optional>
#include <type_traits>
#include <typeinfo>

#include "handle_checks.h"

namespace tollwick {
namespace {

template <typename T>
constexpr bool kMoveOnly = std::is_nothrow_move_constructible_v<T> &&
                           std::is_nothrow_move_assignable_v<T> &&
                           !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;
static_assert(kMoveOnly<ScopedIcon>);
static_assert(kMoveOnly<ScopedMenu>);
static_assert(kMoveOnly<ScopedDC>);
static_assert(kMoveOnly<ScopedBrush>);
static_assert(kMoveOnly<ScopedFont>);
static_assert(kMoveOnly<WindowDC>);
// Selections undo in the reverse order of making; assigning one over another would undo out of
// order, so they can be moved into a new owner only.
static_assert(std::is_nothrow_move_constructible_v<ScopedSelection> &&
              !std::is_move_assignable_v<ScopedSelection> &&
              !std::is_copy_constructible_v<ScopedSelection> &&
              !std::is_copy_assignable_v<ScopedSelection>);
static_assert(kMoveOnly<ScopedPrintDocument>);

bool MenuAlive(HMENU menu) { return IsMenu(menu) != FALSE; }

HICON NewIcon() {
  BYTE andMask[128] = {};
  BYTE xorBits[128] = {};
  return CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andMask, xorBits);
}

// One owner type: make handles, and tell whether one was given back.
template <typename Owner, typename Handle>
void ExpectOwnership(Handle (*make)(), bool (*alive)(Handle)) {
  SCOPED_TRACE(typeid(Owner).name());
  // Going out of scope gives the handle back.
  Handle first = make();
  ASSERT_NE(nullptr, first);
  { Owner owner(first); }
  EXPECT_FALSE(alive(first));

  // A move hands it over: the moved-from owner gives nothing back, the new one does.
  Handle second = make();
  Owner target;
  {
    Owner source(second);
    target = std::move(source);
    EXPECT_EQ(nullptr, source.get());
  }
  EXPECT_TRUE(alive(second));
  Owner constructed(std::move(target));
  EXPECT_EQ(nullptr, target.get());
  EXPECT_TRUE(alive(second));
  constructed = Owner(make());  // assigning over an owner gives its old handle back
  EXPECT_FALSE(alive(second));

  // release() gives it away untouched.
  Handle third = make();
  {
    Owner owner(third);
    EXPECT_EQ(third, owner.release());
  }
  EXPECT_TRUE(alive(third));
  Owner(third).reset();
  EXPECT_FALSE(alive(third));
}

TEST(ScopedHandles, EachOwnerGivesItsHandleBackOnceAndMovesHandItOver) {
  ExpectOwnership<ScopedIcon, HICON>(NewIcon, IconAlive);
  ExpectOwnership<ScopedMenu, HMENU>([] { return CreatePopupMenu(); }, MenuAlive);
  ExpectOwnership<ScopedDC, HDC>([] { return CreateCompatibleDC(nullptr); },
                                 [](HDC dc) { return GdiAlive(dc); });
  ExpectOwnership<ScopedBrush, HBRUSH>([] { return CreateSolidBrush(RGB(1, 2, 3)); },
                                       [](HBRUSH brush) { return GdiAlive(brush); });
  ExpectOwnership<ScopedPen, HPEN>([] { return CreatePen(PS_SOLID, 1, RGB(1, 2, 3)); },
                                   [](HPEN pen) { return GdiAlive(pen); });
  ExpectOwnership<ScopedFont, HFONT>(
      [] { return CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"); },
      [](HFONT font) { return GdiAlive(font); });
  ExpectOwnership<ScopedBitmap, HBITMAP>([] { return CreateBitmap(8, 8, 1, 1, nullptr); },
                                         [](HBITMAP bitmap) { return GdiAlive(bitmap); });
}

class WindowDcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
  }
  void TearDown() override { DestroyWindow(window); }

  // ReleaseDC succeeds only for a DC still out on loan, so a second release tells whether the
  // owner gave it back.
  bool StillOnLoan(HDC dc) { return ReleaseDC(window, dc) == 1; }

  HWND window = nullptr;
};

TEST_F(WindowDcTest, TheLastHolderGivesTheDcBackAndAMovedFromOneNothing) {
  HDC dc = nullptr;
  {
    WindowDC first(window);
    dc = first.get();
    ASSERT_NE(nullptr, dc);
    WindowDC screen(nullptr);
    screen = std::move(first);  // gives the screen's DC back and takes the window's
    EXPECT_EQ(nullptr, first.get());
  }
  EXPECT_FALSE(StillOnLoan(dc));

  std::optional<WindowDC> holder;
  {
    WindowDC source(window);
    dc = source.get();
    holder.emplace(std::move(source));
  }
  EXPECT_TRUE(StillOnLoan(dc));
}

TEST(ScopedSelection, PutsThePreviousObjectBackAndAMovedFromSelectionDoesNot) {
  ScopedDC dc(CreateCompatibleDC(nullptr));
  ScopedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  ScopedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);

  {
    ScopedSelection selection(dc.get(), red.get());
    EXPECT_TRUE(selection);
    EXPECT_EQ(red.get(), GetCurrentObject(dc.get(), OBJ_BRUSH));
    {
      ScopedSelection inner(dc.get(), blue.get());
      EXPECT_EQ(blue.get(), GetCurrentObject(dc.get(), OBJ_BRUSH));
    }
    EXPECT_EQ(red.get(), GetCurrentObject(dc.get(), OBJ_BRUSH));
  }
  EXPECT_EQ(original, GetCurrentObject(dc.get(), OBJ_BRUSH));

  // The moved-from selection goes first and must leave the red brush where it is.
  std::optional<ScopedSelection> holder;
  {
    ScopedSelection source(dc.get(), red.get());
    holder.emplace(std::move(source));
    EXPECT_FALSE(source);
  }
  EXPECT_EQ(red.get(), GetCurrentObject(dc.get(), OBJ_BRUSH));
  holder.reset();
  EXPECT_EQ(original, GetCurrentObject(dc.get(), OBJ_BRUSH));

  // A brush no longer selected anywhere can really be deleted.
  HBRUSH redHandle = red.get();
  red.reset();
  EXPECT_FALSE(GdiAlive(redHandle));
}

TEST(ScopedSelection, AnObjectThatCannotBeSelectedLeavesNothingToRestore) {
  ScopedDC dc(CreateCompatibleDC(nullptr));
  ScopedSelection selection(dc.get(), nullptr);
  EXPECT_FALSE(selection);
}

}  // namespace
}  // namespace tollwick
