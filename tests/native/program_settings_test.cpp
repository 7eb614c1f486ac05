#include "core/program_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_registry.h"

namespace tollwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ProgramSettingsTest : public ::testing::Test {
 protected:
  Bytes Stored(const char* name) const {
    return registry.ValueBytes(kHkeyLocalMachine, kRootPath, name).value_or(Bytes{});
  }
  FakeRegistry registry;
  SettingsStore store{registry};
  ProgramSettings settings;
  TrayFlash flash;
};

TEST_F(ProgramSettingsTest, FirstLoadWritesTheDefaultsAsFourByteBinaryValues) {
  settings = ProgramSettings{7, 7, 7, 7, {u"Phone"}};
  LoadProgramSettings(store, settings, flash);
  EXPECT_EQ(1u, settings.warnAllowance);  // on, and not written
  EXPECT_EQ(0u, settings.clockIcon);
  EXPECT_EQ(1u, settings.noDcc);
  EXPECT_EQ(0u, settings.checkStatus);
  EXPECT_TRUE(settings.adapters.empty());
  for (const char* name : {"ClockIcon", "NoDCC", "CheckStatus"}) {
    EXPECT_EQ(kRegBinary, registry.ValueType(kHkeyLocalMachine, kRootPath, name)) << name;
  }
  EXPECT_EQ(Bytes({0, 0, 0, 0}), Stored("ClockIcon"));
  EXPECT_EQ(Bytes({1, 0, 0, 0}), Stored("NoDCC"));
  EXPECT_EQ(Bytes({0, 0, 0, 0}), Stored("CheckStatus"));
  EXPECT_EQ(std::vector<std::string>({"ClockIcon", "NoDCC", "CheckStatus"}), registry.WriteLog());
}

TEST_F(ProgramSettingsTest, StoredSwitchesAreReadLittleEndianAndTheFlashStops) {
  registry.PutValue(kHkeyLocalMachine, kRootPath, "ClockIcon", kRegBinary, {1, 0, 0, 0});
  registry.PutValue(kHkeyLocalMachine, kRootPath, "NoDCC", kRegBinary, {0, 0, 0, 0});
  registry.PutValue(kHkeyLocalMachine, kRootPath, "CheckStatus", kRegBinary, {0, 1, 0, 0});
  flash.flashCount = 4;
  flash.flashPhase = 1;
  LoadProgramSettings(store, settings, flash);
  EXPECT_EQ(1u, settings.clockIcon);
  EXPECT_EQ(0u, settings.noDcc);
  EXPECT_EQ(0x100u, settings.checkStatus);
  EXPECT_EQ(0, flash.flashCount);
  EXPECT_EQ(0, flash.flashPhase);
}

TEST_F(ProgramSettingsTest, SaveWritesEachSwitchAndLoadGivesThemBack) {
  SaveProgramSettings(store, ProgramSettings{1, 0, 1, 1, {}});
  EXPECT_EQ(std::vector<std::string>({"ClockIcon", "NoDCC", "CheckStatus"}), registry.WriteLog());
  EXPECT_EQ(Bytes({1, 0, 0, 0}), Stored("ClockIcon"));
  EXPECT_EQ(Bytes({0, 0, 0, 0}), Stored("NoDCC"));
  EXPECT_EQ(Bytes({1, 0, 0, 0}), Stored("CheckStatus"));
  EXPECT_EQ(kRegBinary, registry.ValueType(kHkeyLocalMachine, kRootPath, "CheckStatus"));
  LoadProgramSettings(store, settings, flash);
  EXPECT_EQ(1u, settings.clockIcon);
  EXPECT_EQ(0u, settings.noDcc);
  EXPECT_EQ(1u, settings.checkStatus);
  // The chosen connections come back in their order; choosing none removes the value.
  SaveProgramSettings(store, ProgramSettings{1, 0, 1, 1, {u"Phone", u"USB"}});
  LoadProgramSettings(store, settings, flash);
  EXPECT_EQ((std::vector<std::u16string>{u"Phone", u"USB"}), settings.adapters);
  SaveProgramSettings(store, ProgramSettings{1, 0, 1, 1, {}});
  EXPECT_FALSE(registry.ValueExists(kHkeyLocalMachine, kRootPath, "Adapters"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
  // The allowance warning is written once changed, and from then on whatever it is.
  for (std::uint32_t warn : {0u, 1u}) {
    SaveProgramSettings(store, ProgramSettings{1, 0, 1, warn, {}});
    EXPECT_EQ(Bytes({static_cast<std::uint8_t>(warn), 0, 0, 0}), Stored("WarnAllowance"));
    LoadProgramSettings(store, settings, flash);
    EXPECT_EQ(warn, settings.warnAllowance);
  }
}

TEST_F(ProgramSettingsTest, AnOverlongSwitchIsReplacedByItsDefault) {
  registry.PutValue(kHkeyLocalMachine, kRootPath, "NoDCC", kRegBinary, Bytes(8, 0));
  LoadProgramSettings(store, settings, flash);
  EXPECT_EQ(1u, settings.noDcc);
  EXPECT_EQ(Bytes({1, 0, 0, 0}), Stored("NoDCC"));
}

}  // namespace
}  // namespace tollwick
