#pragma once

// Hits, books and a recording owner for the search panel tests, over a clean run loop and
// environment.

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/base/UserDefaults.h"
#include "platform/media/AudioSession.h"
#include "platform/media/SpeechRecognizer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lectoro::searchtest {

inline std::shared_ptr<TextSearchResult> hit(std::string page, std::string word = "plant",
    std::string snippet = "a plant grows", std::string href = {})
{
    auto result = std::make_shared<TextSearchResult>();
    result->searchedWord = std::move(word);
    result->pageIndex = std::move(page);
    result->href = href.empty() ? result->pageIndex : std::move(href);
    result->searchResultAttributedString = base::AttributedString(std::move(snippet));
    return result;
}

inline TextSearchResults hits(size_t count, size_t firstPage = 1)
{
    TextSearchResults list;
    for (size_t index = 0; index < count; ++index)
        list.push_back(hit(std::to_string(firstPage + index)));
    return list;
}

// The default theme, as a reader without a host theme has it.
inline std::shared_ptr<LXMVThemeVO> searchTheme()
{
    auto theme = std::make_shared<LXMVThemeVO>();
    theme->updateThemeFromFileAtPath(std::nullopt);
    return theme;
}

inline std::shared_ptr<EPUBBookVO> epubBook()
{
    auto book = std::make_shared<EPUBBookVO>();
    book->meta.layout = 0;
    return book;
}

// Writes down what the panel asks; fetches answer from `batches`, one per request.
class RecordingSearchOwner : public TextSearchViewDelegate {
public:
    struct Fetch {
        std::string text;
        int64_t offset;
        int64_t size;
    };
    std::vector<Fetch> fetches;
    std::vector<TextSearchResults> batches;
    std::vector<std::string> calls;
    std::vector<bool> callsOnMainThread;

    TextSearchResults fetchNextSearchResultForText(
        const std::string& text, int64_t offset, int64_t size) override
    {
        fetches.push_back({ text, offset, size });
        if (batches.empty())
            return {};
        auto batch = batches.front();
        batches.erase(batches.begin());
        return batch;
    }
    void voiceSearchText(const std::string& text, bool elastic) override
    {
        note("voiceSearchText:" + text + (elastic ? ":elastic" : ":reader"));
    }
    void showPermissionAlert() override { note("showPermissionAlert"); }
    void voiceSearchNotAvailable() override { note("voiceSearchNotAvailable"); }
    void startVoiceRecognition() override { note("startVoiceRecognition"); }
    void stopVoiceRecognition() override { note("stopVoiceRecognition"); }

private:
    void note(std::string call)
    {
        calls.push_back(std::move(call));
        callsOnMainThread.push_back(base::isMainThread());
    }
};

class SearchPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        ui::Environment::current().reset();
        m_defaults = std::make_shared<base::UserDefaults>();
        base::UserDefaults::setStandardForTesting(m_defaults);
        media::SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        m_owner = std::make_shared<RecordingSearchOwner>();
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        m_panel.reset();
        media::SpeechRecognizer::resetForTesting();
        media::AudioSession::sharedInstance().reset();
        base::RunLoop::main().reset();
        ui::Environment::current().reset();
        base::UserDefaults::setStandardForTesting(nullptr);
    }

    std::shared_ptr<TextSearchView> readerPanel(
        std::shared_ptr<LectoroBookVO> book, bool audio = false, double height = 400)
    {
        m_panel = TextSearchView::createForReaderSearch(
            { 0, 0, 375, height }, searchTheme(), std::move(book), audio);
        m_panel->setDelegate(m_owner);
        return m_panel;
    }

    std::shared_ptr<TextSearchView> elasticPanel(std::shared_ptr<LectoroBookVO> book, bool audio = false)
    {
        m_panel = TextSearchView::createWithElasticSearch(
            { 0, 0, 375, 400 }, searchTheme(), std::move(book), audio);
        m_panel->setDelegate(m_owner);
        return m_panel;
    }

    // Lets the deferred rendering and the list's animations finish.
    static void settle() { base::RunLoop::main().advanceBy(2); }

    std::shared_ptr<base::UserDefaults> m_defaults;
    std::shared_ptr<RecordingSearchOwner> m_owner;
    std::shared_ptr<TextSearchView> m_panel;
};

} // namespace lectoro::searchtest
