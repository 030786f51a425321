#include "app/MainDlg.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/FileReader.h"
#include "res/Resource.h"
#include "res/dialogs/TagWaitDialog.h"
#include "search/PumpMessages.h"
#include "songlist/TagFile.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

// The wait window of one tag list operation: made, centred, given its text and shown, then drawn
// by letting the queue run for 50 ms before the work takes the thread; gone when the operation
// ends. The main dialog's pointer to it is put back as it was, so an operation that runs inside
// another one (a message dispatched during those 50 ms) leaves the outer one's window alone.
class TagWaitWindow {
public:
    TagWaitWindow(CDialog*& slot, const std::string& text) : m_slot(slot), m_previous(slot) {
        m_dialog = std::make_unique<CDialog>(kTagWaitTemplate);
        m_dialog->Create();
        m_slot = m_dialog.get();
        m_dialog->CenterWindow();
        m_dialog->SetDlgItemText(IDC_TAGWAIT_TEXT, text);
        m_dialog->ShowWindow(SW_SHOW);
        PumpMessages(50);
    }
    ~TagWaitWindow() {
        m_dialog->DestroyWindow();
        m_dialog.reset();
        m_slot = m_previous;
    }
    TagWaitWindow(const TagWaitWindow&) = delete;
    TagWaitWindow& operator=(const TagWaitWindow&) = delete;

private:
    CDialog*& m_slot;
    CDialog* m_previous;
    std::unique_ptr<CDialog> m_dialog;
};

// A tag file is read in blocks of this many records, 1 MB, rather than whole: a block stays in the
// cache while its records are matched.
constexpr std::size_t kRecordsPerBlock = 4000;
// And written in blocks of 4 MB: smaller writes cost the file system more time per byte.
constexpr std::size_t kRecordsPerWrite = 16000;

// Records matched at a time: a folder of 250,000 songs at once; a larger file, which no folder of
// ours makes, takes several passes over the rows instead of unbounded memory.
constexpr std::size_t kRecordsPerPass = 250000;

} // namespace

void CMainDlg::SaveTagList() {
    // Only the list of a completed search, with the marks of the folder's tag file read into it,
    // replaces that file. A close while the search or the reading runs, an aborted search, or a
    // tag list turned on after the search leave the file's marks as they are; a folder without a
    // file has none to lose.
    std::string folder = GetDlgItemText(IDC_FOLDER);
    std::error_code error;
    if (!m_bSearchCompleted ||
        (!m_bTagsRead && std::filesystem::symlink_status(TagFilePath(folder), error).type() !=
                             std::filesystem::file_type::not_found))
        return;
    TagWaitWindow wait(m_pTagWaitDlg, "Saving and dealocating tag list");
    // Written only into a folder that is there: a folder that has gone is not made again.
    if (!std::filesystem::is_directory(folder.empty() ? "/" : folder, error)) {
        MessageBox("Can not open MIDI tag file for write access", "Shufflon", MB_OK | MB_ICONSTOP);
        return;
    }

    // The new file is written beside the old one and renamed over it: a crash, a full disk or a
    // write error leaves the old file, and the marks in it, as they were. A song whose path is
    // longer than a record holds is left out of the file; it stays unplayed after the next load.
    AtomicFileWriter file(TagFilePath(folder));
    std::vector<char> block(kRecordsPerWrite * kTagRecordSize);
    std::size_t used = 0;
    m_list.ForEachRow([&](int, const std::string& name, const std::string& songFolder, LPARAM data) {
        // A mark of a double click is stored as any other: in the next run it counts.
        if (WriteTagRecord(block.data() + used, data != 0 ? 1u : 0u, songFolder, name))
            used += kTagRecordSize;
        if (used == block.size()) {
            file.Write({block.data(), used});
            used = 0;
        }
    });
    file.Write({block.data(), used});
    if (!file.Commit())
        MessageBox("Can not open MIDI tag file for write access", "Shufflon", MB_OK | MB_ICONSTOP);
}

void CMainDlg::LoadTagList() {
    TagWaitWindow wait(m_pTagWaitDlg, "Loading and assigning tag list");
    if (m_bClosing)
        return;
    FileReader file(TagFilePath(GetDlgItemText(IDC_FOLDER)));
    // A file that cannot be read gives no marks, as one that is not there.
    m_bTagsRead = true;
    if (!file.IsOpen())
        return;

    // As many records as the file holds, up to a pass; one more tells a file that grew since.
    TagRecordSet records(std::min(file.Size() / kTagRecordSize + 1, kRecordsPerPass));
    std::unique_ptr<char[]> block(new char[kRecordsPerBlock * kTagRecordSize]);
    for (bool more = true; more;) {
        std::size_t got = file.Read(block.get(), kRecordsPerBlock * kTagRecordSize);
        more = got == kRecordsPerBlock * kTagRecordSize;
        // A last part shorter than a record is no record.
        std::size_t count = got / kTagRecordSize;
        for (std::size_t done = 0; done < count;) {
            std::size_t taken = std::min(count - done, records.Room());
            records.Add(block.get() + done * kTagRecordSize, taken);
            done += taken;
            if (records.Room() == 0) {
                AssignTagMarks(records.MarksFor(m_list));
                records.Clear();
            }
        }
    }
    if (!records.Empty())
        AssignTagMarks(records.MarksFor(m_list));
}

void CMainDlg::AssignTagMarks(const std::vector<std::int8_t>& marks) {
    std::size_t position = 0;
    m_list.UpdateRowsInMemoryOrder([&](int, LPARAM& data, int& image) {
        std::int8_t mark = marks[position++];
        if (mark == TagRecordSet::kNoMark)
            return;
        // Counted by what the row becomes, so that a file naming a song twice cannot count it twice.
        m_nPlayedCount += mark - (data != 0);
        // Every flag that counts is kept as a counted mark, so that deleting the row later takes it
        // off the played count again.
        data = mark ? kCountedMark : 0;
        image = PlayedImage(data);
    });
}
