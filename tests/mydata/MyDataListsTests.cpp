// The My Data lists without views: which records each segment lists, the filters, and
// the row texts and colours.

#include "mydata/MyDataTestSupport.h"

#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/mydata/MyDataLists.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

#include <gmock/gmock.h>
#include <cstdlib>
#include <tuple>
#include <gtest/gtest.h>

namespace lectoro::mydatatest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// One record of every kind the lists tell apart.
MyDataRecords mixedRecords()
{
    return {
        record({ .localID = "ownHighlight" }),
        record({ .localID = "deletedHighlight", .status = UGCStatusDeleted }),
        record({ .localID = "ownNote", .noteText = "mine" }),
        record({ .localID = "receivedAnswered", .noteText = "theirs", .received = true }),
        record({ .localID = "receivedWaiting", .noteText = "wait", .received = true, .answered = false }),
        record({ .localID = "receivedSticky",
            .noteText = "sticky",
            .text = "",
            .received = true,
            .answered = false }),
        record({ .localID = "receivedPlainHighlight", .received = true, .answered = false }),
        record({ .localID = "deletedNote", .noteText = "gone", .status = UGCStatusDeleted }),
    };
}

TEST(MyDataListsTest, EachSegmentListsItsRecordsInTheOrderGiven)
{
    auto records = mixedRecords();
    EXPECT_THAT(localIDs(myHighlights(records)), ElementsAre("ownHighlight"));
    EXPECT_THAT(localIDs(myNotes(records)), ElementsAre("ownNote", "receivedAnswered"));
    EXPECT_THAT(localIDs(pendingNotes(records)), ElementsAre("receivedWaiting", "receivedSticky"));
}

TEST(MyDataListsTest, FiltersCompareColoursWithoutWritingThemIntoTheRecords)
{
    auto records = mixedRecords();
    records.push_back(record({ .localID = "greenHighlight", .color = "#00FF00" }));
    records.push_back(record({ .localID = "sharedHighlight", .color = "#00FF00", .received = true }));
    MyDataFilterState state;
    state.reset({});
    state.applyHighlightFilter({ "#FFFF00" }, false, false);
    EXPECT_EQ(state.highlightFilterColorsArray, std::vector<std::string> { "#ffff00" });
    EXPECT_THAT(localIDs(filteredHighlights(records, state)), ElementsAre("ownHighlight"));

    // Only the shared row: the accepted received highlights, whatever their colour.
    state.applyHighlightFilter({}, false, true);
    EXPECT_THAT(localIDs(filteredHighlights(records, state)), ElementsAre("sharedHighlight"));

    // A received note compares as the received colour.
    state.applyNotesFilter({}, { "#8FD5E1" }, false, false, false);
    EXPECT_THAT(localIDs(filteredNotes(records, state)), ElementsAre("receivedAnswered"));

    for (const auto& r : records) {
        if (r->localID == "greenHighlight" || r->localID == "sharedHighlight")
            EXPECT_EQ(r->backgroundColor, "#00FF00") << r->localID;
        else
            EXPECT_EQ(r->backgroundColor, "#FFFF00") << r->localID;
    }
}

TEST(MyDataListsTest, NotesFilterKeepsStickyAndContextualColoursApart)
{
    MyDataRecords records {
        record({ .localID = "stickyRed", .noteText = "a", .text = "", .color = "#FF0000" }),
        record({ .localID = "contextualRed", .noteText = "b", .color = "#FF0000" }),
        record({ .localID = "contextualBlue", .noteText = "c", .color = "#0000FF" }),
    };
    MyDataFilterState state;
    state.reset({});
    state.applyNotesFilter({ "#ff0000" }, { "#0000FF" }, false, false, false);
    EXPECT_THAT(localIDs(filteredNotes(records, state)), ElementsAre("stickyRed", "contextualBlue"));
    // Clearing keeps the last choice for the next filter.
    state.applyNotesFilter({}, {}, true, true, true);
    EXPECT_FALSE(state.notesWithFilter);
    EXPECT_EQ(state.contexualFilterColorsArray, std::vector<std::string> { "#0000ff" });
}

TEST(MyDataListsTest, RowColours)
{
    struct Case {
        const char* color;
        bool received;
        const char* expected;
    };
    for (auto c :
        { Case { "#", false, "#FFFF00" }, Case { "# ", false, "#FFFF00" }, Case { "", false, "#FFFF00" },
            Case { "#00FF00", false, "#00FF00" }, Case { "#00FF00", true, "#8fd5e1" } }) {
        auto r = record({ .localID = "x", .color = c.color, .received = c.received });
        EXPECT_EQ(myDataRowColorHex(*r), c.expected) << "colour '" << c.color << "'";
    }
}

TEST(MyDataListsTest, APageBookRowShowsPageFolioAndDate)
{
    auto note = record({ .localID = "n", .noteText = "note" });
    note->displayNum = "12";
    std::string date = NSStringExpanded::getLocalizedStringForDateString(
        NSStringExpanded::formattedLocalStringFromDate(*NSStringExpanded::utcDateFromString(note->getDisplayDate())));
    EXPECT_THAT(date, ::testing::HasSubstr("2024"));
    EXPECT_EQ(
        myDataDateText(*note, true), LocalizationHelper::localizedStringWithKey("PAGE") + ": 12  " + date);
    EXPECT_EQ(myDataDateText(*note, false), date);
}

// A row's date is the stored UTC stamp read as the local date and time a person reads,
// never the stamp with its milliseconds; a stamp that is no date is shown as it is.
TEST(MyDataListsTest, TheDateLineReadsAsALocalDateAndTime)
{
    struct Case {
        const char* stored;
        const char* shownInUTC;
    };
    const Case cases[] = { { "2023-11-14 22:13:20.250", "10:13 PM 14 November 2023" },
        { "2023-11-14 09:05:00", "09:05 AM 14 November 2023" }, { "yesterday", "yesterday" } };
    for (const auto& c : cases) {
        auto note = record({ .localID = "n", .noteText = "note" });
        note->createdDate = c.stored;
        note->modifiedDate = "";
        auto parsed = NSStringExpanded::utcDateFromString(c.stored);
        std::string expected = parsed ? NSStringExpanded::formattedLocalStringFromDate(*parsed) : c.stored;
        EXPECT_EQ(myDataDateText(*note, false), expected) << c.stored;
        // The test machine's zone is UTC; elsewhere only the shape is the same.
        if (const char* zone = std::getenv("TZ"); !zone || std::string(zone).empty() || std::string(zone) == "UTC")
            EXPECT_EQ(expected, c.shownInUTC);
    }
}

// A row names the chapter its record lies in: the record's own name, else the book's
// chapter for its file or file index; nothing the book cannot name.
TEST(MyDataListsTest, AnEpubRowNamesTheChapterItLiesIn)
{
    auto book = std::make_shared<EPUBBookVO>();
    for (const auto& [index, href, title] : { std::tuple { 0, "text/intro.xhtml", "Before We Begin" },
             std::tuple { 1, "text/storm.xhtml", "The Storm" }, std::tuple { 2, "text/notes.xhtml", "" } }) {
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = index;
        chapter->href = href;
        chapter->title = title;
        book->chapters.push_back(chapter);
    }
    struct Case {
        const char* own;
        const char* href;
        const char* page;
        const char* expected;
    };
    for (const auto& c : { Case { "Kept", "text/storm.xhtml", "1", "Kept" }, Case { "", "text/storm.xhtml#p2", "", "The Storm" },
             Case { "", "", "0", "Before We Begin" }, Case { "", "", "2", "" }, Case { "", "", "7", "" },
             Case { "", "", "1x", "" } }) {
        auto r = record({ .localID = "h" });
        r->chapterName = c.own;
        r->href = c.href;
        r->pageIdentifier = c.page;
        EXPECT_EQ(myDataChapterName(book.get(), *r), c.expected) << c.href << " / " << c.page;
    }
    auto unnamed = record({ .localID = "h" });
    unnamed->chapterName = "";
    EXPECT_EQ(myDataChapterName(nullptr, *unnamed), "") << "no book, no chapter to name";
}

TEST(MyDataListsTest, PageTargetsAndPageNumbers)
{
    auto r = record({ .localID = "r" });
    r->displayNum = "null";
    EXPECT_FALSE(myDataPageTarget(*r));
    r->displayNum = "";
    EXPECT_FALSE(myDataPageTarget(*r));
    r->displayNum = "iv";
    EXPECT_EQ(myDataPageTarget(*r), "iv");
    r->href = "c2.xhtml";
    EXPECT_EQ(myDataPageTarget(*r), "c2.xhtml");

    auto book = std::make_shared<PXBookVO>();
    auto chapter = std::make_shared<PXChapterVO>();
    chapter->pageIDs = { 101, 102 };
    book->chapters.push_back(chapter);
    for (auto [id, folio] : { std::pair<int64_t, const char*> { 101, "iv" }, { 102, "1" } }) {
        auto page = std::make_shared<PXPageVO>();
        page->pageID = id;
        page->displayNum = folio;
        book->pages[std::to_string(id)] = page;
        book->pageList.push_back(page);
    }
    EXPECT_EQ(getPageNumberForDisplayNumber(book.get(), "iv"), base::Value(101));
    EXPECT_EQ(getPageNumberForDisplayNumber(book.get(), "9"), base::Value("9"));
    auto epub = std::make_shared<EPUBBookVO>();
    EXPECT_EQ(getPageNumberForDisplayNumber(epub.get(), "iv"), base::Value("iv"));
}

} // namespace
} // namespace lectoro::mydatatest
