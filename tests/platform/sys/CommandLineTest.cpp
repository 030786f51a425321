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

TEST(CommandLineTest, ReadsAFolderOrNothing) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string folder;
        int exitCode;
    };
    const Case cases[] = {
        {{}, Action::Run, "", 0},
        {{"/music"}, Action::Run, "/music", 0},
        {{"--", "-odd name"}, Action::Run, "-odd name", 0},
        {{"-"}, Action::Run, "-", 0},
        {{"--help"}, Action::Help, "", 0},
        {{"/music", "-h"}, Action::Help, "", 0},
        {{"--version"}, Action::Version, "", 0},
        {{"a", "b"}, Action::Fail, "", 2},
        {{""}, Action::Fail, "", 2},
        {{"--louder"}, Action::Fail, "", 2},
        {{"--", "--help"}, Action::Run, "--help", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.folder, c.folder);
        EXPECT_EQ(line.exitCode, c.exitCode);
        if (c.action == Action::Fail) {
            EXPECT_TRUE(line.message.starts_with("shufflon: ")) << line.message;
        }
    }
    EXPECT_EQ(Parse({"-v"}).message, "shufflon 2.1.0\n");
    EXPECT_NE(Parse({"--help"}).message.find("Usage: shufflon [FOLDER]"), std::string::npos);
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
