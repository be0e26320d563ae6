#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/media/player/MediaBookPosition.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

#include <gtest/gtest.h>

using namespace lectoro;

namespace {

std::shared_ptr<MVMediaBookChapterVO> positionChapter(const std::string& title, const std::string& component, double bookStart = 0)
{
    auto chapter = std::make_shared<MVMediaBookChapterVO>();
    chapter->chapterTitle = title;
    chapter->urlLastPathComponent = component;
    chapter->chapterStartTimeForBook = bookStart;
    return chapter;
}

std::shared_ptr<MVMediaBookTimeIndexVO> positionEntry(double start, double end, const std::string& file,
    const std::string& folio, std::optional<std::string> chapterTitle = std::nullopt)
{
    auto entry = std::make_shared<MVMediaBookTimeIndexVO>();
    entry->startTime = start;
    entry->endTime = end;
    entry->fileName = file;
    entry->folio = folio;
    entry->chapterTitle = std::move(chapterTitle);
    return entry;
}

std::shared_ptr<SDKBookmarkVO> positionBookmark(const std::string& id, base::Value metaData)
{
    auto bookmark = std::make_shared<SDKBookmarkVO>();
    bookmark->title = id;
    bookmark->metaData = std::move(metaData);
    return bookmark;
}

base::Value positionDict(std::initializer_list<base::Value::Dictionary::Entry> entries)
{
    return base::Value(base::Value::Dictionary(entries));
}

} // namespace

TEST(MediaBookPosition, SinglePackageLookupTakesTheFirstEntryHoldingTheTime)
{
    MVMediaBookModel model;
    model.mediaBookTitle = "Book";
    model.currentChapter = positionChapter("One", "a.m4a");
    model.timeIndexVOArray = std::vector { positionEntry(0, 60, "a.m4a", "F1"), positionEntry(60, 120, "a.m4a", "F2") };

    model.currentTime = 60;
    auto atBoundary = mediaBookMetaData(&model);
    EXPECT_EQ(atBoundary["folioID"].asString(), "F1");
    EXPECT_EQ(atBoundary["fileName"].asString(), "a.m4a");
    EXPECT_EQ(atBoundary["chapterName"].asString(), "One");
    EXPECT_EQ(atBoundary["currentTime"].asInteger(), 60);

    model.currentTime = 121;
    EXPECT_TRUE(mediaBookMetaData(&model).asDictionary()->empty());
    EXPECT_TRUE(mediaBookMetaData(nullptr).asDictionary()->empty());

    // Without a current chapter the book's title names the position.
    model.currentTime = 5;
    model.currentChapter = nullptr;
    EXPECT_EQ(mediaBookMetaData(&model)["chapterName"].asString(), "Book");
}

TEST(MediaBookPosition, MultiAudioEntryMatchesByChapterFileAndBookTime)
{
    MVMediaBookModel model;
    model.multiAudioPackage = true;
    auto storm = positionChapter("The Storm", "chapter-2.m4a#s", 5.892);
    model.currentChapter = storm;
    model.timeIndexVOArray = std::vector {
        positionEntry(0, 5.892, "chapter-1.m4a", "1.1", "The Lighthouse"),
        positionEntry(5.892, 7.891, "chapter-2.m4a", "2.1", "The Storm"),
        positionEntry(7.891, 9.891, "chapter-2.m4a", "2.2", "The Storm"),
    };
    // 3 s into the file is 8.892 s into the book: only the book-relative range holds it.
    model.currentTime = 3;
    auto position = mediaBookMetaData(&model);
    EXPECT_EQ(position, positionDict({ { "currentTime", 3 }, { "fileName", "chapter-2.m4a" },
                            { "chapterName", "The Storm" }, { "folioID", "2.2" } }));
}

TEST(MediaBookPosition, StartPositionReadsEitherKeyCase)
{
    MVMediaBookModel model;
    model.mediaBookAllChaptersArray = { positionChapter("One", "a.m4a"), positionChapter("Two", "b.m4a#x") };
    struct Case {
        const char* name;
        base::Value position;
        std::optional<std::string> chapter;
        int64_t seconds;
    };
    const Case cases[] = {
        { "upper case", positionDict({ { "FileName", "b.m4a" }, { "ChapterName", "Two" }, { "CurrentTime", 42 } }), "Two", 42 },
        { "lower case", positionDict({ { "fileName", "b.m4a" }, { "chapterName", "Two" }, { "currentTime", 7 } }), "Two", 7 },
        { "mixed, upper first",
            positionDict({ { "FileName", "a.m4a" }, { "fileName", "b.m4a" }, { "chapterName", "One" }, { "CurrentTime", 3 },
                { "currentTime", 9 } }),
            "One", 3 },
        { "a number under FileName falls back",
            positionDict({ { "FileName", 12 }, { "fileName", "a.m4a" }, { "ChapterName", "One" }, { "CurrentTime", 1 } }), "One", 1 },
        { "a time that is not whole starts at 0",
            positionDict({ { "fileName", "a.m4a" }, { "chapterName", "One" }, { "currentTime", 2.5 } }), "One", 0 },
        { "no chapter of that name", positionDict({ { "fileName", "a.m4a" }, { "chapterName", "Two" } }), std::nullopt, 0 },
        { "not a dictionary", base::Value("a.m4a"), std::nullopt, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto found = findMediaBookStartPosition(model, c.position);
        ASSERT_EQ(found.has_value(), c.chapter.has_value());
        if (found) {
            EXPECT_EQ(found->first->chapterTitle, c.chapter);
            EXPECT_EQ(found->second, c.seconds);
        }
    }
}

TEST(MediaBookPosition, BookmarksSortStablyByTimeAndFilterByChapterFile)
{
    auto at30 = positionBookmark("30", positionDict({ { "CurrentTime", 30 }, { "FileName", "b.m4a" } }));
    auto at10a = positionBookmark("10a", positionDict({ { "CurrentTime", 10 }, { "FileName", "a.m4a" } }));
    auto missing = positionBookmark("missing", positionDict({ { "fileName", "a.m4a" } }));
    auto at10b = positionBookmark("10b", positionDict({ { "CurrentTime", 10.0 }, { "FileName", 5 } }));
    auto sorted = MVLectoroMediaBookController::getSortedBookmarks({ at30, at10a, missing, at10b });
    EXPECT_EQ(sorted, (std::vector { missing, at10a, at10b, at30 }));

    auto anchored = positionChapter("One", "a.m4a#intro");
    auto kept = mediaBookChapterBookmarks(sorted, anchored);
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, (std::vector { missing, at10a }));
    EXPECT_FALSE(mediaBookChapterBookmarks(sorted, nullptr));
}

TEST(MediaBookPosition, TypeFromRawValue)
{
    EXPECT_EQ(mediaBookTypeFromRawValue(0), MediaBookType::audio);
    EXPECT_EQ(mediaBookTypeFromRawValue(1), MediaBookType::video);
    EXPECT_EQ(mediaBookTypeFromRawValue(2), std::nullopt);
}
