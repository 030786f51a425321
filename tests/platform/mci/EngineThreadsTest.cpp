// The engine with a real audio thread: the control thread starts and stops plays while another
// thread renders, as in the program. Run under ThreadSanitizer this checks that the two share
// nothing but the queues and atomics; in any build it checks that no notice is lost or doubled
// when stops race with the ends of plays.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "platform/mci/Engine.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/RecordingSink.h"

namespace {

TEST(EngineThreads, EveryPlayGetsExactlyOneNoticeWhileAnotherThreadRenders) {
    mci::PlayableSong song;
    for (std::uint64_t i = 0; i < 50; ++i)
        song.events.push_back(mci::SongEvent{i * 10, 0, 0, 0x90, 60, 1});
    song.endFrame = 500;

    mci::RecordingSink sink;
    mci::Engine engine;
    engine.AttachSinkNow(&sink);
    std::atomic<bool> quit{false};
    std::thread audio([&] {
        float left[256], right[256];
        while (!quit.load())
            engine.Render(left, right, 256);
    });

    std::mt19937 random(7);
    int takenHere = 0, takenThere = 0;
    auto drain = [&] {
        mci::EngineReport report;
        while (engine.PopReport(report))
            takenThere += report.notice != 0;
    };
    constexpr std::uint32_t kPlays = 200;
    for (std::uint32_t serial = 1; serial <= kPlays; ++serial) {
        mci::EngineCommand play;
        play.kind = mci::EngineCommand::Kind::Play;
        play.song = &song;
        play.endFrame = song.endFrame;
        play.serial = serial;
        play.notice = serial;
        engine.OweNotice(serial);
        while (!engine.Submit(play))
            std::this_thread::yield();
        // Stop some plays at once, some a little later, some near their end, and let others end.
        const int pause = static_cast<int>(random() % 200);
        for (int i = 0; i < pause; ++i)
            std::this_thread::yield();
        if (serial % 3 != 0) {
            if (engine.TakeNotice(serial))
                ++takenHere;
            mci::EngineCommand stop;
            stop.kind = mci::EngineCommand::Kind::Stop;
            stop.serial = serial;
            while (!engine.Submit(stop))
                std::this_thread::yield();
        }
        // The next play starts only when this one is over, as the device sees to.
        for (;;) {
            const mci::PlayStatus status = engine.Status();
            if (status.serial == (serial & 0xFFFF) && status.ended &&
                engine.ProcessedCommands() == engine.SubmittedCommands())
                break;
            std::this_thread::yield();
        }
        drain();
    }
    quit.store(true);
    audio.join();
    drain();
    EXPECT_EQ(takenHere + takenThere, static_cast<int>(kPlays));
    EXPECT_GE(takenThere, static_cast<int>(kPlays / 3)) << "every play left to end posts its own notice";
}

} // namespace
