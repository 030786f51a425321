#include "platform/ui/MessageQueue.h"

#include "platform/ui/Backend.h"

#include <deque>
#include <mutex>

namespace {

std::mutex g_mutex;
std::deque<MSG> g_queue;

} // namespace

void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard lock(g_mutex);
        if (message == WM_TIMER) {
            for (const MSG& waiting : g_queue) {
                if (waiting.hwnd == hwnd && waiting.message == WM_TIMER && waiting.wParam == wParam)
                    return;
            }
        }
        g_queue.push_back(MSG{hwnd, message, wParam, lParam});
    }
    if (Backend* backend = CurrentBackend())
        backend->Wake();
}

bool PeekMessage(MSG& msg) {
    if (Backend* backend = CurrentBackend())
        backend->ProcessEvents();
    return TakeQueuedMessage(msg);
}

bool TakeQueuedMessage(MSG& msg) {
    std::lock_guard lock(g_mutex);
    if (g_queue.empty())
        return false;
    msg = g_queue.front();
    g_queue.pop_front();
    return true;
}

std::size_t QueuedMessageCount() {
    std::lock_guard lock(g_mutex);
    return g_queue.size();
}

void ClearMessageQueue() {
    std::lock_guard lock(g_mutex);
    g_queue.clear();
}
