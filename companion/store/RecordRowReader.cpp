#include "companion/store/RecordRowReader.h"

#include "companion/store/RecordArena.h"
#include "companion/store/SqliteDatabase.h"

#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace companion {

namespace {

// Rows copied out of the statement: their texts end to end in `bytes`, which is not
// replaced while the batch holds rows, so the rows' views into it stay valid. A batch's
// memory is the read's own scratch arena (see RowPipe).
struct RowBatch {
    template<class T>
    using Scratch = std::vector<T, RecordArena::Allocator<T>>;
    explicit RowBatch(RecordArena* scratch) : bytes(RecordArena::Allocator<char>(scratch)), rows(RecordArena::Allocator<RecordRow>(scratch)) { }
    Scratch<char> bytes;
    size_t used = 0;
    Scratch<RecordRow> rows;
    // Whether the helper had already stepped a row that follows this batch.
    bool more = false;
};

constexpr size_t bytesPerBatch = 64 * 1024;
// Enough for the helper to run ahead of the caller without holding a whole book's rows.
constexpr size_t batchesInFlight = 4;
// The batches' memory, in one huge page: in a new process, memory in ordinary pages costs a
// page fault each 4 KB the first time it is written.
constexpr size_t scratchBytes = batchesInFlight * (bytesPerBatch + rowsPerBatch * sizeof(RecordRow));

size_t textBytes(const RecordRow& row)
{
    return row.localID.size() + row.ugcID.size() + row.payload.size() + row.pageIdentifier.size()
        + row.displayNum.size() + row.fields.size();
}

// Copies the row into the batch; false when it does not fit beside the rows already there.
// The helper's share of a book's list is SQLite's step and this copy: a plain copy of each
// text that has bytes keeps it short.
bool append(RowBatch& batch, const RecordRow& row)
{
    size_t size = textBytes(row);
    if (batch.used + size > batch.bytes.size()) {
        if (!batch.rows.empty())
            return false;
        // A row larger than a batch (a long payload) gets a batch of its own.
        batch.bytes.resize(size);
    }
    RecordRow copied = row;
    for (std::string_view* text : { &copied.localID, &copied.ugcID, &copied.payload, &copied.pageIdentifier,
             &copied.displayNum, &copied.fields }) {
        if (text->empty()) {
            *text = {};
            continue;
        }
        char* at = batch.bytes.data() + batch.used;
        std::memcpy(at, text->data(), text->size());
        batch.used += text->size();
        *text = std::string_view(at, text->size());
    }
    batch.rows.push_back(copied);
    return true;
}

// The batches between the helper (filling) and the caller (taking).
class RowPipe {
public:
    RowPipe() : m_scratch(RecordArena::make(scratchBytes))
    {
        for (size_t index = 0; index < batchesInFlight; ++index) {
            auto batch = std::make_unique<RowBatch>(m_scratch.get());
            batch->bytes.resize(bytesPerBatch);
            batch->rows.reserve(rowsPerBatch);
            m_empty.push_back(std::move(batch));
        }
    }

    // Helper: an empty batch to fill; null once the caller stopped taking.
    std::unique_ptr<RowBatch> emptyBatch()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || !m_empty.empty(); });
        if (m_stopped)
            return nullptr;
        auto batch = std::move(m_empty.front());
        m_empty.pop_front();
        return batch;
    }
    // Helper: a filled batch for the caller.
    void handOver(std::unique_ptr<RowBatch> batch)
    {
        change([&] { m_filled.push_back(std::move(batch)); });
    }
    // Helper: no more rows.
    void finish()
    {
        change([&] { m_finished = true; });
    }

    // Caller: the next filled batch; null when the helper finished and all were taken.
    std::unique_ptr<RowBatch> filledBatch()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished || !m_filled.empty(); });
        if (m_filled.empty())
            return nullptr;
        auto batch = std::move(m_filled.front());
        m_filled.pop_front();
        return batch;
    }
    // Caller: a batch taken, to be filled again.
    void giveBack(std::unique_ptr<RowBatch> batch)
    {
        batch->used = 0;
        batch->rows.clear();
        batch->more = false;
        change([&] { m_empty.push_back(std::move(batch)); });
    }
    // Caller: no more batches wanted (it is leaving early).
    void stop()
    {
        change([&] { m_stopped = true; });
    }

private:
    // Changes the pipe's state under its lock and wakes whoever waits on it.
    template<class Change>
    void change(Change&& apply)
    {
        {
            std::lock_guard lock(m_mutex);
            apply();
        }
        m_changed.notify_all();
    }

    // Every batch's memory; its blocks go back for the next read when the last batch goes.
    RecordArena::Holder m_scratch;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<RowBatch>> m_empty;
    std::deque<std::unique_ptr<RowBatch>> m_filled;
    bool m_finished = false;
    bool m_stopped = false;
};

void stepIntoBatches(SqliteStatement& statement, RecordRowReading rowAt, RowPipe& pipe)
{
    auto batch = pipe.emptyBatch();
    while (batch && statement.step()) {
        auto row = rowAt(statement, 0);
        // A full batch is handed over once the row after it is stepped, so the caller knows
        // that more follow.
        if (batch->rows.size() == rowsPerBatch || !append(*batch, row)) {
            batch->more = true;
            pipe.handOver(std::move(batch));
            batch = pipe.emptyBatch();
            if (!batch)
                break;
            append(*batch, row);
        }
    }
    if (batch && !batch->rows.empty())
        pipe.handOver(std::move(batch));
    pipe.finish();
}

// Joins the helper however the caller leaves.
class HelperThread {
public:
    HelperThread(RowPipe& pipe, std::thread thread) : m_pipe(pipe), m_thread(std::move(thread)) { }
    ~HelperThread()
    {
        m_pipe.stop();
        m_thread.join();
    }

private:
    RowPipe& m_pipe;
    std::thread m_thread;
};

} // namespace

bool readRecordRows(SqliteStatement& statement, RecordRowReading rowAt, const std::function<void(const RecordRow&)>& take,
    const std::function<void()>& longList)
{
    // Steps up to `most` rows here; false once the statement has no more.
    auto readHere = [&](size_t most) {
        for (size_t read = 0; read < most; ++read) {
            if (!statement.step())
                return false;
            take(rowAt(statement, 0));
        }
        return true;
    };
    if (!readHere(rowsReadBeforeHelper))
        return statement.ok();
    RowPipe pipe;
    bool helperFailed = false;
    std::thread thread;
    try {
        thread = std::thread([&] {
            try {
                stepIntoBatches(statement, rowAt, pipe);
            } catch (const std::bad_alloc&) {
                // Out of memory while copying rows: the list is reported unread.
                helperFailed = true;
                pipe.finish();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: the rest is read here.
        readHere(SIZE_MAX);
        return statement.ok();
    }
    {
        HelperThread helper(pipe, std::move(thread));
        bool toldLong = false;
        while (auto batch = pipe.filledBatch()) {
            if (batch->more && !toldLong && longList) {
                toldLong = true;
                longList();
            }
            for (const auto& row : batch->rows)
                take(row);
            pipe.giveBack(std::move(batch));
        }
    }
    // The helper has been joined: what it wrote is seen here.
    return statement.ok() && !helperFailed;
}

} // namespace companion
