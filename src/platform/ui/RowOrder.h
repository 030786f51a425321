#pragma once

#include <cstdint>
#include <vector>

// The display order of a list's rows: a sequence of row ids that supports insertion at an index
// and lookup by index in far less than linear time. Rows live in chunks of bounded size with a
// running count per chunk, so inserting into a list of 100,000 rows moves a few hundred ids
// instead of half the list.
class RowOrder {
public:
    std::size_t size() const { return m_size; }
    void clear();

    std::uint32_t at(std::size_t index) const;
    void insert(std::size_t index, std::uint32_t id);

    // Index of the first position whose id does not compare less than the probe, for a sequence
    // kept sorted by that comparison. less(id) answers whether the row id sorts before the probe.
    template <class Less> std::size_t lower_bound(Less less) const;

private:
    static constexpr std::size_t kMaxChunk = 1024;

    void RebuildStarts(std::size_t fromChunk);
    std::size_t ChunkOf(std::size_t index) const;

    std::vector<std::vector<std::uint32_t>> m_chunks;
    std::vector<std::size_t> m_starts; // index of each chunk's first row
    std::size_t m_size = 0;
};

template <class Less> std::size_t RowOrder::lower_bound(Less less) const {
    // First the chunk: the first one whose last id does not sort before the probe.
    std::size_t lo = 0, hi = m_chunks.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (less(m_chunks[mid].back()))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == m_chunks.size())
        return m_size;
    const std::vector<std::uint32_t>& chunk = m_chunks[lo];
    std::size_t first = 0, last = chunk.size();
    while (first < last) {
        std::size_t mid = (first + last) / 2;
        if (less(chunk[mid]))
            first = mid + 1;
        else
            last = mid;
    }
    return m_starts[lo] + first;
}
