#pragma once

// The live sound output: one FluidSynth synthesiser for the whole run, created at the first song,
// and the audio driver whose thread renders through the engine. A notifier thread of ours takes
// the engine's reports and posts the completion notices, so the audio thread never calls into the
// application.
//
// The same thread watches the audio callback. A sound server that goes away (a crash, an update,
// a switch of headset) leaves the driver's thread without a stream: the callback stops and a song
// would stall for good. When the engine has rendered nothing for a while, the watchdog takes the
// driver down and opens a new one about once a second until a server accepts it; the engine keeps
// its state, so the song goes on from where it stalled. None of this blocks the caller's thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <semaphore.h>

#include "platform/mci/AudioDriver.h"
#include "platform/mci/CallbackWatch.h"
#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Output.h"
#include "platform/mci/SongPreparer.h"

namespace mci {

struct LiveOutputOptions {
    std::vector<std::string> soundFonts;   // empty: the system's General MIDI SoundFonts
    std::vector<std::string> audioDrivers; // empty: AudioDriver::DefaultDrivers()
    AudioDriver::Opener openDriver;        // set: used instead of FluidSynth's drivers
};

class LiveOutput final : public Output {
public:
    explicit LiveOutput(LiveOutputOptions options);
    ~LiveOutput() override;

    bool IsOffline() const override { return false; }
    MCIERROR PrepareForSong() override;
    bool PrepareForWave() override;
    void NameSong(const std::string& name) override;
    bool Submit(const EngineCommand& command) override;
    MCIERROR WaitForEnd(std::uint32_t serial) override;
    void RenderOffline(float*, float*, std::size_t) override {}
    bool ReplaceSink(std::unique_ptr<MidiSink> sink) override;
    bool PrepareSong(std::shared_ptr<const PlayableSong> song) override;

private:
    using Clock = std::chrono::steady_clock;

    bool StartDriver();
    std::unique_ptr<AudioDriver> OpenDriver();
    void NotifierLoop();
    // The watchdog's round: looks at the callback's progress, takes a stalled driver down, tries
    // to bring a lost one back. Notifier thread only.
    void Watch();
    void FreeRetiredSynths();
    static void Wake(void* self);

    LiveOutputOptions m_options;
    std::unique_ptr<MidiSink> m_synth;
    // Synthesisers replaced by another, with the command count after which the engine no longer
    // reads them.
    std::vector<std::pair<std::uint64_t, std::unique_ptr<MidiSink>>> m_retired;

    // The driver is started by the caller's thread and taken down or replaced by the watchdog; the
    // lock only ever guards the pointer, never the opening or closing of a driver, which may block.
    std::mutex m_driverMutex;
    std::unique_ptr<AudioDriver> m_driver;
    std::string m_songName = "Shufflon"; // what a new stream is named after, under the same lock
    std::atomic<bool> m_outputLost{false};
    CallbackWatch m_watch; // notifier thread only, like the time below
    Clock::time_point m_nextAttempt;

    sem_t m_wake;
    std::thread m_notifier;
    std::atomic<bool> m_stopping{false};
    std::mutex m_endedMutex;
    std::condition_variable m_ended;
    SongPreparer m_preparer{m_engine};
};

} // namespace mci
