#include "platform/mci/LiveOutput.h"

#include <cerrno>
#include <chrono>

#include "platform/mci/MciExtras.h"
#include "platform/mci/Notices.h"
#include "platform/mci/SoundFont.h"

namespace mci {

namespace {

using Clock = std::chrono::steady_clock;

// How long a command may wait for room in the engine's queue, and how long a waiting play puts
// up with an output that renders nothing, before the sound output counts as broken. PulseAudio's
// null sink runs slower than real time, but never stands still this long.
constexpr auto kQueueWait = std::chrono::milliseconds(500);
constexpr auto kStallLimit = std::chrono::seconds(5);

} // namespace

LiveOutput::LiveOutput(LiveOutputOptions options) : m_options(std::move(options)) {
    sem_init(&m_wake, 0, 0);
    m_engine.SetReportSignal(&LiveOutput::Wake, this);
    m_notifier = std::thread([this] { NotifierLoop(); });
}

LiveOutput::~LiveOutput() {
    if (m_driver) {
        // Let the last blocks fall silent before the stream goes away, rather than cutting notes
        // off mid-waveform; a driver that has stopped rendering is not waited for long.
        EngineCommand silence;
        silence.kind = EngineCommand::Kind::Silence;
        if (m_engine.Submit(silence)) {
            const auto deadline = Clock::now() + std::chrono::milliseconds(200);
            while (m_engine.ProcessedCommands() < m_engine.SubmittedCommands() && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        m_driver.reset();
    }
    m_stopping.store(true, std::memory_order_release);
    sem_post(&m_wake);
    m_notifier.join();
    DeliverReports(m_engine);
    sem_destroy(&m_wake);
    m_synth.reset();
}

void LiveOutput::Wake(void* self) {
    // sem_post is async-signal-safe: it neither blocks nor allocates, so the audio thread may call it.
    sem_post(&static_cast<LiveOutput*>(self)->m_wake);
}

void LiveOutput::NotifierLoop() {
    for (;;) {
        while (sem_wait(&m_wake) != 0 && errno == EINTR) {
        }
        if (m_stopping.load(std::memory_order_acquire))
            return;
        DeliverReports(m_engine);
        // Taking the lock once orders this wake-up after any waiter's look at the play status.
        { std::lock_guard<std::mutex> lock(m_endedMutex); }
        m_ended.notify_all();
    }
}

MCIERROR LiveOutput::PrepareForSong() {
    if (!m_synth) {
        const auto& candidates = m_options.soundFonts.empty() ? SystemSoundFonts() : m_options.soundFonts;
        const std::string soundFont = FindSoundFont(candidates);
        if (soundFont.empty())
            return MCIERR_SEQ_NOMIDIPRESENT;
        auto synth = FluidSynthSink::Create(soundFont);
        if (!synth)
            return MCIERR_CANNOT_LOAD_DRIVER;
        if (m_driver) {
            EngineCommand attach;
            attach.kind = EngineCommand::Kind::AttachSink;
            attach.sink = synth.get();
            if (!Submit(attach))
                return MCIERR_HARDWARE;
        } else {
            m_engine.AttachSinkNow(synth.get());
        }
        m_synth = std::move(synth);
    }
    return StartDriver() ? 0 : MCIERR_HARDWARE;
}

bool LiveOutput::PrepareForWave() {
    return StartDriver();
}

bool LiveOutput::StartDriver() {
    if (!m_driver)
        m_driver = AudioDriver::Open(m_options.audioDrivers.empty() ? AudioDriver::DefaultDrivers()
                                                                    : m_options.audioDrivers,
                                     m_engine);
    return m_driver != nullptr;
}

bool LiveOutput::Submit(const EngineCommand& command) {
    if (m_engine.Submit(command))
        return true;
    if (!m_driver)
        return false;
    // The queue is full only when the audio thread has not run for a long while.
    const auto deadline = Clock::now() + kQueueWait;
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (m_engine.Submit(command))
            return true;
    }
    return false;
}

MCIERROR LiveOutput::WaitForEnd(std::uint32_t serial) {
    std::unique_lock<std::mutex> lock(m_endedMutex);
    std::uint64_t rendered = m_engine.RenderedFrames();
    auto progress = Clock::now();
    while (!Ended(m_engine.Status(), serial)) {
        m_ended.wait_for(lock, std::chrono::milliseconds(100));
        const std::uint64_t now = m_engine.RenderedFrames();
        if (now != rendered) {
            rendered = now;
            progress = Clock::now();
        } else if (Clock::now() - progress > kStallLimit) {
            return MCIERR_HARDWARE;
        }
    }
    return 0;
}

} // namespace mci
