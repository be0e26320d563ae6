#include "companion/media/MediaBookTestSupport.h"

#include "companion/books/BookErrors.h"
#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mediabooktest;
using companiontest::samplePath;
using companiontest::writeFile;
using lectoro::MVMediaBookModel;
using lectoro::MVMediaBookTimeIndexVO;

namespace {

std::string folioAt(const MVMediaBookModel& model, size_t chapter, int64_t time)
{
    MVMediaBookModel probe = model;
    probe.currentChapter = model.mediaBookAllChaptersArray.at(chapter);
    probe.currentTime = time;
    auto entry = probe.timeIndexEntryForCurrentPosition();
    return entry ? entry->folio.value_or("(no folio)") : "(none)";
}

} // namespace

TEST(MediaBookParser, AudioSampleHasThreeChaptersWithTheDurationsOfTheirFiles)
{
    auto parsed = parse(modelFor(samplePath("sample-audiobook")));
    ASSERT_TRUE(parsed.ok()) << parsed.error().description();
    const auto& model = *parsed.value();
    EXPECT_EQ(model.mediaBookTitle, "The Keeper of the Light");
    EXPECT_TRUE(model.multiAudioPackage);
    ASSERT_TRUE(model.chapters);
    ASSERT_EQ(model.chapters->size(), 3u);
    ASSERT_EQ(model.mediaBookAllChaptersArray.size(), 3u);
    // What ffprobe measured when the samples were made (time-index.json keeps the spans).
    const double measured[] = { 5.892, 3.999, 5.355 };
    const char* titles[] = { "The Lighthouse", "The Storm", "The Morning After" };
    double bookTime = 0;
    for (size_t i = 0; i < 3; ++i) {
        const auto& chapter = *model.mediaBookAllChaptersArray[i];
        EXPECT_EQ(chapter.chapterTitle, titles[i]);
        EXPECT_EQ(chapter.filePart(), "chapter-" + std::to_string(i + 1) + ".m4a");
        EXPECT_NEAR(static_cast<double>(chapter.avAssetTotalTime), measured[i], 1.0) << titles[i];
        EXPECT_NEAR(chapter.chapterStartTimeForBook, bookTime, 0.1) << titles[i];
        EXPECT_FALSE(chapter.transcript.empty());
        bookTime += measured[i];
    }
    ASSERT_TRUE(model.timeIndexVOArray);
    EXPECT_EQ(model.timeIndexVOArray->size(), 6u);
    EXPECT_FALSE(model.mediaSupportedAudios);
}

TEST(MediaBookParser, TimeIndexLookupAtChapterBoundaries)
{
    auto parsed = parse(modelFor(samplePath("sample-audiobook")));
    ASSERT_TRUE(parsed.ok()) << parsed.error().description();
    const auto& book = *parsed.value();
    // The multi-audio rule: an entry of the chapter's own file, by file time or book time.
    EXPECT_EQ(folioAt(book, 0, 0), "1.1");
    EXPECT_EQ(folioAt(book, 0, 5), "1.2");
    EXPECT_EQ(folioAt(book, 1, 0), "2.1"); // book time 5.892: the first second of chapter 2
    EXPECT_EQ(folioAt(book, 2, 0), "3.1");

    // A single package: a boundary belongs to the earlier entry; past the last, nothing.
    MVMediaBookModel single;
    single.timeIndexVOArray.emplace();
    for (auto [start, end, folio] : { std::tuple { 0.0, 60.0, "F1" }, std::tuple { 60.0, 120.0, "F2" } }) {
        auto entry = std::make_shared<MVMediaBookTimeIndexVO>();
        entry->startTime = start;
        entry->endTime = end;
        entry->fileName = "book.m4a";
        entry->folio = folio;
        single.timeIndexVOArray->push_back(entry);
    }
    const std::pair<int64_t, const char*> cases[] = { { 0, "F1" }, { 60, "F1" }, { 61, "F2" }, { 120, "F2" }, { 121, "(none)" } };
    for (auto [time, folio] : cases) {
        single.currentTime = time;
        auto entry = single.timeIndexEntryForCurrentPosition();
        EXPECT_EQ(entry ? *entry->folio : "(none)", folio) << "at " << time;
    }
}

TEST(MediaBookParser, StreamedSamplesOfferTheirResolutionsSubtitlesAndLanguages)
{
    auto video = parse(modelFor(samplePath("sample-videobook")), true);
    ASSERT_TRUE(video.ok()) << video.error().description();
    const auto& film = *video.value();
    ASSERT_EQ(film.mediaBookAllChaptersArray.size(), 2u);
    // Two chapters of one six-second stream, the second from 3 s.
    EXPECT_EQ(film.mediaBookAllChaptersArray[0]->avAssetTotalTime, 3);
    EXPECT_EQ(film.mediaBookAllChaptersArray[1]->avAssetTotalTime, 3);
    EXPECT_EQ(film.mediaBookAllChaptersArray[1]->urlLastPathComponent, "master.m3u8#counting");
    EXPECT_EQ(film.mediaBookAllChaptersArray[1]->filePart(), "master.m3u8");
    EXPECT_EQ(film.mediaSupportedResolutions, (std::vector<std::string> { "180p", "90p" }));
    EXPECT_EQ(film.mediaSupportedSubtitles, (std::vector<std::string> { "English", "Deutsch" }));

    auto languages = parse(modelFor(samplePath("sample-multiaudio")));
    ASSERT_TRUE(languages.ok()) << languages.error().description();
    EXPECT_EQ(languages.value()->mediaSupportedAudios, (std::vector<std::string> { "English", "Deutsch" }));
    EXPECT_EQ(languages.value()->mediaBookAllChaptersArray.size(), 2u);
    EXPECT_EQ(folioAt(*languages.value(), 1, 0), "2");
}

TEST(MediaBookParser, BrokenBooksFailWithAClearErrorAndLeaveTheModelAlone)
{
    companion::testing::TemporaryFolder folder;
    auto audio = samplePath("sample-audiobook") + "/audio/chapter-2.m4a";
    const std::string goodChapter = R"({"title": "A", "src": "a.m4a"})";
    struct Case {
        const char* name;
        std::string toc;
        std::string timeIndex;
        companion::BookError expected;
    };
    const Case cases[] = {
        { "no toc", "", "", companion::BookError::Malformed },
        { "toc not JSON", "{chapters", "", companion::BookError::Malformed },
        { "chapters not a list", R"({"chapters": {}})", "", companion::BookError::Malformed },
        { "chapter without media", R"({"chapters": [{"title": "A"}]})", "", companion::BookError::Malformed },
        { "media outside the book", R"({"chapters": [{"src": "../../etc/passwd"}]})", "", companion::BookError::UnsafePath },
        { "absolute media path", R"({"chapters": [{"src": "/etc/passwd"}]})", "", companion::BookError::UnsafePath },
        { "missing media file", R"({"chapters": [{"src": "gone.m4a"}]})", "", companion::BookError::MissingFolder },
        { "negative start", R"({"chapters": [{"src": "a.m4a", "start": -1}]})", "", companion::BookError::Malformed },
        { "end before start", "{\"chapters\": [" + goodChapter + "]}",
            R"({"timeIndex": [{"startTime": 5, "endTime": 2, "fileName": "a.m4a", "folio": "1"}]})", companion::BookError::Malformed },
        { "time index not a list", "{\"chapters\": [" + goodChapter + "]}", R"({"timeIndex": 3})", companion::BookError::Malformed },
        { "another book's folder", "{\"bookId\": \"77\", \"chapters\": [" + goodChapter + "]}", "", companion::BookError::Malformed },
    };
    for (const auto& test : cases) {
        auto book = folder.path() / test.name;
        std::filesystem::create_directories(book);
        std::filesystem::copy_file(audio, book / "a.m4a");
        if (!test.toc.empty())
            writeFile(book / "toc.json", test.toc);
        if (!test.timeIndex.empty())
            writeFile(book / "time-index.json", test.timeIndex);
        auto model = modelFor(book.string(), "78");
        model->mediaBookTitle = "Before";
        auto parsed = parse(model);
        ASSERT_FALSE(parsed.ok()) << test.name;
        EXPECT_EQ(parsed.error().domain, companion::bookErrorDomain) << test.name;
        if (test.expected != companion::BookError::MissingFolder) {
            EXPECT_EQ(parsed.error().code, static_cast<int64_t>(test.expected)) << test.name << ": " << parsed.error().description();
        }
        EXPECT_EQ(model->mediaBookTitle, "Before") << test.name;
        EXPECT_FALSE(model->chapters) << test.name;
    }
}

TEST(MediaBookParser, ABookWithoutTimeIndexPlaysWithAnEmptyIndex)
{
    companion::testing::TemporaryFolder folder;
    std::filesystem::copy_file(samplePath("sample-audiobook") + "/audio/chapter-2.m4a", folder.path() / "a.m4a");
    writeFile(folder.path() / "toc.json", R"({"title": "Short", "chapters": [{"src": "a.m4a"}]})");
    auto parsed = parse(modelFor(folder.string()));
    ASSERT_TRUE(parsed.ok()) << parsed.error().description();
    ASSERT_TRUE(parsed.value()->timeIndexVOArray);
    EXPECT_TRUE(parsed.value()->timeIndexVOArray->empty());
    EXPECT_EQ(parsed.value()->mediaBookAllChaptersArray.at(0)->chapterTitle, std::nullopt);
}
