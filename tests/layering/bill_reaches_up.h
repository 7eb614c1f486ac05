#pragma once
// Fixture for the include check: the bill may not use the call in progress.
#include "call/current_call.h"
