#pragma once
// The bill as a spreadsheet reads it: comma-separated values in UTF-8 with a byte-order mark, one
// line per item, oldest first, ended by CR LF, quoted as RFC 4180 quotes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bill/bill_store.h"

namespace tollwick {

// Appends the UTF-8 form of a text in the system's ANSI code page to out. Only texts with a byte
// above 0x7F are handed over: plain ASCII reads the same in both.
using AnsiToUtf8 = void (*)(const char* text, std::size_t length, std::string& out);

constexpr char kBillCsvHeader[] =
    "Type,Date,Start,End,Length,Minutes,Account,User,Amount,Received,Sent\r\n";

// The whole file: the byte-order mark, the header and one line for each of the rows, which are
// positions in the bill newest first, as the Bill tab lists them (BillRows); the file lists them
// oldest first. Dates and times are written with the numbers as stored, even when they are out of
// range; a payment leaves its times, minutes, account and bytes empty and its amount negative, and a
// call whose volume is unknown leaves its bytes empty.
std::string BillCsv(const Bill& bill, const std::vector<std::uint32_t>& rows, AnsiToUtf8 toUtf8);

// Takes the next piece of the file; false stops the writing.
using CsvSink = std::function<bool(const char* bytes, std::size_t size)>;
// The same file handed over in pieces of about kCsvPieceBytes as it is made, so a large bill is
// written while it is still in the cache rather than built whole first. False when the sink
// stopped it.
constexpr std::size_t kCsvPieceBytes = 1024 * 1024;
bool WriteBillCsv(const Bill& bill, const std::vector<std::uint32_t>& rows, AnsiToUtf8 toUtf8,
                  const CsvSink& sink);

// The name the Save As dialog offers: "Tollwick bill.csv", or for one user the printed bill's
// title and ".csv" ("Tollwick bill - BOB.csv"), with the characters a file name cannot hold as "_".
std::string BillCsvFileName(const UserKey* filter);

}  // namespace tollwick
