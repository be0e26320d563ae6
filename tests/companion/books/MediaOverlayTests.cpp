// Media overlays: SMIL clock values, and a narrated chapter's overlay read into its
// narration list, or refused as a whole when it cannot be trusted.

#include "companion/books/EpubBookLoader.h"
#include "companion/books/MediaOverlay.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"

#include "companion/SampleBooks.h"
#include "companion/store/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;
using companion::testing::TemporaryFolder;
using companiontest::writeFile;

TEST(MediaOverlayClock, ReadsEverySmilFormAndRefusesTheRest)
{
    struct Case {
        const char* text;
        std::optional<double> seconds;
    };
    const Case cases[] = {
        { "1.5s", 1.5 },
        { "1.5", 1.5 },
        { "120ms", 0.12 },
        { "2min", 120 },
        { "0.5h", 1800 },
        { "7", 7 },
        { "00:02.5", 2.5 },
        { "01:00", 60 },
        { "0:00:07.334", 7.334 },
        { "1:02:03", 3723 },
        { "124:00:00", 446400 },
        { " 3s ", 3 },
        { "", std::nullopt },
        { "s", std::nullopt },
        { "-1s", std::nullopt },
        { "+1s", std::nullopt },
        { "1.s", std::nullopt },
        { ".5s", std::nullopt },
        { "1e3", std::nullopt },
        { "1.5sec", std::nullopt },
        { "nan", std::nullopt },
        { "inf", std::nullopt },
        { "1:2:03", std::nullopt },
        { "00:60", std::nullopt },
        { "00:05:60", std::nullopt },
        { "00:5", std::nullopt },
        { "1:00:00:00", std::nullopt },
        { "00:05.", std::nullopt },
        { "0x10", std::nullopt },
        { "1 s", std::nullopt },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        auto seconds = companion::parseClockValue(testCase.text);
        ASSERT_EQ(seconds.has_value(), testCase.seconds.has_value());
        if (seconds) {
            EXPECT_DOUBLE_EQ(*seconds, *testCase.seconds);
        }
    }
}

// A one-chapter book whose chapter names the overlay "text/one.smil"; the audio file
// "audio/one.m4a" exists. `overlay` is the SMIL document, empty for none at all.
class OverlayBook : public ::testing::Test {
protected:
    void write(const std::string& overlay, const std::string& overlayItem = "one-overlay")
    {
        writeFile(root() / "META-INF/container.xml", R"(<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles><rootfile full-path="OPS/package.opf" media-type="application/oebps-package+xml"/></rootfiles>
</container>)");
        writeFile(root() / "OPS/package.opf", R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="uid">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier id="uid">overlay-book</dc:identifier><dc:title>Overlay</dc:title><dc:language>en</dc:language>
  </metadata>
  <manifest>
    <item id="one" href="text/one.xhtml" media-type="application/xhtml+xml" media-overlay=")"
                + overlayItem + R"("/>
    <item id="two" href="text/two.xhtml" media-type="application/xhtml+xml"/>
    <item id="one-overlay" href="text/one.smil" media-type="application/smil+xml"/>
  </manifest>
  <spine><itemref idref="one"/><itemref idref="two"/></spine>
</package>)");
        writeFile(root() / "OPS/text/one.xhtml", R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>One</title></head>
<body><p id="p1"><span id="w1">Low</span> <span id="w2">tide</span> <span id="w3">now.</span></p></body></html>)");
        writeFile(root() / "OPS/text/two.xhtml", R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>Two</title></head><body><p>Unread.</p></body></html>)");
        writeFile(root() / "OPS/audio/one.m4a", "sound");
        if (!overlay.empty())
            writeFile(root() / "OPS/text/one.smil", overlay);
    }

    static std::string smil(const std::string& pars)
    {
        return R"(<?xml version="1.0" encoding="UTF-8"?>
<smil xmlns="http://www.w3.org/ns/SMIL" version="3.0"><body><seq>)"
            + pars + "</seq></body></smil>";
    }

    static std::string par(const std::string& text, const std::string& audio, const std::string& clip = "")
    {
        return R"(<par><text src=")" + text + R"("/><audio src=")" + audio + "\" " + clip + "/></par>";
    }

    std::shared_ptr<companion::EpubBook> load(const companion::BookBudget& budget = {})
    {
        auto book = companion::loadEpubBook(root().string(), budget);
        EXPECT_TRUE(book.ok()) << (book.ok() ? "" : book.error().localizedDescription());
        return book.ok() ? book.value() : nullptr;
    }

    fs::path root() const { return m_folder.path() / "book"; }

    TemporaryFolder m_folder;
};

TEST_F(OverlayBook, ReadsThePairsOfTheChapterInReadingOrder)
{
    // Nested sequences, a pair for another chapter, a pair without audio, every clock form.
    write(smil(par("one.xhtml#w1", "../audio/one.m4a", R"(clipBegin="0s" clipEnd="0.4s")")
        + "<seq>" + par("one.xhtml#w2", "../audio/one.m4a", R"(clipBegin="00:00.400" clipEnd="0:00:00.9")")
        + par("two.xhtml#x", "../audio/one.m4a", R"(clipBegin="5s" clipEnd="6s")") + "</seq>"
        + R"(<par><text src="one.xhtml#p1"/></par>)"
        + par("one.xhtml#w3", "../audio/one.m4a", R"(clipBegin="900ms")")));
    auto book = load();
    ASSERT_TRUE(book);
    const auto& chapter = *book->chapters[0];
    ASSERT_TRUE(chapter.isAudioSyncSupported);
    EXPECT_TRUE(book->isAudioSyncSupported);
    EXPECT_TRUE(book->overlayProblems().empty());
    EXPECT_FALSE(book->chapters[1]->isAudioSyncSupported);
    const auto& clips = chapter.audioSyncArray;
    ASSERT_EQ(clips.count(), 3u);
    EXPECT_EQ(clips.at(0)["wordId"].asString(), "w1");
    EXPECT_EQ(clips.at(1)["wordId"].asString(), "w2");
    EXPECT_EQ(clips.at(2)["wordId"].asString(), "w3");
    EXPECT_DOUBLE_EQ(clips.at(1)["start"].doubleValue(), 0.4);
    EXPECT_DOUBLE_EQ(clips.at(1)["end"].doubleValue(), 0.9);
    EXPECT_DOUBLE_EQ(clips.at(2)["start"].doubleValue(), 0.9);
    EXPECT_TRUE(clips.at(2)["end"].isNull()) << "a clip without an end plays to the end of its file";
    EXPECT_EQ(clips.at(0)["audio"].asString(), "OPS/audio/one.m4a");
}

TEST_F(OverlayBook, AnOverlayThatCannotBeTrustedLeavesTheChapterUnnarrated)
{
    fs::create_directories(m_folder.path() / "outside");
    writeFile(m_folder.path() / "outside/secret.m4a", "sound");
    const std::string good = R"(clipBegin="0s" clipEnd="1s")";
    struct Case {
        const char* name;
        std::string overlay;
        std::string overlayItem = "one-overlay";
        std::function<void(const fs::path&)> prepare = {};
    };
    const Case cases[] = {
        { "no overlay document", "" },
        { "an overlay the manifest lacks", smil(par("one.xhtml#w1", "../audio/one.m4a", good)), "nowhere" },
        { "not XML", "<smil><body><par>" },
        { "not SMIL", R"(<?xml version="1.0"?><html><body/></html>)" },
        { "a malformed clip begin", smil(par("one.xhtml#w1", "../audio/one.m4a", R"(clipBegin="soon" clipEnd="1s")")) },
        { "a malformed clip end", smil(par("one.xhtml#w1", "../audio/one.m4a", R"(clipBegin="0s" clipEnd="1:2:3")")) },
        { "a clip ending before it begins", smil(par("one.xhtml#w1", "../audio/one.m4a", R"(clipBegin="2s" clipEnd="1s")")) },
        { "audio climbing out of the book", smil(par("one.xhtml#w1", "../../../outside/secret.m4a", good)) },
        { "audio climbing out, percent-encoded", smil(par("one.xhtml#w1", "%2E%2E/%2E%2E/%2E%2E/outside/secret.m4a", good)) },
        { "audio at an absolute path", smil(par("one.xhtml#w1", (m_folder.path() / "outside/secret.m4a").string(), good)) },
        { "audio at a file address", smil(par("one.xhtml#w1", "file:///etc/passwd", good)) },
        { "audio on the web", smil(par("one.xhtml#w1", "https://example.com/one.m4a", good)) },
        { "missing audio", smil(par("one.xhtml#w1", "../audio/gone.m4a", good)) },
        { "audio through a link leading out", smil(par("one.xhtml#w1", "../audio/linked.m4a", good)),
            "one-overlay",
            [this](const fs::path& root) {
                fs::create_symlink(m_folder.path() / "outside/secret.m4a", root / "OPS/audio/linked.m4a");
            } },
        { "a good clip, then a bad one",
            smil(par("one.xhtml#w1", "../audio/one.m4a", good) + par("one.xhtml#w2", "../audio/one.m4a", R"(clipBegin="x")")) },
        { "nothing of the chapter narrated", smil(par("two.xhtml#x", "../audio/one.m4a", good)) },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        fs::remove_all(root());
        write(testCase.overlay, testCase.overlayItem);
        if (testCase.prepare)
            testCase.prepare(root());
        auto book = load();
        ASSERT_TRUE(book) << "the book still opens";
        const auto& chapter = *book->chapters[0];
        EXPECT_FALSE(chapter.isAudioSyncSupported);
        EXPECT_EQ(chapter.audioSyncArray.count(), 0u);
        EXPECT_FALSE(book->isAudioSyncSupported) << "no read-aloud for a book with nothing to narrate";
        ASSERT_EQ(book->overlayProblems().size(), 1u);
        EXPECT_EQ(book->overlayProblems()[0].rfind("text/one.xhtml: ", 0), 0u) << book->overlayProblems()[0];
    }
}

TEST_F(OverlayBook, AnOverlayPastTheBudgetIsRefused)
{
    std::string pars;
    for (int index = 0; index < 5; ++index)
        pars += par("one.xhtml#w1", "../audio/one.m4a", R"(clipBegin="0s")");
    write(smil(pars));
    companion::BookBudget budget;
    budget.maxOverlayClips = 4;
    auto book = load(budget);
    ASSERT_TRUE(book);
    EXPECT_FALSE(book->chapters[0]->isAudioSyncSupported);
    ASSERT_EQ(book->overlayProblems().size(), 1u);
    EXPECT_NE(book->overlayProblems()[0].find("maxOverlayClips"), std::string::npos);
    budget.maxOverlayClips = 5;
    book = load(budget);
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->chapters[0]->isAudioSyncSupported);
}

} // namespace
