#include "platform/mci/SongPreparer.h"

#include <chrono>

#include "platform/mci/Engine.h"
#include "platform/mci/MidiSink.h"

namespace mci {

SongPreparer::SongPreparer(Engine& engine) : m_engine(engine) {}

void SongPreparer::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_songs.clear();
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    // A loan nobody will take up any more must not keep the engine silent.
    m_engine.ReturnSink();
}

void SongPreparer::Queue(std::shared_ptr<const PlayableSong> song) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
        m_songs.push_back(std::move(song));
        if (!m_worker.joinable())
            m_worker = std::thread([this] { Run(); });
    }
    m_changed.notify_all();
}

void SongPreparer::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_songs.empty(); });
        if (m_stopping)
            return;
        const std::shared_ptr<const PlayableSong> song = std::move(m_songs.front());
        m_songs.pop_front();
        // The engine reaches the loan within a period or two; while the sound output is lost it
        // waits for the output to come back, unless we are told to stop.
        while (!m_engine.SinkLent()) {
            if (m_changed.wait_for(lock, std::chrono::milliseconds(1), [this] { return m_stopping; }))
                return;
        }
        lock.unlock();
        if (MidiSink* sink = m_engine.SinkOnLoan())
            sink->PrepareFor(*song);
        m_engine.ReturnSink();
        lock.lock();
    }
}

} // namespace mci
