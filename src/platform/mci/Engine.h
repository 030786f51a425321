#pragma once

// The real-time half of the sequencer. It lives in the audio callback: each call of Render first
// takes the commands the control thread has queued, then renders the block in sub-blocks split at
// the exact frames of the song's events, sending each event to the synthesiser just before the
// first frame it sounds at. It never locks, allocates or logs; what it owns is only borrowed (the
// control thread keeps songs and sounds alive until ProcessedCommands() says they are let go).
//
// Everything the control thread learns comes through atomics (the play status, the count of
// processed commands) and through the report queue, which says when a play has ended.
//
// The sink can be lent to another thread: when the engine reaches a LendSink command it hands the
// sink over and, until it is given back, takes no further commands and renders silence (an
// in-memory sound still plays). Commands queued after the loan wait for its end, so a song queued
// behind it starts with whatever the borrower made ready.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/MMSystem.h"
#include "platform/mci/SpscQueue.h"

namespace mci {

class MidiSink;
struct PlayableSong;
struct ChaseList;
struct WaveBuffer;

struct EngineCommand {
    enum class Kind : std::uint8_t { AttachSink, Play, Stop, Silence, PlayWave, LendSink };
    Kind kind = Kind::Silence;

    MidiSink* sink = nullptr;         // AttachSink
    const WaveBuffer* wave = nullptr; // PlayWave (nullptr stops the sound)

    // Play: starts the song at startFrame after sending the chase (if any). When `continues` names
    // the play that is running, or the one that ran last, the new play goes on from where that one
    // is instead: the same song, no chase, no break in the sound.
    const PlayableSong* song = nullptr;
    const ChaseList* chase = nullptr;
    std::uint64_t startFrame = 0;
    std::uint64_t endFrame = 0;
    std::uint32_t serial = 0;    // Play, Stop: the play's identity
    std::uint32_t continues = 0; // Play
    bool keepNotice = false;     // Play that continues: the running play's notice carries over
    std::uint32_t notice = 0;    // Play: token of the completion notice this play owes, 0 for none
    MCIDEVICEID device = 0;
    HWND window = 0;
};

// A play has ended by reaching its end frame. `notice` is its token when the audio thread won the
// right to post the completion notice, else 0.
struct EngineReport {
    std::uint32_t serial = 0;
    std::uint32_t notice = 0;
    MCIDEVICEID device = 0;
    HWND window = 0;
};

// What the control thread sees of the current play.
struct PlayStatus {
    std::uint32_t serial = 0; // low 16 bits of the serial of the play last started
    bool ended = false;       // it has reached its end or been stopped
    std::uint64_t frame = 0;  // song frame it has reached
};

class Engine {
public:
    explicit Engine(std::size_t queueCapacity = 256);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- control thread ---
    // Queues a command; false when the queue is full (the audio thread is not running).
    bool Submit(const EngineCommand& command);
    std::uint64_t SubmittedCommands() const { return m_submitted; }
    std::uint64_t ProcessedCommands() const { return m_processed.load(std::memory_order_acquire); }
    PlayStatus Status() const;
    std::uint64_t RenderedFrames() const { return m_rendered.load(std::memory_order_relaxed); }
    bool PopReport(EngineReport& report) { return m_reports.TryPop(report); }
    // Completion notices: a play with notify owes one; whoever takes it (the audio thread when the
    // play ends, the control thread when it is cut short) posts it, so it is posted exactly once.
    void OweNotice(std::uint32_t token) { m_owedNotice.store(token, std::memory_order_release); }
    bool TakeNotice(std::uint32_t token);
    // Called by the audio thread after it has queued reports; must be async-signal-safe.
    void SetReportSignal(void (*signal)(void*), void* data);
    // Tests only: called on the audio thread the moment a play's end has been published, so that
    // a test can act as the control thread would at the worst moment. Set before rendering starts.
    void SetEndPublishedHook(void (*hook)(void*), void* data) {
        m_endPublishedHook = hook;
        m_endPublishedHookData = data;
    }
    // Before rendering has started only: the sink to use from the first block on.
    void AttachSinkNow(MidiSink* sink) { m_sink = sink; }
    // Whether the engine has reached a LendSink command and lent its sink (which may be null);
    // the borrower may then call the sink until it gives it back.
    bool SinkLent() const { return m_lent.load(std::memory_order_acquire); }
    MidiSink* SinkOnLoan() const { return m_lentSink.load(std::memory_order_relaxed); }
    void ReturnSink() { m_lent.store(false, std::memory_order_release); }
    // The synthesiser's share of the output from the next block on, 0 to 1 (a WAVE sound keeps
    // its own).
    void SetSynthGain(float gain) { m_gain.store(gain, std::memory_order_relaxed); }

    // --- audio thread ---
    // Buffers may be null only when frames is 0 (that takes the queued commands and nothing else).
    void Render(float* left, float* right, std::size_t frames);

private:
    struct Play {
        const PlayableSong* song = nullptr;
        std::size_t cursor = 0;
        std::uint64_t frame = 0;
        std::uint64_t end = 0;
        std::uint32_t serial = 0;
        std::uint32_t notice = 0;
        MCIDEVICEID device = 0;
        HWND window = 0;
    };

    void Apply(const EngineCommand& command);
    void StartPlay(const EngineCommand& command);
    void Dispatch(const PlayableSong& song, std::size_t index);
    void SendChase(const PlayableSong& song, const ChaseList& chase);
    void EndPlay(); // reached its end: notes released, report queued
    void Publish();
    void RenderSynth(float* left, float* right, std::size_t frames);
    void ApplyGain(float* left, float* right, std::size_t frames);
    void MixWave(float* left, float* right, std::size_t frames);
    void FinishBlock(float* left, float* right, std::size_t frames);

    SpscQueue<EngineCommand> m_commands;
    SpscQueue<EngineReport> m_reports;
    std::uint64_t m_submitted = 0; // control thread only
    std::atomic<std::uint64_t> m_processed{0};
    std::atomic<std::uint64_t> m_status{0};
    std::atomic<std::uint64_t> m_rendered{0};
    std::atomic<std::uint32_t> m_owedNotice{0};
    std::atomic<void (*)(void*)> m_signal{nullptr};
    std::atomic<void*> m_signalData{nullptr};
    std::atomic<bool> m_lent{false};
    std::atomic<MidiSink*> m_lentSink{nullptr};
    std::atomic<float> m_gain{1.0f};

    // Audio thread only.
    MidiSink* m_sink = nullptr;
    bool m_playing = false;
    Play m_play;
    std::uint32_t m_lastSerial = 0; // the play that ran last (running or finished)
    std::uint64_t m_lastFrame = 0;  // where it stands or stopped
    bool m_reportsQueued = false;
    bool m_lending = false; // the sink is lent, or was until the borrower gave it back
    // A gain change glides over this many frames (about 6 ms), so that it does not click.
    static constexpr std::size_t kGainRampFrames = 256;
    float m_appliedGain = 1.0f;
    float m_gainTarget = 1.0f;
    float m_gainStep = 0.0f;
    const WaveBuffer* m_wave = nullptr;
    std::size_t m_wavePosition = 0;
    void (*m_endPublishedHook)(void*) = nullptr;
    void* m_endPublishedHookData = nullptr;
};

} // namespace mci
