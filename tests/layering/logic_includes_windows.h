#pragma once
// Fixture for the include check: window-free code may not include windows.h.
#include <windows.h>
