#pragma once

#include "platform/WinTypes.h"

// Dispatches every queued message of the thread, without filtering, until `milliseconds` have
// passed. It polls without sleeping: both callers use it to let a window they just showed be
// drawn before they go on with work that takes the thread.
void PumpMessages(DWORD milliseconds);
