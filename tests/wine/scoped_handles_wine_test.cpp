// The handle owners against real Win32 objects: each gives its handle back when it goes, a move
// hands the handle over, a moved-from owner gives nothing back, a selection puts the previous object
// back, and none can be copied.

#include "platform/win32/scoped_handles.h"

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <fstream>
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

TEST_F(WindowDcTest, TheLastHolderGivesTheDcBackToItsWindow) {
  HDC dc = nullptr;
  {
    WindowDC owner(window);
    dc = owner.get();
    ASSERT_NE(nullptr, dc);
  }
  EXPECT_FALSE(StillOnLoan(dc));

  {
    WindowDC first(window);
    dc = first.get();
    WindowDC second(std::move(first));
    EXPECT_EQ(nullptr, first.get());
    WindowDC screen(nullptr);
    screen = std::move(second);
    EXPECT_EQ(dc, screen.get());
  }
  EXPECT_FALSE(StillOnLoan(dc));
}

TEST_F(WindowDcTest, AMovedFromHolderGivesNothingBack) {
  std::optional<WindowDC> holder;
  HDC dc = nullptr;
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

// A PostScript printer whose port is a file, installed for these tests and removed after them.
// Wine's printer driver reads its page sizes from a PPD file of the printer's.
class PrintDocumentTest : public ::testing::Test {
 protected:
  static constexpr const char* kPrinter = "Tollwick Test Printer";
  static constexpr const char* kDriver = "Wine PostScript Driver";

  static void SetUpTestSuite() {
    char directory[MAX_PATH] = "";
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory),
                                           sizeof directory, &needed));
    std::string version3 = std::string(directory) + "\\3";
    CreateDirectoryA(directory, nullptr);
    CreateDirectoryA(version3.c_str(), nullptr);
    std::ofstream(version3 + "\\tollwick-test.ppd")
        << "*PPD-Adobe: \"4.3\"\n*DefaultPageSize: A4\n"
           "*PageSize A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
           "*DefaultImageableArea: A4\n*ImageableArea A4: \"0 0 595 842\"\n"
           "*DefaultPaperDimension: A4\n*PaperDimension A4: \"595 842\"\n";
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriver);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("tollwick-test.ppd");
    AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));  // may be there already

    char output[MAX_PATH] = "";
    GetTempPathA(sizeof output, output);
    outputPath = std::string(output) + "tollwick-test-print.ps";
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = const_cast<char*>(kPrinter);
    printer.pPortName = const_cast<char*>(outputPath.c_str());
    printer.pDriverName = const_cast<char*>(kDriver);
    printer.pPrintProcessor = const_cast<char*>("WinPrint");
    printer.pDatatype = const_cast<char*>("RAW");
    HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (added != nullptr) ClosePrinter(added);
  }

  static void TearDownTestSuite() {
    HANDLE printer = nullptr;
    if (OpenPrinterA(const_cast<char*>(kPrinter), &printer, nullptr)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
    DeleteFileA(outputPath.c_str());
  }

  void SetUp() override {
    dc.reset(CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr));
    ASSERT_TRUE(dc) << "the test printer could not be installed";
  }

  // A DC takes one document at a time: a new one starts only once the last has ended.
  bool DocumentUnderWay() {
    ScopedPrintDocument probe(dc.get(), "probe");
    return !probe || !probe.Finish();
  }

  static std::string outputPath;
  ScopedDC dc;
};

std::string PrintDocumentTest::outputPath;

TEST_F(PrintDocumentTest, FinishEndsTheDocumentAndAMoveHandsItOver) {
  ScopedPrintDocument target(nullptr, "nothing");
  EXPECT_FALSE(target);
  EXPECT_FALSE(target.Finish());
  {
    ScopedPrintDocument source(dc.get(), "Bill");
    ASSERT_TRUE(source);
    EXPECT_TRUE(DocumentUnderWay());
    target = std::move(source);
    EXPECT_FALSE(source);
  }
  // The moved-from document ended nothing.
  EXPECT_TRUE(DocumentUnderWay());
  ScopedPrintDocument last(std::move(target));
  EXPECT_FALSE(target);
  EXPECT_TRUE(last.Finish());
  EXPECT_FALSE(last);
  EXPECT_FALSE(last.Finish());
  EXPECT_FALSE(DocumentUnderWay());
}

// Abandoning a document (the destructor's AbortDoc) is not checked here: Wine's spooled printer DCs
// do not implement AbortDoc, so the document would stay open whatever the owner did.

}  // namespace
}  // namespace tollwick
