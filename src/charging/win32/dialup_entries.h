#pragma once
// The dial-up entries of the phone book, which the Setup tab and Add call offer as accounts.

#include <string>
#include <vector>

namespace tollwick {

// Every entry name, in the order the Remote Access Service lists them; none when it cannot list them.
std::vector<std::string> DialUpEntryNames();

}  // namespace tollwick
