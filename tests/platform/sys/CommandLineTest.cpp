#include "platform/sys/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using Action = CommandLine::Action;

CommandLine Parse(std::vector<std::string> arguments) {
    return ParseCommandLine(arguments, "shufflon", "2.1.0");
}

TEST(CommandLineTest, ReadsAFolderOrSongOrNothing) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string path;
        bool newInstance;
        int exitCode;
    };
    const Case cases[] = {
        {{}, Action::Run, "", false, 0},
        {{"/music"}, Action::Run, "/music", false, 0},
        {{"/music/a.mid", "--new-instance"}, Action::Run, "/music/a.mid", true, 0},
        {{"--new-instance"}, Action::Run, "", true, 0},
        {{"--", "-odd name"}, Action::Run, "-odd name", false, 0},
        {{"-"}, Action::Run, "-", false, 0},
        {{"--help"}, Action::Help, "", false, 0},
        {{"/music", "-h"}, Action::Help, "", false, 0},
        {{"--version"}, Action::Version, "", false, 0},
        {{"a", "b"}, Action::Fail, "", false, 2},
        {{""}, Action::Fail, "", false, 2},
        {{"--louder"}, Action::Fail, "", false, 2},
        {{"--", "--help"}, Action::Run, "--help", false, 0},
        {{"--", "--new-instance"}, Action::Run, "--new-instance", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.path, c.path);
        EXPECT_EQ(line.newInstance, c.newInstance);
        EXPECT_EQ(line.exitCode, c.exitCode);
        if (c.action == Action::Fail) {
            EXPECT_TRUE(line.message.starts_with("shufflon: ")) << line.message;
        }
    }
    EXPECT_EQ(Parse({"-v"}).message, "shufflon 2.1.0\n");
    const std::string help = Parse({"--help"}).message;
    EXPECT_NE(help.find("Usage: shufflon [--new-instance] [FOLDER | SONG]"), std::string::npos);
    EXPECT_NE(help.find("right click"), std::string::npos) << "the help says where the window's menu is";
}

TEST(CommandLineTest, AStartPlaceIsAFolderOrASongInItsFolder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("shufflon-place-" + std::to_string(getpid()));
    fs::create_directories(root / "Songs");
    std::ofstream(root / "Songs" / "Ode.MID") << "x";
    std::ofstream(root / "Songs" / "notes.txt") << "x";
    fs::create_symlink(root / "Songs", root / "link");
    const std::string songs = (root / "Songs").string();
    struct Case {
        std::string path;
        std::string folder;
        std::string song;
        std::string error; // a part of it
    };
    const Case cases[] = {
        {songs, songs, "", ""},
        {(root / "link").string(), songs, "", ""},
        {songs + "/Ode.MID", songs, songs + "/Ode.MID", ""},
        {(root / "link" / "Ode.MID").string(), songs, songs + "/Ode.MID", ""},
        {songs + "/notes.txt", "", "", "neither a folder nor a MIDI song"},
        {songs + "/gone.mid", "", "", "No such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const StartPlace place = ResolveStartPlace(c.path);
        EXPECT_EQ(place.folder, c.folder);
        EXPECT_EQ(place.song, c.song);
        EXPECT_NE(place.error.find(c.error), std::string::npos) << place.error;
        EXPECT_EQ(place.error.empty(), c.error.empty());
    }
    fs::remove_all(root);
}

TEST(CommandLineTest, EntersOnlyAFolderItCanList) {
    namespace fs = std::filesystem;
    fs::path old = fs::current_path();
    fs::path root = fs::temp_directory_path() / ("shufflon-cmdline-" + std::to_string(getpid()));
    fs::create_directories(root / "songs");
    std::ofstream(root / "file.mid") << "x";

    EXPECT_NE(EnterStartFolder((root / "missing").string()).find("No such file"), std::string::npos);
    EXPECT_NE(EnterStartFolder((root / "file.mid").string()).find("is not a folder"), std::string::npos);
    if (geteuid() != 0) { // root reads every folder
        fs::create_directories(root / "closed");
        fs::permissions(root / "closed", fs::perms::owner_exec);
        EXPECT_NE(EnterStartFolder((root / "closed").string()).find("cannot read"), std::string::npos);
        fs::permissions(root / "closed", fs::perms::owner_all);
    }
    EXPECT_EQ(fs::current_path(), old) << "a refused folder leaves the current directory alone";
    EXPECT_EQ(EnterStartFolder((root / "songs").string()), "");
    EXPECT_EQ(fs::current_path(), root / "songs");

    fs::current_path(old);
    fs::remove_all(root);
}

} // namespace
