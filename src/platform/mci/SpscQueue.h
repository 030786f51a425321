#pragma once

// A bounded single-producer, single-consumer ring of small records, the one way commands reach
// the audio thread and reports come back from it. The storage is allocated once by the
// constructor, so neither side ever allocates, locks or waits: a push onto a full ring and a pop
// from an empty one fail, and the caller decides what that means.

#include <atomic>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace mci {

template <typename T> class SpscQueue {
    static_assert(std::is_trivially_copyable_v<T>, "records cross threads by plain copy");

public:
    explicit SpscQueue(std::size_t capacity)
        : m_slots(capacity + 1), m_buffer(std::make_unique<T[]>(capacity + 1)) {}

    SpscQueue(const SpscQueue&) = delete;
    SpscQueue& operator=(const SpscQueue&) = delete;

    // Producer side.
    bool TryPush(const T& value) {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = Next(tail);
        if (next == m_head.load(std::memory_order_acquire))
            return false;
        m_buffer[tail] = value;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side.
    bool TryPop(T& out) {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        out = m_buffer[head];
        m_head.store(Next(head), std::memory_order_release);
        return true;
    }

    std::size_t Capacity() const { return m_slots - 1; }

private:
    std::size_t Next(std::size_t index) const { return index + 1 == m_slots ? 0 : index + 1; }

    // One slot stays empty so that a full ring and an empty one look different.
    const std::size_t m_slots;
    std::unique_ptr<T[]> m_buffer;
    // Apart, so that the two threads do not fight over one cache line.
    alignas(64) std::atomic<std::size_t> m_head{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
};

} // namespace mci
