// The engine with a real audio thread: the control thread starts and stops plays while another
// thread renders, as in the program. Run under ThreadSanitizer this checks that the two share
// nothing but the queues and atomics; in any build it checks that no notice is lost or doubled
// when stops and new plays race with the ends of plays.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "platform/mci/Engine.h"
#include "platform/mci/PlayableSong.h"
#include "platform/mci/RecordingSink.h"

namespace {

mci::EngineCommand PlayCommand(const mci::PlayableSong& song, std::uint32_t serial) {
    mci::EngineCommand play;
    play.kind = mci::EngineCommand::Kind::Play;
    play.song = &song;
    play.endFrame = song.endFrame;
    play.serial = serial;
    play.notice = serial;
    return play;
}

// The worst moment, made certain: the control thread sees the play ended just as the audio thread
// publishes it, and owes the next play's notice at once, as the device does when Next or the
// progress timer starts another song. The ended play must still post its own notice.
TEST(EngineThreads, APlayEndingAsTheNextOneIsOwedKeepsItsNotice) {
    mci::PlayableSong song;
    song.events.push_back(mci::SongEvent{0, 0, 0, 0x90, 60, 100});
    song.endFrame = 100;
    mci::RecordingSink sink;
    mci::Engine engine;
    engine.AttachSinkNow(&sink);

    struct Control {
        mci::Engine& engine;
        bool sawEnd = false;
    } control{engine};
    engine.SetEndPublishedHook(
        [](void* data) {
            auto& control = *static_cast<Control*>(data);
            const mci::PlayStatus status = control.engine.Status();
            control.sawEnd = status.serial == 1 && status.ended;
            if (control.sawEnd)
                control.engine.OweNotice(2);
        },
        &control);

    engine.OweNotice(1);
    ASSERT_TRUE(engine.Submit(PlayCommand(song, 1)));
    float left[256], right[256];
    engine.Render(left, right, 256);
    ASSERT_TRUE(control.sawEnd);

    mci::EngineReport report;
    ASSERT_TRUE(engine.PopReport(report));
    EXPECT_EQ(report.notice, 1u) << "the play that reached its end posts its notice";
    EXPECT_TRUE(engine.TakeNotice(2)) << "the next play's notice is still owed";
}

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
        engine.OweNotice(serial);
        while (!engine.Submit(PlayCommand(song, serial)))
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
