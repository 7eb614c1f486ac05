// The start-up lock against the real kernel objects: free or abandoned, it is taken; held by a run
// with no marker in this session, that run is told of as another session's; a name that is another
// kind of object stops the start with an error naming it. (Two real starts: tests/e2e.)

#include "core/win32/monitor_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace tollwick {
namespace {

std::string boxCaption, boxText;
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
  boxCaption = caption;
  boxText = text;
  return IDOK;
}

TEST(MonitorLock, ATreeIsMonitoredOnlyWhenItsLockCanBeHad) {
  const std::string name = MonitorLockNameFor(kHkeyLocalMachine);
  const struct {
    const char* what;
    int holder;  // 0 none, 1 a mutex whose thread ended holding it, 2 one held on, 3 an event
    bool monitors;
    const char* caption;  // of the one box; "" for none
  } cases[] = {{"free", 0, true, ""},
               {"abandoned by a run that died", 1, true, ""},
               {"held in another session", 2, false, "Tollwick"},
               {"the name of an event", 3, false, "Error!"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    boxCaption.clear();
    std::atomic<HANDLE> other{nullptr};
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
      other = c.holder == 3 ? CreateEventA(nullptr, TRUE, FALSE, name.c_str())
                            : c.holder != 0 ? CreateMutexA(nullptr, TRUE, name.c_str()) : nullptr;
      SetEvent(ready);
      if (c.holder == 2) WaitForSingleObject(done, 10000);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 5000)) << "the holder never took the name";
    if (c.holder != 2) holder.join();
    {
      std::optional<MonitorLock> lock;
      EXPECT_EQ(c.monitors, MayMonitor(kHkeyLocalMachine, lock, RecordBox));
      EXPECT_EQ(c.caption, boxCaption) << boxText;
    }
    SetEvent(done);
    if (holder.joinable()) holder.join();
    CloseHandle(done);
    CloseHandle(ready);
    if (other != nullptr) CloseHandle(other);
  }
  EXPECT_NE(std::string::npos, boxText.find(name)) << "the error names the object";
}

}  // namespace
}  // namespace tollwick
