// The tag list of a folder of 100,000 songs, 100,000 records against 100,000 rows, measured in
// the same run against the plain file operations it cannot do without:
// - LoadTagList against reading the same file into memory (goal: at most 10 times);
// - SaveTagList against writing the same bytes to a new file (goal: at most 3 times).
// SaveTagList also flushes the file to disk before it renames it over the old one; the write
// reference is given with and without that flush. Times are CPU times of the thread, best of
// fifteen rounds, as the machine is shared.

#include "app/MainDlg.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/FileReader.h"
#include "res/Resource.h"
#include "songlist/TagFile.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The thread's CPU time, kernel time included: on a machine shared with busy neighbours, wall time
// charges a long operation for every time slice it waits, a short one hardly ever.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr int kRounds = 15;

template <class Work, class Setup = void (*)()>
double Best(
    int rounds, Work work, Setup setup = [] {}) {
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        setup();
        double start = CpuSeconds();
        work();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

void PlainWrite(const std::string& path, const std::string& bytes, bool flush) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += static_cast<std::size_t>(written);
    }
    if (flush)
        fsync(fd);
    close(fd);
}

std::string PlainRead(const std::string& path) {
    FileReader file(path);
    std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return bytes;
}

} // namespace

int main() {
    constexpr int kSongs = 100000;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("shufflon-taglist-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    HeadlessBackend backend;
    CMainDlg dialog;
    dialog.SetDlgItemText(IDC_FOLDER, folder.string());
    dialog.m_bSearchCompleted = true;

    // A collection of albums: 2,500 folders of 40 songs, half of them named by track number only,
    // so that many rows share a file name in different folders.
    std::mt19937 random(2024);
    for (int i = 0; i < kSongs; ++i) {
        int album = i / 40, track = i % 40;
        std::string sub = folder.string() + "/Artist " + std::to_string(album % 300) + "/Album " +
                          std::to_string(album) + "/";
        std::string name = album % 2
                               ? std::to_string(track + 1) + ".mid"
                               : "Track " + std::to_string(track + 1) + " - Song " +
                                     std::to_string(random() % 100000) + (random() % 3 ? ".mid" : ".KAR");
        int row = dialog.m_list.InsertItem(0, name);
        dialog.m_list.SetItemText(row, 1, sub);
        dialog.m_list.SetItemText(row, 2, "1000 B");
        dialog.m_list.SetItemData(row, random() % 2);
    }
    int marked = 0;
    for (int row = 0; row < kSongs; ++row)
        marked += dialog.m_list.GetItemData(row) != 0;

    std::string tagFile = TagFilePath(folder.string());
    double save = Best(kRounds, [&] { dialog.SaveTagList(); });
    std::string bytes = PlainRead(tagFile);
    std::string other = (folder / "plain.bin").string();
    double write = Best(kRounds, [&] { PlainWrite(other, bytes, false); });
    double writeFlushed = Best(kRounds, [&] { PlainWrite(other, bytes, true); });

    int played = 0;
    double load = Best(
        kRounds,
        [&] {
            dialog.LoadTagList();
            played = dialog.m_nPlayedCount;
        },
        [&] {
            // A fresh search: every row unplayed, nothing counted.
            for (int row = 0; row < kSongs; ++row)
                dialog.SetPlayedMark(row, 0);
            dialog.m_nPlayedCount = 0;
        });
    std::size_t readBytes = 0;
    double read = Best(kRounds, [&] { readBytes = PlainRead(tagFile).size(); });

    std::printf("tag file: %zu bytes, %d records, %d marked\n", bytes.size(), kSongs, marked);
    std::printf(
        "LoadTagList %.2f ms, plain read %.2f ms (%zu bytes): ratio %.2f (goal <= 10); %d marks restored\n",
        load * 1e3, read * 1e3, readBytes, load / read, played);
    std::printf("SaveTagList %.2f ms, plain write %.2f ms: ratio %.2f (goal <= 3); "
                "plain write with fsync %.2f ms: ratio %.2f\n",
                save * 1e3, write * 1e3, save / write, writeFlushed * 1e3, save / writeFlushed);
    std::filesystem::remove_all(folder);
    bool ok = played == marked && bytes.size() == static_cast<std::size_t>(kSongs) * kTagRecordSize;
    if (!ok)
        std::printf("ERROR: the round trip lost marks\n");
    return ok ? 0 : 1;
}
