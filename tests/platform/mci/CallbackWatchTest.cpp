#include <gtest/gtest.h>

#include <vector>

#include "platform/mci/CallbackWatch.h"

namespace {

using mci::CallbackWatch;
using namespace std::chrono_literals;

// One look of the watchdog: milliseconds since the stream opened, the engine's rendered frames,
// and whether the stream must count as gone.
struct Look {
    int ms;
    std::uint64_t frames;
    bool gone;
};

struct Case {
    const char* what;
    std::vector<Look> looks;
};

TEST(CallbackWatch, TellsAStreamThatStoppedFromOneThatIsSlowToStart) {
    const Case cases[] = {
        {"a new stream renders its first block, then the server takes 2.8 s to ask for more",
         {{0, 512, false}, {2800, 512, false}, {3000, 1024, false}, {3250, 9000, false}}},
        {"a new stream that never gets going is given up after the longer grace",
         {{0, 512, false}, {5900, 512, false}, {6000, 512, true}}},
        {"a stream that never renders at all", {{5999, 0, false}, {6000, 0, true}}},
        {"a flowing stream whose server dies is given up after the shorter limit",
         {{0, 512, false},
          {250, 9000, false},
          {500, 20000, false},
          {3400, 20000, false},
          {3500, 20000, true}}},
        {"a flowing stream delayed by a busy machine, but never for the limit",
         {{0, 512, false},
          {250, 9000, false},
          {2900, 9000, false},
          {3000, 9512, false},
          {5900, 9512, false},
          {6000, 12000, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto open = CallbackWatch::Clock::time_point{} + 1h;
        CallbackWatch watch;
        watch.Restart(0, open);
        for (const Look& look : c.looks)
            EXPECT_EQ(watch.Gone(look.frames, open + std::chrono::milliseconds(look.ms)), look.gone)
                << "at " << look.ms << " ms";
    }
}

TEST(CallbackWatch, ARestartMakesTheNextStreamStartingAgain) {
    const auto t0 = CallbackWatch::Clock::time_point{} + 1h;
    CallbackWatch watch;
    watch.Restart(0, t0);
    EXPECT_FALSE(watch.Gone(512, t0 + 250ms));
    EXPECT_FALSE(watch.Gone(9000, t0 + 500ms));
    EXPECT_TRUE(watch.Gone(9000, t0 + 3500ms)) << "flowing, then silent for the shorter limit";
    // The watchdog opens a new driver: its slow first blocks get the longer grace again.
    watch.Restart(9000, t0 + 4500ms);
    EXPECT_FALSE(watch.Gone(9512, t0 + 4500ms));
    EXPECT_FALSE(watch.Gone(9512, t0 + 8000ms));
    EXPECT_TRUE(watch.Gone(9512, t0 + 10500ms));
}

} // namespace
