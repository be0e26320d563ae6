#include "AnswersDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/interactive/MarkupTexts.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/store/SqliteDatabaseManager.h"

#include <sstream>

namespace host {

namespace {

// The first page holding a link of the type, and that link.
std::shared_ptr<lectoro::PXLinkVO> firstLinkOfType(const lectoro::PXBookVO& book, int32_t type)
{
    for (const auto& page : book.pageList) {
        for (const auto& link : page ? page->linkOrder : std::vector<std::shared_ptr<lectoro::PXLinkVO>> {}) {
            if (link && link->linkType == type)
                return link;
        }
    }
    return nullptr;
}

// The first web activity whose folder is a SCORM package.
std::shared_ptr<lectoro::PXLinkVO> firstScormLink(const lectoro::PXBookVO& book)
{
    for (const auto& page : book.pageList) {
        for (const auto& link : page ? page->linkOrder : std::vector<std::shared_ptr<lectoro::PXLinkVO>> {}) {
            if (link && link->linkType == 12
                && lectoro::InteractiveWebContent::CheckIfSCORMType(
                    book.path + "/" + lectoro::webPackageFolder(link->url)))
                return link;
        }
    }
    return nullptr;
}

const char* yesNo(bool value)
{
    return value ? "yes" : "no";
}

} // namespace

int runAnswersDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto listener = std::make_shared<HostListener>(callbacks);
    auto launcher = launchDemoBook(out, bookPath, listener);
    auto reader = launcher->reader();
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    auto book = std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->currentBook());
    if (!book || !renderer) {
        out << "Could not open the book\n";
        launcher->uninitializeReader();
        return 1;
    }
    out << "Opened \"" << book->title << "\"\n";
    auto store = reader->context().dbManager;
    const int64_t user = reader->user()->numericUserID();
    const std::string bookID = std::to_string(reader->bookID());
    // The page's answer fields and markups are placed as it loads; nothing else is needed.
    auto goTo = [&](const std::string& page) {
        renderer->navigateToPageNumber(page);
        (void)waitFor(out, "page " + page, [&] { return demoPageShown(*reader, std::stoll(page)); });
    };
    auto storedAnswer = [&](int64_t linkID) {
        auto stored = store->getFIBObjectWithLinkId(linkID, user);
        return stored ? stored->text : std::string();
    };
    bool allWell = true;

    if (auto link = firstLinkOfType(*book, 5)) {
        goTo(link->pageID);
        for (const auto& view : renderer->overlayForPage(std::stoll(link->pageID)).fibViews) {
            auto field = std::dynamic_pointer_cast<lectoro::MVFIB>(view);
            if (!field || field->linkVo() != link || !field->beginEditing())
                continue;
            field->endEditingWithText("full");
        }
        (void)waitFor(out, "the typed answer in the store", [&] { return storedAnswer(link->linkID) == "full"; });
        auto stored = store->getFIBObjectWithLinkId(link->linkID, user);
        out << "Fill-in " << link->linkID << " typed \"full\": stored \"" << (stored ? stored->text : "")
            << "\"\n";
        allWell &= stored && stored->text == "full";
    }

    if (auto link = firstLinkOfType(*book, 13)) {
        goTo(link->pageID);
        auto& answers = reader->interactiveContent().answers();
        if (auto box = std::dynamic_pointer_cast<lectoro::MarkupView>(link->iconView.lock()))
            box->sendActions(ui::ControlEvent::TouchUpInside);
        (void)waitFor(out, "the drop-down list", [&] { return isShown(answers.linkDropDownController()) && screenIsStill(); });
        std::string chosen;
        if (auto list = answers.linkDropDownController(); list && list->items().size() > 1) {
            chosen = list->items()[1];
            list->selectItemAtIndex(1);
            list->close();
            (void)waitFor(out, "the chosen answer in the store",
                [&] { return storedAnswer(link->linkID) == chosen && screenIsStill(); });
        }
        auto stored = store->getFIBObjectWithLinkId(link->linkID, user);
        out << "Drop-down " << link->linkID << " chose \"" << chosen << "\": stored \""
            << (stored ? stored->text : "") << "\"\n";
        allWell &= stored && !chosen.empty() && stored->text == chosen;
    }

    for (const auto& page : book->pageList) {
        if (!page || page->protractors.empty())
            continue;
        goTo(std::to_string(page->pageID));
        auto placed = renderer->protractorsOnPage(page->pageID);
        auto storedCount = [&] {
            return store->protractorForPageID(std::to_string(page->pageID), page->displayNum, bookID, user)
                .size();
        };
        bool closed = !placed.empty() && renderer->selectProtractor(placed.front()->localID);
        renderer->measureWithOpenProtractor(65);
        closed = closed && renderer->closeProtractor();
        size_t afterClose = storedCount();
        bool deleted = closed && renderer->selectProtractor(placed.front()->localID)
            && renderer->deleteOpenProtractor();
        out << "Protractor on page " << page->pageID << ": closed at 65 degrees, stored " << afterClose
            << "; deleted, stored " << storedCount() << '\n';
        allWell &= closed && deleted && afterClose == 1 && storedCount() == 0;
        break;
    }

    if (auto link = firstScormLink(*book)) {
        goTo(link->pageID);
        if (auto icon = std::dynamic_pointer_cast<lectoro::MarkupView>(link->iconView.lock()))
            icon->sendActions(ui::ControlEvent::TouchUpInside);
        auto& web = reader->interactiveContent().webContent();
        (void)waitFor(out, "the SCORM player", [&] { return isShown(web.currentWebPlayer()) && screenIsStill(); });
        auto scorm = std::dynamic_pointer_cast<lectoro::LectoroScormWebPlayer>(web.currentWebPlayer());
        out << "SCORM package " << link->linkID << " opened as SCORM: " << yesNo(scorm != nullptr) << '\n';
        auto sqlite = std::dynamic_pointer_cast<companion::SqliteDatabaseManager>(store);
        if (scorm && sqlite) {
            // The ten-second save, without waiting ten seconds.
            web.saveScormData();
            auto isSaved = [&] {
                return store->fetchScormDataWithBookID(bookID, user, std::to_string(link->linkID)).has_value();
            };
            (void)waitFor(out, "the SCORM data in the store", isSaved);
            bool saved = isSaved();
            auto isUploaded = [&] {
                base::Value unsentData = sqlite->unsyncedScormData(bookID, user);
                const auto* unsent = unsentData.asList();
                return unsent && unsent->empty();
            };
            // Closing the player uploads what it saved.
            scorm->close();
            (void)waitFor(out, "the player closed and its data uploaded",
                [&] { return !web.currentWebPlayer() && isUploaded() && screenIsStill(); });
            bool uploaded = isUploaded();
            out << "SCORM data saved: " << yesNo(saved) << "; closed: " << yesNo(!web.currentWebPlayer())
                << "; uploaded: " << yesNo(uploaded) << '\n';
            allWell &= saved && uploaded && !web.currentWebPlayer();
        } else {
            allWell = false;
        }
    } else {
        out << "No SCORM package in the book\n";
        allWell = false;
    }
    out << "Answers demo: " << (allWell ? "done" : "a step failed") << '\n';
    allWell &= closeReaderAndWait(*reader, *listener, out);
    launcher->uninitializeReader();
    return allWell ? 0 : 2;
}

namespace {

const bool answersDemoRegistered = registerDemo({ "--demo-answers", "",
    "[--book PATH]   (answers, a protractor and a SCORM package, stored and uploaded)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runAnswersDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
