// The print job under Wine: which printer it takes from the default-printer entry, that it opens
// nothing without one, and that what it draws lands inside the margins.

#include "platform/win32/print_job.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "default_printer.h"

namespace tollwick {
namespace {

TEST(DefaultPrinterName, IsTheDeviceEntryUpToItsFirstComma) {
  struct Case {
    const char* entry;  // null: no entry at all
    const char* name;
  };
  const Case cases[] = {
      {nullptr, ""},
      {"", ""},
      {"PDF", "PDF"},
      {"PDF,wineps.drv,CUPS:PDF", "PDF"},
      {"Office Laser 5,winspool,Ne00:", "Office Laser 5"},
      {",winspool,Ne00:", ""},
  };
  for (const Case& c : cases) {
    ScopedDefaultPrinter printer(c.entry);
    EXPECT_EQ(DefaultPrinterName(), c.name) << (c.entry != nullptr ? c.entry : "(no entry)");
  }
}

TEST(OpenPrintJob, GivesNoneWithoutAUsableDefaultPrinter) {
  for (const char* entry : {static_cast<const char*>(nullptr), "", ",winspool,Ne00:",
                            "No Such Printer,winspool,Ne00:", "No Such Printer"}) {
    ScopedDefaultPrinter printer(entry);
    std::optional<PrintJob> job = OpenPrintJob("Tollwick test");
    EXPECT_FALSE(job.has_value()) << (entry != nullptr ? entry : "(no entry)");
  }
}

// A job over a memory DC of the screen's resolution stands in for a printer: the drawing
// operations work on any DC.
class PrintJobDrawing : public ::testing::Test {
 protected:
  static constexpr int kSide = 300;
  void SetUp() override {
    bitmap_ = ScopedBitmap(CreateBitmap(kSide, kSide, 1, 32, nullptr));
    ScopedDC memory(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(memory && bitmap_);
    SelectObject(memory.get(), bitmap_.get());
    job_.emplace(std::move(memory), ScopedPrintDocument(nullptr, ""));
    const RECT all{0, 0, kSide, kSide};
    FillRect(job_->dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  bool Black(int x, int y) const { return (GetPixel(job_->dc(), x, y) & 0xFFFFFF) == 0; }

  ScopedBitmap bitmap_;
  std::optional<PrintJob> job_;
};

TEST_F(PrintJobDrawing, MarginsAreHalfAnInchAndRulesStandInsideThem) {
  const int dpiX = GetDeviceCaps(job_->dc(), LOGPIXELSX);
  const int dpiY = GetDeviceCaps(job_->dc(), LOGPIXELSY);
  ASSERT_GT(dpiX, 20);
  EXPECT_EQ(LeftMargin(*job_), dpiX / 2);
  EXPECT_EQ(TopMargin(*job_), dpiY / 2);
  EXPECT_EQ(PrintableWidth(*job_), GetDeviceCaps(job_->dc(), HORZRES) - dpiX);
  EXPECT_EQ(PrintableHeight(*job_), GetDeviceCaps(job_->dc(), VERTRES) - dpiY);

  // A rule along the top of the printable area and one down its left side.
  DrawRule(*job_, 0, 0, 20, 0);
  DrawRule(*job_, 0, 5, 0, 30);
  const int left = LeftMargin(*job_);
  const int top = TopMargin(*job_);
  EXPECT_TRUE(Black(left, top));
  EXPECT_TRUE(Black(left + 19, top));
  EXPECT_FALSE(Black(left + 20, top));  // LineTo leaves the last point out
  EXPECT_FALSE(Black(left - 1, top));
  EXPECT_FALSE(Black(left, top - 1));
  EXPECT_TRUE(Black(left, top + 29));
  EXPECT_FALSE(Black(left, top + 30));
}

TEST_F(PrintJobDrawing, SetsTextInATenPointFont) {
  // Ten points of the DC's resolution, with the font's leading: well below the third of an inch
  // that a printer's own default font may take.
  const double points = LineHeight(*job_) * 72.0 / GetDeviceCaps(job_->dc(), LOGPIXELSY);
  EXPECT_GE(points, 10.0);
  EXPECT_LE(points, 11.5);  // the screen's default font would give 12
  EXPECT_EQ(TextWidth(*job_, ""), 0);
  const int one = TextWidth(*job_, "Page ?? of ??");
  EXPECT_GT(one, 0);
  EXPECT_EQ(TextWidth(*job_, "Page ?? of ??Page ?? of ??"), 2 * one);
}

}  // namespace
}  // namespace tollwick
