#pragma once

// Memory for one list of records: a book's whole list of highlights or bookmarks, ten
// thousand records in some books, made in one go and mostly let go in one go.
//
// Made one by one with make_shared, a list's records take ten thousand allocations from
// memory the process has never touched, and touching a page for the first time costs far
// more than building what goes on it (most of a fresh process's first read was the
// kernel handing out pages). An arena hands the records out of large blocks instead,
// which the kernel may back with huge pages (one fault for 2 MB instead of 512): the
// records lie side by side, and letting the list go returns whole blocks.
//
// A record made here is an ordinary shared record: its holders change it, copy it and
// drop it as any other. Its memory stays until every record of the arena is gone (a
// holder that keeps one record keeps the arena's blocks), so only whole lists are made
// here, never a page's few records. Records are made on one thread at a time; they may
// be dropped on any.
//
// A record's texts are placed in its arena too (setText(), makeCopy()): they are the larger part
// of a list's allocations. They are the record's to read, never another's: a text copied or
// moved out of the record becomes a copy of its own (lectoro::UGCText).

#include "LectoroSDKWithReader/readersdk/records/UGCText.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace companion {

class RecordArena final : private lectoro::UGCText::CopyTarget {
public:
    // A new arena, held until the Holder goes and, after that, until its last record goes.
    // An arena for a list known to take more than its first block (`expectedBytes`) starts
    // in huge pages.
    class Holder;
    static Holder make(size_t expectedBytes = 0);
    // The list being made turned out long: what is placed from now on goes in huge pages.
    void expectLongList();

    template<class T>
    class Allocator;

    // Makes a record in the arena.
    template<class Record, class... Arguments>
    std::shared_ptr<Record> makeShared(Arguments&&... arguments)
    {
        return std::allocate_shared<Record>(Allocator<Record>(this), std::forward<Arguments>(arguments)...);
    }

    // A copy of `record` made in the arena, its texts placed here with it.
    template<class Record>
    std::shared_ptr<Record> makeCopy(const Record& record)
    {
        CopyingTexts copying(this);
        return makeShared<Record>(record);
    }

    // Sets a text of a record made in this arena to a copy of `bytes` (and a NUL) placed in
    // the arena: the record holds the arena while it lives. Only for records of this arena.
    void setText(lectoro::UGCText& into, std::string_view bytes)
    {
        if (bytes.empty()) {
            into.clear();
            return;
        }
        into.placeIn(*this, bytes);
    }

    RecordArena(const RecordArena&) = delete;
    RecordArena& operator=(const RecordArena&) = delete;

private:
    explicit RecordArena(size_t expectedBytes) : m_expectedBytes(expectedBytes) { }
    ~RecordArena();

    char* placeText(size_t bytes) override { return static_cast<char*>(allocate(bytes, 1)); }
    static lectoro::UGCText::CopyTarget* exchangeCopyTarget(lectoro::UGCText::CopyTarget* target)
    {
        return std::exchange(lectoro::UGCText::copyTarget(), target);
    }
    // Texts copied on this thread go to the arena while it lives.
    class CopyingTexts {
    public:
        explicit CopyingTexts(RecordArena* arena) : m_previous(exchangeCopyTarget(arena)) { }
        ~CopyingTexts() { exchangeCopyTarget(m_previous); }
        CopyingTexts(const CopyingTexts&) = delete;
        CopyingTexts& operator=(const CopyingTexts&) = delete;

    private:
        lectoro::UGCText::CopyTarget* m_previous;
    };

    // A list's records and texts are placed here one after the other: the usual case, room
    // left in the current block, stays inline.
    void* allocate(size_t bytes, size_t alignment)
    {
        size_t padding = (alignment - reinterpret_cast<uintptr_t>(m_next) % alignment) % alignment;
        if (!m_next || padding + bytes > m_left)
            return allocateInNewBlock(bytes, alignment);
        char* memory = m_next + padding;
        m_next = memory + bytes;
        m_left -= padding + bytes;
        return memory;
    }
    void* allocateInNewBlock(size_t bytes, size_t alignment);
    void deallocate(void*, size_t bytes);
    void hold() { m_holders.fetch_add(1, std::memory_order_relaxed); }
    void release();
    void addBlock(size_t atLeast);

    struct Block {
        char* start = nullptr;
        size_t size = 0;
    };
    std::vector<Block> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
    size_t m_expectedBytes = 0;
    // The Holder and every record not yet let go.
    std::atomic<size_t> m_holders { 1 };
};

class RecordArena::Holder {
public:
    Holder() = default;
    Holder(Holder&& other) noexcept : m_arena(std::exchange(other.m_arena, nullptr)) { }
    Holder& operator=(Holder&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_arena = std::exchange(other.m_arena, nullptr);
        }
        return *this;
    }
    ~Holder() { reset(); }

    RecordArena* operator->() const { return m_arena; }
    RecordArena& operator*() const { return *m_arena; }
    RecordArena* get() const { return m_arena; }
    void reset()
    {
        if (auto* arena = std::exchange(m_arena, nullptr))
            arena->release();
    }

private:
    friend class RecordArena;
    explicit Holder(RecordArena* arena) : m_arena(arena) { }
    RecordArena* m_arena = nullptr;
};

// What allocate_shared needs: each allocation holds the arena until it is deallocated.
template<class T>
class RecordArena::Allocator {
public:
    using value_type = T;

    explicit Allocator(RecordArena* arena) : m_arena(arena) { }
    template<class U>
    Allocator(const Allocator<U>& other) : m_arena(other.m_arena)
    {
    }

    T* allocate(size_t count)
    {
        void* memory = m_arena->allocate(count * sizeof(T), alignof(T));
        m_arena->hold();
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, size_t count)
    {
        m_arena->deallocate(memory, count * sizeof(T));
        m_arena->release();
    }

    template<class U>
    bool operator==(const Allocator<U>& other) const
    {
        return m_arena == other.m_arena;
    }

private:
    template<class U>
    friend class Allocator;
    RecordArena* m_arena;
};

} // namespace companion
