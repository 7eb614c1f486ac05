#pragma once
// Fixture for the include check: the bill using the text and platform modules is in order.
#include "platform/settings_store.h"
#include "text/money_text.h"
