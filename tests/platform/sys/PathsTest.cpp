#include "platform/sys/Paths.h"
#include "platform/sys/CRand.h"
#include "platform/sys/SplitPath.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(SplitPath, SplitsAtTheLastSlashAndTheLastDotAfterIt) {
    SplitPathParts parts = SplitPath("/songs/rock.band/A.MID");
    EXPECT_EQ(parts.drive, "");
    EXPECT_EQ(parts.dir, "/songs/rock.band/");
    EXPECT_EQ(parts.fname, "A");
    EXPECT_EQ(parts.ext, ".MID");

    parts = SplitPath("/songs/README");
    EXPECT_EQ(parts.fname, "README");
    EXPECT_EQ(parts.ext, "");

    parts = SplitPath("/x/.mid");
    EXPECT_EQ(parts.fname, "");
    EXPECT_EQ(parts.ext, ".mid");

    // A backslash is an ordinary character of a Linux file name.
    parts = SplitPath("/x/a\\b.kar");
    EXPECT_EQ(parts.dir, "/x/");
    EXPECT_EQ(parts.fname, "a\\b");
}

TEST(SplitPath, NameAndExtensionAreCutButTheDirectoryStaysWhole) {
    std::string deep = "/" + std::string(200, 'd') + "/" + std::string(200, 'e') + "/";
    SplitPathParts parts = SplitPath(deep + std::string(300, 'n') + "." + std::string(300, 'e'));
    EXPECT_EQ(parts.fname.size(), kMaxPathPart);
    EXPECT_EQ(parts.ext.size(), kMaxPathPart);
    EXPECT_EQ(parts.dir, deep);
}

TEST(ClassicRand, FollowsTheClassicSequence) {
    srand_classic(1);
    // The first values of the classic generator seeded with 1.
    EXPECT_EQ(rand_classic(), 41);
    EXPECT_EQ(rand_classic(), 18467);
    EXPECT_EQ(rand_classic(), 6334);
    srand_classic(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        int value = rand_classic();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST(Paths, ProfileFollowsXdgConfigHome) {
    setenv("XDG_CONFIG_HOME", "/tmp/some-config", 1);
    EXPECT_EQ(ProfilePath(), "/tmp/some-config/" + ExecutableName() + ".INI");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(ConfigFolder(), "/home/someone/.config");
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
