#pragma once
// The window-free rules of connection detection.

namespace tollwick {

constexpr const char* kDirectCableConnection = "Direct Cable Connection";
constexpr const char* kUnavailableIp = "Unavailable";

// True when the text is at most 15 characters and holds exactly three dots. Digits are not checked.
bool IsDottedQuad(const char* text);

// True when the entry name begins with "Direct Cable Connection" (case-sensitive).
bool IsDirectCableConnection(const char* entryName);

}  // namespace tollwick
