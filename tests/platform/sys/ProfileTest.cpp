#include "platform/sys/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() / ("profile-test-" + std::to_string(getpid()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_file = (m_folder / "shufflon.INI").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void Write(const std::string& text) { std::ofstream(m_file, std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(m_file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path m_folder;
    std::string m_file;
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", "SaveFolder", "dflt", m_file), "dflt");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "IntroLength", 20, m_file)), 20);
    Write("[Other]\nIntroLength=5\n");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "IntroLength", 20, m_file)), 20);
    Write("[SHFConfig]\nIntro=1\n");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "IntroLength", 20, m_file)), 20);
}

TEST_F(ProfileTest, NamesIgnoreCaseAndValuesAreTrimmed) {
    Write("  [shfconfig]  \r\n  savefolder =  /home/me/best  \r\n\"Quoted\"=x\nQ2 = \"  padded  \"\n");
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", "SaveFolder", "", m_file), "/home/me/best");
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", "Q2", "", m_file), "  padded  ");
}

TEST_F(ProfileTest, EmptyValueIsAnEmptyStringButTheDefaultInteger) {
    Write("[SHFConfig]\nSaveFolder=\nIntroLength=\nNoEquals\n");
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", "SaveFolder", "/x", m_file), "");
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", "NoEquals", "/x", m_file), "");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "IntroLength", 20, m_file)), 20);
}

TEST_F(ProfileTest, IntegersAreReadAsFarAsTheyAreDigits) {
    EXPECT_EQ(static_cast<int>(ParseProfileInt("12abc")), 12);
    EXPECT_EQ(static_cast<int>(ParseProfileInt("  -7")), -7);
    EXPECT_EQ(static_cast<int>(ParseProfileInt("+3")), 3);
    EXPECT_EQ(static_cast<int>(ParseProfileInt("abc")), 0);
    EXPECT_EQ(static_cast<int>(ParseProfileInt("0x10")), 0);
    EXPECT_EQ(ParseProfileInt("4294967297"), 1u); // wraps modulo 2^32
}

TEST_F(ProfileTest, JunkAndBinaryContentNeverBreakReading) {
    std::string junk = "\x01\x02garbage]]][[[\n=\n==\n;comment=1\n[SHFConfig\nIntro=1\n";
    junk += std::string("\0\xff\xfe", 3);
    Write(junk);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "Intro", 0, m_file)), 1);
    EXPECT_EQ(GetPrivateProfileString("SHFConfig", ";comment", "d", m_file), "d");
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
    Write("[S]\nK=" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", m_file).size(), 4095u);
}

TEST_F(ProfileTest, WritesKeepOrderAndOtherLines) {
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "Autoplay", "1", m_file));
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "Intro", "0", m_file));
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "SCInitFile", "", m_file));
    EXPECT_EQ(Read(), "[SHFConfig]\nAutoplay=1\nIntro=0\nSCInitFile=\n");

    Write("; mine\n[Other]\nA=1\n\n[shfconfig]\nINTRO=1\n\n[Last]\nB=2\n");
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "Intro", "0", m_file));
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "New", "v", m_file));
    EXPECT_EQ(Read(), "; mine\n[Other]\nA=1\n\n[shfconfig]\nIntro=0\nNew=v\n\n[Last]\nB=2\n");
}

TEST_F(ProfileTest, WriteCreatesTheFolderAndLeavesNoTemporaryFiles) {
    std::string nested = (m_folder / "a" / "b" / "p.INI").string();
    ASSERT_TRUE(WritePrivateProfileString("S", "K", "v", nested));
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", nested), "v");
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(m_folder / "a" / "b")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(ProfileTest, WritesGoThroughSymbolicLinksAndKeepTheFilesMode) {
    // A dotfile manager's layout: the profile is a relative link to a link to the real file.
    std::filesystem::create_directories(m_folder / "dotfiles");
    std::string real = (m_folder / "dotfiles" / "real.INI").string();
    std::ofstream(real) << "[S]\nK=old\n";
    std::filesystem::permissions(real,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real.INI", m_folder / "dotfiles" / "hop.INI");
    std::filesystem::create_symlink("dotfiles/hop.INI", m_file);

    ASSERT_TRUE(WritePrivateProfileString("S", "K", "new", m_file));
    EXPECT_TRUE(std::filesystem::is_symlink(m_file));
    EXPECT_TRUE(std::filesystem::is_symlink(m_folder / "dotfiles" / "hop.INI"));
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", real), "new");
    EXPECT_EQ(std::filesystem::status(real).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    struct stat info;
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, geteuid());

    // A link to a file not made yet makes it where the link points.
    std::filesystem::create_symlink("dotfiles/later.INI", m_folder / "later.INI");
    ASSERT_TRUE(WritePrivateProfileString("S", "K", "v", (m_folder / "later.INI").string()));
    EXPECT_TRUE(std::filesystem::is_regular_file(m_folder / "dotfiles" / "later.INI"));
    EXPECT_TRUE(std::filesystem::is_symlink(m_folder / "later.INI"));
}

TEST_F(ProfileTest, AByteOrderMarkDoesNotHideTheFirstSectionAndIsKept) {
    Write("\xEF\xBB\xBF[SHFConfig]\r\nIntro=1\r\n");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("SHFConfig", "Intro", 0, m_file)), 1);
    ASSERT_TRUE(WritePrivateProfileString("SHFConfig", "Intro", "0", m_file));
    EXPECT_EQ(Read(), "\xEF\xBB\xBF[SHFConfig]\nIntro=0\n");
}

TEST_F(ProfileTest, UnwritableFolderFailsAndKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: permissions do not stop writes";
    Write("[S]\nK=old\n");
    std::filesystem::permissions(m_folder,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "new", m_file));
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", m_file), "old");
}

TEST_F(ProfileTest, PathThatIsAFolderFailsQuietly) {
    std::filesystem::create_directories(m_file);
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "v", m_file));
    EXPECT_EQ(GetPrivateProfileString("S", "K", "d", m_file), "d");
}

} // namespace
