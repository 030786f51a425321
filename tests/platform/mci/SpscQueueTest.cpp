#include <gtest/gtest.h>

#include <thread>

#include "platform/mci/SpscQueue.h"

namespace {

TEST(SpscQueue, HoldsItsCapacityInOrderAcrossTheWrap) {
    mci::SpscQueue<int> queue(3);
    int value = 0;
    EXPECT_FALSE(queue.TryPop(value));
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(queue.TryPush(round * 10 + i));
        EXPECT_FALSE(queue.TryPush(99)) << "full";
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(queue.TryPop(value));
            EXPECT_EQ(value, round * 10 + i);
        }
        EXPECT_FALSE(queue.TryPop(value));
    }
}

TEST(SpscQueue, TwoThreadsPassEveryRecordOnceAndInOrder) {
    struct Record {
        std::uint64_t sequence;
        std::uint64_t check;
    };
    mci::SpscQueue<Record> queue(64);
    constexpr std::uint64_t kCount = 200000;
    std::thread producer([&] {
        for (std::uint64_t i = 0; i < kCount;) {
            if (queue.TryPush(Record{i, i * 7 + 3}))
                ++i;
            else
                std::this_thread::yield();
        }
    });
    std::uint64_t expected = 0;
    bool torn = false;
    while (expected < kCount) {
        Record record;
        if (!queue.TryPop(record)) {
            std::this_thread::yield();
            continue;
        }
        torn |= record.sequence != expected || record.check != record.sequence * 7 + 3;
        ++expected;
    }
    producer.join();
    EXPECT_FALSE(torn);
}

} // namespace
