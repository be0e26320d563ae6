// An open reflowable book as the reader shows it around the text: the reading time left in
// the page strip and the slider pop-up, a language change relabelling what is on screen, and a
// jump moving the vertical slider.

#include "ShellTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderReflowable.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/readersdk/ReadingTimeManager.h"
#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include <filesystem>
#include <fstream>

namespace lectoro::shelltest {
namespace {

using lectoro::testing::StubReadingTime;

class ReaderLanguageAndTimeLeft : public ShellTest {
protected:
    void TearDown() override
    {
        LocalizationHelper::setReaderLanguageBundle(nullptr);
        AccessibilityHelper::setReaderAccessibilityBundle(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_bundleFolder, ignored);
        ShellTest::TearDown();
    }

    // A reflowable sample whose three chapters hold 4, 6 and 5 positions, open in the reader.
    std::shared_ptr<EPUBBookVO> openReflowable(bool scrollEnabled)
    {
        makeReader();
        helpAlreadySeen();
        auto book = std::dynamic_pointer_cast<EPUBBookVO>(sample("sample-reflowable-epub"));
        book->userReaderFontSettings->scrollEnabled = scrollEnabled;
        book->isBookContentLoaded = false;
        book->bookCFIs.clear();
        book->bookCFIArray.clear();
        const int positions[] = { 4, 6, 5 };
        for (size_t index = 0; index < book->chapters.size() && index < 3; ++index) {
            EPUBBookCFIVO entry;
            entry.href = book->chapters[index]->href;
            for (int n = 0; n < positions[index]; ++n) {
                auto cfi = "/6/" + std::to_string(2 * index + 2) + "!/4/" + std::to_string(n);
                entry.chapterCFIArray.push_back(cfi);
                book->bookCFIArray.push_back(cfi);
            }
            book->bookCFIs.push_back(entry);
        }
        m_renderer->loadBook(book, {});
        m_stub = std::make_shared<StubReadingTime>();
        m_reader->context().readingTimeManager = m_stub;
        return book;
    }

    ReflowablePageCountView& strip()
    {
        return *m_reader->reflowable().pageCount()->reflowableSliderPageCountView();
    }

    // A second language, shipped for this test only: a "de" folder with the strip's words and
    // the top bar's labels.
    void switchToSecondLanguage()
    {
        m_bundleFolder = std::filesystem::temp_directory_path()
            / ("lectoro-language-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(m_bundleFolder / "de.lproj");
        std::ofstream(m_bundleFolder / "de.lproj" / "Localizable.strings")
            << "\"PAGE\" = \"Seite\";\n\"OF_KEY\" = \"von\";\n\"MIN_LEFT\" = \"Min. übrig\";\n";
        std::ofstream(m_bundleFolder / "de.lproj" / "ReaderLectoroAccessibility.strings")
            << "\"BackToBookShelfButton\" = \"Zurück zum Bücherregal\";\n";
        auto bundle = std::make_shared<base::Bundle>(m_bundleFolder.string());
        bundle->setLanguage("de");
        LocalizationHelper::setReaderLanguageBundle(bundle);
        AccessibilityHelper::setReaderAccessibilityBundle(bundle);
    }

    std::shared_ptr<StubReadingTime> m_stub;
    std::filesystem::path m_bundleFolder;
};

TEST_F(ReaderLanguageAndTimeLeft, TimeLeftFillsTheStripAndThePopUp)
{
    openReflowable(true);
    m_stub->secondsLeft = 150;
    m_reader->didChangeBookCFI(*m_renderer, "/6/2!/4/1", "/6/2!/4/1", 0);

    const std::string expected = "2 " + LocalizationHelper::localizedStringWithKey("MIN_LEFT");
    EXPECT_EQ(strip().readingTimeLeftLabel()->text(), expected);
    auto popUp = m_reader->reflowable().slider()->reflowableSliderPopUpView();
    ASSERT_TRUE(popUp);
    EXPECT_EQ(popUp->readingTimeLeftLabel()->text(), expected);
    EXPECT_EQ(popUp->readingTimeLeftLabel()->alpha(), 1.0);

    // The strip hides only when both its lines are empty: a cover page empties the page line,
    // the time left keeps it shown.
    m_reader->reflowable().didChangeReflowableBookPage("", 0, 1, 10, true);
    EXPECT_FALSE(strip().isHidden());
    strip().setTimeLeftData("");
    m_reader->reflowable().hideReflowablePageCountView();
    EXPECT_TRUE(strip().isHidden());
}

TEST_F(ReaderLanguageAndTimeLeft, LanguageChangeRelabelsTheStripTheTimeLeftAndTheBars)
{
    openReflowable(false);
    m_reader->reflowable().didChangeReflowableBookPage("3", 1, 12, 40, false);
    m_stub->secondsLeft = 240;
    m_reader->didChangeBookCFI(*m_renderer, "/6/4!/4/0", "/6/4!/4/0", 1);
    const std::string pageLine = strip().pageLabel()->text();
    ASSERT_EQ(pageLine.rfind("Page 3 of 12 | ", 0), 0u) << pageLine;

    switchToSecondLanguage();
    m_reader->updateReaderForLanguageChange();

    // The words change; the numbers and the part after "|" stay as they were.
    EXPECT_EQ(strip().pageLabel()->text(), "Seite 3 von 12 | " + pageLine.substr(pageLine.find('|') + 1));
    EXPECT_EQ(strip().readingTimeLeftLabel()->text(), "4 Min. übrig");
    std::shared_ptr<PlayerActionTopBar> topBar;
    for (const auto& subview : m_reader->view()->subviews()) {
        if (auto bar = std::dynamic_pointer_cast<PlayerActionTopBar>(subview))
            topBar = bar;
    }
    ASSERT_TRUE(topBar);
    bool relabelled = false;
    for (const auto& item : topBar->items()) {
        if (item->tag() == PlayerItemBackToBookshelf)
            relabelled = item->accessibilityLabel() == "Zurück zum Bücherregal";
    }
    EXPECT_TRUE(relabelled);
}

TEST_F(ReaderLanguageAndTimeLeft, AJumpMovesTheVerticalSliderToTheChapter)
{
    auto book = openReflowable(true);
    m_reader->reflowable().bookCFIsLoadingCompleted(static_cast<int64_t>(book->bookCFIArray.size()));
    auto slider = m_reader->reflowable().slider()->viewForSliderBar()->pageSlider();
    slider->setValue(0, false);

    // From the contents panel to the third chapter: its first position is the 11th of the book.
    m_reader->context().activeMode = ReaderActiveModeContents;
    m_reader->navigation().navigateTopage(book->chapters[2]->href);
    EXPECT_EQ(slider->value(), 10);

    // An address no chapter has leaves the thumb where it is.
    m_reader->reflowable().slider()->navigateSliderToPage("no-such-chapter.xhtml");
    EXPECT_EQ(slider->value(), 10);

    // Once the content is measured the thumb goes to the content before the chapter.
    book->isBookContentLoaded = true;
    m_reader->reflowable().bookLoadingCompletedWithContentSize(3000);
    m_reader->reflowable().didBookChaptersProcessSuccessfully(0, 1000, false);
    m_reader->reflowable().didBookChaptersProcessSuccessfully(1, 1200, false);
    m_reader->reflowable().didBookChaptersProcessSuccessfully(2, 800, false);
    m_reader->context().activeMode = ReaderActiveModeContents;
    m_reader->navigation().navigateTopage(book->chapters[1]->href);
    EXPECT_EQ(slider->value(), 1000);
}

} // namespace
} // namespace lectoro::shelltest
