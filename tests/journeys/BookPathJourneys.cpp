// A book whose web links lead out of its folder (a link inside the book pointing out, a
// "file:" address), opened from the launcher: the reader's tap on either says "Resource not
// found", opens nothing, and leaves the reader reading.

#include "journeys/JourneySupport.h"

#include "reader/ReaderTaps.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/ui/AlertController.h"

#include <filesystem>
#include <fstream>

namespace lectoro::journeys {

namespace {

namespace fs = std::filesystem;

class BookPathJourney : public Journey { };

TEST_F(BookPathJourney, WebLinksLeavingTheBookSayResourceNotFoundAndOpenNothing)
{
    // The host's copy of the sample page book, with a page beside it: the water-cycle link's
    // folder is a link inside the book that leads there, and the sorting link names the page
    // by a "file:" address.
    const fs::path shelf = fs::canonical(m_storage) / "shelf";
    const fs::path book = shelf / "hostile-pagebook";
    // A folder left by an earlier run under a reused process id would refuse the copy.
    fs::remove_all(shelf);
    fs::create_directories(shelf / "outside");
    fs::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", book, fs::copy_options::recursive);
    std::ofstream(shelf / "outside/index.html") << "<html><body>not the book's</body></html>";
    // The sample carries the link's own pages; the hostile copy swaps them for the way out.
    fs::remove_all(book / "assets/html/cycle");
    fs::create_directory_symlink(shelf / "outside", book / "assets/html/cycle");
    const fs::path index = book / "assets/xml-bin/eBook.xml";
    auto text = base::FileManager::defaultManager().readFile(index.string());
    ASSERT_TRUE(text);
    const std::string address = "file://" + (shelf / "outside/index.html").string();
    std::string hostile = base::replaceAll(*text, "url=\"assets/html/sorting/index.html\"", "url=\"" + address + "\"");
    ASSERT_NE(hostile, *text);
    ASSERT_TRUE(base::FileManager::defaultManager().writeFileAtomically(index.string(), hostile));

    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    ui::Environment::current().setScreenSize({ 768, 1024 });
    m_launcher->launchBook(std::make_shared<LectoroBookPackage>(book.string(), "1001", "978-0"), makeUser(m_userID),
        serviceConfiguration());
    settle();
    auto reader = m_launcher->reader();
    ASSERT_TRUE(reader && reader->currentBook()) << "the book opens";
    testing::closeHelpIfShown(*reader);
    testing::closeOfferedReadAloud(*reader);
    rendererOf(*reader)->navigateToPageNumber("109");
    settle();
    for (int64_t linkID : { 1092, 1093 }) {
        SCOPED_TRACE(linkID);
        std::shared_ptr<MarkupView> link;
        for (const auto& view : rendererOf(*reader)->overlayForPage(109).markupViews) {
            auto icon = std::dynamic_pointer_cast<MarkupView>(view);
            if (icon && icon->linkID == linkID && icon->superview())
                link = icon;
        }
        ASSERT_TRUE(link);
        ASSERT_TRUE(testing::tapMarkup(*link));
        settle();
        picture("refused-" + std::to_string(linkID));

        auto alert = uitest::topmostAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message().value_or(""), LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"));
        EXPECT_FALSE(reader->interactiveContent().webContent().currentWebPlayer()) << "no web player opened";
        ASSERT_TRUE(uitest::tapActionAtIndex(0));
        settle();
        expectReading(*reader);
    }
}

} // namespace

} // namespace lectoro::journeys
