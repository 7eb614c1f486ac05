// The bill as a CSV file, from the bill alone: the line of each kind of item, quoting, the ANSI
// texts in UTF-8, the amounts rounded as the Bill tab rounds them, stored values out of range, which
// rows are written in which order, and the name offered for the file.

#include "bill/bill_csv.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "bill_items.h"

namespace tollwick {
namespace {

const std::string kFileStart = std::string("\xEF\xBB\xBF") + kBillCsvHeader;

// Code page 1252 as far as its letters 0xA0 to 0xFF, which are U+00A0 to U+00FF.
void Cp1252ToUtf8(const char* text, std::size_t length, std::string& out) {
  for (const char* c = text; c != text + length; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte >= 0x80) out += static_cast<char>(0xC0 | byte >> 6);
    out += static_cast<char>(byte >= 0x80 ? 0x80 | (byte & 0x3F) : byte);
  }
}

// A call (or payment) of 3/12/2026 from 9:00 to 10:05, 1:05 long, unless told otherwise.
BillItem Item(std::uint32_t type, float cost, const char* account, const char* user,
              PackedTime start = 0x0900, PackedTime end = 0x0A05, PackedTime length = 0x0105,
              CalendarDate date = {3, 12, 2026}) {
  BillItem item = CallItem(cost, start, end, length, date, user, account);
  item.type = type;
  return item;
}

TEST(BillCsv, OneLinePerItem) {
  struct Case {
    BillItem item;
    const char* line;
  };
  const Case cases[] = {
      {Item(kCall, 1.25f, "My ISP", "alice"), "Call,2026-12-03,9:00,10:05,1:05,65,My ISP,alice,1.25,,"},
      {Item(kPayment, 10.0f, "kept", "Bob"), "Payment,2026-12-03,,,,,,Bob,-10.00,,"},
      {Item(7, 0.0f, "", "Bob"), "Payment,2026-12-03,,,,,,Bob,0.00,,"},
      {Item(kCall, 0.5f, "Work, evenings", "say \"hi\""),
       "Call,2026-12-03,9:00,10:05,1:05,65,\"Work, evenings\",\"say \"\"hi\"\"\",0.50,,"},
      {Item(kPayment, 1.0f, "", "two\r\nlines"), "Payment,2026-12-03,,,,,,\"two\r\nlines\",-1.00,,"},
      {Item(kCall, 2.0f, "Caf\xE9", "Ren\xE9"),
       "Call,2026-12-03,9:00,10:05,1:05,65,Caf\xC3\xA9,Ren\xC3\xA9,2.00,,"},
      {Item(kCall, 0.125f, "a", "b"), "Call,2026-12-03,9:00,10:05,1:05,65,a,b,0.13,,"},
      {Item(kCall, 0.135f, "a", "b"), "Call,2026-12-03,9:00,10:05,1:05,65,a,b,0.14,,"},
      {Item(kCall, -2.005f, "a", "b"), "Call,2026-12-03,9:00,10:05,1:05,65,a,b,-2.01,,"},
      {Item(kPayment, 2.005f, "", "b"), "Payment,2026-12-03,,,,,,b,-2.01,,"},
      {Item(kCall, 1e12f, "a", "b"), "Call,2026-12-03,9:00,10:05,1:05,65,a,b,999999995904.00,,"},
      {Item(kCall, 0.0f, "", "", 0x0160, 0xFFFF, 0xFFFFFFFF, {0, 0, 0}),
       "Call,0000-00-00,1:96,255:255,255:255,15555,,,0.00,,"},
      {Item(kCall, 0.0f, "", "", 0x0900, 0x0A05, 0x0105, {45, 13, 12345}),
       "Call,12345-13-45,9:00,10:05,1:05,65,,,0.00,,"},
      {WithVolume(Item(kCall, 1.0f, "a", "b"), ~0ull, 0),
       "Call,2026-12-03,9:00,10:05,1:05,65,a,b,1.00,18446744073709551615,0"},
      {WithVolume(Item(kPayment, 1.0f, "", "b"), 10, 10), "Payment,2026-12-03,,,,,,b,-1.00,,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(kFileStart + c.line + "\r\n", BillCsv({c.item}, {0}, Cp1252ToUtf8));
  }
}

TEST(BillCsv, WritesTheListedRowsOldestFirst) {
  const Bill bill{Item(kPayment, 1.0f, "", "x"), Item(kPayment, 2.0f, "", "y"),
                  Item(kPayment, 3.0f, "", "x")};
  EXPECT_EQ(kFileStart, BillCsv(bill, {}, Cp1252ToUtf8));
  EXPECT_EQ(kFileStart + "Payment,2026-12-03,,,,,,x,-1.00,,\r\nPayment,2026-12-03,,,,,,x,-3.00,,\r\n",
            BillCsv(bill, {2, 0}, Cp1252ToUtf8));
  // Lines far longer than most: the text grows as it goes.
  const Bill quotes(
      std::vector<BillItem>(100, Item(kPayment, 1.0f, "", std::string(99, '"').c_str())));
  const std::string line = "Payment,2026-12-03,,,,,,\"" + std::string(198, '"') + "\",-1.00,,\r\n";
  std::vector<std::uint32_t> all(quotes.size());
  std::iota(all.begin(), all.end(), 0u);
  EXPECT_EQ(kFileStart.size() + quotes.size() * line.size(),
            BillCsv(quotes, all, Cp1252ToUtf8).size());
}

TEST(BillCsv, OffersTheNameOfThePrintedBill) {
  EXPECT_EQ("Tollwick bill.csv", BillCsvFileName(nullptr));
  const UserKey bob = MakeUserKey("Bob");
  EXPECT_EQ("Tollwick bill - BOB.csv", BillCsvFileName(&bob));
  const UserKey odd = MakeUserKey("a/b\\c:d*e?\"<>|\tf");
  EXPECT_EQ("Tollwick bill - A_B_C_D_E______F.csv", BillCsvFileName(&odd));
}

}  // namespace
}  // namespace tollwick
