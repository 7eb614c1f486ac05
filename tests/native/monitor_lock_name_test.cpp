#include "core/monitor_lock_name.h"

#include <gtest/gtest.h>

namespace tollwick {
namespace {

TEST(MonitorLockName, OneNameForTheMachinesTreeAndOnePerUserForAUsersOwn) {
  const std::string sid = "S-1-5-21-7623811015-3361044348-30300820-1013";
  const struct {
    RegKey hive;
    std::string userId;
    std::string lock;
  } cases[] = {
      {kHkeyLocalMachine, sid, "Global\\Tollwick Monitor"},
      {kHkeyCurrentUser, sid, "Global\\Tollwick Monitor " + sid},
      {kHkeyCurrentUser, "OFFICE\\bob", "Global\\Tollwick Monitor OFFICE/bob"},
      {kHkeyCurrentUser, std::string(300, 'x'),
       "Global\\Tollwick Monitor " + std::string(kLongestObjectName - 24, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.userId);
    EXPECT_EQ(c.lock, MonitorLockName(c.hive, c.userId));
    EXPECT_EQ("Local\\" + c.lock.substr(7), SessionMarkerName(c.lock));
  }
}

}  // namespace
}  // namespace tollwick
