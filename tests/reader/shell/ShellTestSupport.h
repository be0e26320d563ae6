#pragma once

// A reader with its renderer embedded, a delegate that writes down what it hears, and a
// painter that writes down what a page load draws, over the reader fixture's world.

#include "../ReaderTestSupport.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "companion/books/BookLoader.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/ui/Button.h"
#include "platform/testing/Settle.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro::shelltest {

class RecordingReaderDelegate : public ReaderViewControllerDelegate {
public:
    std::vector<std::string> events;

    // Token renewal: answered when `answersRefresh`; with `renewedToken` the completion
    // runs at once with the user carrying it, otherwise it waits in `pendingRefreshes`.
    bool answersRefresh = true;
    std::optional<std::string> renewedToken;
    std::vector<std::function<void(std::shared_ptr<LectoroUser>)>> pendingRefreshes;
    std::vector<std::string> refreshTokens;
    std::vector<bool> sessionExpiredOnMainThread;

    bool answersDownloaded = false;
    bool downloaded = false;

    void didClosedReader(ReaderViewController&, int64_t bookID,
        const std::optional<std::string>& lastPageFolio, int64_t, bool forced) override
    {
        events.push_back("close:" + std::to_string(bookID) + ":" + lastPageFolio.value_or("nil")
            + (forced ? ":forced" : ""));
    }
    void didSessionExpiredForReader(ReaderViewController&) override
    {
        events.push_back("sessionExpired");
        sessionExpiredOnMainThread.push_back(base::isMainThread());
    }
    void didRemoveProfilePopOver() override { events.push_back("removeProfilePopOver"); }
    bool respondsToRefreshUserToken() const override { return answersRefresh; }
    void refreshUserTokenForUser(std::shared_ptr<LectoroUser> user, const std::string& expiredToken,
        std::function<void(std::shared_ptr<LectoroUser>)> completed) override
    {
        events.push_back("refresh:" + expiredToken);
        refreshTokens.push_back(expiredToken);
        if (renewedToken) {
            user->userToken = *renewedToken;
            completed(user);
        } else {
            pendingRefreshes.push_back(std::move(completed));
        }
    }
    void didSignOutForUser(std::shared_ptr<LectoroUser> user) override
    {
        events.push_back("signOut:" + (user ? user->userID : std::string("nil")));
    }
    void jumpToBookReaderForBookID(const std::string& fromBookID, const std::string& toBookID) override
    {
        events.push_back("jump:" + fromBookID + ":" + toBookID);
    }
    bool respondsToIsBookDownloaded() const override { return answersDownloaded; }
    bool isBookDownloadedForBookID(const std::string& bookID) override
    {
        events.push_back("isDownloaded:" + bookID);
        return downloaded;
    }
    void checkUgcSyncInProgress(bool inProgress) override
    {
        events.push_back(std::string("checkUgc:") + (inProgress ? "YES" : "NO"));
    }
    void didBookLoadedSuccessfullyWithBook(std::shared_ptr<LectoroBookVO>) override
    {
        events.push_back("bookLoaded");
    }
};

// Writes each layer a page load draws, with the run loop's time.
class RecordingOverlays : public ReaderPageOverlays {
public:
    struct Layer {
        std::string name;
        std::string page;
        std::string display;
        double time;
    };
    std::shared_ptr<std::vector<Layer>> layers = std::make_shared<std::vector<Layer>>();

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto& layer : *layers)
            result.push_back(layer.name);
        return result;
    }

    void drawHighlightsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("highlights", p, d);
    }
    void addBookmarkOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("bookmark", p, d);
    }
    void addPrintPageViewOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("print", p, d);
    }
    void drawPenDrawingsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("pen", p, d);
    }
    void drawMarkupsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("markups", p, d);
    }
    void drawTextAnnotationsOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("textBoxes", p, d);
    }
    void drawProtractorOnPageNumber(const std::string& p, const std::string& d) override
    {
        note("protractor", p, d);
    }

private:
    void note(const char* name, const std::string& page, const std::string& display)
    {
        layers->push_back({ name, page, display, base::RunLoop::main().now() });
    }
};

class ShellTest : public testing::ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        m_settings = std::make_shared<MVReaderSettingModel>();
        m_user = makeUser("7", "token-1");
        m_delegate = std::make_shared<RecordingReaderDelegate>();
    }

    void TearDown() override
    {
        m_reader.reset();
        m_renderer.reset();
        ReaderTest::TearDown();
    }

    // A reader for book 42 whose view has loaded and whose renderer is embedded.
    void makeReader()
    {
        m_reader = ReaderViewController::create(
            "/books/42", 42, m_user, "978", "https://api", "client", m_settings, "1.0");
        m_reader->setDelegate(m_delegate);
        m_reader->view();
        base::RunLoop::main().advanceBy(0.5);
        m_renderer = framework().lastRenderer();
    }

    static std::shared_ptr<LectoroBookVO> sample(const std::string& name)
    {
        auto loaded = companion::loadBook(std::string(LECTORO_SAMPLES_DIR) + "/books/" + name);
        EXPECT_TRUE(loaded.ok()) << name;
        return loaded.ok() ? loaded.value() : nullptr;
    }

    // Marks the help overlay of every book kind as seen (it shows the bars on load).
    void helpAlreadySeen()
    {
        for (const char* flag :
            { ReaderHelp::pdfFlagKey, ReaderHelp::reflowEpubFlagKey, ReaderHelp::fixedEpubFlagKey })
            defaults().setBool(flag, false);
    }

    // A narrated book offers the read-aloud chooser by itself once it has opened (after the
    // help step); this closes it with its close button, as the user would.
    void closeOfferedReadAloudChooser()
    {
        auto chooser = m_reader ? m_reader->readAloud().readToMeViewController() : nullptr;
        if (!chooser)
            return;
        chooser->closeReadToMeViewButton()->sendActions(ui::ControlEvent::TouchUpInside);
        uitest::runUntilSettled();
    }

    static RendererPage pageBookPage(int64_t id, std::string display)
    {
        RendererPage page;
        page.pageID = id;
        page.displayNum = std::move(display);
        return page;
    }

    // Answers every pending request: `answer` for the operation, success for the others.
    void answerPending(const std::string& operation, const companion::ServiceAnswer& answer)
    {
        while (auto request = service().pendingRequest(0)) {
            service().answerNext(
                request->operation == operation ? answer : companion::ServiceAnswer::success());
            uitest::runUntilSettled();
        }
    }

    size_t requestsNamed(const std::string& operation) const
    {
        size_t count = 0;
        for (const auto& name : m_framework->service()->operations())
            count += name == operation;
        return count;
    }

    std::shared_ptr<MVReaderSettingModel> m_settings;
    std::shared_ptr<LectoroUser> m_user;
    std::shared_ptr<RecordingReaderDelegate> m_delegate;
    std::shared_ptr<ReaderViewController> m_reader;
    std::shared_ptr<companion::testing::FakeRenderer> m_renderer;
};

} // namespace lectoro::shelltest
