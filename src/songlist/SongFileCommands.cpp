#include "app/MainDlg.h"

#include "platform/sys/SplitPath.h"
#include "res/Resource.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

// "Save song" copies the current song into the save folder; "Delete song" moves it into the
// deleted songs folder, a trash can the user can empty or restore from, and takes its row out of
// the list. Neither ever overwrites a file: a name already taken gets a number.

namespace {

namespace fs = std::filesystem;

fs::path FreeName(const fs::path& folder, const std::string& name) {
    fs::path target = folder / name;
    SplitPathParts parts = SplitPath(name);
    for (int n = 2; fs::exists(target) && n < 1000; ++n)
        target = folder / (parts.fname + " (" + std::to_string(n) + ")" + parts.ext);
    return target;
}

// Moves a file, copying and then removing it when the folders are on different file systems.
bool MoveFile(const fs::path& from, const fs::path& to, std::error_code& error) {
    fs::rename(from, to, error);
    if (error != std::errc::cross_device_link)
        return !error;
    error.clear();
    if (!fs::copy_file(from, to, error))
        return false;
    fs::remove(from, error);
    return !error;
}

} // namespace

void CMainDlg::OnSaveSong() {
    if (m_strCurrentFile.empty()) {
        MessageBox("Play a song first: Save song copies the current song into the save folder.", "Shufflon",
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    fs::path song(m_strCurrentFile);
    std::error_code error;
    fs::create_directories(m_strSaveFolder, error);
    fs::path target = FreeName(m_strSaveFolder, song.filename().string());
    if (m_strSaveFolder.empty() || !fs::copy_file(song, target, error)) {
        MessageBox("Cannot save " + song.filename().string() + " into the folder \"" + m_strSaveFolder +
                       "\": " + (error ? error.message() : "no save folder is set") + ".",
                   "Shufflon", MB_OK | MB_ICONSTOP);
        return;
    }
    MessageBox("Saved as " + target.string() + ".", "Shufflon", MB_OK | MB_ICONINFORMATION);
}

void CMainDlg::OnDeleteSong() {
    if (m_strCurrentFile.empty()) {
        MessageBox("Play a song first: Delete song moves the current song into the deleted songs folder.",
                   "Shufflon", MB_OK | MB_ICONINFORMATION);
        return;
    }
    // The song is taken once, here: while the question is open the song may end and another
    // start, but the file the question names is the one moved and its row the one removed.
    const std::string deleted = m_strCurrentFile;
    const int askedRow = m_nCurrent;
    fs::path song(deleted);
    if (MessageBox("Move " + song.filename().string() + " into the deleted songs folder \"" +
                       m_strDeleteFolder + "\"?",
                   "Shufflon", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    // Only the deleted song is stopped; in a play run the next tick goes on with the next song.
    const bool stopped = m_strCurrentFile == deleted;
    if (stopped) {
        CloseDevice();
        if (m_bPaused) {
            m_bPaused = FALSE;
            SetDlgItemText(IDC_PAUSE, "Pause");
            if (m_bPlaying)
                SetTimer(IDT_PROGRESS, 500);
        }
    }

    std::error_code error;
    fs::create_directories(m_strDeleteFolder, error);
    fs::path target = FreeName(m_strDeleteFolder, song.filename().string());
    if (m_strDeleteFolder.empty() || !MoveFile(song, target, error)) {
        MessageBox("Cannot move " + song.filename().string() + " into the folder \"" + m_strDeleteFolder +
                       "\": " + (error ? error.message() : "no deleted songs folder is set") + ".",
                   "Shufflon", MB_OK | MB_ICONSTOP);
        return;
    }

    int row =
        askedRow >= 0 && askedRow < m_list.GetItemCount() && SongPath(askedRow) == deleted ? askedRow : -1;
    for (int r = 0; row < 0 && r < m_list.GetItemCount(); ++r) {
        if (SongPath(r) == deleted)
            row = r;
    }
    if (row >= 0) {
        // A row played by a double click is marked but was never counted.
        if (m_list.GetItemData(row) == kCountedMark && m_nPlayedCount > 0)
            --m_nPlayedCount;
        m_list.DeleteItem(row);
        ForgetRow(row);
        --m_nSongCount;
        // The current row keeps its song; when it was the deleted one, sequential play goes on
        // with the row that took its place.
        if (m_nCurrent >= row)
            --m_nCurrent;
        unsigned long long bytes = 0;
        for (int r = 0; r < m_list.GetItemCount(); ++r)
            bytes += std::strtoull(m_list.GetItemText(r, 2).c_str(), nullptr, 10);
        ShowTotals(m_nSongCount, static_cast<DWORD>(bytes));
        ShowPlayedCount();
    }
    if (stopped && !m_bPlaying) {
        SetTrayIcon(1);
        ShowCurrentSong("");
        SetDlgItemText(IDC_ELAPSED, "0");
        SetDlgItemText(IDC_LENGTH, "0");
        m_slider.SetPos(0);
        EnableDlgItem(IDC_PAUSE, false);
    }
    if (m_list.GetItemCount() == 0) {
        if (m_bPlaying)
            OnPlay(); // nothing is left to play: stop the run
        EnableDlgItem(IDC_PLAY, false);
        EnableDlgItem(IDC_NEXT, false);
    }
}
