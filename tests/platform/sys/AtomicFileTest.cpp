#include "platform/sys/AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("atomic-file-test-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;
};

TEST_F(AtomicFileTest, AFileThatMayNotBeWrittenIsNotReplaced) {
    struct Case {
        const char* what;
        mode_t mode;
        bool replaced;
    };
    // Without any write permission a file is read-only for root too, who could open it.
    const Case cases[] = {{"rw-r--r--", 0644, true}, {"r--r--r--", 0444, false}, {"--w-------", 0200, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::path file = m_folder / "tags";
        Write(file, "old");
        chmod(file.c_str(), c.mode);
        EXPECT_EQ(WriteFileAtomically(file.string(), "new"), c.replaced);
        chmod(file.c_str(), 0600);
        EXPECT_EQ(Read(file), c.replaced ? "new" : "old");
        EXPECT_EQ(Names(), std::vector<std::string>{"tags"});
        fs::remove(file);
    }
}

TEST_F(AtomicFileTest, MissingFoldersAreMadeForTheFileButNotAtTheEndOfALink) {
    EXPECT_TRUE(WriteFileAtomically((m_folder / "new" / "profile.INI").string(), "a"));
    EXPECT_EQ(Read(m_folder / "new" / "profile.INI"), "a");

    fs::create_symlink(m_folder / "gone" / "deeper" / "tags", m_folder / "tags");
    EXPECT_FALSE(WriteFileAtomically((m_folder / "tags").string(), "b"));
    EXPECT_FALSE(fs::exists(m_folder / "gone"));
    // A link whose folder is there is written through.
    fs::create_directories(m_folder / "gone" / "deeper");
    EXPECT_TRUE(WriteFileAtomically((m_folder / "tags").string(), "c"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "tags"));
    EXPECT_EQ(Read(m_folder / "gone" / "deeper" / "tags"), "c");
}

TEST_F(AtomicFileTest, TemporariesLeftByACrashGoAtTheNextWrite) {
    // Temporaries of this file that no writer holds and that are older than a moment are stale;
    // a locked one is another instance's write in progress, a young one may be about to be
    // locked, and other names are not ours.
    auto old = [](const fs::path& path) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(5));
    };
    Write(m_folder / ".tags.shufflon-abc123", "stale");
    old(m_folder / ".tags.shufflon-abc123");
    Write(m_folder / ".tags.shufflon-locked", "in progress");
    old(m_folder / ".tags.shufflon-locked");
    int held = open((m_folder / ".tags.shufflon-locked").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    Write(m_folder / ".tags.shufflon-young1", "just made");
    for (const char* other : {"tags.backup", ".tags.shufflon-toolong", ".other.shufflon-abc123"}) {
        Write(m_folder / other, "someone's");
        old(m_folder / other);
    }

    AtomicFileWriter writer((m_folder / "tags").string());
    writer.Write("new");
    // The write's own temporary is hidden and named as ours.
    int ours = 0;
    for (const std::string& name : Names())
        ours += name.starts_with(".tags.shufflon-") && name.size() == 21;
    EXPECT_EQ(ours, 3); // the locked one, the young one and this write's
    ASSERT_TRUE(writer.Commit());
    close(held);
    EXPECT_EQ(Names(), (std::vector<std::string>{".other.shufflon-abc123", ".tags.shufflon-locked",
                                                 ".tags.shufflon-toolong", ".tags.shufflon-young1", "tags",
                                                 "tags.backup"}));
    EXPECT_EQ(Read(m_folder / "tags"), "new");
}

} // namespace
