#include "companion/store/RecordArena.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>
#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define LECTORO_RECORD_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LECTORO_RECORD_ARENA_ASAN 1
#endif
#endif
#if LECTORO_RECORD_ARENA_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#endif

namespace companion {

namespace {

// Blocks grow with what the list is known to need. The first holds a short list's records
// (a few dozen) in ordinary pages, and the second a few hundred more; a list known to be long
// (expectLongList(), or a size given to make()) goes on in blocks of one huge page each, as
// does any list past its second block. A huge page costs a list of a few hundred records
// 2 MB, and a long list's first pages in ordinary memory a fault each 4 KB.
constexpr size_t firstBlockBytes = 64 * 1024;
constexpr size_t secondBlockBytes = 256 * 1024;
constexpr size_t hugePageBytes = 2 * 1024 * 1024;

char* mapBlock(size_t size, bool huge)
{
    if (!huge) {
        void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return memory == MAP_FAILED ? nullptr : static_cast<char*>(memory);
    }
    // A huge page needs its 2 MB aligned: map more and give back what lies outside.
    size_t mapped = size + hugePageBytes;
    void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return nullptr;
    auto start = reinterpret_cast<uintptr_t>(memory);
    auto aligned = (start + hugePageBytes - 1) & ~static_cast<uintptr_t>(hugePageBytes - 1);
    if (aligned > start)
        ::munmap(memory, aligned - start);
    if (auto end = start + mapped, used = aligned + size; end > used)
        ::munmap(reinterpret_cast<void*>(used), end - used);
    // Only a hint: where the system gives no huge pages, the block is ordinary pages.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

// Blocks of lists let go, for the next list: a book's list is read again and again (every
// panel that shows it, every read after another connection wrote), and a block used before
// costs no page faults. Past a few lists' worth they go back to the system.
class IdleBlocks {
public:
    static IdleBlocks& shared()
    {
        // Never destroyed: a record may be let go while the process exits.
        static auto* blocks = new IdleBlocks();
        return *blocks;
    }

    char* take(size_t size)
    {
        std::lock_guard lock(m_mutex);
        auto found = std::find_if(m_blocks.begin(), m_blocks.end(), [&](const auto& block) { return block.second == size; });
        if (found == m_blocks.end())
            return nullptr;
        char* start = found->first;
        m_bytes -= size;
        m_blocks.erase(found);
        return start;
    }
    // False when there are enough idle blocks already: the caller unmaps it.
    bool keep(char* start, size_t size)
    {
        if (size != firstBlockBytes && size != hugePageBytes)
            return false;
        std::lock_guard lock(m_mutex);
        if (m_bytes + size > mostIdleBytes)
            return false;
        m_blocks.emplace_back(start, size);
        m_bytes += size;
        return true;
    }

private:
    static constexpr size_t mostIdleBytes = 16 * 1024 * 1024;
    std::mutex m_mutex;
    std::vector<std::pair<char*, size_t>> m_blocks;
    size_t m_bytes = 0;
};

} // namespace

RecordArena::Holder RecordArena::make(size_t expectedBytes)
{
    return Holder(new RecordArena(expectedBytes));
}

RecordArena::~RecordArena()
{
    for (const auto& block : m_blocks) {
#if LECTORO_RECORD_ARENA_ASAN
        __lsan_unregister_root_region(block.start, block.size);
        // An idle block must not be read: a text kept past its record would read it.
        __asan_poison_memory_region(block.start, block.size);
#endif
        if (!IdleBlocks::shared().keep(block.start, block.size)) {
#if LECTORO_RECORD_ARENA_ASAN
            __asan_unpoison_memory_region(block.start, block.size);
#endif
            ::munmap(block.start, block.size);
        }
    }
}

void RecordArena::expectLongList()
{
    m_expectedBytes = std::max(m_expectedBytes, hugePageBytes);
}

void RecordArena::addBlock(size_t atLeast)
{
    bool huge = m_blocks.size() >= 2 || atLeast > secondBlockBytes || m_expectedBytes > firstBlockBytes;
    size_t unit = huge ? hugePageBytes : m_blocks.empty() ? firstBlockBytes : secondBlockBytes;
    size_t size = (atLeast + unit - 1) / unit * unit;
    m_blocks.reserve(m_blocks.size() + 1);
    char* start = IdleBlocks::shared().take(size);
#if LECTORO_RECORD_ARENA_ASAN
    if (start)
        __asan_unpoison_memory_region(start, size);
#endif
    if (!start)
        start = mapBlock(size, huge);
    if (!start)
        throw std::bad_alloc();
    m_blocks.push_back({ start, size });
#if LECTORO_RECORD_ARENA_ASAN
    // The records' own allocations (their texts) are reachable only through the block.
    __lsan_register_root_region(start, size);
#endif
    m_next = start;
    m_left = size;
}

void* RecordArena::allocateInNewBlock(size_t bytes, size_t alignment)
{
    addBlock(bytes + alignment);
    return allocate(bytes, alignment);
}

void RecordArena::deallocate([[maybe_unused]] void* memory, [[maybe_unused]] size_t bytes)
{
    // The block is given back whole with the arena; a record let go before that must not
    // be read again.
#if LECTORO_RECORD_ARENA_ASAN
    __asan_poison_memory_region(memory, bytes);
#endif
}

void RecordArena::release()
{
    if (m_holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

} // namespace companion
