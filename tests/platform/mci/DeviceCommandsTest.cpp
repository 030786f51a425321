// The device's commands and their codes: open and close, ids, status, set, and what each command
// answers to bad parameters.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DeviceFixture.h"
#include "SmfBuilder.h"
#include "platform/mci/MciExtras.h"

namespace mcitest {
namespace {

using CommandsTest = DeviceTest;

TEST_F(CommandsTest, EveryOpenGetsAFreshIdAndClosedIdsFail) {
    const MCIDEVICEID first = OpenSong();
    EXPECT_EQ(Err(Close(first)), Err(0));
    const MCIDEVICEID second = OpenSong();
    const MCIDEVICEID third = OpenSong();
    EXPECT_NE(first, 0u);
    EXPECT_GT(second, first);
    EXPECT_GT(third, second);

    // The player closes ids it does not know to be open; that must be a harmless failure.
    EXPECT_EQ(Err(Close(first)), Err(MCIERR_INVALID_DEVICE_ID));
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    EXPECT_EQ(Err(mciSendCommand(first, MCI_STATUS, MCI_STATUS_ITEM, &status)),
              Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(mciSendCommand(first, MCI_PLAY, 0, nullptr)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(SeekTo(first, 0)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(mciSendCommand(first, MCI_STOP, 0, nullptr)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(mciSendCommand(0, MCI_STOP, 0, nullptr)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(mciSendCommand(777777, MCI_STATUS, MCI_STATUS_ITEM, &status)),
              Err(MCIERR_INVALID_DEVICE_ID));

    EXPECT_EQ(Err(Close(second)), Err(0));
    EXPECT_EQ(Err(Close(second)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(Close(third)), Err(0));
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(CommandsTest, OpenChecksTypeElementAndFlags) {
    MCIDEVICEID id = 0;
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, nullptr)),
              Err(MCIERR_NULL_PARAMETER_BLOCK));

    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "cdaudio";
    open.lpstrElementName = m_song.c_str();
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open)),
              Err(MCIERR_INVALID_DEVICE_NAME));
    open.lpstrDeviceType = "SeQuEnCeR";
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open)), Err(0));
    EXPECT_NE(open.wDeviceID, 0u);

    open.lpstrDeviceType = "sequencer";
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE, &open)), Err(MCIERR_FILENAME_REQUIRED));
    open.lpstrElementName = "";
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open)),
              Err(MCIERR_FILENAME_REQUIRED));
    open.lpstrElementName = m_song.c_str();
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT, &open)),
              Err(MCIERR_FLAGS_NOT_COMPATIBLE));
    EXPECT_EQ(Err(OpenFile(m_song, id, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_SHAREABLE)),
              Err(MCIERR_UNSUPPORTED_FUNCTION));

    // The type as a number travels in the low word of the type pointer.
    open.lpstrDeviceType = reinterpret_cast<const char*>(std::uintptr_t{MCI_DEVTYPE_SEQUENCER});
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT, &open)), Err(0));
    open.lpstrDeviceType = reinterpret_cast<const char*>(std::uintptr_t{522});
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT, &open)),
              Err(MCIERR_INVALID_DEVICE_NAME));

    // Without a type, the extension chooses the device.
    EXPECT_EQ(Err(OpenFile(m_song, id, MCI_OPEN_ELEMENT)), Err(0));
    const std::string other = m_dir.Path("song.wav");
    std::filesystem::copy_file(m_song, other);
    EXPECT_EQ(Err(OpenFile(other, id, MCI_OPEN_ELEMENT)), Err(MCIERR_EXTENSION_NOT_FOUND));
    EXPECT_EQ(Err(mciSendCommand(0, MCI_OPEN, 0, &open)), Err(MCIERR_DEVICE_TYPE_REQUIRED));
    // A file that is a MIDI file opens whatever it is called, once the type is given.
    EXPECT_EQ(Err(OpenFile(other, id)), Err(0));
}

TEST_F(CommandsTest, OpenWithNotifyPostsSuccessfulWithTheNewId) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Err(OpenFile(m_song, id, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_NOTIFY)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(CommandsTest, FilesThatCannotBeReadGiveTheirCodes) {
    MCIDEVICEID id = 0;
    EXPECT_EQ(Err(OpenFile(m_dir.Path("missing.mid"), id)), Err(MCIERR_FILE_NOT_FOUND));
    EXPECT_EQ(Err(OpenFile(m_dir.Path(""), id)), Err(MCIERR_FILE_NOT_FOUND)) << "a folder";

    const std::string text = m_dir.Path("text.mid");
    std::ofstream(text) << "This is not a MIDI file, just some words in a text file.\n";
    EXPECT_EQ(Err(OpenFile(text, id)), Err(MCIERR_INVALID_FILE));

    const std::string empty = m_dir.Path("empty.mid");
    std::ofstream{empty};
    EXPECT_EQ(Err(OpenFile(empty, id)), Err(MCIERR_INVALID_FILE));

    // A header that promises a track and then stops.
    const std::string cut = m_dir.Path("cut.mid");
    const Bytes header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 1, 0xE0, 'M', 'T'};
    std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(header.data()), header.size());
    EXPECT_EQ(Err(OpenFile(cut, id)), Err(MCIERR_INVALID_FILE));

    // Larger than the reader takes: a sparse file costs no disk.
    const std::string huge = m_dir.Path("huge.mid");
    std::filesystem::copy_file(m_song, huge);
    std::filesystem::resize_file(huge, std::uintmax_t{65} << 20);
    EXPECT_EQ(Err(OpenFile(huge, id)), Err(MCIERR_OUT_OF_MEMORY));

    if (::geteuid() != 0) {
        const std::string locked = m_dir.Path("locked.mid");
        std::filesystem::copy_file(m_song, locked);
        ::chmod(locked.c_str(), 0);
        EXPECT_EQ(Err(OpenFile(locked, id)), Err(MCIERR_FILE_READ));
    }
}

TEST_F(CommandsTest, StatusAfterOpen) {
    const MCIDEVICEID id = OpenSong();
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 0u);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_LENGTH), kStandardLengthMs);
    EXPECT_EQ(StatusOf(id, MCI_SEQ_STATUS_PORT), MCI_SEQ_MAPPER);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MILLISECONDS);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_READY), static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_NUMBER_OF_TRACKS), 1u);

    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_LENGTH;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_STATUS, 0, &status)), Err(MCIERR_MISSING_PARAMETER));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, nullptr)),
              Err(MCIERR_NULL_PARAMETER_BLOCK));
    status.dwItem = 0x4242;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, &status)),
              Err(MCIERR_UNSUPPORTED_FUNCTION));
}

TEST_F(CommandsTest, FormatTwoSongsCountTheirSequences) {
    SmfBuilder smf(2, 96);
    for (int i = 0; i < 3; ++i)
        smf.Add(smf.AddTrack(), 0, NoteOn(0, 60, 1));
    const std::string path = m_dir.Path("format2.mid");
    smf.WriteTo(path);
    MCIDEVICEID id = 0;
    ASSERT_EQ(Err(OpenFile(path, id)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_NUMBER_OF_TRACKS), 3u);
}

TEST_F(CommandsTest, PortCanBeMadeToLookLikeAnotherDevice) {
    const MCIDEVICEID id = OpenSong();
    mci::SetPortForTesting(2);
    EXPECT_EQ(StatusOf(id, MCI_SEQ_STATUS_PORT), 2u);
    mci::SetPortForTesting(std::nullopt);
    EXPECT_EQ(StatusOf(id, MCI_SEQ_STATUS_PORT), MCI_SEQ_MAPPER);
}

TEST_F(CommandsTest, OnlyMillisecondsAreATimeFormat) {
    const MCIDEVICEID id = OpenSong();
    MCI_SET_PARMS set;
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, MCI_SET_TIME_FORMAT, &set)), Err(0));
    set.dwTimeFormat = MCI_SEQ_FORMAT_SONGPTR;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, MCI_SET_TIME_FORMAT, &set)), Err(MCIERR_BAD_TIME_FORMAT));
    set.dwTimeFormat = 99;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, MCI_SET_TIME_FORMAT, &set)), Err(MCIERR_BAD_TIME_FORMAT));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, 0, &set)), Err(MCIERR_MISSING_PARAMETER));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, MCI_SET_TIME_FORMAT, nullptr)),
              Err(MCIERR_NULL_PARAMETER_BLOCK));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SET, 0x00800000, &set)), Err(MCIERR_UNSUPPORTED_FUNCTION));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_TIME_FORMAT), MCI_FORMAT_MILLISECONDS);
}

TEST_F(CommandsTest, UnknownAndUnofferedCommands) {
    const MCIDEVICEID id = OpenSong();
    EXPECT_EQ(Err(mciSendCommand(id, 0x0899, 0, nullptr)), Err(MCIERR_UNRECOGNIZED_COMMAND));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_PAUSE, 0, nullptr)), Err(MCIERR_UNSUPPORTED_FUNCTION));
    EXPECT_EQ(Err(mciSendCommand(777777, 0x0899, 0, nullptr)), Err(MCIERR_INVALID_DEVICE_ID));
}

TEST_F(CommandsTest, SynchronousCommandsWithNotifyPostSuccessful) {
    const MCIDEVICEID id = OpenSong();
    MCI_STATUS_PARMS status;
    status.dwCallback = kWindow;
    status.dwItem = MCI_STATUS_MODE;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM | MCI_NOTIFY, &status)), Err(0));
    MCI_SET_PARMS set;
    set.dwCallback = kOtherWindow;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_SET, MCI_SET_TIME_FORMAT | MCI_NOTIFY, &set)), Err(0));
    MCI_SEEK_PARMS seek;
    seek.dwCallback = kWindow;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_SEEK_TO_END | MCI_NOTIFY, &seek)), Err(0));
    MCI_GENERIC_PARMS generic;
    generic.dwCallback = kOtherWindow;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STOP, MCI_NOTIFY, &generic)), Err(0));
    ASSERT_EQ(Err(mciSendCommand(id, MCI_CLOSE, MCI_NOTIFY, &generic)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id},
                                                  {kOtherWindow, MCI_NOTIFY_SUCCESSFUL, id},
                                                  {kWindow, MCI_NOTIFY_SUCCESSFUL, id},
                                                  {kOtherWindow, MCI_NOTIFY_SUCCESSFUL, id},
                                                  {kOtherWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
    // A failed command posts nothing.
    MCIDEVICEID other = OpenSong();
    seek.dwTo = kStandardLengthMs + 1;
    EXPECT_EQ(Err(mciSendCommand(other, MCI_SEEK, MCI_TO | MCI_NOTIFY, &seek)), Err(MCIERR_OUTOFRANGE));
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(CommandsTest, CloseAllClosesEveryDevice) {
    const MCIDEVICEID a = OpenSong();
    const MCIDEVICEID b = OpenSong();
    ASSERT_EQ(Err(PlayNotify(a)), Err(0));
    EXPECT_EQ(Err(mciSendCommand(MCI_ALL_DEVICE_ID, MCI_CLOSE, 0, nullptr)), Err(0));
    EXPECT_EQ(Err(Close(a)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(Err(Close(b)), Err(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, a}}));
}

} // namespace
} // namespace mcitest
