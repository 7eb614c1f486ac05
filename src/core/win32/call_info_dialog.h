#pragma once
// "&Current/last call info...": the call in progress (account, user, start, the time now, cost and
// length), refreshed once a second while the dialog is open, so a call that starts or ends under it
// shows within a second. Modal; one at a time.

#include <windows.h>

#include "call/current_call.h"
#include "platform/environment.h"

namespace tollwick {

// Opens the dialog over the call, or brings the open one to the front.
void ShowCallInfoDialog(HWND owner, const CurrentCall& call, Environment& environment);

}  // namespace tollwick
