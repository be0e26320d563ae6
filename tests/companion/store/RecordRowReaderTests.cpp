// Rows past the first few dozen are stepped on a helper thread and handed over in
// batches: whatever the count and sizes, the caller must get every row, in order, with its
// bytes intact, and a failure on either side must end the read without a hang.

#include "companion/store/RecordRowReader.h"
#include "companion/store/SqliteDatabase.h"
#include "companion/store/TemporaryFolder.h"
#include "companion/testing/StorageFaults.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using companion::RecordRow;
using companion::SqliteDatabase;
using companion::testing::TemporaryFolder;

namespace {

struct TakenRow {
    std::string localID, ugcID, payload, pageIdentifier, displayNum, fields;
    int64_t status = 0, family = 0, flags = 0;
    bool operator==(const TakenRow&) const = default;
};

TakenRow taken(const RecordRow& row)
{
    return { std::string(row.localID), std::string(row.ugcID), std::string(row.payload),
        std::string(row.pageIdentifier), std::string(row.displayNum), std::string(row.fields), row.status,
        row.family, row.flags };
}

// Row `index` as written: a payload far larger than a batch every `largeEvery` rows, and
// bytes SQLite must hand back whole (a NUL inside "fields").
TakenRow expectedRow(int index, int largeEvery)
{
    TakenRow row;
    row.localID = "local-" + std::to_string(index);
    row.ugcID = index % 3 ? "-1" : std::to_string(9000 + index);
    row.payload = largeEvery && index % largeEvery == largeEvery - 1 ? std::string(200 * 1024, 'p') : "";
    row.pageIdentifier = std::to_string(index % 40);
    row.displayNum = std::to_string(index % 40 + 1);
    row.fields = std::string("f\0", 2) + std::to_string(index);
    row.status = 1 + index % 2;
    row.family = 1;
    row.flags = index % 128;
    return row;
}

class RecordRowReaderTest : public ::testing::Test {
protected:
    void open(const std::string& vfs = {}, const std::string& file = "rows.sqlite")
    {
        database = SqliteDatabase::open((folder.path() / file).string(), vfs).value();
    }
    void fill(int count, int largeEvery)
    {
        ASSERT_TRUE(database->execute("CREATE TABLE rows (local_id TEXT, ugc_id TEXT, payload TEXT, "
                                      "page_identifier TEXT, display_num TEXT, fields BLOB, state INTEGER)"));
        ASSERT_TRUE(database->execute("BEGIN"));
        for (int index = 0; index < count; ++index) {
            auto row = expectedRow(index, largeEvery);
            auto* insert = database->statement("INSERT INTO rows VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
            ASSERT_NE(insert, nullptr);
            int64_t state = row.status | (row.family << 32) | (row.flags << 40);
            ASSERT_TRUE(insert->bind(1, row.localID)
                            .bind(2, row.ugcID)
                            .bind(3, row.payload)
                            .bind(4, row.pageIdentifier)
                            .bind(5, row.displayNum)
                            .bindBlob(6, row.fields)
                            .bind(7, state)
                            .run());
        }
        ASSERT_TRUE(database->execute("COMMIT"));
    }
    companion::SqliteStatement& select()
    {
        static const std::string sql = std::string("SELECT ") + companion::recordSelectColumns + " FROM rows ORDER BY rowid";
        return *database->statement(sql.c_str());
    }

    TemporaryFolder folder;
    std::unique_ptr<SqliteDatabase> database;
};

TEST_F(RecordRowReaderTest, EveryRowComesInOrderAndWhole)
{
    struct Case {
        int rows;
        int largeEvery;
    };
    const Case cases[] = {
        { 0, 0 },
        { 1, 0 },
        { static_cast<int>(companion::rowsReadBeforeHelper), 0 },
        { static_cast<int>(companion::rowsReadBeforeHelper) + 1, 0 },
        { 3000, 0 },
        // Rows larger than a batch, among small ones and one after another.
        { 1200, 97 },
        { 600, 1 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::to_string(testCase.rows) + " rows, large every " + std::to_string(testCase.largeEvery));
        open({}, "rows-" + std::to_string(testCase.rows) + "-" + std::to_string(testCase.largeEvery) + ".sqlite");
        fill(testCase.rows, testCase.largeEvery);
        std::vector<TakenRow> rows;
        EXPECT_TRUE(companion::readRecordRows(select(), companion::recordRowAt, [&](const RecordRow& row) { rows.push_back(taken(row)); }));
        ASSERT_EQ(rows.size(), static_cast<size_t>(testCase.rows));
        for (int index = 0; index < testCase.rows; ++index)
            ASSERT_EQ(rows[index], expectedRow(index, testCase.largeEvery)) << "row " << index;
        database.reset();
    }
}

// The caller lays out a long list's records differently, so it must hear of a long list before
// the rows past the first few, and never of a list that ends with the first batch.
TEST_F(RecordRowReaderTest, ALongListIsToldOnceBeforeTheHelpersRows)
{
    const auto here = static_cast<int>(companion::rowsReadBeforeHelper);
    const auto batch = static_cast<int>(companion::rowsPerBatch);
    struct Case {
        int rows;
        int largeEvery;
        int toldAfter; // rows taken when told; -1: never told
    };
    const Case cases[] = {
        { here, 0, -1 },
        { here + 1, 0, -1 },
        { here + batch, 0, -1 },
        { here + batch + 1, 0, here },
        { 3000, 0, here },
        // Rows larger than a batch fill a batch early: more rows follow the first one.
        { here + 3, 1, here },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::to_string(testCase.rows) + " rows, large every " + std::to_string(testCase.largeEvery));
        open({}, "told-" + std::to_string(testCase.rows) + "-" + std::to_string(testCase.largeEvery) + ".sqlite");
        fill(testCase.rows, testCase.largeEvery);
        int taken = 0;
        std::vector<int> told;
        EXPECT_TRUE(companion::readRecordRows(
            select(), companion::recordRowAt, [&](const RecordRow&) { ++taken; }, [&] { told.push_back(taken); }));
        EXPECT_EQ(taken, testCase.rows);
        EXPECT_EQ(told, testCase.toldAfter < 0 ? std::vector<int> {} : std::vector<int> { testCase.toldAfter });
        database.reset();
    }
}

TEST_F(RecordRowReaderTest, AnExceptionFromTheCallerStopsTheHelperAndLeavesTheConnectionUsable)
{
    open();
    fill(5000, 0);
    for (int failingRow : { 10, 300, 4000 }) {
        SCOPED_TRACE(failingRow);
        int seen = 0;
        auto& statement = select();
        EXPECT_THROW(companion::readRecordRows(statement, companion::recordRowAt,
                         [&](const RecordRow&) {
                             if (++seen == failingRow)
                                 throw std::runtime_error("no room for the record");
                         }),
            std::runtime_error);
        EXPECT_EQ(seen, failingRow);
        statement.reset();
        int count = 0;
        EXPECT_TRUE(companion::readRecordRows(select(), companion::recordRowAt, [&](const RecordRow&) { ++count; }));
        EXPECT_EQ(count, 5000);
    }
}

TEST_F(RecordRowReaderTest, StorageFailingWhileTheHelperStepsEndsTheReadAsFailed)
{
    companion::testing::PowerCutVfs vfs;
    open(vfs.name());
    fill(5000, 0);
    // A new connection: the rows' pages are read from the file as the helper steps.
    database.reset();
    open(vfs.name());
    int seen = 0;
    bool ok = companion::readRecordRows(select(), companion::recordRowAt, [&](const RecordRow&) {
        if (++seen == 100)
            vfs.cutNow();
    });
    EXPECT_FALSE(ok);
    EXPECT_LT(seen, 5000);
    // The connection goes before its VFS.
    database.reset();
}

} // namespace
