// The start-up lock against the real kernel objects: a free or abandoned lock is taken, one held by a
// holder that left no marker in this session is told of as another session's, and a name that is
// another kind of object stops the start with an error. (Two real starts: tests/e2e.)

#include "core/win32/monitor_lock.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace tollwick {
namespace {

std::string boxText;
std::string boxCaption;
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
  boxText = text;
  boxCaption = caption;
  return IDOK;
}

// A handle closed when it goes.
struct Kernel {
  HANDLE handle;
  ~Kernel() {
    if (handle != nullptr) CloseHandle(handle);
  }
};

TEST(MonitorLock, ATreeIsMonitoredOnlyWhenItsLockCanBeHad) {
  const std::string name = MonitorLockNameFor(kHkeyLocalMachine);
  const struct {
    const char* what;
    // What holds the name meanwhile, made on a thread that ends first (as a run that died does).
    std::function<HANDLE()> other;
    bool monitors;
    const char* caption;  // of the one box, "" for none
  } cases[] = {
      {"free", [] { return HANDLE(nullptr); }, true, ""},
      {"abandoned by a run that died",
       [&] { return CreateMutexA(nullptr, TRUE, name.c_str()); }, true, ""},
      {"held in another session", nullptr, false, "Tollwick"},
      {"the name of an event", [&] { return CreateEventA(nullptr, TRUE, FALSE, name.c_str()); },
       false, "Error!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    boxText.clear();
    boxCaption.clear();
    Kernel held{nullptr};
    HANDLE release = nullptr;
    HANDLE holding = nullptr;
    std::thread holder;
    if (c.other) {
      std::thread([&] { held.handle = c.other(); }).join();
    } else {
      // A holder that stays, with no marker in this session.
      release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      holding = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      holder = std::thread([&] {
        Kernel mutex{CreateMutexA(nullptr, TRUE, name.c_str())};
        SetEvent(holding);
        WaitForSingleObject(release, INFINITE);
        ReleaseMutex(mutex.handle);
      });
      WaitForSingleObject(holding, 10000);
    }
    {
      std::optional<MonitorLock> lock;
      EXPECT_EQ(c.monitors, MayMonitor(kHkeyLocalMachine, lock, RecordBox));
      EXPECT_EQ(c.caption, boxCaption) << boxText;
    }
    if (holder.joinable()) {
      SetEvent(release);
      holder.join();
      CloseHandle(release);
      CloseHandle(holding);
    }
  }
  EXPECT_NE(std::string::npos, boxText.find(name)) << "the error names the object";
}

}  // namespace
}  // namespace tollwick
