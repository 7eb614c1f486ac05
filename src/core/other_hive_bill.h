#pragma once
// A user whose data moved from one hive to the other (see SettingsStore::ChooseHive) may have left a
// bill behind in the hive no longer used. The program says so once, not at every start: whether it
// has is remembered as "OtherBillTold" (REG_DWORD 1) in the root key of the hive in use, beside the
// switches, where no stored record of the program reads it.

#include <cstdint>

#include "platform/settings_store.h"

namespace tollwick {

// The number of items the other hive's bill holds when the user has not been told of it yet, else
// 0. Only reads; the other hive is opened for reading and never created or written.
std::uint32_t OtherBillItemsToTell(const SettingsStore& store);
// Remembers that the user has been told.
void RememberOtherBillTold(const SettingsStore& store);

}  // namespace tollwick
