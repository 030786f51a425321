#include "platform/mci/Engine.h"

#include <algorithm>
#include <cstdint>

#include "platform/mci/Chase.h"
#include "platform/mci/MidiSink.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/WaveSound.h"

namespace mci {

namespace {

// The play status in one atomic word, so that the control thread never sees a serial with the
// frame of another play: serial in the top 16 bits, "ended" below it, then 47 bits of frame
// (three thousand years at 44,100 Hz).
constexpr int kSerialShift = 48;
constexpr std::uint64_t kEndedBit = std::uint64_t{1} << 47;
constexpr std::uint64_t kFrameMask = kEndedBit - 1;

} // namespace

Engine::Engine(std::size_t queueCapacity) : m_commands(queueCapacity), m_reports(queueCapacity) {}

bool Engine::Submit(const EngineCommand& command) {
    if (!m_commands.TryPush(command))
        return false;
    ++m_submitted;
    return true;
}

PlayStatus Engine::Status() const {
    const std::uint64_t word = m_status.load(std::memory_order_acquire);
    return PlayStatus{static_cast<std::uint32_t>(word >> kSerialShift), (word & kEndedBit) != 0,
                      word & kFrameMask};
}

bool Engine::TakeNotice(std::uint32_t token) {
    return token != 0 && m_owedNotice.compare_exchange_strong(token, 0, std::memory_order_acq_rel);
}

void Engine::SetReportSignal(void (*signal)(void*), void* data) {
    m_signalData.store(data, std::memory_order_relaxed);
    m_signal.store(signal, std::memory_order_release);
}

void Engine::Render(float* left, float* right, std::size_t frames) {
    if (m_lending && !m_lent.load(std::memory_order_acquire))
        m_lending = false;
    EngineCommand command;
    std::uint64_t taken = 0;
    while (!m_lending && m_commands.TryPop(command)) {
        Apply(command);
        ++taken;
    }
    // Released after the commands are applied: once the control thread sees the count, nothing
    // they replaced is referenced here any more.
    if (taken)
        m_processed.fetch_add(taken, std::memory_order_release);
    if (m_lending) {
        if (frames > 0) {
            std::fill_n(left, frames, 0.0f);
            std::fill_n(right, frames, 0.0f);
        }
        FinishBlock(left, right, frames);
        return;
    }

    std::size_t done = 0;
    for (;;) {
        if (m_playing) {
            // A play cut short by MCI_TO stops before the events of its end frame, so that the play
            // that goes on from there sends them once; a play to the song's end sends them all.
            const auto& events = m_play.song->events;
            const std::uint64_t last = m_play.end < m_play.song->endFrame ? m_play.end : UINT64_MAX;
            while (m_play.cursor < events.size() && events[m_play.cursor].frame <= m_play.frame &&
                   events[m_play.cursor].frame < last)
                Dispatch(*m_play.song, m_play.cursor++);
            if (m_play.frame >= m_play.end)
                EndPlay();
        }
        if (done == frames)
            break;
        if (!m_playing) {
            RenderSynth(left + done, right + done, frames - done);
            break;
        }
        std::uint64_t next = m_play.end;
        if (m_play.cursor < m_play.song->events.size())
            next = std::min(next, m_play.song->events[m_play.cursor].frame);
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(frames - done, next - m_play.frame));
        RenderSynth(left + done, right + done, chunk);
        done += chunk;
        m_play.frame += chunk;
    }
    FinishBlock(left, right, frames);
}

void Engine::FinishBlock(float* left, float* right, std::size_t frames) {
    if (frames > 0) {
        ApplyGain(left, right, frames);
        MixWave(left, right, frames);
    }
    m_rendered.fetch_add(frames, std::memory_order_relaxed);
    Publish();
    if (m_reportsQueued) {
        m_reportsQueued = false;
        if (auto signal = m_signal.load(std::memory_order_acquire))
            signal(m_signalData.load(std::memory_order_relaxed));
    }
}

void Engine::Apply(const EngineCommand& command) {
    switch (command.kind) {
    case EngineCommand::Kind::AttachSink:
        m_sink = command.sink;
        break;
    case EngineCommand::Kind::Play:
        StartPlay(command);
        break;
    case EngineCommand::Kind::Stop:
        if (m_playing && m_play.serial == command.serial) {
            if (m_sink)
                m_sink->SilenceAll();
            m_playing = false;
            m_lastFrame = m_play.frame;
            Publish();
        }
        break;
    case EngineCommand::Kind::Silence:
        if (m_sink)
            m_sink->SilenceAll();
        break;
    case EngineCommand::Kind::PlayWave:
        m_wave = command.wave;
        m_wavePosition = 0;
        break;
    case EngineCommand::Kind::LendSink:
        m_lending = true;
        m_lentSink.store(m_sink, std::memory_order_relaxed);
        m_lent.store(true, std::memory_order_release);
        break;
    }
}

void Engine::StartPlay(const EngineCommand& command) {
    std::uint64_t start = command.startFrame;
    std::uint32_t notice = command.notice;
    HWND window = command.window;
    bool chase = command.chase != nullptr;
    if (command.continues != 0 && m_lastSerial == command.continues) {
        if (m_playing) {
            // The running play simply gets the new identity and end; the sound goes on unbroken.
            m_play.serial = command.serial;
            m_play.end = command.endFrame;
            if (!command.keepNotice) {
                m_play.notice = command.notice;
                m_play.window = command.window;
            }
            m_lastSerial = command.serial;
            Publish();
            return;
        }
        // It ended (and settled its own notice) before this command came: go on from its end.
        start = m_lastFrame;
        chase = false;
        if (command.keepNotice)
            notice = 0;
    } else if (m_playing) {
        // The control thread stops a play before starting another; should one still be running,
        // it must not leave notes hanging.
        if (m_sink)
            m_sink->SilenceAll();
        m_playing = false;
    }
    if (chase)
        SendChase(*command.song, *command.chase);
    m_play = Play{command.song,   command.song->FirstEventAt(start),
                  start,          command.endFrame,
                  command.serial, notice,
                  command.device, window};
    m_playing = true;
    m_lastSerial = command.serial;
    Publish();
}

void Engine::Dispatch(const PlayableSong& song, std::size_t index) {
    if (!m_sink)
        return;
    const SongEvent& event = song.events[index];
    if (event.IsSysex())
        m_sink->SystemExclusive(song.PayloadOf(event));
    else
        m_sink->ShortMessage(event.status, event.data1, event.data2);
}

void Engine::SendChase(const PlayableSong& song, const ChaseList& chase) {
    if (!m_sink)
        return;
    for (const SongEvent& event : chase.events) {
        if (event.IsSysex())
            m_sink->SystemExclusive(song.PayloadOf(event));
        else
            m_sink->ShortMessage(event.status, event.data1, event.data2);
    }
}

void Engine::EndPlay() {
    if (m_sink)
        m_sink->ReleaseAll();
    m_playing = false;
    m_lastFrame = m_play.frame;
    // The notice is claimed before the end is published: a control thread that sees the play
    // ended takes the notice as settled and may at once owe the next play's notice in the same
    // slot, where a later claim would find the wrong token and lose this play's notice.
    std::uint32_t token = m_play.notice;
    const bool mine = token != 0 && m_owedNotice.compare_exchange_strong(token, 0, std::memory_order_acq_rel);
    // Published before the report goes out, so that whoever handles the notice finds the device
    // stopped.
    Publish();
    if (m_endPublishedHook)
        m_endPublishedHook(m_endPublishedHookData);
    // The queue holds far more reports than plays can end between two wake-ups of the control
    // side; were it ever full, the report is dropped rather than waited for.
    m_reports.TryPush(EngineReport{m_play.serial, mine ? m_play.notice : 0, m_play.device, m_play.window});
    m_reportsQueued = true;
}

void Engine::Publish() {
    const std::uint64_t frame = (m_playing ? m_play.frame : m_lastFrame) & kFrameMask;
    const std::uint64_t word =
        (std::uint64_t{m_lastSerial & 0xFFFF} << kSerialShift) | (m_playing ? 0 : kEndedBit) | frame;
    m_status.store(word, std::memory_order_release);
}

void Engine::RenderSynth(float* left, float* right, std::size_t frames) {
    if (frames == 0)
        return;
    if (m_sink) {
        m_sink->Render(left, right, frames);
    } else {
        std::fill_n(left, frames, 0.0f);
        std::fill_n(right, frames, 0.0f);
    }
}

void Engine::ApplyGain(float* left, float* right, std::size_t frames) {
    const float target = m_gain.load(std::memory_order_relaxed);
    if (target == 1.0f && m_appliedGain == 1.0f)
        return;
    if (target != m_gainTarget) {
        // A new gain is reached in a fixed number of frames, however long the blocks are.
        m_gainTarget = target;
        m_gainStep = (target - m_appliedGain) / static_cast<float>(kGainRampFrames);
    }
    for (std::size_t i = 0; i < frames; ++i) {
        if (m_appliedGain != target) {
            m_appliedGain += m_gainStep;
            if ((m_gainStep > 0) == (m_appliedGain > target))
                m_appliedGain = target;
        }
        left[i] *= m_appliedGain;
        right[i] *= m_appliedGain;
    }
}

void Engine::MixWave(float* left, float* right, std::size_t frames) {
    if (!m_wave)
        return;
    const std::size_t count = std::min(frames, m_wave->Frames() - m_wavePosition);
    const float* waveLeft = m_wave->left.data() + m_wavePosition;
    const float* waveRight = m_wave->right.data() + m_wavePosition;
    for (std::size_t i = 0; i < count; ++i) {
        left[i] += waveLeft[i];
        right[i] += waveRight[i];
    }
    m_wavePosition += count;
    if (m_wavePosition >= m_wave->Frames())
        m_wave = nullptr;
}

} // namespace mci
