#include "playback/ChooseNextSong.h"

#include <gtest/gtest.h>

#include <set>

namespace {

SongChoice Random(int r, int count, bool allowRepetition = true, std::set<int> played = {}) {
    return ChooseNextSong(
        -1, count, 0, allowRepetition, [&](int row) { return played.count(row) != 0; }, [r] { return r; });
}

SongChoice Sequential(int current, int count, bool allowRepetition = true, std::set<int> played = {}) {
    return ChooseNextSong(
        current, count, 1, allowRepetition, [&](int row) { return played.count(row) != 0; },
        [] { return 0; });
}

TEST(ChooseNextSong, RandomScalesTheDrawOverTheRows) {
    EXPECT_EQ(Random(0, 10).row, 0);
    EXPECT_EQ(Random(3276, 10).row, 0);
    EXPECT_EQ(Random(3277, 10).row, 1);
    EXPECT_EQ(Random(32766, 10).row, 9);
    EXPECT_EQ(Random(32767, 10).row, 0);
}

TEST(ChooseNextSong, SequentialStartsAtZeroAndWraps) {
    EXPECT_EQ(Sequential(-1, 5).row, 0);
    EXPECT_EQ(Sequential(4, 5).row, 0);
    EXPECT_EQ(Sequential(1, 5).row, 2);
    // A current row past the end of a new, shorter list is reset to 0 first.
    SongChoice choice = Sequential(9, 5);
    EXPECT_EQ(choice.current, 0);
    EXPECT_EQ(choice.row, 1);
}

TEST(ChooseNextSong, WithoutRepetitionTheNextUnplayedRowFollows) {
    EXPECT_EQ(Sequential(1, 5, false, {2, 3}).row, 4);
    EXPECT_EQ(Sequential(3, 5, false, {3, 4}).row, 0);
    // In random order too: the next unplayed row after the drawn one, not a new draw.
    EXPECT_EQ(Random(3277, 10, false, {1, 2}).row, 3);
    EXPECT_FALSE(Sequential(1, 5, false, {0, 1, 3, 4}).allPlayed);
}

TEST(ChooseNextSong, EveryRowPlayedIsReportedWithTheFirstChoice) {
    SongChoice choice = Sequential(1, 3, false, {0, 1, 2});
    EXPECT_TRUE(choice.allPlayed);
    EXPECT_EQ(choice.row, 2);
    choice = Sequential(1, 3, true, {0, 1, 2});
    EXPECT_FALSE(choice.allPlayed);
    EXPECT_EQ(choice.row, 2);
}

TEST(ChooseNextSong, AnEmptyListGivesRowZeroAndNeverTheQuestion) {
    EXPECT_EQ(Random(32767, 0, false).row, 0);
    EXPECT_FALSE(Random(12345, 0, false).allPlayed);
    EXPECT_EQ(Sequential(-1, 0, false).row, 0);
}

} // namespace
