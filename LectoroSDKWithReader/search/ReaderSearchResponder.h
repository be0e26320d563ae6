#pragma once

// The one object the search feature hands out as delegate of its panel, its engine, its
// field and its tap recogniser. They hold it weakly; the feature owns it and detaches it
// when it goes, after which every report reaches nothing.

#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TextField.h"

namespace lectoro {

class ReaderSearch::Responder final : public TextSearchViewDelegate,
                                      public TextSearchControllerDelegate,
                                      public ui::TextFieldDelegate,
                                      public ui::GestureRecognizerDelegate {
public:
    explicit Responder(ReaderSearch& search)
        : m_search(&search)
    {
    }
    void detach() { m_search = nullptr; }

    void run(void (ReaderSearch::*action)())
    {
        if (m_search)
            (m_search->*action)();
    }
    void textFieldDidChange(ui::TextField& field)
    {
        if (m_search)
            m_search->textFieldDidChange(field);
    }
    void searchTapGestureAction()
    {
        if (m_search)
            m_search->searchTapGestureAction();
    }
    void didSelectSearchText(const std::shared_ptr<TextSearchResult>& hit)
    {
        if (m_search)
            m_search->didSelectSearchText(hit);
    }
    void navigateTo(const std::string& page)
    {
        if (m_search && m_search->m_context.renderer)
            m_search->m_context.renderer->navigateToPageNumber(page);
    }

    // TextSearchViewDelegate.
    TextSearchResults fetchNextSearchResultForText(
        const std::string& text, int64_t startOffset, int64_t batchSize) override
    {
        return m_search ? m_search->fetchNextSearchResultForText(text, startOffset, batchSize)
                        : TextSearchResults {};
    }
    void voiceSearchText(const std::string& text, bool isElasticSearch) override
    {
        if (m_search)
            m_search->voiceSearchText(text, isElasticSearch);
    }
    void showPermissionAlert() override { run(&ReaderSearch::showPermissionAlert); }
    void voiceSearchNotAvailable() override { run(&ReaderSearch::voiceSearchNotAvailable); }
    void startVoiceRecognition() override { run(&ReaderSearch::startVoiceRecognition); }
    void stopVoiceRecognition() override { run(&ReaderSearch::stopVoiceRecognition); }

    // TextSearchControllerDelegate.
    void didSelectSearchText(TextSearchController&, std::shared_ptr<TextSearchResult> hit) override
    {
        didSelectSearchText(hit);
    }
    void didSelectActionForCloseSearch(TextSearchController&) override
    {
        run(&ReaderSearch::didSelectActionForCloseSearch);
    }
    void didSearchTextChanged(TextSearchController&) override { run(&ReaderSearch::didSearchTextChanged); }

    // ui::TextFieldDelegate.
    bool shouldReturn(ui::TextField& field) override
    {
        return m_search ? m_search->textFieldShouldReturn(field) : true;
    }
    bool shouldClear(ui::TextField& field) override
    {
        return m_search ? m_search->textFieldShouldClear(field) : true;
    }
    bool shouldChangeCharactersInRange(ui::TextField& field, base::Range range, const std::string&) override
    {
        return m_search ? m_search->shouldChangeCharactersInRange(field, range.location) : true;
    }

    // ui::GestureRecognizerDelegate.
    bool shouldReceiveTouch(ui::GestureRecognizer& recognizer, ui::View* touchedView) override
    {
        return m_search ? m_search->shouldReceiveTouch(recognizer, touchedView) : true;
    }

private:
    ReaderSearch* m_search;
};

} // namespace lectoro
