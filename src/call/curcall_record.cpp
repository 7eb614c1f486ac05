#include "call/curcall_record.h"

#include "platform/little_endian.h"

namespace tollwick {

namespace {

constexpr const char* kUnknownName = "Unknown";
constexpr const char* kItemNumberValue = "ItemNumber";

SettingsKey OpenCurCallKey(const SettingsStore& store) {
  char path[2 * kNameChars];
  RootSubkeyPath("CurCall", path, sizeof path);
  return store.OpenSettingsKey(path);
}

void WriteU32(const SettingsStore& store, const SettingsKey& key, const char* name,
              std::uint32_t value) {
  std::uint8_t bytes[4];
  PutU32(bytes, value);
  store.WriteBinaryValue(key, name, bytes, sizeof bytes);
}

std::uint32_t ReadU32(const SettingsStore& store, const SettingsKey& key, const char* name,
                      std::uint32_t fallback) {
  std::uint8_t defaultBytes[4];
  PutU32(defaultBytes, fallback);
  std::uint8_t bytes[4];
  store.ReadBinaryValue(key, name, bytes, defaultBytes, sizeof bytes);
  return GetU32(bytes);
}

void EncodeDate(const CalendarDate& date, std::uint8_t* out) {
  PutU32(out, date.day);
  PutU32(out + 4, date.month);
  PutU32(out + 8, date.year);
}

}  // namespace

PackedTime LengthBetween(PackedTime start, PackedTime end) {
  constexpr std::int32_t kMinutesPerDay = 24 * 60;
  const auto startMinutes = static_cast<std::int32_t>(PackedHours(start) * 60 + PackedMinutes(start));
  const auto endMinutes = static_cast<std::int32_t>(PackedHours(end) * 60 + PackedMinutes(end));
  std::int32_t elapsed = (endMinutes - startMinutes) % kMinutesPerDay;
  if (elapsed < 0) elapsed += kMinutesPerDay;
  const auto length = static_cast<std::uint32_t>(elapsed + 1);
  return MakePackedTime(length / 60, length % 60);
}

void MarkCallInProgress(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, kItemNumberValue, kNoBillItem);
  store.WriteDwordValue(key, nullptr, 1);
}

void MarkCallEnded(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, nullptr, 0);
}

bool IsCurCallPending(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  return store.ReadDwordValue(key, nullptr, 0) == 1;
}

void ReserveBillItem(const SettingsStore& store, std::uint32_t number) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, kItemNumberValue, number);
}

std::uint32_t ReservedBillItem(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  return store.ReadDwordValue(key, kItemNumberValue, kNoBillItem);
}

void SaveCurCall(const SettingsStore& store, float cost, PackedTime start, PackedTime end,
                 PackedTime length, const CalendarDate& date, const char* user,
                 const char* account) {
  SettingsKey key = OpenCurCallKey(store);
  std::uint8_t costBytes[4];
  PutF32(costBytes, cost);
  store.WriteBinaryValue(key, "Cost", costBytes, sizeof costBytes);
  WriteU32(store, key, "Start", start);
  WriteU32(store, key, "End", end);
  WriteU32(store, key, "Length", length);
  std::uint8_t dateBytes[kCurCallDateBytes];
  EncodeDate(date, dateBytes);
  store.WriteBinaryValue(key, "Date", dateBytes, sizeof dateBytes);
  // Names longer than a name field are stored cut, as they would be read back.
  char text[kNameChars];
  CopyBoundedText(text, sizeof text, user);
  store.WriteStringValue(key, "User", text);
  CopyBoundedText(text, sizeof text, account);
  store.WriteStringValue(key, "Account", text);
}

void ReadCurCall(const SettingsStore& store, Environment& environment, BillItem& item) {
  // One reading of the clock for every default, so they agree with each other.
  const LocalTime now = environment.Now();
  SettingsKey key = OpenCurCallKey(store);

  std::uint8_t costBytes[4];
  store.ReadBinaryValue(key, "Cost", costBytes, nullptr, sizeof costBytes);
  item.cost = GetAmountF32(costBytes);
  item.start = ReadU32(store, key, "Start", TimeOfDay(now));
  item.end = ReadU32(store, key, "End", TimeOfDay(now));
  // Without a stored length the time of day would be billed as the call's length; the snapshot's
  // own start and end give the length it had.
  item.length = ReadU32(store, key, "Length", LengthBetween(item.start, item.end));

  std::uint8_t defaultDate[kCurCallDateBytes];
  EncodeDate(DateOf(now), defaultDate);
  std::uint8_t dateBytes[kCurCallDateBytes];
  store.ReadBinaryValue(key, "Date", dateBytes, defaultDate, sizeof dateBytes);
  item.day = GetU32(dateBytes);
  item.month = GetU32(dateBytes + 4);
  item.year = GetU32(dateBytes + 8);

  store.ReadStringValue(key, "User", item.user, sizeof item.user, kUnknownName);
  store.ReadStringValue(key, "Account", item.account, sizeof item.account, kUnknownName);
}

}  // namespace tollwick
