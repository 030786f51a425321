#pragma once

#include "platform/ui/Message.h"

#include <cstddef>

// The program's one message queue. Posting is safe from any thread (the sequencer posts its
// completion notices from the audio thread); taking messages happens on the GUI thread only.

// Appends a message. A WM_TIMER for a window and timer id that is already waiting is not queued
// twice, as with Windows, so a long handler does not come back to a pile of ticks.
void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Takes the oldest message without waiting. Before looking, the platform backend turns pending
// input of the toolkit into messages. Returns false when the queue is empty.
bool PeekMessage(MSG& msg);

// Takes the oldest message without letting the backend look for new input first.
bool TakeQueuedMessage(MSG& msg);

// Number of messages waiting; for tests.
std::size_t QueuedMessageCount();

// Drops every queued message; for tests that start afresh.
void ClearMessageQueue();
