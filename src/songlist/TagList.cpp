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

// Records read and matched per block: a folder of 250,000 songs in one, 64 MB; a larger file, which
// no folder of ours makes, takes several passes over the rows instead of unbounded memory.
constexpr std::size_t kRecordsPerBlock = 250000;

} // namespace

void CMainDlg::SaveTagList() {
    // An aborted search emptied the list without the user asking for it: writing that empty list
    // would wipe the marks stored for the folder, so its tag file stays as it is.
    if (!m_bSearchCompleted)
        return;
    TagWaitWindow wait(m_pTagWaitDlg, "Saving and dealocating tag list");
    std::string folder = GetDlgItemText(IDC_FOLDER);
    std::string path = TagFilePath(folder);

    // The whole file is made in memory and written beside the old one, then renamed over it: a
    // crash, a full disk or a write error leaves the old file, and the marks in it, as they were.
    // A song whose path is longer than a record holds is left out of the file; it stays unplayed
    // after the next load.
    std::string records;
    int rows = m_list.GetItemCount();
    records.reserve(static_cast<std::size_t>(rows) * kTagRecordSize);
    for (int row = 0; row < rows; ++row) {
        AppendTagRecord(records, static_cast<std::uint32_t>(m_list.GetItemData(row)),
                        m_list.ItemTextRef(row, 1), m_list.ItemTextRef(row, 0));
    }
    std::error_code error;
    // Written only into a folder that is there: a folder that has gone is not made again.
    if (!std::filesystem::is_directory(folder.empty() ? "/" : folder, error) ||
        !WriteFileAtomically(path, records))
        MessageBox("Can not open MIDI tag file for write access", "Shufflon", MB_OK | MB_ICONSTOP);
}

void CMainDlg::LoadTagList() {
    TagWaitWindow wait(m_pTagWaitDlg, "Loading and assigning tag list");
    FileReader file(TagFilePath(GetDlgItemText(IDC_FOLDER)));
    if (!file.IsOpen())
        return;

    // As large as the file, up to a block; one more record's room tells a file that grew since.
    const std::size_t kBlockBytes =
        std::min(file.Size() / kTagRecordSize + 1, kRecordsPerBlock) * kTagRecordSize;
    std::unique_ptr<char[]> block(new char[kBlockBytes]);
    for (;;) {
        std::size_t got = file.Read(block.get(), kBlockBytes);
        // A last part shorter than a record is no record.
        std::size_t count = got / kTagRecordSize;
        std::vector<int> rows = MatchTagRecords(m_list, block.get(), count);
        for (std::size_t i = 0; i < count; ++i) {
            if (rows[i] < 0)
                continue;
            TagRecord record;
            ReadTagRecord(block.get() + i * kTagRecordSize, record);
            // Counted by what the row becomes, so that a file naming a song twice cannot count it
            // twice.
            bool was = IsPlayed(rows[i]);
            SetPlayedMark(rows[i], static_cast<LPARAM>(record.played));
            m_nPlayedCount += (record.played != 0) - was;
        }
        if (got < kBlockBytes)
            break;
    }
}
