#pragma once
// One monitor per settings tree. A run holds the tree's named mutex (monitor_lock_name.h) from before
// it reads or writes anything until it ends, so two starts never time one call twice or overwrite
// each other's bill. The system releases the mutex of a run that dies: the next start monitors.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {

class MonitorLock {
 public:
  enum class State {
    kHeld,           // this run holds the tree (also when its last holder died holding it)
    kHeldElsewhere,  // another run holds it
    kUnavailable,    // the name is another kind of object, or the system refused it
  };

  // Takes the lock without waiting; when held, also the session marker beside it.
  explicit MonitorLock(const std::string& name);
  ~MonitorLock();
  MonitorLock(const MonitorLock&) = delete;
  MonitorLock& operator=(const MonitorLock&) = delete;

  State state() const { return state_; }
  const std::string& name() const { return name_; }
  // For a lock held elsewhere: whether its holder runs in this session (its marker is seen here).
  bool HolderInThisSession() const;

 private:
  std::string name_;
  ScopedKernelObject mutex_;
  ScopedKernelObject marker_;  // closed before the mutex
  State state_ = State::kUnavailable;
};

// The running user's security identifier as text ("S-1-5-21-..."), or "" when it cannot be had.
std::string CurrentUserSid();

// The name of the lock of the tree in hive, for this run's user.
std::string MonitorLockNameFor(RegKey hive);

// At start-up, once the hive is chosen and before anything is read: true when this run monitors,
// holding `lock`. Otherwise it must end: a run in this session holding the tree is asked to show its
// Call information dialog; one in another session is told of in a box; a name that cannot be had is
// explained in an error box (the program refuses to run rather than risk a second monitor).
using StartupBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
bool MayMonitor(RegKey hive, std::optional<MonitorLock>& lock, StartupBoxFunction box);

}  // namespace tollwick
