#include "bill/bill_print_layout.h"

#include <cstdio>

#include "text/money_text.h"

namespace tollwick {
namespace {

// Fractions of the printable width; the last 7.5 per cent stays blank.
constexpr std::array<float, kBillPrintColumnCount> kColumnShares = {0.12f, 0.22f, 0.22f,
                                                                    0.12f, 0.12f, 0.125f};

// Each share of the width truncated on its own.
int ColumnWidth(int printableWidth, int column) {
  return static_cast<int>(kColumnShares[column] * static_cast<float>(printableWidth));
}

std::string Money(Environment& env, float amount) {
  char text[kMoneyTextChars];
  MoneyText(env, amount, text);
  return text;
}

std::string Time(PackedTime value) {
  char text[kPackedTimeTextChars];
  PackedTimeText(value, text);
  return text;
}

}  // namespace

const std::array<const char*, kBillPrintColumnCount> kBillPrintColumnTitles = {
    "Amount", "Account", "User", "Start", "Length", "Date"};

std::array<int, kBillPrintColumnCount> BillColumnLefts(int printableWidth) {
  std::array<int, kBillPrintColumnCount> lefts{};
  int left = 0;
  for (int i = 0; i < kBillPrintColumnCount; ++i) {
    lefts[i] = left;
    left += ColumnWidth(printableWidth, i);
  }
  return lefts;
}

int BillColumnRight(int printableWidth, int column) {
  return BillColumnLefts(printableWidth)[column] + ColumnWidth(printableWidth, column);
}

std::string ReportTitle(const char* prefix, const UserKey* filter) {
  return std::string(prefix) + (filter != nullptr ? filter->text : "All Users");
}

std::string BillPrintTitle(const UserKey* filter) { return ReportTitle("Tollwick bill - ", filter); }

BillRowFlow::BillRowFlow(const BillPageGeometry& geometry)
    : geometry_(geometry), y_(geometry.FirstRowY(geometry.HeaderTop(true))) {}

bool BillRowFlow::NextRow() {
  y_ += geometry_.lineHeight;
  if (y_ <= geometry_.RowLimit()) return false;
  ++page_;
  y_ = geometry_.FirstRowY(geometry_.HeaderTop(false));
  return true;
}

int BillPageCount(const BillPageGeometry& geometry, std::size_t rows) {
  BillRowFlow flow(geometry);
  for (std::size_t i = 0; i < rows; ++i) flow.NextRow();
  return flow.page();
}

bool BillPrintCellText(Environment& env, const BillItem& item, int column, std::string& text) {
  const bool call = item.type == kCall;
  switch (column) {
    case kPrintAmount:
      text = Money(env, call ? item.cost : -item.cost);
      return true;
    case kPrintAccount:
      text = item.account;
      return call;
    case kPrintUser:
      text = item.user;
      return true;
    case kPrintStart:
      text = Time(item.start);
      return call;
    case kPrintLength:
      text = Time(item.length);
      return call;
    case kPrintDate: {
      char date[kDateTextChars];
      DateText(item.day, item.month, item.year, date);
      text = date;
      return true;
    }
    default:
      return false;
  }
}

void BillPrintTotals::Add(const BillItem& item) {
  if (item.type != kCall) {
    owed -= item.cost;
    spent += item.cost;
  } else {
    owed += item.cost;
    used += item.cost;
    time = AddPackedTime(time, item.length);
  }
}

std::array<std::string, 2> BillClosingLines(Environment& env, const BillPrintTotals& totals) {
  return {"Currently owed is " + Money(env, totals.owed) + ". Total connection time is " +
              Time(totals.time) + " hours.",
          "Total money used is " + Money(env, totals.used) + " and money spent is " +
              Money(env, totals.spent) + "."};
}

std::string PageFooterText(int page, int pages) {
  char text[40];
  std::snprintf(text, sizeof text, "Page %i of %i", page, pages);
  return text;
}

}  // namespace tollwick
