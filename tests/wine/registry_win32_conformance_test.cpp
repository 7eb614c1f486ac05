// The registry suites on the real registry of the Wine prefix; tests/native runs the same suites on
// the in-memory registry.

#include <windows.h>

#include <memory>

#include "platform/win32/win32_registry.h"
#include "registry_conformance.h"

namespace tollwick {
namespace {

std::unique_ptr<Registry> MakeWin32() { return std::make_unique<Win32Registry>(); }

long Win32ValueType(Registry&, RegKey key, const char* name, std::uint32_t* type) {
  DWORD stored = 0;
  LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, nullptr, &stored, nullptr,
                                 nullptr);
  if (type) *type = stored;
  return result;
}

const RegistryUnderTest kWin32{"Win32", &MakeWin32, &Win32ValueType};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, RegistryConformance, ::testing::Values(kWin32),
                         RegistryUnderTestName);
INSTANTIATE_TEST_SUITE_P(Win32, SettingsStoreOnRegistry, ::testing::Values(kWin32),
                         RegistryUnderTestName);

}  // namespace tollwick
