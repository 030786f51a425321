#include "platform/ui/MessageQueue.h"

#include "platform/ui/Backend.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

namespace {

std::mutex g_mutex;
std::deque<MSG> g_queue;
// Input, oldest first, each with its number in MSG::input; numbers only grow.
std::deque<MSG> g_input;
std::uint64_t g_nextInput = 1;
// Timers that fell due and have not ticked yet, in the order they fell due.
std::deque<std::pair<HWND, UINT>> g_dueTimers;

} // namespace

void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard lock(g_mutex);
        g_queue.push_back(MSG{hwnd, message, wParam, lParam});
    }
    if (Backend* backend = CurrentBackend())
        backend->Wake();
}

std::uint64_t PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::uint64_t number;
    {
        std::lock_guard lock(g_mutex);
        if (message == WM_MOUSEMOVE && !g_input.empty() && g_input.back().message == WM_MOUSEMOVE &&
            g_input.back().hwnd == hwnd) {
            g_input.back().wParam = wParam;
            g_input.back().lParam = lParam;
            return g_input.back().input;
        }
        number = g_nextInput++;
        g_input.push_back(MSG{hwnd, message, wParam, lParam, number});
    }
    if (Backend* backend = CurrentBackend())
        backend->Wake();
    return number;
}

bool ChangeWaitingInput(std::uint64_t input, UINT message) {
    std::lock_guard lock(g_mutex);
    auto waiting =
        std::find_if(g_input.begin(), g_input.end(), [input](const MSG& msg) { return msg.input == input; });
    if (waiting == g_input.end())
        return false;
    waiting->message = message;
    return true;
}

std::uint64_t OldestWaitingInput() {
    std::lock_guard lock(g_mutex);
    return g_input.empty() ? g_nextInput : g_input.front().input;
}

void MarkTimerDue(HWND hwnd, UINT id) {
    {
        std::lock_guard lock(g_mutex);
        if (std::find(g_dueTimers.begin(), g_dueTimers.end(), std::pair{hwnd, id}) != g_dueTimers.end())
            return;
        g_dueTimers.emplace_back(hwnd, id);
    }
    if (Backend* backend = CurrentBackend())
        backend->Wake();
}

void ForgetTimerTick(HWND hwnd, UINT id) {
    std::lock_guard lock(g_mutex);
    std::erase(g_dueTimers, std::pair{hwnd, id});
}

bool PeekMessage(MSG& msg) {
    if (Backend* backend = CurrentBackend())
        backend->ProcessEvents();
    return TakeQueuedMessage(msg);
}

bool TakeQueuedMessage(MSG& msg) {
    std::lock_guard lock(g_mutex);
    if (!g_queue.empty()) {
        msg = g_queue.front();
        g_queue.pop_front();
        return true;
    }
    if (!g_input.empty()) {
        msg = g_input.front();
        g_input.pop_front();
        return true;
    }
    if (!g_dueTimers.empty()) {
        auto [hwnd, id] = g_dueTimers.front();
        g_dueTimers.pop_front();
        msg = MSG{hwnd, WM_TIMER, id, 0};
        return true;
    }
    return false;
}

std::size_t QueuedMessageCount() {
    std::lock_guard lock(g_mutex);
    return g_queue.size() + g_input.size() + g_dueTimers.size();
}

void ClearMessageQueue() {
    std::lock_guard lock(g_mutex);
    g_queue.clear();
    g_input.clear();
    g_dueTimers.clear();
}
