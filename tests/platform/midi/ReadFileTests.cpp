// Reading from disk: each way a path can fail, the error kinds and the MCI codes they become, and
// the texts shown for them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SmfBuilder.h"
#include "platform/midi/MciReadError.h"

namespace midi::test {
namespace {

namespace fs = std::filesystem;

class ReadFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/shufflon-midi-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, ignored);
        fs::remove_all(m_dir, ignored);
    }
    fs::path Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static ReadErrorKind KindOf(const fs::path& path) {
        const auto result = ReadMidiFile(path.string());
        EXPECT_FALSE(result.ok()) << path;
        return result.ok() ? ReadErrorKind::IoError : result.error().kind;
    }

    fs::path m_dir;
};

TEST_F(ReadFile, ReadsTheSameSongAsFromMemoryWhateverBytesThePathHas) {
    const Bytes bytes = SimpleFile(Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), EndOfTrack()}));
    const fs::path path = Write("Fr\xE8re Jacques (\\ \x01).MID", bytes);
    const auto fromDisk = ReadMidiFile(path.string());
    ASSERT_TRUE(fromDisk.ok()) << DescribeReadError(fromDisk.error());
    const auto fromMemory = Parse(bytes);
    ASSERT_EQ(fromDisk.value().events.size(), fromMemory.value().events.size());
    EXPECT_EQ(fromDisk.value().lengthMicros, 500000u);
}

TEST_F(ReadFile, MissingFilesAndFoldersAreNotFound) {
    EXPECT_EQ(KindOf(m_dir / "nothing.mid"), ReadErrorKind::NotFound);
    EXPECT_EQ(KindOf(m_dir / "no" / "such" / "folder.mid"), ReadErrorKind::NotFound);
    EXPECT_EQ(KindOf(m_dir), ReadErrorKind::NotFound);
    EXPECT_EQ(ReadMidiFile("").error().kind, ReadErrorKind::NotFound);
    const fs::path file = Write("plain.mid", {1});
    EXPECT_EQ(KindOf(file / "below-a-file.mid"), ReadErrorKind::NotFound);
}

TEST_F(ReadFile, PipesAndDevicesAreRefusedWithoutWaiting) {
    const fs::path fifo = m_dir / "pipe.mid";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(KindOf(fifo), ReadErrorKind::NotMidi);
    EXPECT_EQ(KindOf("/dev/zero"), ReadErrorKind::NotMidi);
}

TEST_F(ReadFile, FilesOverTheLimitAreRefusedBeforeTheyAreRead) {
    const fs::path path = m_dir / "huge.mid";
    std::ofstream(path).close();
    fs::resize_file(path, kMaxFileSize + 1); // sparse: no disk space used
    EXPECT_EQ(KindOf(path), ReadErrorKind::TooLarge);
}

TEST_F(ReadFile, UnreadableFilesReportNoPermission) {
    const fs::path path = Write("secret.mid", SimpleFile(EndOfTrack()));
    fs::permissions(path, fs::perms::none);
    if (::geteuid() != 0) {
        EXPECT_EQ(KindOf(path), ReadErrorKind::NoPermission);
        return;
    }
    // The superuser reads anything, so the check runs in a child that gives up its rights. The
    // folder must be passable for that child, so that the file's own permissions are what stops it.
    fs::permissions(m_dir, fs::perms::owner_all | fs::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        const auto result = ReadMidiFile(path.string());
        ::_exit(result.ok() ? 101 : static_cast<int>(result.error().kind));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(ReadErrorKind::NoPermission));
}

TEST(ReadErrorMapping, EachKindHasTheMciCodeTheDeviceReturns) {
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::NotFound), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::NotMidi), MCIERR_INVALID_FILE);
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::Damaged), MCIERR_INVALID_FILE);
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::NoPermission), MCIERR_FILE_READ);
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::IoError), MCIERR_FILE_READ);
    EXPECT_EQ(MciErrorForReadError(ReadErrorKind::TooLarge), MCIERR_OUT_OF_MEMORY);
}

TEST(ReadErrorText, SaysWhatHappenedAndWhereWhenItHelps) {
    EXPECT_EQ(DescribeReadError({ReadErrorKind::Damaged, 12, "the time division is zero"}),
              "The MIDI file is damaged (the time division is zero, at byte 12).");
    EXPECT_EQ(DescribeReadError({ReadErrorKind::NotMidi, 0, "no MIDI header"}),
              "The file is not a MIDI file (no MIDI header).");
    EXPECT_EQ(DescribeReadError({ReadErrorKind::NotFound, 0, ""}), "The file was not found.");
    // The device shows these in boxes that take at most 127 characters.
    for (const auto kind : {ReadErrorKind::NotFound, ReadErrorKind::NoPermission, ReadErrorKind::NotMidi,
                            ReadErrorKind::Damaged, ReadErrorKind::TooLarge, ReadErrorKind::IoError})
        EXPECT_LE(DescribeReadError(
                      {kind, 67108864, "a delta time is longer than four bytes; the track was cut there"})
                      .size(),
                  127u);
}

} // namespace
} // namespace midi::test
