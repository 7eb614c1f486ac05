#pragma once
// Test suites that run unchanged against the in-memory registry (native tests) and against the real
// registry (Wine tests), so that the fake cannot drift from what the program meets on Windows.
// Each test program instantiates them with its own factory:
//
//   INSTANTIATE_TEST_SUITE_P(Fake, RegistryConformance,
//                            ::testing::Values(RegistryUnderTest{"Fake", &Make, &TypeOf}),
//                            RegistryUnderTestName);
//
// and likewise for SettingsStoreOnRegistry.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/settings_store.h"

namespace tollwick {

struct RegistryUnderTest {
  const char* name;
  std::unique_ptr<Registry> (*make)();
  // The stored type of a value (RegQueryValueExA asking for the type), which the interface itself
  // never needs.
  long (*valueType)(Registry& registry, RegKey key, const char* name, std::uint32_t* type);
};

std::string RegistryUnderTestName(const ::testing::TestParamInfo<RegistryUnderTest>& info);

// A fresh registry per test and an empty scratch key of the test's own below
// HKEY_LOCAL_MACHINE\Software\TollwickTests, removed again afterwards.
class RegistryTest : public ::testing::TestWithParam<RegistryUnderTest> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The scratch key's path below the hive, and the key opened on it.
  std::string scratchPath_;
  RegKey scratch_ = 0;
  std::unique_ptr<Registry> registry_;

  // The stored type of a value, 0 when it cannot be read.
  std::uint32_t TypeOf(RegKey key, const char* name) const;
  // The stored bytes of a value, empty when it cannot be read.
  std::vector<std::uint8_t> BytesOf(RegKey key, const char* name) const;
};

class RegistryConformance : public RegistryTest {};
class SettingsStoreOnRegistry : public RegistryTest {};

}  // namespace tollwick
