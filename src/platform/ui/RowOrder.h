#pragma once

#include <cstdint>
#include <vector>

// The display order of a list's rows: a sequence of row ids that supports insertion at an index
// and lookup by index in far less than linear time. Rows live in chunks of bounded size with a
// running count per chunk, so inserting into a list of 100,000 rows moves a few hundred ids
// instead of half the list. Each id carries a sort key (the first bytes of the row's text, see
// SortKey) so that a sorted insertion mostly compares keys in the chunk and rarely follows an id
// to its text.
class RowOrder {
public:
    std::size_t size() const { return m_size; }
    void clear();

    std::uint32_t at(std::size_t index) const;
    // Calls visit(index, id) for every position in order; a walk of the chunks, no lookups.
    template <class Visit> void for_each(Visit visit) const;
    void insert(std::size_t index, std::uint32_t id, unsigned __int128 key = 0);
    void set_key(std::size_t index, unsigned __int128 key);
    void erase(std::size_t index);

    // Index of the first position that does not sort before the probe, for a sequence kept
    // sorted. A position sorts before it when its key is smaller; on equal keys tieLess(id)
    // decides.
    template <class TieLess> std::size_t lower_bound(unsigned __int128 probeKey, TieLess tieLess) const;

private:
    struct Entry {
        std::uint64_t hi;
        std::uint32_t id;
        std::uint32_t lo;
        unsigned __int128 Key() const { return (static_cast<unsigned __int128>(hi) << 32) | lo; }
    };
    static constexpr std::size_t kMaxChunk = 512;

    template <class TieLess>
    static bool Before(const Entry& entry, unsigned __int128 probeKey, TieLess& tieLess) {
        return entry.Key() != probeKey ? entry.Key() < probeKey : tieLess(entry.id);
    }

    void RebuildStarts(std::size_t fromChunk);
    std::size_t ChunkOf(std::size_t index) const;

    void RefreshLast(std::size_t chunk) { m_last[chunk] = m_chunks[chunk].back(); }
    std::vector<std::vector<Entry>> m_chunks;
    std::vector<Entry> m_last;         // each chunk's last entry, side by side for the chunk search
    std::vector<std::size_t> m_starts; // index of each chunk's first row
    std::size_t m_size = 0;
};

template <class TieLess>
std::size_t RowOrder::lower_bound(unsigned __int128 probeKey, TieLess tieLess) const {
    // First the chunk: the first one whose last id does not sort before the probe.
    std::size_t lo = 0, hi = m_chunks.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (Before(m_last[mid], probeKey, tieLess))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == m_chunks.size())
        return m_size;
    const std::vector<Entry>& chunk = m_chunks[lo];
    std::size_t first = 0, last = chunk.size();
    while (first < last) {
        std::size_t mid = (first + last) / 2;
        if (Before(chunk[mid], probeKey, tieLess))
            first = mid + 1;
        else
            last = mid;
    }
    return m_starts[lo] + first;
}

template <class Visit> void RowOrder::for_each(Visit visit) const {
    std::size_t index = 0;
    for (const std::vector<Entry>& chunk : m_chunks) {
        for (const Entry& entry : chunk)
            visit(index++, entry.id);
    }
}

// The first twelve bytes of a text with ASCII letters folded to lower case, big-endian, zero
// padded: comparing two keys as numbers orders the texts as CompareNoCase does, as far as the
// keys reach.
unsigned __int128 SortKey(const char* text, std::size_t length);
