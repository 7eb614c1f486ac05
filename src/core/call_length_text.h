#pragma once
// The length of the call in progress as the Call information dialog shows it: hours as they are,
// minutes and seconds with two digits (1:05:07, 0:00:00, 12:30:45).

#include <string>

namespace tollwick {

std::string FormatCallLength(int hours, int minutes, int seconds);

}  // namespace tollwick
