#include "call/curcall_record.h"

#include "bill/bill_store.h"
#include "platform/little_endian.h"

namespace tollwick {

namespace {

constexpr const char* kUnknownName = "Unknown";
constexpr const char* kCost = "Cost";
constexpr const char* kStart = "Start";
constexpr const char* kEnd = "End";
constexpr const char* kLength = "Length";
constexpr const char* kDate = "Date";
constexpr const char* kUser = "User";
constexpr const char* kAccount = "Account";
// Present only while the call's volume is known, so a record without it reads as it always did.
constexpr const char* kVolume = "Volume";
constexpr const char* kSnapshotValues[] = {kCost, kStart, kEnd,     kLength,
                                           kDate, kUser,  kAccount, kVolume};
constexpr const char* kItemNumberValue = "ItemNumber";
constexpr const char* kOtherHiveCallValue = "OtherHiveCall";
constexpr std::uint32_t kMarkerInProgress = 1;
constexpr std::uint32_t kMarkerTaken = 2;
constexpr std::uint32_t kOtherHiveCallBytes = 16;

void CurCallPath(char (&path)[2 * kNameChars]) { RootSubkeyPath("CurCall", path, sizeof path); }

// Recovery reads the record of the hive the program does not run on, which it may not be allowed to
// write: read-only then, and every write, the clearing of the marker included, changes nothing.
SettingsKey OpenCurCallKey(const SettingsStore& store) {
  char path[2 * kNameChars];
  CurCallPath(path);
  return store.OpenSettingsKeyToRead(path);
}

std::uint32_t Marker(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  return store.ReadDwordValue(key, nullptr, 0);
}

void EncodeOtherHiveCall(const OtherHiveCall& call, std::uint8_t* out) {
  PutU32(out, static_cast<std::uint32_t>(call.fingerprint));
  PutU32(out + 4, static_cast<std::uint32_t>(call.fingerprint >> 32));
  PutU32(out + 8, call.number);
  PutU32(out + 12, call.billed ? 1 : 0);
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
  std::uint8_t bytes[4] = {};
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
  store.WriteDwordValue(key, nullptr, kMarkerInProgress);
}

void MarkCallEnded(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, nullptr, 0);
}

bool IsCurCallPending(const SettingsStore& store) { return Marker(store) == kMarkerInProgress; }

void MarkCallTaken(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, nullptr, kMarkerTaken);
}

bool IsCurCallTaken(const SettingsStore& store) { return Marker(store) == kMarkerTaken; }

bool MayWriteCurCall(const SettingsStore& store) {
  char path[2 * kNameChars];
  CurCallPath(path);
  return store.OpenSettingsKey(path).valid();
}

void ReserveBillItem(const SettingsStore& store, std::uint32_t number) {
  SettingsKey key = OpenCurCallKey(store);
  store.WriteDwordValue(key, kItemNumberValue, number);
}

std::uint32_t ReservedBillItem(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  return store.ReadDwordValue(key, kItemNumberValue, kNoBillItem);
}

void SaveCurCall(const SettingsStore& store, const BillItem& call) {
  SettingsKey key = OpenCurCallKey(store);
  std::uint8_t costBytes[4];
  PutF32(costBytes, call.cost);
  store.WriteBinaryValue(key, kCost, costBytes, sizeof costBytes);
  WriteU32(store, key, kStart, call.start);
  WriteU32(store, key, kEnd, call.end);
  WriteU32(store, key, kLength, call.length);
  std::uint8_t dateBytes[kCurCallDateBytes] = {};
  EncodeDate(CalendarDate{call.day, call.month, call.year}, dateBytes);
  store.WriteBinaryValue(key, kDate, dateBytes, sizeof dateBytes);
  // Names are stored as a name field holds them, terminated within it.
  char text[kNameChars];
  CopyBoundedText(text, sizeof text, call.user);
  store.WriteStringValue(key, kUser, text);
  CopyBoundedText(text, sizeof text, call.account);
  store.WriteStringValue(key, kAccount, text);
  if (call.volume.known) {
    std::uint8_t volumeBytes[kBillVolumeBytes];
    EncodeVolume(call.volume, volumeBytes);
    store.WriteBinaryValue(key, kVolume, volumeBytes, sizeof volumeBytes);
  } else {
    // An earlier call's volume must not be billed with this one.
    store.DeleteValue(key, kVolume);
  }
}

namespace {

void ReadCurCallFrom(const SettingsStore& store, const SettingsKey& key, Environment& environment,
                     BillItem& item) {
  // One reading of the clock for every default, so they agree with each other.
  const LocalTime now = environment.Now();

  std::uint8_t costBytes[4] = {};
  store.ReadBinaryValue(key, kCost, costBytes, nullptr, sizeof costBytes);
  item.cost = GetAmountF32(costBytes);
  item.start = ReadU32(store, key, kStart, TimeOfDay(now));
  item.end = ReadU32(store, key, kEnd, TimeOfDay(now));
  // Without a stored length the time of day would be billed as the call's length; the snapshot's
  // own start and end give the length it had.
  item.length = ReadU32(store, key, kLength, LengthBetween(item.start, item.end));

  std::uint8_t defaultDate[kCurCallDateBytes];
  EncodeDate(DateOf(now), defaultDate);
  std::uint8_t dateBytes[kCurCallDateBytes] = {};
  store.ReadBinaryValue(key, kDate, dateBytes, defaultDate, sizeof dateBytes);
  item.day = GetU32(dateBytes);
  item.month = GetU32(dateBytes + 4);
  item.year = GetU32(dateBytes + 8);

  store.ReadStringValue(key, kUser, item.user, sizeof item.user, kUnknownName);
  store.ReadStringValue(key, kAccount, item.account, sizeof item.account, kUnknownName);

  // Read as stored: a missing volume is unknown, and nothing is written for it.
  std::uint8_t volumeBytes[kBillVolumeBytes] = {};
  const SettingsStore::StoredValue volume =
      store.ReadAsStored(key, kVolume, volumeBytes, sizeof volumeBytes);
  item.volume = volume.read() && volume.size == kBillVolumeBytes ? DecodeVolume(volumeBytes)
                                                                  : CallVolume();
}

}  // namespace

void ReadCurCall(const SettingsStore& store, Environment& environment, BillItem& item) {
  ReadCurCallFrom(store, OpenCurCallKey(store), environment, item);
}

void ReadCurCallAsStored(const SettingsStore& store, Environment& environment, BillItem& item) {
  char path[2 * kNameChars];
  CurCallPath(path);
  // Writes through a key opened to read fail, so the defaults reach the item alone.
  ReadCurCallFrom(store, store.OpenKeyReadOnly(path), environment, item);
}

std::uint64_t SnapshotFingerprint(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  std::uint64_t hash = 0xCBF29CE484222325u;  // 64-bit FNV-1a
  auto mix = [&hash](const std::uint8_t* bytes, std::uint32_t size) {
    for (std::uint32_t i = 0; i < size; ++i) {
      hash ^= bytes[i];
      hash *= 0x100000001B3u;
    }
  };
  for (const char* name : kSnapshotValues) {
    std::uint8_t value[kNameChars] = {};  // the largest value a read takes ("User", "Account")
    const SettingsStore::StoredValue stored = store.ReadAsStored(key, name, value, sizeof value);
    // A record from before volumes were kept has none, and must keep the digest it had then.
    if (name == kVolume && !stored.exists()) continue;
    std::uint8_t outcome[8];
    PutU32(outcome, static_cast<std::uint32_t>(stored.result));
    PutU32(outcome + 4, stored.size);
    mix(outcome, sizeof outcome);
    if (stored.read()) mix(value, stored.size);
  }
  return hash;
}

OtherHiveCall ReadOtherHiveCall(const SettingsStore& store) {
  SettingsKey key = OpenCurCallKey(store);
  std::uint8_t defaultBytes[kOtherHiveCallBytes];
  EncodeOtherHiveCall(OtherHiveCall(), defaultBytes);
  std::uint8_t bytes[kOtherHiveCallBytes] = {};
  store.ReadBinaryValue(key, kOtherHiveCallValue, bytes, defaultBytes, sizeof bytes);
  OtherHiveCall call;
  call.fingerprint = GetU32(bytes) | (static_cast<std::uint64_t>(GetU32(bytes + 4)) << 32);
  call.number = GetU32(bytes + 8);
  call.billed = GetU32(bytes + 12) != 0;
  return call;
}

void WriteOtherHiveCall(const SettingsStore& store, const OtherHiveCall& call) {
  SettingsKey key = OpenCurCallKey(store);
  std::uint8_t bytes[kOtherHiveCallBytes];
  EncodeOtherHiveCall(call, bytes);
  store.WriteBinaryValue(key, kOtherHiveCallValue, bytes, sizeof bytes);
}

}  // namespace tollwick
