// Inserting 100,000 song rows in random order into the sorted song list, against std::sort of
// the same names, measured in the same run. Goal: at most 3 times the sort.

#include "platform/headless/HeadlessBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

const std::array kList{ControlTemplate{1, ControlKind::ListView, "", 0, 0, 100, 100,
                                       WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING}};
const DialogTemplate kDialog{1, "bench", "MS Sans Serif", 8, 100, 100, WS_POPUP, 0, kList};

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main() {
    constexpr int kRows = 100000;
    std::mt19937 random(2024);
    std::vector<std::string> names;
    names.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        // Names like real collections: a few words, mixed case, shared prefixes.
        std::string name = (random() % 2 ? "Track " : "track_") + std::to_string(random() % 50000) + " - " +
                           std::string(1, static_cast<char>('A' + random() % 26)) + "song" +
                           std::to_string(i) + (random() % 3 ? ".mid" : ".KAR");
        names.push_back(name);
    }
    std::vector<std::string> folders;
    for (int i = 0; i < 5000; ++i)
        folders.push_back("/home/user/music/midi/collection/folder" + std::to_string(i) + "/");

    HeadlessBackend backend;
    double bestSort = 1e9, bestInsert = 1e9, bestRows = 1e9;
    std::size_t memory = 0;
    for (int round = 0; round < 5; ++round) {
        std::vector<std::string> copy = names;
        auto start = std::chrono::steady_clock::now();
        std::sort(copy.begin(), copy.end(),
                  [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
        bestSort = std::min(bestSort, Seconds(std::chrono::steady_clock::now() - start));

        {
            CDialog bare(kDialog);
            CListCtrl& names0 = bare.Item<CListCtrl>(1);
            start = std::chrono::steady_clock::now();
            for (int i = 0; i < kRows; ++i)
                names0.InsertItem(0, names[static_cast<std::size_t>(i)]);
            bestInsert = std::min(bestInsert, Seconds(std::chrono::steady_clock::now() - start));
        }

        CDialog dialog(kDialog);
        CListCtrl& list = dialog.Item<CListCtrl>(1);
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRows; ++i) {
            int row = list.InsertItem(0, names[static_cast<std::size_t>(i)]);
            list.SetItemText(row, 1, folders[static_cast<std::size_t>(i) % folders.size()]);
            list.SetItemText(row, 2, std::to_string(1000 + i) + " B");
            list.SetItemData(row, 0);
        }
        bestRows = std::min(bestRows, Seconds(std::chrono::steady_clock::now() - start));
        memory = list.MemoryUsed();
        if (list.GetItemText(0, 0) != copy.front() || list.GetItemText(kRows - 1, 0) != copy.back()) {
            std::printf("order differs from the sort\n");
            return 1;
        }
    }
    std::printf("rows: %d\n", kRows);
    std::printf("std::sort of the names:        %8.2f ms\n", bestSort * 1000);
    std::printf("sorted insertion into the list: %8.2f ms\n", bestInsert * 1000);
    std::printf("whole song rows (insertion, folder and size texts, item data): %8.2f ms\n", bestRows * 1000);
    std::printf("ratio insertion / sort: %.2f (goal: at most 3)\n", bestInsert / bestSort);
    std::printf("ratio whole rows / sort: %.2f\n", bestRows / bestSort);
    std::printf("list memory: %.0f bytes per row\n", static_cast<double>(memory) / kRows);
    return 0;
}
