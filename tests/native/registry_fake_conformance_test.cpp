// The registry suites on the in-memory registry; tests/wine runs the same suites on the real one.

#include <memory>

#include "fake_registry.h"
#include "registry_conformance.h"

namespace tollwick {
namespace {

std::unique_ptr<Registry> MakeFake() { return std::make_unique<FakeRegistry>(); }

long FakeValueType(Registry& registry, RegKey key, const char* name, std::uint32_t* type) {
  return static_cast<FakeRegistry&>(registry).QueryValueType(key, name, type);
}

const RegistryUnderTest kFake{"Fake", &MakeFake, &FakeValueType};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Fake, RegistryConformance, ::testing::Values(kFake),
                         RegistryUnderTestName);
INSTANTIATE_TEST_SUITE_P(Fake, SettingsStoreOnRegistry, ::testing::Values(kFake),
                         RegistryUnderTestName);

}  // namespace tollwick
