#pragma once
#include <cstddef>

namespace versilla::core {

/// One block of memory for the events of a song read from a file.
///
/// The block is a private anonymous mapping, aligned to 2 MiB and marked for
/// transparent huge pages, so filling it costs a few page faults instead of tens
/// of thousands. It is kept from one read to the next: reading the same or a
/// similar song again writes into memory that is already there. Pages are only
/// backed once written, so a generous size costs address space, not memory.
class EventStore {
public:
    EventStore() = default;
    ~EventStore();
    EventStore(const EventStore&) = delete;
    EventStore& operator=(const EventStore&) = delete;

    /// Makes the block at least `bytes` long; its contents are not kept when it has
    /// to be replaced. Returns false (leaving no block) when the mapping fails.
    bool prepare(std::size_t bytes);
    /// Makes the block at least `bytes` long, keeping its contents (the block may
    /// move). Returns false, leaving the block as it was, when that fails.
    bool grow(std::size_t bytes);
    /// Notes that the first `bytes` were written. When far less was written than
    /// before, the pages beyond that go back to the system.
    void used(std::size_t bytes);

    void* data() const { return m_base; }
    std::size_t size() const { return m_size; }

private:
    void release();

    void* m_base = nullptr;
    std::size_t m_size = 0;     // usable bytes from m_base
    std::size_t m_touched = 0;  // bytes from m_base that may be backed by memory
};

} // namespace versilla::core
