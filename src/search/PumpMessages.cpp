#include "search/PumpMessages.h"

#include "platform/ui/MessageQueue.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Wnd.h"

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    // The difference in unsigned 32-bit arithmetic stays right when the tick count wraps.
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        if (PeekMessage(msg))
            DispatchMessage(msg);
    }
}
