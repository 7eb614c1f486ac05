#include "bill/bill_csv.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "bill/bill_print_layout.h"
#include "text/money_text.h"

namespace tollwick {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kTypicalLineBytes = 64;  // to size the file's text, mostly once
// A name of 99 ANSI bytes takes at most 3 bytes each in UTF-8; its field twice that when every one
// is a doubled quote, and the two quotes around it.
constexpr std::size_t kNameUtf8Bytes = std::size_t{kNameChars - 1} * 3;
constexpr std::size_t kNameFieldBytes = kNameUtf8Bytes * 2 + 2;
constexpr std::size_t kLineBytes = 2 * kNameFieldBytes + 3 * kPackedTimeTextChars +
                                   kPlainMoneyTextChars + 2 * 20 +  // bytes received and sent
                                   64;  // type, date, minutes, separators

// Writes straight into the file's text, which always has room for one more line of the longest
// kind: a file of 100,000 items would otherwise spend most of its time on small appends.
class CsvWriter {
 public:
  CsvWriter(std::string& out, std::size_t expected) : out_(out) {
    out_.assign(expected + kLineBytes, '\0');
    at_ = out_.data();
  }
  // Room for a line; called before each.
  void MakeRoom() {
    const std::size_t used = Used();
    if (out_.size() - used < kLineBytes) {
      out_.resize(2 * out_.size());
      at_ = out_.data() + used;
    }
  }
  // Cuts the text to what was written.
  void Finish() { out_.resize(Used()); }

  void Put(char c) { *at_++ = c; }
  void Put(const char* text, std::size_t length) {
    std::memcpy(at_, text, length);
    at_ += length;
  }
  // A number with at least `digits` digits, zeros in front.
  void PutNumber(std::uint64_t value, std::size_t digits) {
    char text[24];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
    for (std::size_t i = length; i < digits; ++i) Put('0');
    Put(text, length);
  }
  void PutTime(PackedTime value) { at_ += PackedTimeText(value, at_); }
  void PutAmount(float amount) { at_ += PlainMoneyText(amount, at_); }
  // A stored name (terminated within its field) in UTF-8, quoted when it holds a comma, a quote or
  // a line break, its quotes doubled.
  void PutName(const char* name, AnsiToUtf8 toUtf8) {
    std::size_t length = 0;
    bool ascii = true;
    bool quoted = false;
    for (; length < kNameChars - 1 && name[length] != '\0'; ++length) {
      const char c = name[length];
      ascii = ascii && static_cast<unsigned char>(c) <= 0x7F;
      quoted = quoted || c == ',' || c == '"' || c == '\r' || c == '\n';
    }
    const char* text = name;
    std::size_t size = length;
    if (!ascii) {
      scratch_.clear();
      toUtf8(name, length, scratch_);
      text = scratch_.data();
      size = std::min(scratch_.size(), kNameUtf8Bytes);  // never past the line
    }
    if (!quoted) {
      Put(text, size);
      return;
    }
    Put('"');
    for (std::size_t i = 0; i < size; ++i) {
      if (text[i] == '"') Put('"');
      Put(text[i]);
    }
    Put('"');
  }

 private:
  std::size_t Used() const { return static_cast<std::size_t>(at_ - out_.data()); }

  std::string& out_;
  char* at_ = nullptr;
  std::string scratch_;
};

void WriteItem(CsvWriter& line, const BillItem& item, AnsiToUtf8 toUtf8) {
  const bool call = item.type == kCall;
  if (call) {
    line.Put("Call,", 5);
  } else {
    line.Put("Payment,", 8);
  }
  line.PutNumber(item.year, 4);
  line.Put('-');
  line.PutNumber(item.month, 2);
  line.Put('-');
  line.PutNumber(item.day, 2);
  line.Put(',');
  if (call) {
    line.PutTime(item.start);
    line.Put(',');
    line.PutTime(item.end);
    line.Put(',');
    line.PutTime(item.length);
    line.Put(',');
    line.PutNumber(PackedHours(item.length) * 60 + PackedMinutes(item.length), 1);
    line.Put(',');
    line.PutName(item.account, toUtf8);
  } else {
    line.Put(",,,,", 4);
  }
  line.Put(',');
  line.PutName(item.user, toUtf8);
  line.Put(',');
  line.PutAmount(call ? item.cost : -item.cost);
  line.Put(',');
  if (call && item.volume.known) {
    line.PutNumber(item.volume.received, 1);
    line.Put(',');
    line.PutNumber(item.volume.sent, 1);
  } else {
    line.Put(',');
  }
  line.Put("\r\n", 2);
}

}  // namespace

std::string BillCsv(const Bill& bill, const std::vector<std::uint32_t>& rows, AnsiToUtf8 toUtf8) {
  std::string out;
  CsvWriter csv(out, sizeof kByteOrderMark + sizeof kBillCsvHeader +
                         rows.size() * kTypicalLineBytes);
  csv.Put(kByteOrderMark, sizeof kByteOrderMark - 1);
  csv.Put(kBillCsvHeader, sizeof kBillCsvHeader - 1);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    csv.MakeRoom();
    WriteItem(csv, bill[*row], toUtf8);
  }
  csv.Finish();
  return out;
}

std::string BillCsvFileName(const UserKey* filter) {
  if (filter == nullptr) return "Tollwick bill.csv";
  std::string name = BillPrintTitle(filter);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) c = '_';
  }
  return name + ".csv";
}

}  // namespace tollwick
