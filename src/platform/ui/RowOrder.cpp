#include "platform/ui/RowOrder.h"

#include <algorithm>

void RowOrder::clear() {
    m_chunks.clear();
    m_last.clear();
    m_starts.clear();
    m_size = 0;
}

std::size_t RowOrder::ChunkOf(std::size_t index) const {
    // The last chunk that starts at or before the index.
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), index);
    return static_cast<std::size_t>(it - m_starts.begin()) - 1;
}

std::uint32_t RowOrder::at(std::size_t index) const {
    std::size_t chunk = ChunkOf(index);
    return m_chunks[chunk][index - m_starts[chunk]].id;
}

void RowOrder::set_key(std::size_t index, unsigned __int128 key) {
    std::size_t chunk = ChunkOf(index);
    m_chunks[chunk][index - m_starts[chunk]].hi = static_cast<std::uint64_t>(key >> 32);
    m_chunks[chunk][index - m_starts[chunk]].lo = static_cast<std::uint32_t>(key);
    RefreshLast(chunk);
}

void RowOrder::erase(std::size_t index) {
    std::size_t chunk = ChunkOf(index);
    std::vector<Entry>& entries = m_chunks[chunk];
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index - m_starts[chunk]));
    --m_size;
    if (entries.empty()) {
        m_last.erase(m_last.begin() + static_cast<std::ptrdiff_t>(chunk));
        m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
        m_starts.erase(m_starts.begin() + static_cast<std::ptrdiff_t>(chunk));
        if (chunk == m_chunks.size())
            return;
    } else {
        RefreshLast(chunk);
    }
    RebuildStarts(chunk);
}

void RowOrder::insert(std::size_t index, std::uint32_t id, unsigned __int128 key) {
    if (m_chunks.empty()) {
        m_chunks.emplace_back().reserve(kMaxChunk);
        m_last.emplace_back();
        m_starts.push_back(0);
    }
    std::size_t chunk = index >= m_size ? m_chunks.size() - 1 : ChunkOf(index);
    std::vector<Entry>& ids = m_chunks[chunk];
    ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(index - m_starts[chunk]),
               Entry{static_cast<std::uint64_t>(key >> 32), id, static_cast<std::uint32_t>(key)});
    ++m_size;
    std::size_t firstMoved = chunk + 1; // the first chunk whose start moves down by the new row
    if (ids.size() > kMaxChunk) {
        std::vector<Entry> upper(ids.begin() + kMaxChunk / 2, ids.end());
        upper.reserve(kMaxChunk);
        ids.resize(kMaxChunk / 2);
        std::size_t upperStart = m_starts[chunk] + ids.size();
        // From here on `ids` may dangle: the chunks move when one is added.
        m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, std::move(upper));
        m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, upperStart);
        m_last.insert(m_last.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, m_chunks[chunk + 1].back());
        ++firstMoved;
    }
    RefreshLast(chunk);
    // Every later chunk starts one row further down; a plain increment of each start, rather than
    // summing the chunks' sizes again, since this runs for every row a search inserts.
    for (std::size_t i = firstMoved; i < m_starts.size(); ++i)
        ++m_starts[i];
}

void RowOrder::RebuildStarts(std::size_t fromChunk) {
    std::size_t start = m_starts[fromChunk];
    for (std::size_t i = fromChunk; i < m_chunks.size(); ++i) {
        m_starts[i] = start;
        start += m_chunks[i].size();
    }
}

unsigned __int128 SortKey(const char* text, std::size_t length) {
    // Built in two 64-bit halves: shifting a 128-bit value byte by byte cost more than the
    // comparisons the key saves.
    std::uint64_t hi = 0, lo = 0;
    for (std::size_t i = 0; i < 12; ++i) {
        unsigned char c = i < length ? static_cast<unsigned char>(text[i]) : 0;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c + 32);
        std::uint64_t& half = i < 8 ? hi : lo;
        half = (half << 8) | c;
    }
    return (static_cast<unsigned __int128>(hi) << 32) | lo;
}
