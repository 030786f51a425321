#pragma once

#include "platform/ui/Message.h"

#include <cstddef>

// The program's one message queue. Posting is safe from any thread (the sequencer posts its
// completion notices from the audio thread); taking messages happens on the GUI thread only.

// Appends a message.
void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Timer ticks are not posted messages. A timer that falls due is only marked; its WM_TIMER is
// made when no posted message waits, and only while the timer is still set, as on Windows. So a
// tick never overtakes a click, a killed timer never ticks again, and a long handler does not come
// back to a pile of ticks. The backend marks a timer due; setting or killing a timer forgets a
// mark it still has.
void MarkTimerDue(HWND hwnd, UINT id);
void ForgetTimerTick(HWND hwnd, UINT id);

// Takes the oldest message without waiting. Before looking, the platform backend turns pending
// input of the toolkit into messages. Returns false when the queue is empty.
bool PeekMessage(MSG& msg);

// Takes the oldest message without letting the backend look for new input first.
bool TakeQueuedMessage(MSG& msg);

// Number of messages waiting, ticks included; for tests.
std::size_t QueuedMessageCount();

// Drops every queued message and tick; for tests that start afresh.
void ClearMessageQueue();
