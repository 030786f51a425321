#pragma once

// Makes songs ready on a thread of its own: for each song queued, it waits until the engine lends
// it the sink (the caller queues a LendSink command ahead of the song's play), lets the sink
// prepare for the song (a synthesiser reads the sample data of the presets the song selects) and
// gives the sink back. The audio callback meanwhile renders silence and the song waits its turn,
// so neither the user interface nor the callback waits on the disk.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace mci {

class Engine;
struct PlayableSong;

class SongPreparer {
public:
    explicit SongPreparer(Engine& engine);
    ~SongPreparer() { Stop(); }
    SongPreparer(const SongPreparer&) = delete;
    SongPreparer& operator=(const SongPreparer&) = delete;

    // One song for each LendSink command queued, in the same order.
    void Queue(std::shared_ptr<const PlayableSong> song);
    // Ends the thread: a preparation under way is finished first, songs still queued are dropped,
    // and the sink is given back. Nothing is prepared afterwards.
    void Stop();

private:
    void Run();

    Engine& m_engine;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<const PlayableSong>> m_songs;
    bool m_stopping = false;
    std::thread m_worker; // started at the first song
};

} // namespace mci
