#pragma once

// Loads the SoundFont the user chooses on a thread of its own: a large one takes seconds, which
// neither the user interface nor the audio callback may wait for. The synthesiser it makes waits
// here until the device swaps it in between songs; the window that asked hears of the outcome by
// a posted message.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/MMSystem.h"
#include "platform/mci/FluidSynthSink.h"

namespace mci {

class SoundFontLoader {
public:
    SoundFontLoader() = default;
    ~SoundFontLoader();
    SoundFontLoader(const SoundFontLoader&) = delete;
    SoundFontLoader& operator=(const SoundFontLoader&) = delete;

    // Queues a load of the file (empty: the system's General MIDI SoundFont); a request not yet
    // started gives way to a newer one. When done, `message` goes to `window` with wParam 1 (ready
    // for the next song) or 0 (refused; lParam is the SoundFontProblem), unless window is 0.
    void Request(const std::string& path, HWND window, UINT message);
    // The synthesiser of the last load that succeeded, once; null while none is waiting.
    std::unique_ptr<FluidSynthSink> TakeLoaded();
    // Waits until no load is queued or running; for tests and tools.
    void WaitUntilIdle();

private:
    struct Job {
        std::string path;
        HWND window = 0;
        UINT message = 0;
    };
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Job> m_queued;
    bool m_busy = false;
    bool m_stopping = false;
    std::unique_ptr<FluidSynthSink> m_loaded;
    std::thread m_worker; // started at the first request
};

} // namespace mci
