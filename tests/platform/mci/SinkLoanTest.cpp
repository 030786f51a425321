// The engine lends its sink to another thread: until the sink comes back, the callback renders
// silence (an in-memory sound still plays) and the play queued behind the loan waits, then starts
// from its first event as if nothing had happened.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/mci/Engine.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/RecordingSink.h"
#include "platform/mci/WaveSound.h"

namespace {

TEST(SinkLoan, APlayQueuedBehindALoanStartsWhenTheSinkComesBack) {
    mci::PlayableSong song;
    song.events.push_back(mci::SongEvent{0, 0, 0, 0xC0, 40, 0});
    song.events.push_back(mci::SongEvent{100, 0, 0, 0x90, 60, 100});
    song.endFrame = 1000;
    mci::WaveBuffer wave;
    wave.left.assign(4096, 0.25f);
    wave.right.assign(4096, 0.25f);

    mci::RecordingSink sink;
    mci::Engine engine;
    engine.AttachSinkNow(&sink);
    mci::EngineCommand command;
    command.kind = mci::EngineCommand::Kind::PlayWave;
    command.wave = &wave;
    ASSERT_TRUE(engine.Submit(command));
    command.kind = mci::EngineCommand::Kind::LendSink;
    ASSERT_TRUE(engine.Submit(command));
    command.kind = mci::EngineCommand::Kind::Play;
    command.song = &song;
    command.endFrame = song.endFrame;
    command.serial = 1;
    ASSERT_TRUE(engine.Submit(command));

    std::atomic<bool> quit{false};
    std::atomic<int> blocksWhileLent{0};
    std::atomic<bool> onlyTheWaveWhileLent{true};
    std::thread audio([&] {
        float left[64], right[64];
        while (!quit.load()) {
            const bool lent = engine.SinkLent();
            engine.Render(left, right, 64);
            // The first blocks of the loan, while the sound still plays.
            if (lent && engine.SinkLent() && blocksWhileLent++ < 20) {
                for (int i = 0; i < 64; ++i)
                    onlyTheWaveWhileLent = onlyTheWaveWhileLent && left[i] == 0.25f && right[i] == 0.25f;
            }
        }
    });
    while (!engine.SinkLent())
        std::this_thread::yield();
    EXPECT_EQ(engine.SinkOnLoan(), &sink);
    // The borrower has the sink to itself: what it sends is not mixed with the song's events.
    sink.ShortMessage(0xB0, 7, 100);
    // Counted by the audio thread itself: the block under way as the loan began is not one of them.
    // A callback that stopped during the loan would never count them; the deadline only ends the wait.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (blocksWhileLent.load() < 20 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_NE(engine.Status().serial, 1u) << "the play has not started";
    engine.ReturnSink();
    while (!(engine.Status().serial == 1 && engine.Status().ended))
        std::this_thread::yield();
    quit = true;
    audio.join();

    EXPECT_GE(blocksWhileLent.load(), 20) << "the callback went on while the sink was lent";
    EXPECT_TRUE(onlyTheWaveWhileLent.load());
    ASSERT_GE(sink.Messages().size(), 3u);
    EXPECT_EQ(sink.Messages()[0].status, 0xB0) << "the borrower's message first";
    EXPECT_EQ(sink.Messages()[1].status, 0xC0);
    EXPECT_EQ(sink.Messages()[2].frame - sink.Messages()[1].frame, 100u) << "the song keeps its timing";
}

} // namespace
