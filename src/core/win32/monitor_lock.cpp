#include "core/win32/monitor_lock.h"

#include <sddl.h>

#include <cstdio>
#include <vector>

#include "core/monitor_lock_name.h"
#include "core/win32/main_window.h"

namespace tollwick {
namespace {

constexpr const char* kOtherSessionText =
    "Tollwick already times calls in another session of this computer, and keeps the bill there.\n\n"
    "This start of Tollwick ends without timing or billing anything.";

// The holder makes its marker right after taking the lock: a start that comes in between waits
// this long before it concludes that the holder is in another session.
constexpr int kMarkerWaitMs = 1000;
constexpr int kPollMs = 50;

}  // namespace

MonitorLock::MonitorLock(const std::string& name) : name_(name) {
  mutex_.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
  if (!mutex_) {
    // A mutex this run may not open is another user's monitor; any other refusal (a name that is
    // an event or a section, say) leaves no way to know whether one runs.
    state_ = GetLastError() == ERROR_ACCESS_DENIED ? State::kHeldElsewhere : State::kUnavailable;
    return;
  }
  const DWORD wait = WaitForSingleObject(mutex_.get(), 0);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    state_ = State::kHeldElsewhere;
    return;
  }
  state_ = State::kHeld;
  marker_.reset(CreateMutexA(nullptr, FALSE, SessionMarkerName(name).c_str()));
}

MonitorLock::~MonitorLock() {
  marker_.reset();
  if (state_ == State::kHeld) ReleaseMutex(mutex_.get());
}

bool MonitorLock::HolderInThisSession() const {
  const std::string marker = SessionMarkerName(name_);
  for (int waited = 0;; waited += kPollMs) {
    if (ScopedKernelObject(OpenMutexA(SYNCHRONIZE, FALSE, marker.c_str()))) return true;
    if (waited >= kMarkerWaitMs) return false;
    Sleep(kPollMs);
  }
}

std::string CurrentUserSid() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return "";
  const ScopedKernelObject token(opened);
  std::string text;
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  char* sid = nullptr;
  if (size > 0 && GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  return text;
}

std::string MonitorLockNameFor(RegKey hive) { return MonitorLockName(hive, CurrentUserSid()); }

bool MayMonitor(RegKey hive, std::optional<MonitorLock>& lock, StartupBoxFunction box) {
  lock.emplace(MonitorLockNameFor(hive));
  switch (lock->state()) {
    case MonitorLock::State::kHeld:
      return true;
    case MonitorLock::State::kHeldElsewhere:
      if (lock->HolderInThisSession()) {
        AskRunningMonitorToShowItself();
      } else {
        box(nullptr, kOtherSessionText, "Tollwick", MB_OK | MB_ICONINFORMATION);
      }
      return false;
    case MonitorLock::State::kUnavailable:
      break;
  }
  char text[512];
  std::snprintf(text, sizeof text,
                "Tollwick cannot make sure that it is the only copy timing calls: the name \"%s\" "
                "is used by another program, or the system refuses it.\n\n"
                "So that no call is billed twice, Tollwick does not start. Close the program that "
                "uses the name, or restart the computer, and start Tollwick again.",
                lock->name().c_str());
  box(nullptr, text, "Error!", MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace tollwick
