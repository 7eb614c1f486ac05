#pragma once
// One monitor per settings tree: the name of the kernel object a monitoring run holds for its whole
// life, chosen by the hive its settings live in.

#include <string>

#include "platform/registry.h"

namespace tollwick {

// The longest object name the system takes, without its terminator (MAX_PATH - 1).
constexpr std::size_t kLongestObjectName = 259;

// The machine's shared tree is used from every session of the computer: "Global\Tollwick Monitor".
// A user's own tree is shared by that user's sessions alone: the same name followed by the user's
// security identifier as text (userId), so other users' monitors are not in its way. A backslash in
// userId becomes "/" (one after "Global\" would name another namespace), and the name is cut to
// kLongestObjectName.
std::string MonitorLockName(RegKey hive, const std::string& userId);

// What the holder makes in its own session besides, so that a second start can tell whether the
// run that holds the tree is in its session: the lock's name in the "Local\" namespace.
std::string SessionMarkerName(const std::string& lockName);

}  // namespace tollwick
