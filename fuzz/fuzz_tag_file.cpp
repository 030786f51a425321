// libFuzzer target for the tag file reader, against a small song list. Besides surviving any
// file, the marks must be those of the plain rule: each record in file order marks the first row
// whose file name matches its name without regard to ASCII case and whose folder matches its
// folder byte for byte. The records are gathered a few at a time, in several passes, as a file
// larger than one pass is.

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "songlist/TagFile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

const std::array kListOnly{ControlTemplate{7, ControlKind::ListView, "", 0, 0, 100, 100,
                                           WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING}};
const DialogTemplate kListDialog{1, "t", "MS Sans Serif", 8, 100, 100, WS_POPUP, 0, kListOnly};

// Names that repeat in other folders and other letter cases, a folder that is a prefix of
// another, and a song in the root.
const char* const kRows[][2] = {{"a.mid", "/m/"}, {"A.MID", "/m/x/"}, {"a.mid", "/m/x/"},  {"b.kar", "/m/"},
                                {"B.kar", "/M/"}, {"song.rmi", "/"},  {"\xE9.mid", "/m/"}, {"c.mid", ""}};

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool SameName(const std::string& a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CDialog dialog(kListDialog);
    static CListCtrl& list = []() -> CListCtrl& {
        auto& made = dialog.Item<CListCtrl>(7);
        for (const auto& row : kRows)
            made.SetItemText(made.InsertItem(made.GetItemCount(), row[0]), 1, row[1]);
        return made;
    }();
    const auto* bytes = reinterpret_cast<const char*>(data);
    const std::size_t count = size / kTagRecordSize;

    // Each record read on its own from a buffer of exactly its size, so that a read past the
    // record's end is caught.
    std::vector<int> reference(static_cast<std::size_t>(list.GetItemCount()), TagRecordSet::kNoMark);
    for (std::size_t i = 0; i < count; ++i) {
        auto record = std::make_unique<char[]>(kTagRecordSize);
        std::memcpy(record.get(), bytes + i * kTagRecordSize, kTagRecordSize);
        TagRecord read;
        if (!ReadTagRecord(record.get(), read))
            continue;
        Check(read.path.size() < kTagPathSize);
        std::size_t slash = read.path.rfind('/');
        std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (SameName(list.GetItemText(row, 0), read.path.substr(nameStart)) &&
                list.GetItemText(row, 1) == read.path.substr(0, nameStart)) {
                reference[static_cast<std::size_t>(row)] = read.played != 0 ? 1 : 0;
                break;
            }
        }
    }

    // The set, a few records at a time; the marks of each pass replace those of the passes before.
    std::vector<int> marks(reference.size(), TagRecordSet::kNoMark);
    std::vector<int> memoryOrder;
    list.ForEachRowInMemoryOrder(
        [&](int row, const std::string&, const std::string&, LPARAM) { memoryOrder.push_back(row); });
    TagRecordSet records(size > 0 ? 1 + data[0] % 5 : 1);
    std::size_t done = 0;
    while (done < count) {
        std::size_t taken = std::min(count - done, records.Room());
        records.Add(bytes + done * kTagRecordSize, taken);
        done += taken;
        std::vector<std::int8_t> pass = records.MarksFor(list);
        Check(pass.size() == memoryOrder.size());
        for (std::size_t j = 0; j < pass.size(); ++j) {
            Check(pass[j] == TagRecordSet::kNoMark || pass[j] == 0 || pass[j] == 1);
            if (pass[j] != TagRecordSet::kNoMark)
                marks[static_cast<std::size_t>(memoryOrder[j])] = pass[j];
        }
        records.Clear();
        Check(records.Empty());
    }
    Check(marks == reference);
    return 0;
}
