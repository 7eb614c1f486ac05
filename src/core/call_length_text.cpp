#include "core/call_length_text.h"

#include <cstdio>

namespace tollwick {

std::string FormatCallLength(int hours, int minutes, int seconds) {
  char text[40];
  std::snprintf(text, sizeof text, "%i:%02i:%02i", hours, minutes, seconds);
  return text;
}

}  // namespace tollwick
