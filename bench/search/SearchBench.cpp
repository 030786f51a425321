// The whole folder search, progress window and sorted song list included, over a tree of 100,000
// songs in 5,000 folders with other files among them, against a plain walk of the same tree that
// stats every entry (what `find -printf %s` does: opendir, readdir, fstatat), measured in the same
// run with a warm cache, best of several. Goal: at most 1.5 times the plain walk. Also prints the
// memory the list holds per song.
//
// Usage: bench_search [folder-to-make-the-tree-in]   (default /tmp; the tree is removed at the end)
//        bench_search --keep [folder]                 (keeps the tree and prints its path)
//        bench_search --tree <tree-made-with-keep>    (measures an existing tree again)

#include "platform/headless/HeadlessBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "search/CDirStruct.h"

#include "SongTree.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 9;

const std::array kList{
    ControlTemplate{1007, ControlKind::ListView, "", 7, 97, 286, 60,
                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING}};
const DialogTemplate kDialog{102, "Shufflon", "MS Sans Serif", 8, 300, 164, WS_POPUP, 0, kList};

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuNow() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The times of every round, wall clock and CPU time of the process. On a shared machine the wall
// clock also counts the time the process waited for a core; its CPU time does not.
struct Best {
    std::vector<double> walls, cpus;
    double wall = 1e9; // the best of the rounds
    double cpu = 1e9;
    template <class F> void Time(F work) {
        double wallStart = Now(), cpuStart = CpuNow();
        work();
        cpus.push_back(CpuNow() - cpuStart);
        walls.push_back(Now() - wallStart);
        cpu = std::min(cpu, cpus.back());
        wall = std::min(wall, walls.back());
    }
    void Print(const char* what) const {
        std::printf("%-44s %8.1f ms wall %8.1f ms CPU\n", what, wall * 1e3, cpu * 1e3);
    }
};

// The median of the ratios of rounds measured side by side: a busy spell of the machine that
// slows one round slows both of its contenders.
double MedianRatio(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        ratios.push_back(a[i] / b[i]);
    std::sort(ratios.begin(), ratios.end());
    return ratios.empty() ? 0 : ratios[ratios.size() / 2];
}

long RssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

struct WalkTotals {
    long entries = 0;
    unsigned long long bytes = 0;
};

// The reference: every entry of every folder, stat'ed through the open folder like find does.
void PlainWalk(const std::string& path, WalkTotals& totals) {
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return;
    int fd = dirfd(dir);
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.' &&
            (entry->d_name[1] == '\0' || (entry->d_name[1] == '.' && entry->d_name[2] == '\0')))
            continue;
        struct stat st;
        if (fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        ++totals.entries;
        totals.bytes += static_cast<unsigned long long>(st.st_size);
        if (S_ISDIR(st.st_mode))
            PlainWalk(path + "/" + entry->d_name, totals);
    }
    closedir(dir);
}

// The walk of the engine with the song test but without rows: what the list costs shows as the
// difference to the whole search.
class WalkOnly : public CDirStruct {
public:
    void AddFile(const std::string& dirPath, const WIN32_FIND_DATA& entry) override {
        const std::string& name = entry.cFileName;
        if (m_bAbort || name.size() < 4 || name[name.size() - 4] != '.')
            return;
        ++m_nFiles;
        if (keep)
            songs.push_back({name, dirPath + "/", std::to_string(entry.nFileSizeLow) + " B"});
    }
    struct Song {
        std::string name, folder, size;
    };
    bool keep = false;
    std::vector<Song> songs;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool keep = !args.empty() && args[0] == "--keep";
    bool reuse = !args.empty() && args[0] == "--tree";
    if (keep || reuse)
        args.erase(args.begin());
    std::string root;
    double start = Now();
    if (reuse && !args.empty()) {
        root = args[0];
    } else {
        std::string pattern = (args.empty() ? std::string("/tmp") : args[0]) + "/shufflon-bench-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        root = pattern;
        song_tree::Make(root);
    }
    std::printf("tree: %d songs, %d other files, %d folders in %s (made in %.1f s)\n", song_tree::kSongs,
                song_tree::kOtherFiles, song_tree::kFolders, root.c_str(), Now() - start);

    HeadlessBackend backend;
    CDialog main(kDialog);
    main.Create();
    CListCtrl& list = main.Item<CListCtrl>(1007);

    // One untimed pass of each warms the cache.
    WalkTotals warm;
    PlainWalk(root, warm);
    long rssBefore = RssKiB();
    {
        CDirStruct engine;
        engine.Search(root, &list, TRUE);
    }
    long rssAfter = RssKiB();
    std::size_t rows = static_cast<std::size_t>(list.GetItemCount());
    std::size_t listBytes = list.MemoryUsed();

    // The rows alone, in the order the walk meets them, into an empty list.
    WalkOnly collect;
    collect.keep = true;
    collect.Search(root, &list, TRUE);

    // Rounds alternate between the contenders so that a busy spell of the machine hits them alike.
    Best walk, search, engineWalk, rowsAlone;
    int found = 0;
    for (int round = 0; round < kRounds; ++round) {
        WalkTotals totals;
        walk.Time([&] { PlainWalk(root, totals); });

        list.DeleteAllItems();
        CDirStruct engine;
        int result = 0;
        search.Time([&] { result = engine.Search(root, &list, TRUE); });
        found = engine.m_nFiles;
        if (result != 0 || found != song_tree::kSongs || list.GetItemCount() != song_tree::kSongs) {
            std::printf("search went wrong: result %d, %d songs, %d rows\n", result, found,
                        list.GetItemCount());
            return 1;
        }

        WalkOnly walkOnly;
        engineWalk.Time([&] { walkOnly.Search(root, &list, TRUE); });

        list.DeleteAllItems();
        rowsAlone.Time([&] {
            for (const WalkOnly::Song& song : collect.songs) {
                int row = list.InsertItem(0, song.name);
                list.SetItemText(row, 1, song.folder);
                list.SetItemText(row, 2, song.size);
                list.SetItemData(row, 0);
            }
        });
    }

    Best find;
    std::string command = "find '" + root + "' -printf '%s\\n' > /dev/null";
    for (int round = 0; round < 3; ++round)
        find.Time([&] { [[maybe_unused]] int status = std::system(command.c_str()); });

    std::printf("best of %d, wall clock and CPU time of the process:\n", kRounds);
    walk.Print("plain walk, stat every entry (reference)");
    std::printf("    (%ld entries)\n", warm.entries);
    std::printf("%-44s %8.1f ms wall (the find process's CPU is not counted)\n",
                "find -printf %s (for comparison)", find.wall * 1e3);
    search.Print("search into the sorted song list");
    engineWalk.Print("  the engine's walk alone, without rows");
    rowsAlone.Print("  the same rows alone into an empty list");
    std::printf("ratio search / plain walk, best against best: %.2f wall, %.2f CPU (goal <= 1.5)\n",
                search.wall / walk.wall, search.cpu / walk.cpu);
    std::printf("ratio search / plain walk, median of the rounds: %.2f wall, %.2f CPU\n",
                MedianRatio(search.walls, walk.walls), MedianRatio(search.cpus, walk.cpus));
    std::printf("song list memory: %zu bytes per song (MemoryUsed %zu bytes for %zu rows)\n",
                rows ? listBytes / rows : 0, listBytes, rows);
    std::printf("process RSS growth over the first search: %ld KiB, %ld bytes per song\n",
                rssAfter - rssBefore, rows ? (rssAfter - rssBefore) * 1024 / static_cast<long>(rows) : 0);

    if (!keep && !reuse) {
        std::string remove = "rm -rf '" + root + "'";
        [[maybe_unused]] int removed = std::system(remove.c_str());
    }
    return search.cpu / walk.cpu <= 1.5 ? 0 : 2;
}
