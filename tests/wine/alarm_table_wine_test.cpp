// "AlarmList" against the real registry: a missing value is written as 1024 zeros, and a stored one
// comes back byte for byte through LoadAlarms and SaveAlarms.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "alarms/alarm_table.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

class AlarmListWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRootPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root_, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(root_, kAlarmListValue);
  }
  void TearDown() override {
    if (root_) RegCloseKey(root_);
  }
  Bytes Stored(DWORD* type) const {
    DWORD size = 0;
    if (RegQueryValueExA(root_, kAlarmListValue, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return {};
    Bytes bytes(size);
    RegQueryValueExA(root_, kAlarmListValue, nullptr, type, bytes.data(), &size);
    return bytes;
  }

  HKEY root_ = nullptr;
  Win32Registry registry;
  SettingsStore store{registry};
  AlarmTable table;
};

TEST_F(AlarmListWine, MissingValueBecomesZerosAndAStoredOneRoundTrips) {
  table.alarms[0].name[0] = 'x';
  LoadAlarms(store, table);
  EXPECT_EQ(table.alarms[0].name[0], '\0');
  DWORD type = 0;
  EXPECT_EQ(Stored(&type), Bytes(kAlarmListBytes, 0));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

  Bytes list(kAlarmListBytes);
  for (std::size_t i = 0; i < list.size(); ++i) list[i] = static_cast<std::uint8_t>(i * 7 + 3);
  for (int slot = 0; slot < kAlarmSlots; ++slot) list[slot * kAlarmSlotBytes + 40] = 0;  // names end
  ASSERT_EQ(RegSetValueExA(root_, kAlarmListValue, 0, REG_BINARY, list.data(), kAlarmListBytes),
            ERROR_SUCCESS);
  LoadAlarms(store, table);
  EXPECT_EQ(std::strlen(table.alarms[3].name), 40u);
  RegDeleteValueA(root_, kAlarmListValue);
  SaveAlarms(store, table);
  EXPECT_EQ(Stored(&type), list);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

}  // namespace
}  // namespace tollwick
