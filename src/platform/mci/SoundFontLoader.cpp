#include "platform/mci/SoundFontLoader.h"

#include "platform/mci/Notices.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

namespace mci {

SoundFontLoader::~SoundFontLoader() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queued.reset();
    }
    m_changed.notify_all();
    // A load under way is not cut short (FluidSynth cannot be interrupted); it ends unseen.
    if (m_worker.joinable())
        m_worker.join();
}

void SoundFontLoader::Request(const std::string& path, HWND window, UINT message) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queued = Job{path, window, message};
        if (!m_worker.joinable())
            m_worker = std::thread([this] { Run(); });
    }
    m_changed.notify_all();
}

std::unique_ptr<FluidSynthSink> SoundFontLoader::TakeLoaded() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_loaded);
}

void SoundFontLoader::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_queued && !m_busy; });
}

void SoundFontLoader::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || m_queued; });
        if (m_stopping)
            return;
        const Job job = std::move(*m_queued);
        m_queued.reset();
        m_busy = true;
        lock.unlock();

        const std::string path = job.path.empty() ? FindSoundFont(SystemSoundFonts()) : job.path;
        LoadedSoundFont loaded = LoadSoundFontSynth(path);
        const SoundFontProblem problem = loaded.problem;
        std::unique_ptr<FluidSynthSink> replaced;
        lock.lock();
        if (loaded.synth) {
            // A synthesiser loaded earlier and not yet swapped in is freed outside the lock.
            replaced = std::move(m_loaded);
            m_loaded = std::move(loaded.synth);
        }
        m_busy = false;
        lock.unlock();
        replaced.reset();
        if (job.window != 0)
            PostWindowMessage(job.window, job.message, problem == SoundFontProblem::None ? 1 : 0,
                              static_cast<LPARAM>(problem));
        lock.lock();
        m_changed.notify_all();
    }
}

} // namespace mci
