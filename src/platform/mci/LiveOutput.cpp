#include "platform/mci/LiveOutput.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/mci/MciExtras.h"
#include "platform/mci/Notices.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

namespace mci {

namespace {

using Clock = std::chrono::steady_clock;

// How long a command may wait for room in the engine's queue, and how long a waiting play puts
// up with an output that renders nothing, before the sound output counts as broken. PulseAudio's
// null sink runs slower than real time, but never stands still this long.
constexpr auto kQueueWait = std::chrono::milliseconds(500);
constexpr auto kStallLimit = std::chrono::seconds(5);

// The watchdog (CallbackWatch says when a silent callback means the stream is gone): a lost
// output is tried again at this pace, and the notifier thread looks this often even when nothing
// wakes it.
constexpr auto kRetryPeriod = std::chrono::seconds(1);
constexpr long kWatchPeriodNs = 250'000'000;

} // namespace

LiveOutput::LiveOutput(LiveOutputOptions options) : m_options(std::move(options)) {
    sem_init(&m_wake, 0, 0);
    m_engine.SetReportSignal(&LiveOutput::Wake, this);
    m_notifier = std::thread([this] { NotifierLoop(); });
}

LiveOutput::~LiveOutput() {
    // The preparer may be holding the synthesiser, which is freed below.
    m_preparer.Stop();
    // The watchdog goes first, so that nobody replaces the driver while it is taken down.
    m_stopping.store(true, std::memory_order_release);
    sem_post(&m_wake);
    m_notifier.join();
    std::unique_ptr<AudioDriver> driver;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        driver = std::move(m_driver);
    }
    if (driver) {
        // Let the last blocks fall silent before the stream goes away, rather than cutting notes
        // off mid-waveform; a driver that has stopped rendering is not waited for long.
        EngineCommand silence;
        silence.kind = EngineCommand::Kind::Silence;
        if (m_engine.Submit(silence)) {
            const auto deadline = Clock::now() + std::chrono::milliseconds(200);
            while (m_engine.ProcessedCommands() < m_engine.SubmittedCommands() && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        driver.reset();
    }
    DeliverReports(m_engine);
    sem_destroy(&m_wake);
    m_retired.clear();
    m_synth.reset();
}

void LiveOutput::Wake(void* self) {
    // sem_post is async-signal-safe: it neither blocks nor allocates, so the audio thread may call it.
    sem_post(&static_cast<LiveOutput*>(self)->m_wake);
}

void LiveOutput::NotifierLoop() {
    m_watch.Restart(m_engine.RenderedFrames(), Clock::now());
    for (;;) {
        timespec until{};
        clock_gettime(CLOCK_MONOTONIC, &until);
        until.tv_nsec += kWatchPeriodNs;
        if (until.tv_nsec >= 1'000'000'000) {
            until.tv_nsec -= 1'000'000'000;
            ++until.tv_sec;
        }
        while (sem_clockwait(&m_wake, CLOCK_MONOTONIC, &until) != 0 && errno == EINTR) {
        }
        if (m_stopping.load(std::memory_order_acquire))
            return;
        DeliverReports(m_engine);
        // Taking the lock once orders this wake-up after any waiter's look at the play status.
        { std::lock_guard<std::mutex> lock(m_endedMutex); }
        m_ended.notify_all();
        Watch();
    }
}

void LiveOutput::Watch() {
    const auto now = Clock::now();
    if (m_outputLost.load(std::memory_order_acquire)) {
        if (now < m_nextAttempt)
            return;
        auto driver = OpenDriver();
        if (!driver) {
            m_nextAttempt = Clock::now() + kRetryPeriod;
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_driverMutex);
            m_driver = std::move(driver);
        }
        m_watch.Restart(m_engine.RenderedFrames(), Clock::now());
        m_outputLost.store(false, std::memory_order_release);
        return;
    }
    const std::uint64_t frames = m_engine.RenderedFrames();
    bool running = false;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        running = m_driver != nullptr;
    }
    if (!running) {
        // The next driver, opened by a song, starts a new stream.
        m_watch.Restart(frames, now);
        return;
    }
    if (!m_watch.Gone(frames, now))
        return;
    // Not a message box: nothing is asked of the user, the sound comes back by itself. But whoever
    // wonders why the music paused finds the reason in the program's output.
    std::fprintf(stderr, "%s: the sound output %s no sound for %.1f s; closing it and opening a new one\n",
                 program_invocation_short_name,
                 m_watch.Flowing() ? "has asked for" : "never started: it asked for",
                 std::chrono::duration<double>(m_watch.SilentFor(now)).count());
    // The stream is gone. The driver is taken out under the lock and closed outside it: closing
    // joins the driver's thread, which a dead server may keep a moment longer.
    std::unique_ptr<AudioDriver> stalled;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        stalled = std::move(m_driver);
        m_outputLost.store(true, std::memory_order_release);
    }
    stalled.reset();
    m_nextAttempt = Clock::now() + kRetryPeriod;
}

MCIERROR LiveOutput::PrepareForSong() {
    FreeRetiredSynths();
    if (!m_synth) {
        // The SoundFonts named are tried in turn, so that a chosen one that is gone or broken falls
        // back on the system's.
        const auto& candidates = m_options.soundFonts.empty() ? SystemSoundFonts() : m_options.soundFonts;
        bool found = false;
        for (const std::string& path : candidates) {
            if (FindSoundFont({path}).empty())
                continue;
            found = true;
            LoadedSoundFont loaded = LoadSoundFontSynth(path);
            if (loaded.synth) {
                ReplaceSink(std::move(loaded.synth));
                break;
            }
        }
        if (!found)
            return MCIERR_SEQ_NOMIDIPRESENT;
        if (!m_synth)
            return MCIERR_CANNOT_LOAD_DRIVER;
    }
    return StartDriver() ? 0 : MCIERR_HARDWARE;
}

bool LiveOutput::ReplaceSink(std::unique_ptr<MidiSink> sink) {
    if (!sink)
        return false;
    bool running = false;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        running = m_driver != nullptr || m_outputLost.load(std::memory_order_acquire);
    }
    if (running) {
        EngineCommand attach;
        attach.kind = EngineCommand::Kind::AttachSink;
        attach.sink = sink.get();
        if (!Submit(attach))
            return false;
        if (m_synth)
            m_retired.emplace_back(m_engine.SubmittedCommands(), std::move(m_synth));
    } else {
        m_engine.AttachSinkNow(sink.get());
    }
    m_synth = std::move(sink);
    ++m_sinkGeneration;
    return true;
}

bool LiveOutput::PrepareSong(std::shared_ptr<const PlayableSong> song) {
    EngineCommand lend;
    lend.kind = EngineCommand::Kind::LendSink;
    if (!Submit(lend))
        return false;
    m_preparer.Queue(std::move(song));
    return true;
}

void LiveOutput::FreeRetiredSynths() {
    const std::uint64_t processed = m_engine.ProcessedCommands();
    std::erase_if(m_retired, [processed](const auto& entry) { return entry.first <= processed; });
}

bool LiveOutput::PrepareForWave() {
    return StartDriver();
}

void LiveOutput::NameSong(const std::string& name) {
    std::lock_guard<std::mutex> lock(m_driverMutex);
    m_songName = name;
    if (m_driver)
        m_driver->SetMediaName(name);
}

std::unique_ptr<AudioDriver> LiveOutput::OpenDriver() {
    if (m_options.openDriver)
        return m_options.openDriver(m_engine);
    std::string name;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        name = m_songName;
    }
    return AudioDriver::Open(m_options.audioDrivers.empty() ? AudioDriver::DefaultDrivers()
                                                            : m_options.audioDrivers,
                             m_engine, name);
}

bool LiveOutput::StartDriver() {
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        if (m_driver)
            return true;
        // The watchdog is bringing the output back; until a server takes it, songs cannot open.
        if (m_outputLost.load(std::memory_order_acquire))
            return false;
    }
    auto driver = OpenDriver();
    if (!driver)
        return false;
    std::lock_guard<std::mutex> lock(m_driverMutex);
    m_driver = std::move(driver);
    return true;
}

bool LiveOutput::Submit(const EngineCommand& command) {
    if (m_engine.Submit(command))
        return true;
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        if (!m_driver)
            return false;
    }
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
