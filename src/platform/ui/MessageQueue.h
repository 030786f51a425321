#pragma once

#include "platform/ui/Message.h"

#include <cstddef>
#include <cstdint>

// The program's one message queue. Posting is safe from any thread (the sequencer posts its
// completion notices from the audio thread); taking messages happens on the GUI thread only.

// Appends a message.
void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The user's mouse and key input waits in a queue of its own, as on Windows: it is taken after
// the posted messages and before timer ticks, and none of it is ever dropped. A mouse move
// replaces a move that is the newest input waiting for the same window, so a burst of moves is
// one message. Returns the number the input waits under (that of the replaced move when merged);
// the taken message carries it in MSG::input. GUI thread only.
std::uint64_t PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Turns waiting input into another message with the same parameters (the second press of a
// double click, known only once the toolkit says so, into WM_LBUTTONDBLCLK); false when it was
// taken already.
bool ChangeWaitingInput(std::uint64_t input, UINT message);
// The number of the oldest input still waiting, or of the next one to come when none waits: input
// with a smaller number has been taken.
std::uint64_t OldestWaitingInput();

// Timer ticks are not posted messages. A timer that falls due is only marked; its WM_TIMER is
// made when no posted message or input waits, and only while the timer is still set, as on
// Windows. So a tick never overtakes a click, a killed timer never ticks again, and a long handler does not
// come back to a pile of ticks. The backend marks a timer due; setting or killing a timer forgets a mark it
// still has.
void MarkTimerDue(HWND hwnd, UINT id);
void ForgetTimerTick(HWND hwnd, UINT id);

// Takes the next message without waiting: the oldest posted one, else the oldest input, else a
// due timer's tick. Before looking, the platform backend turns pending input of the toolkit into
// messages. Returns false when nothing waits.
bool PeekMessage(MSG& msg);

// Takes the oldest message without letting the backend look for new input first.
bool TakeQueuedMessage(MSG& msg);

// Number of messages waiting, input and ticks included; for tests.
std::size_t QueuedMessageCount();

// Drops every queued message, input and tick; for tests that start afresh.
void ClearMessageQueue();
