#include "AppFixture.h"

#include "res/dialogs/TagWaitDialog.h"
#include "songlist/TagFile.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

// Records built by hand, as the file format describes them.
std::string Record(std::uint32_t played, const std::string& path) {
    std::string record(kTagRecordSize, '\0');
    for (int i = 0; i < 4; ++i)
        record[static_cast<std::size_t>(i)] = static_cast<char>(played >> (8 * i));
    record.replace(4, path.size(), path);
    return record;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Records the wait window as a message dispatched during a tag list operation finds it.
class Probe : public CWnd {
public:
    Probe(HeadlessBackend& backend) : m_backend(backend) { RegisterHandle(); }
    LRESULT WindowProc(UINT, WPARAM, LPARAM) override {
        if (HWND wait = m_backend.LiveDialog(IDD_TAGWAIT)) {
            auto* dialog = static_cast<CDialog*>(CWnd::FromHandle(wait));
            seen.push_back(dialog->GetWindowText() + "|" + dialog->GetDlgItemText(IDC_TAGWAIT_TEXT) +
                           (dialog->IsWindowVisible() ? "|shown" : "|hidden"));
        }
        return 0;
    }
    std::vector<std::string> seen;

private:
    HeadlessBackend& m_backend;
};

class TagListTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSong("a.mid", 3000);
        AddSong("B.MID", 3000);
        AddSong("c.kar", 3000);
        std::filesystem::create_directories(m_root / "songs" / "sub");
        WriteSong((m_root / "songs" / "sub" / "a.mid").string(), 3000);
        std::filesystem::create_directories(m_root / "other");
        WriteSong((m_root / "other" / "x.mid").string(), 3000);
    }
    std::string Songs() const { return SongsFolder() + "/"; }
    std::filesystem::path TagFile() const { return m_root / "songs" / "MIDITags.SHF"; }
    void WriteTags(const std::string& bytes) { std::ofstream(TagFile(), std::ios::binary) << bytes; }
    int Row(const std::string& name, const std::string& folder) {
        for (int row = 0; row < Dialog().m_list.GetItemCount(); ++row) {
            if (Dialog().m_list.GetItemText(row, 0) == name && Dialog().m_list.GetItemText(row, 1) == folder)
                return row;
        }
        return -1;
    }
    LPARAM Mark(const std::string& name, const std::string& folder) {
        return Dialog().m_list.GetItemData(Row(name, folder));
    }
    void Browse(const std::string& folder) {
        m_backend.AnswerNextBrowse(folder);
        Click(IDC_BROWSE);
    }
    void Close() {
        Dialog().SendMessage(WM_CLOSE);
        m_dialog.reset();
    }
};

TEST_F(TagListTest, SavedRecordsHaveTheFileLayout) {
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    // List order: a.mid (songs), a.mid (sub), B.MID, c.kar.
    dialog.SetPlayedMark(Row("B.MID", Songs()), 1);
    dialog.SetPlayedMark(Row("a.mid", Songs() + "sub/"), CMainDlg::kUncountedMark);
    Close();
    // Every mark is stored as 1, whatever kind it is in the list.
    std::string expected = Record(0, Songs() + "a.mid") + Record(1, Songs() + "sub/a.mid") +
                           Record(1, Songs() + "B.MID") + Record(0, Songs() + "c.kar");
    EXPECT_EQ(ReadAll(TagFile()), expected);
    EXPECT_TRUE(m_backend.Boxes().empty());
}

TEST_F(TagListTest, MarksComeBackAfterANewSearchAndARestart) {
    Settings("UseTaglist=1\nAutoplay=0\nPlayStile=1");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    Click(IDC_NEXT);
    m_backend.Advance(500);
    ASSERT_EQ(dialog.m_nPlayedCount, 2);
    // A row played by a double click is marked but not counted in this run; stored, it counts
    // in the next one like any other mark.
    const int last = dialog.m_list.GetItemCount() - 1;
    ASSERT_EQ(dialog.m_list.GetItemData(last), 0);
    dialog.m_list.RowChosenByUser(last);
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    ASSERT_EQ(dialog.m_list.GetItemData(last), CMainDlg::kUncountedMark);
    std::vector<LPARAM> marks;
    for (int row = 0; row < dialog.m_list.GetItemCount(); ++row)
        marks.push_back(dialog.m_list.GetItemData(row) != 0 ? CMainDlg::kCountedMark : 0);

    // Leaving the folder writes its file; coming back reads it.
    Browse((m_root / "other").string());
    EXPECT_EQ(dialog.m_nPlayedCount, 0);
    Browse(SongsFolder());
    EXPECT_EQ(dialog.m_nPlayedCount, 3);
    for (int row = 0; row < dialog.m_list.GetItemCount(); ++row)
        EXPECT_EQ(dialog.m_list.GetItemData(row), marks[static_cast<std::size_t>(row)]);

    Close();
    CMainDlg& again = Start();
    EXPECT_EQ(again.m_nPlayedCount, 3);
    for (int row = 0; row < again.m_list.GetItemCount(); ++row) {
        EXPECT_EQ(again.m_list.GetItemData(row), marks[static_cast<std::size_t>(row)]);
        EXPECT_EQ(again.m_list.GetItemImage(row), marks[static_cast<std::size_t>(row)] ? 1 : 0);
    }
}

TEST_F(TagListTest, RecordsMatchByNameWithoutCaseAndByFolderExactly) {
    std::string upperFolder = m_root.string() + "/SONGS/";
    WriteTags(Record(1, Songs() + "A.MID") +          // the name ignores case: marks songs/a.mid
              Record(1, upperFolder + "c.kar") +      // the folder does not: no row
              Record(5, Songs() + "sub/a.mid") +      // the second a.mid, whichever comes first
              Record(0, Songs() + "b.mid") +          // flag 0: stays unplayed, not counted
              Record(1, Songs() + "gone.mid") +       // a song deleted since
              Record(1, "/elsewhere/c.kar") +         // another folder's song
              std::string(kTagRecordSize, '\0') +     // a record of zeros
              Record(0xFFFFFFFF, Songs() + "c.kar") + // any non-zero flag marks and counts
              std::string(259, 'x'));                 // a short tail is no record
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    EXPECT_EQ(Mark("a.mid", Songs()), 1);
    EXPECT_EQ(Mark("a.mid", Songs() + "sub/"), 1);
    EXPECT_EQ(Mark("B.MID", Songs()), 0);
    EXPECT_EQ(Mark("c.kar", Songs()), 1);
    EXPECT_EQ(dialog.m_list.GetItemImage(Row("c.kar", Songs())), 1);
    EXPECT_EQ(dialog.m_nPlayedCount, 3);
    EXPECT_TRUE(m_backend.Boxes().empty());
}

TEST_F(TagListTest, FileLengthsAndBrokenRecords) {
    struct Case {
        const char* what;
        std::string bytes;
        int played;
    };
    std::string noZero = Record(1, Songs() + "a.mid");
    std::fill(noZero.begin() + 4, noZero.end(), 'a');
    std::string twice = Record(1, Songs() + "c.kar") + Record(1, Songs() + "C.KAR") +
                        Record(0, Songs() + "c.kar") + Record(1, Songs() + "c.kar");
    const Case cases[] = {
        {"261 bytes: one record", Record(1, Songs() + "a.mid") + "z", 1},
        {"259 bytes: none", Record(1, Songs() + "a.mid").substr(0, 259), 0},
        {"no zero byte in the path: skipped, the next read", noZero + Record(1, Songs() + "c.kar"), 1},
        {"one song named again and again counts once", twice, 1},
        {"empty file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTags(c.bytes);
        Settings("UseTaglist=1\nAutoplay=0");
        CMainDlg& dialog = Start();
        EXPECT_EQ(dialog.m_nPlayedCount, c.played);
        int marked = 0;
        for (int row = 0; row < dialog.m_list.GetItemCount(); ++row)
            marked += dialog.m_list.GetItemData(row) != 0;
        EXPECT_EQ(marked, c.played);
        m_dialog.reset(); // without the close sequence: the file stays as the case wrote it
    }
}

TEST_F(TagListTest, AFileOfManyBlocksAndPassesIsReadToItsEnd) {
    // A quarter of a million empty records in a hole of the file between the two records of
    // a.mid: the later one wins although the first was assigned in a pass of its own.
    {
        std::ofstream out(TagFile(), std::ios::binary);
        out << Record(1, Songs() + "a.mid") << Record(1, Songs() + "B.MID");
        out.seekp(static_cast<std::streamoff>(300000 * kTagRecordSize));
        out << Record(0, Songs() + "a.mid") << Record(1, Songs() + "c.kar");
    }
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    EXPECT_EQ(Mark("a.mid", Songs()), 0);
    EXPECT_EQ(Mark("B.MID", Songs()), 1);
    EXPECT_EQ(Mark("c.kar", Songs()), 1);
    EXPECT_EQ(dialog.m_nPlayedCount, 2);
}

TEST_F(TagListTest, ManyRecordsMarkWhatASearchFromTheTopForEachRecordWould) {
    // Few names in a few case spellings and folders, so that keys repeat in the list and in the
    // file; more records than one block holds.
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    const std::string names[] = {"a.mid", "A.MID", "b.kar", "B.Kar", "c.mid", "song.rmi"};
    const std::string folders[] = {Songs(), Songs() + "sub/", "/x/", "/x/y/", ""};
    std::mt19937 random(7);
    auto pick = [&](const auto& from) { return from[random() % std::size(from)]; };
    for (int i = 0; i < 150; ++i)
        dialog.m_list.SetItemText(dialog.m_list.InsertItem(0, pick(names)), 1, pick(folders));
    std::string file;
    std::vector<std::pair<std::string, std::uint32_t>> records;
    for (int i = 0; i < 5000; ++i) {
        std::uint32_t flag = random() % 3 == 0 ? 0 : static_cast<std::uint32_t>(random());
        std::string path = pick(folders) + pick(names);
        file += i % 500 == 7 ? std::string(kTagRecordSize, 'j') : Record(flag, path);
        if (i % 500 != 7)
            records.emplace_back(path, flag);
    }
    WriteTags(file);

    // The reference: each record in file order marks the first row whose name matches without
    // regard to case and whose folder matches exactly.
    auto fold = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::vector<LPARAM> expected(static_cast<std::size_t>(dialog.m_list.GetItemCount()), 0);
    for (const auto& [path, flag] : records) {
        std::size_t slash = path.rfind('/');
        std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
        std::string name = path.substr(folder.size());
        for (int row = 0; row < dialog.m_list.GetItemCount(); ++row) {
            if (fold(dialog.m_list.GetItemText(row, 0)) == fold(name) &&
                dialog.m_list.GetItemText(row, 1) == folder) {
                expected[static_cast<std::size_t>(row)] = flag != 0 ? CMainDlg::kCountedMark : 0;
                break;
            }
        }
    }

    for (int row = 0; row < dialog.m_list.GetItemCount(); ++row)
        dialog.SetPlayedMark(row, 0);
    dialog.m_nPlayedCount = 0;
    dialog.LoadTagList();
    std::vector<LPARAM> marks;
    for (int row = 0; row < dialog.m_list.GetItemCount(); ++row)
        marks.push_back(dialog.m_list.GetItemData(row));
    EXPECT_EQ(marks, expected);
    EXPECT_EQ(dialog.m_nPlayedCount, std::count(expected.begin(), expected.end(), CMainDlg::kCountedMark));
}

TEST_F(TagListTest, ATagFileThatIsNoFileGivesNoMarksAndNoBox) {
    Settings("UseTaglist=1\nAutoplay=0");
    std::filesystem::create_directory(TagFile());
    EXPECT_EQ(Start().m_nPlayedCount, 0);
    m_dialog.reset();
    std::filesystem::remove(TagFile());
    ASSERT_EQ(mkfifo(TagFile().c_str(), 0644), 0);
    EXPECT_EQ(Start().m_nPlayedCount, 0); // and does not wait for a writer
    m_dialog.reset();
    EXPECT_TRUE(m_backend.Boxes().empty());
}

TEST_F(TagListTest, AnAbortedSearchKeepsTheFolderTagFile) {
    std::string stored = Record(1, Songs() + "a.mid");
    WriteTags(stored);
    Settings("UseTaglist=1\nAutoplay=0");
    Start();
    std::filesystem::remove(TagFile());
    WriteTags(stored);
    // Closing the progress window of the next search of the same folder aborts it.
    m_backend.SetClockListener([this](std::uint32_t ms) {
        mci::AdvanceOffline(ms);
        if (HWND progress = m_backend.LiveDialog(IDD_SEARCHPROGRESS))
            PostMessage(progress, WM_CLOSE, 0, 0);
    });
    Browse(SongsFolder());
    m_backend.SetClockListener([](std::uint32_t ms) { mci::AdvanceOffline(ms); });
    ASSERT_EQ(m_backend.Boxes().back().text, "Directory search aborted !!!");
    ASSERT_EQ(Dialog().m_list.GetItemCount(), 0);
    // Browse wrote the marks of the list it left; the empty list after the abort writes nothing.
    WriteTags(stored);
    Close();
    EXPECT_EQ(ReadAll(TagFile()), stored);

    // A search that completed and found nothing still writes its (empty) list.
    Start();
    Browse((m_root / "other").string());
    std::filesystem::remove(m_root / "other" / "x.mid");
    Browse((m_root / "other").string());
    Close();
    EXPECT_TRUE(std::filesystem::exists(m_root / "other" / "MIDITags.SHF"));
    EXPECT_EQ(std::filesystem::file_size(m_root / "other" / "MIDITags.SHF"), 0u);
}

TEST_F(TagListTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    std::string stored = Record(1, Songs() + "a.mid") + Record(1, Songs() + "c.kar");
    WriteTags(stored);
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    dialog.SetPlayedMark(0, 0);

    // A folder that cannot be written: read-only by a mount, since root ignores permissions.
    bool readOnly =
        getuid() == 0 ? mount(SongsFolder().c_str(), SongsFolder().c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                            mount(nullptr, SongsFolder().c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                                  nullptr) == 0
                      : chmod(SongsFolder().c_str(), 0555) == 0;
    if (!readOnly)
        GTEST_SKIP() << "cannot make a read-only folder here";
    std::size_t boxes = m_backend.Boxes().size();
    Close();
    ASSERT_EQ(m_backend.Boxes().size(), boxes + 1);
    EXPECT_EQ(m_backend.Boxes().back().text, "Can not open MIDI tag file for write access");
    EXPECT_EQ(m_backend.Boxes().back().caption, "Shufflon");
    EXPECT_EQ(m_backend.Boxes().back().style, MB_OK | MB_ICONSTOP);
    if (getuid() == 0)
        umount(SongsFolder().c_str());
    else
        chmod(SongsFolder().c_str(), 0755);
    EXPECT_EQ(ReadAll(TagFile()), stored);
    EXPECT_EQ(std::filesystem::directory_iterator(SongsFolder()) == std::filesystem::directory_iterator(),
              false);
}

TEST_F(TagListTest, AFullDiskKeepsTheOldFile) {
    if (getuid() != 0)
        GTEST_SKIP() << "a small file system needs root";
    std::filesystem::path small = m_root / "small";
    std::filesystem::create_directories(small);
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    // Songs whose records need more room than the file system has left.
    for (int i = 0; i < 100; ++i)
        std::ofstream(small / ("song" + std::to_string(i) + ".mid")) << "";
    std::string stored = Record(1, small.string() + "/song1.mid");
    std::ofstream(small / "MIDITags.SHF", std::ios::binary) << stored;
    Settings("UseTaglist=1\nAutoplay=0");
    Start();
    m_backend.AnswerNextBrowse(small.string());
    Click(IDC_BROWSE);
    EXPECT_EQ(Dialog().m_nPlayedCount, 1);
    Close();
    ASSERT_FALSE(m_backend.Boxes().empty());
    EXPECT_EQ(m_backend.Boxes().back().text, "Can not open MIDI tag file for write access");
    EXPECT_EQ(ReadAll(small / "MIDITags.SHF"), stored);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(small))
        ++files;
    EXPECT_EQ(files, 101);
    umount(small.c_str());
}

TEST_F(TagListTest, LongPathsAreLeftOutAndOtherBytesRoundTrip) {
    std::string odd = "caf\xE9 \xFF.mid"; // not UTF-8
    AddSong(odd, 3000);
    // A name that makes the path 256 bytes, one more than a record holds.
    std::string longName(256 - Songs().size(), 'n');
    longName.replace(longName.size() - 4, 4, ".mid");
    AddSong(longName, 3000);
    std::string fitting = longName.substr(1); // 255 bytes: fits
    AddSong(fitting, 3000);
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    dialog.SetPlayedMark(Row(odd, Songs()), 1);
    dialog.SetPlayedMark(Row(longName, Songs()), 1);
    dialog.SetPlayedMark(Row(fitting, Songs()), 1);
    Close();
    EXPECT_EQ(std::filesystem::file_size(TagFile()), 6 * kTagRecordSize);
    CMainDlg& again = Start();
    EXPECT_EQ(Mark(odd, Songs()), 1);
    EXPECT_EQ(Mark(longName, Songs()), 0);
    EXPECT_EQ(Mark(fitting, Songs()), 1);
    EXPECT_EQ(again.m_nPlayedCount, 2);
}

TEST_F(TagListTest, TheWaitWindowIsUpBeforeTheWorkAndGoneAfter) {
    Settings("UseTaglist=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    Probe probe(m_backend);
    int centred = m_backend.CenterCount();
    // The probe's message waits behind the Browse click; the wait window's 50 ms let it through.
    m_backend.AnswerNextBrowse(SongsFolder());
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), 0);
    PostMessage(probe.GetSafeHwnd(), WM_USER, 0, 0);
    m_backend.RunPending();
    PostMessage(probe.GetSafeHwnd(), WM_USER, 0, 0);
    Close();
    ASSERT_EQ(probe.seen.size(), 2u);
    EXPECT_EQ(probe.seen[0], "Shufflon |Saving and dealocating tag list|shown");
    EXPECT_EQ(probe.seen[1], "Shufflon |Saving and dealocating tag list|shown");
    EXPECT_GE(m_backend.CenterCount(), centred + 3);
    EXPECT_FALSE(m_backend.LiveDialog(IDD_TAGWAIT));

    // Loading shows its own text.
    Start();
    Probe loadProbe(m_backend);
    PostMessage(loadProbe.GetSafeHwnd(), WM_USER, 0, 0);
    Dialog().LoadTagList();
    ASSERT_EQ(loadProbe.seen.size(), 1u);
    EXPECT_EQ(loadProbe.seen[0], "Shufflon |Loading and assigning tag list|shown");
    EXPECT_EQ(Dialog().m_pTagWaitDlg, nullptr);
}

TEST_F(TagListTest, ACloseDuringAnyPumpKeepsTheStoredMarks) {
    // A close box clicked while an operation lets the queue run for its window to be drawn: the
    // close sequence runs there, and the tag files hold every mark they held, or the marks of the
    // list that was left.
    struct Case {
        const char* what;
        int window;        // the close comes while this window is up ...
        const char* text;  // ... showing this text (the tag wait window's), or any
        bool browse;       // after the start, Browse to the other folder
        bool songsWritten; // the songs folder's file then holds the list's marks
    };
    const Case cases[] = {
        {"reading the tag list at the start", IDD_TAGWAIT, "Loading and assigning tag list", false, false},
        {"writing the tag list Browse leaves", IDD_TAGWAIT, "Saving and dealocating tag list", true, true},
        {"the search Browse starts", IDD_SEARCHPROGRESS, nullptr, true, true},
        {"reading the tag list Browse finds", IDD_TAGWAIT, "Loading and assigning tag list", true, true},
    };
    const std::string songsFile = Record(1, Songs() + "a.mid") + Record(1, Songs() + "c.kar");
    const std::filesystem::path otherTags = m_root / "other" / "MIDITags.SHF";
    const std::string otherFile = Record(1, (m_root / "other" / "x.mid").string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTags(songsFile);
        std::ofstream(otherTags, std::ios::binary) << otherFile;
        Settings("UseTaglist=1\nAutoplay=1\nPlayStile=1");
        bool closed = false;
        const std::size_t browses = m_backend.BrowseTitles().size();
        m_backend.SetClockListener([&](std::uint32_t ms) {
            mci::AdvanceOffline(ms);
            HWND window = m_backend.LiveDialog(c.window);
            auto* dialog = window ? static_cast<CDialog*>(CWnd::FromHandle(window)) : nullptr;
            if (!closed && dialog && (!c.text || dialog->GetDlgItemText(IDC_TAGWAIT_TEXT) == c.text) &&
                (!c.browse || m_backend.BrowseTitles().size() > browses)) {
                closed = true;
                PostMessage(m_dialog->GetSafeHwnd(), WM_CLOSE, 0, 0);
            }
        });
        Start();
        if (c.browse)
            Browse((m_root / "other").string());
        m_backend.SetClockListener([](std::uint32_t ms) { mci::AdvanceOffline(ms); });
        ASSERT_TRUE(closed);
        EXPECT_FALSE(m_backend.TrayState().present);
        EXPECT_NE(ReadAll(ProfileFile()).find("SCInitMode=0\n"), std::string::npos);
        // Nothing goes on after the close: no song starts, no search ends in a box.
        EXPECT_FALSE(DeviceOpen());
        EXPECT_TRUE(m_backend.Boxes().empty());
        std::string songsNow = ReadAll(TagFile());
        if (c.songsWritten)
            EXPECT_EQ(songsNow, Record(1, Songs() + "a.mid") + Record(0, Songs() + "sub/a.mid") +
                                    Record(0, Songs() + "B.MID") + Record(1, Songs() + "c.kar"));
        else
            EXPECT_EQ(songsNow, songsFile);
        EXPECT_EQ(ReadAll(otherTags), otherFile);
        m_dialog.reset();
    }
}

TEST_F(TagListTest, TheSessionsEndKeepsThePlayedMarksAndTheSettings) {
    Settings("UseTaglist=1\nAutoplay=1\nPlayStile=1");
    CMainDlg& dialog = Start();
    for (int i = 0; i < 100 && dialog.m_nPlayedCount < 3; ++i)
        m_backend.Advance(500);
    ASSERT_EQ(dialog.m_nPlayedCount, 3);
    // Only an end that really comes counts.
    dialog.SendMessage(WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(DeviceOpen());
    EXPECT_EQ(ReadAll(ProfileFile()).find("SCInitMode="), std::string::npos);

    dialog.SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_FALSE(m_backend.TrayState().present);
    EXPECT_NE(ReadAll(ProfileFile()).find("SCInitMode=0\nSCInitFile=\n"), std::string::npos);
    EXPECT_EQ(ReadAll(TagFile()), Record(1, Songs() + "a.mid") + Record(1, Songs() + "sub/a.mid") +
                                      Record(1, Songs() + "B.MID") + Record(0, Songs() + "c.kar"));
}

TEST_F(TagListTest, ATagFileThatMayNotBeWrittenIsLeftAsItIsWithTheMessage) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        std::filesystem::path mustNotExist;
    };
    const std::filesystem::path nowhere = m_root / "gone" / "deeper";
    const Case cases[] = {
        {"read-only", [](const auto& file) { chmod(file.c_str(), 0444); }, {}},
        {"a link into a folder that is not there",
         [&](const auto& file) {
             std::filesystem::remove(file);
             std::filesystem::create_symlink(nowhere / "MIDITags.SHF", file);
         },
         m_root / "gone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(TagFile());
        const std::string stored = Record(1, Songs() + "a.mid");
        WriteTags(stored);
        Settings("UseTaglist=1\nAutoplay=0");
        CMainDlg& dialog = Start();
        dialog.SetPlayedMark(Row("c.kar", Songs()), 1);
        c.make(TagFile());
        std::size_t boxes = m_backend.Boxes().size();
        Close();
        ASSERT_EQ(m_backend.Boxes().size(), boxes + 1);
        EXPECT_EQ(m_backend.Boxes().back().text, "Can not open MIDI tag file for write access");
        if (c.mustNotExist.empty())
            EXPECT_EQ(ReadAll(TagFile()), stored);
        else
            EXPECT_FALSE(std::filesystem::exists(c.mustNotExist));
        chmod(TagFile().c_str(), 0644);
    }
}

TEST_F(TagListTest, ARecordIsNotReadPastItsEnd) {
    // Exactly a record's bytes on the heap, without a zero byte in the path: the sanitizer build
    // catches a read of one byte more.
    auto record = std::make_unique<char[]>(kTagRecordSize);
    std::fill(record.get(), record.get() + kTagRecordSize, 'x');
    TagRecord read;
    EXPECT_FALSE(ReadTagRecord(record.get(), read));
    record[kTagRecordSize - 1] = '\0';
    ASSERT_TRUE(ReadTagRecord(record.get(), read));
    EXPECT_EQ(read.path, std::string(kTagPathSize - 1, 'x'));
    EXPECT_EQ(read.played, 0x78787878u);
}

} // namespace
