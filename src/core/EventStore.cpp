#include "core/EventStore.h"

#include <sys/mman.h>

#include <cstdint>

namespace versilla::core {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

} // namespace

EventStore::~EventStore() { release(); }

void EventStore::release() {
    if (m_base)
        munmap(m_base, m_size);
    m_base = nullptr;
    m_size = 0;
    m_touched = 0;
}

bool EventStore::prepare(std::size_t bytes) {
    if (m_base && m_size >= bytes)
        return true;
    release();
    if (bytes > SIZE_MAX / 2)
        return false;
    const std::size_t size = roundUp(bytes == 0 ? 1 : bytes);
    // Map with room to spare, then cut off the unaligned ends so the block
    // starts on a huge-page boundary. NORESERVE: only written pages count.
    const std::size_t span = size + kHugePage;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return false;
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > start)
        munmap(p, aligned - start);
    const std::size_t tail = span - (aligned - start) - size;
    if (tail > 0)
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    m_base = reinterpret_cast<void*>(aligned);
    m_size = size;
    m_touched = 0;
#ifdef MADV_HUGEPAGE
    // A hint: without huge pages it still works. Small songs stay on small pages,
    // where a 2 MiB page would mostly be memory zeroed for nothing.
    if (size >= 2 * kHugePage)
        madvise(m_base, m_size, MADV_HUGEPAGE);
#endif
    return true;
}

bool EventStore::grow(std::size_t bytes) {
    if (!m_base)
        return prepare(bytes);
    if (m_size >= bytes)
        return true;
    if (bytes > SIZE_MAX / 2)
        return false;
    const std::size_t size = roundUp(bytes);
    void* p = mremap(m_base, m_size, size, MREMAP_MAYMOVE);
    if (p == MAP_FAILED)
        return false;
    m_base = p;
    m_size = size;
    return true;
}

void EventStore::used(std::size_t bytes) {
    if (!m_base)
        return;
    const std::size_t keep = roundUp(bytes);
    // A much smaller song than the last one: give the pages it did not need back
    // instead of holding them for as long as the song object lives.
    if (m_touched > keep && m_touched - keep > keep + (std::size_t{8} << 20)) {
        madvise(static_cast<char*>(m_base) + keep, m_touched - keep, MADV_DONTNEED);
        m_touched = keep;
    } else if (keep > m_touched) {
        m_touched = keep < m_size ? keep : m_size;
    }
}

} // namespace versilla::core
