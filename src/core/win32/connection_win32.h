#pragma once
// Asks the Remote Access Service for the first dial-up connection it lists.

#include <cstddef>

namespace tollwick {

constexpr std::size_t kEntryNameChars = 257;  // a phone-book entry name and its terminator
constexpr std::size_t kIpTextChars = 16;

// Returns true when the first listed connection counts as active. entryName and ipText receive text
// whenever the service lists a connection, active or not; otherwise they are left untouched.
// checkStatus: count the connection only once the service reports it connected.
// noDcc: a Direct Cable Connection entry never counts.
bool FindActiveConnection(bool checkStatus, bool noDcc, char (&entryName)[kEntryNameChars],
                          char (&ipText)[kIpTextChars]);

}  // namespace tollwick
