// What the Statistics and Bill tabs show, from the bill alone: totals, balances, the rows newest
// first with their texts, and the users the users boxes offer.

#include "bill/bill_views.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bill_items.h"
#include "fake_environment.h"

namespace tollwick {
namespace {

TEST(BillTotals, CountsCallsPaymentsAndTimeApart) {
  struct Case {
    const char* name;
    Bill bill;
    PackedTime time;
    float cost;
    float paid;
  };
  const Case cases[] = {
      {"empty", {}, 0, 0.0f, 0.0f},
      {"a call and a payment", {Item(kCall, 2.5f, "a", 0x001E), Item(kPayment, 1.0f, "a")}, 0x001E,
       2.5f, 1.0f},
      {"minutes carry", {Item(kCall, 1.0f, "a", 0x0130), Item(kCall, 1.0f, "b", 0x012D)}, 0x0321,
       2.0f, 0.0f},
      {"any nonzero type pays", {Item(7, 3.0f, "a"), Item(kCall, 4.5f, "a")}, 0, 4.5f, 3.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BillTotals totals = CountBillTotals(c.bill);
    EXPECT_EQ(c.time, totals.totalTime);
    EXPECT_FLOAT_EQ(c.cost, totals.totalCost);
    EXPECT_FLOAT_EQ(c.paid, totals.totalPaid);
  }
}

TEST(BillTotals, MoreThan255HoursRestartTheShownHours) {
  BillTotals totals;
  totals.Add(Item(kCall, 0.0f, "a", MakePackedTime(255, 59)));
  totals.Add(Item(kCall, 0.0f, "a", MakePackedTime(0, 1)));
  EXPECT_EQ(0u, PackedHours(totals.totalTime));
  EXPECT_EQ(0u, PackedMinutes(totals.totalTime));
}

TEST(StatisticsFigures, TheCallInProgressIsAddedOnlyWhileItRuns) {
  const BillTotals totals =
      CountBillTotals({WithVolume(Item(kCall, 2.5f, "a", 0x001E), 1000, 24), Item(kCall, 0, "a"),
                       WithVolume(Item(kPayment, 1.0f, "a"), 5, 5)});
  const CallVolume moved{true, 3000, 72};
  struct Case {
    LiveCallFigures call;
    PackedTime time;
    float cost;
    float total;
    std::uint64_t data;
  };
  const Case cases[] = {
      {{false, 0x0002, 0.05f, moved}, 0x001E, 2.5f, 1.5f, 1024},
      {{true, 0x0002, 0.05f, moved}, 0x0020, 2.55f, 1.55f, 4096},
      {{true, 0x003B, 0.0f, {}}, 0x011D, 2.5f, 1.5f, 1024},
  };
  for (const Case& c : cases) {
    const StatisticsFigures figures = FiguresOf(totals, c.call);
    EXPECT_EQ(c.time, figures.time);
    EXPECT_FLOAT_EQ(c.cost, figures.cost);
    EXPECT_FLOAT_EQ(1.0f, figures.paid);
    EXPECT_FLOAT_EQ(c.total, figures.total);
    EXPECT_EQ(c.data, figures.data.Total());
  }
}

TEST(BillBalance, CallsOweAndPaymentsPayForTheFilteredUser) {
  const Bill bill{Item(kPayment, 10.0f, "bob"), Item(kCall, 3.0f, "Bob"), Item(kCall, 4.5f, "bob"),
                  Item(kCall, 1.25f, "alice")};
  const UserKey bob = MakeUserKey("BOB");
  const UserKey nobody = MakeUserKey("bobby");
  EXPECT_FLOAT_EQ(-2.5f, BillBalance(bill, &bob));
  EXPECT_FLOAT_EQ(-1.25f, BillBalance(bill));
  EXPECT_FLOAT_EQ(0.0f, BillBalance(bill, &nobody));
}

TEST(BillRows, NewestFirstAndOnlyTheFilteredUser) {
  const Bill bill{Item(kCall, 1, "bob"), Item(kCall, 2, "alice"), Item(kCall, 3, "Bob"),
                  Item(kPayment, 4, "alice")};
  const UserKey bob = MakeUserKey("bob");
  const UserKey alice = MakeUserKey("alice");
  EXPECT_EQ((std::vector<std::uint32_t>{3, 2, 1, 0}), BillRows(bill, nullptr));
  EXPECT_EQ((std::vector<std::uint32_t>{2, 0}), BillRows(bill, &bob));
  EXPECT_EQ((std::vector<std::uint32_t>{3, 1}), BillRows(bill, &alice));
  EXPECT_TRUE(BillRows({}, nullptr).empty());
}

TEST(BillCellText, EachColumnOfACallAndOfAPayment) {
  FakeEnvironment env;
  BillItem call = Item(kCall, 1.5f, "bob", MakePackedTime(1, 5));
  std::snprintf(call.account, sizeof call.account, "%s", "Orvonet");
  call.start = MakePackedTime(8, 0);  // a call added by hand has no end: 0:00
  call.day = 7;
  call.month = 12;
  call.year = 2000;
  BillItem payment = Item(kPayment, 10.0f, "bob", MakePackedTime(1, 0));
  std::snprintf(payment.account, sizeof payment.account, "%s", "never shown");
  payment.start = payment.end = MakePackedTime(9, 9);
  payment.day = payment.month = 1;
  payment.year = 2000;
  payment.volume = {true, 1048576, 0};  // a stored payment's volume is never shown
  const BillItem moved = WithVolume(call, 1048576, 524288);
  const std::vector<std::string> callCells{"Owe", "\xA3" "1.50", "bob", "Orvonet", "8:00",
                                           "0:00", "1:05", "7/12/2000", ""};
  const std::vector<std::string> paymentCells{"Paid", "\xA3" "10.00", "bob", "", "", "", "",
                                              "1/1/2000", ""};
  for (int column = 0; column < kBillColumnCount; ++column) {
    char text[kBillCellChars];
    BillCellText(env, call, column, text);
    EXPECT_EQ(callCells[column], text) << column;
    BillCellText(env, payment, column, text);
    EXPECT_EQ(paymentCells[column], text) << column;
    BillCellText(env, moved, column, text);
    EXPECT_EQ(column == kDataColumn ? "1.5" : callCells[column], text) << column;
  }
  EXPECT_EQ(kCallImage, BillItemImage(call));
  EXPECT_EQ(kPaymentImage, BillItemImage(payment));
}

TEST(DistinctBillUsers, FirstSpellingInTheOrderFirstSeen) {
  struct Case {
    std::vector<const char*> users;
    std::vector<std::string> distinct;
  };
  const Case cases[] = {
      {{}, {}},
      {{"bob", "Bob", "alice"}, {"bob", "alice"}},
      {{"bob", "alice", "Bob", "ALICE", "carol"}, {"bob", "alice", "carol"}},
      {{"\xC9mile", "\xE9mile"}, {"\xC9mile", "\xE9mile"}},  // only a to z fold
      {{"", "x", ""}, {"", "x"}},
  };
  for (const Case& c : cases) {
    std::vector<BillItem> items;
    for (const char* user : c.users) items.push_back(Item(kCall, 0, user));
    EXPECT_EQ(c.distinct, DistinctBillUsers(Bill(items)));
  }
}

}  // namespace
}  // namespace tollwick

namespace tollwick {
namespace {

// Filters compare names in place; they must still read each name as its 100-byte copy would.
TEST(UserMatches, NamesCompareAsCutTo99Characters) {
  const std::string longName(120, 'q');
  const UserKey cut = MakeUserKey(std::string(99, 'Q').c_str());
  const UserKey shorter = MakeUserKey(std::string(98, 'q').c_str());
  EXPECT_TRUE(UserMatches(&cut, longName.c_str()));
  EXPECT_FALSE(UserMatches(&shorter, longName.c_str()));
  EXPECT_FALSE(UserMatches(&cut, std::string(98, 'q').c_str()));
}

}  // namespace
}  // namespace tollwick
