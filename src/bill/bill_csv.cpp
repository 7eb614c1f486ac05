#include "bill/bill_csv.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "bill/bill_print_layout.h"
#include "text/money_text.h"

namespace tollwick {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// A name of 99 ANSI bytes takes at most 3 bytes each in UTF-8; its field twice that when every one
// is a doubled quote, and the two quotes around it.
constexpr std::size_t kNameUtf8Bytes = std::size_t{kNameChars - 1} * 3;
constexpr std::size_t kNameFieldBytes = kNameUtf8Bytes * 2 + 2;
constexpr std::size_t kLineBytes = 2 * kNameFieldBytes + 3 * kPackedTimeTextChars +
                                   kPlainMoneyTextChars + 2 * 20 +  // bytes received and sent
                                   64;  // type, date, minutes, separators

// "00" to "99", for the two-digit fields.
struct DigitPairs {
  char text[200];
  constexpr DigitPairs() : text() {
    for (int i = 0; i < 100; ++i) {
      text[2 * i] = static_cast<char>('0' + i / 10);
      text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
  }
};
constexpr DigitPairs kDigitPairs;

// What a byte of a name asks for: a quote around the field, or the UTF-8 conversion.
constexpr unsigned char kQuoted = 1;
constexpr unsigned char kNotAscii = 2;
struct NameBytes {
  unsigned char kind[256];
  constexpr NameBytes() : kind() {
    for (const char c : {',', '"', '\r', '\n'}) kind[static_cast<unsigned char>(c)] = kQuoted;
    for (int c = 0x80; c < 0x100; ++c) kind[c] = kNotAscii;
  }
};
constexpr NameBytes kNameBytes;

// Writes straight into a buffer that always has room for one more line of the longest kind, and
// hands it to the sink a piece at a time: small appends, or one text of the whole bill, would
// cost most of the time of a large export.
class CsvWriter {
 public:
  explicit CsvWriter(const CsvSink& sink) : sink_(sink), buffer_(kCsvPieceBytes + kLineBytes, '\0') {
    at_ = buffer_.data();
  }
  // Room for a line; called before each. False once the sink has stopped the writing.
  bool MakeRoom() { return Used() < kCsvPieceBytes || Flush(); }
  bool Flush() {
    const std::size_t used = Used();
    at_ = buffer_.data();
    return used == 0 || sink_(buffer_.data(), used);
  }

  void Put(char c) { *at_++ = c; }
  void Put(const char* text, std::size_t length) {
    std::memcpy(at_, text, length);
    at_ += length;
  }
  // A number with at least `digits` digits, zeros in front.
  void PutNumber(std::uint64_t value, std::size_t digits) {
    if (digits == 2 && value < 100) {
      Put(&kDigitPairs.text[2 * value], 2);
      return;
    }
    char text[24];
    const std::size_t length =
        static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
    for (std::size_t i = length; i < digits; ++i) Put('0');
    Put(text, length);
  }
  void PutTime(PackedTime value) {
    const std::uint32_t hours = PackedHours(value);
    const std::uint32_t minutes = PackedMinutes(value);
    if (hours >= 100 || minutes >= 100) {
      at_ += PackedTimeText(value, at_);
      return;
    }
    if (hours >= 10) Put(kDigitPairs.text[2 * hours]);
    Put(kDigitPairs.text[2 * hours + 1]);
    Put(':');
    Put(&kDigitPairs.text[2 * minutes], 2);
  }
  void PutAmount(float amount) { at_ += PlainMoneyText(amount, at_); }
  // A stored name (terminated within its field) in UTF-8, quoted when it holds a comma, a quote or
  // a line break, its quotes doubled.
  void PutName(const char* name, AnsiToUtf8 toUtf8) {
    std::size_t length = 0;
    unsigned char kinds = 0;
    for (; length < kNameChars - 1 && name[length] != '\0'; ++length) {
      kinds |= kNameBytes.kind[static_cast<unsigned char>(name[length])];
    }
    if (kinds == 0) {
      Put(name, length);
      return;
    }
    const char* text = name;
    std::size_t size = length;
    if ((kinds & kNotAscii) != 0) {
      scratch_.clear();
      toUtf8(name, length, scratch_);
      text = scratch_.data();
      // The bytes that ask for quotes are ASCII, which the conversion keeps as they are (no
      // double-byte character's second byte is one of them): the first scan still holds.
      size = std::min(scratch_.size(), kNameUtf8Bytes);  // never past the line
    }
    if ((kinds & kQuoted) == 0) {
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
  std::size_t Used() const { return static_cast<std::size_t>(at_ - buffer_.data()); }

  const CsvSink& sink_;
  std::string buffer_;
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

bool WriteBillCsv(const Bill& bill, const std::vector<std::uint32_t>& rows, AnsiToUtf8 toUtf8,
                  const CsvSink& sink) {
  CsvWriter csv(sink);
  csv.Put(kByteOrderMark, sizeof kByteOrderMark - 1);
  csv.Put(kBillCsvHeader, sizeof kBillCsvHeader - 1);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (!csv.MakeRoom()) return false;
    WriteItem(csv, bill[*row], toUtf8);
  }
  return csv.Flush();
}

std::string BillCsv(const Bill& bill, const std::vector<std::uint32_t>& rows, AnsiToUtf8 toUtf8) {
  std::string out;
  WriteBillCsv(bill, rows, toUtf8, [&out](const char* bytes, std::size_t size) {
    out.append(bytes, size);
    return true;
  });
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
