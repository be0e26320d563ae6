#pragma once

// The reader's side of in-book search: it opens the search panel over a blurred page,
// runs the search through the framework's engine, answers the panel's field, buttons and
// rows, marks the hits on the pages through the renderer, steps from hit to hit
// (ReaderSearchStepping.cpp), pauses the reader's audio while the microphone listens
// (ReaderSearchVoice.cpp) and closes the search again.
//
// The panel, the engine, the field and the panel's tap recogniser report to one inner
// responder the feature owns and they hold weakly, so none of them keeps the reader alive
// and a report that outlives the feature reaches nothing.

#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Font;
class GestureRecognizer;
class TextField;
class View;
} // namespace ui

namespace lectoro {

struct ReaderContext;
class TextSearchView;

class LectoroAudioPlayer;

// The reader's player of page audio and audio links, as voice search pauses it.
class SearchAudioPlayer {
public:
    virtual ~SearchAudioPlayer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;

    // Stops and starts whichever audio player `current` answers at that moment (none:
    // nothing), as the reader opens a new player for each audio link.
    static std::shared_ptr<SearchAudioPlayer> following(std::function<std::shared_ptr<LectoroAudioPlayer>()> current);
};

class ReaderSearch {
public:
    // Colours of the marks on the pages: every hit, and the current one.
    static constexpr const char* searchHitColor = "#BBA3D0";
    static constexpr const char* selectedSearchHitColor = "#757575";
    static constexpr size_t maximumSearchTextLength = 300;
    static constexpr size_t shortestReturnSearch = 3;

    explicit ReaderSearch(ReaderContext&);
    ~ReaderSearch();

    // --- Opening, searching, closing ---
    void addSearchForText(const std::string& text, bool isElasticSearch);
    const std::string& searchTextStr() const { return m_searchText; }
    // The current hit: picked, stepped to, or the first hit of an elastic search.
    bool hasSearchResult() const { return m_searchResult != nullptr; }
    const std::shared_ptr<TextSearchResult>& searchResult() const { return m_searchResult; }
    const std::shared_ptr<TextSearchView>& searchTextView() const { return m_searchTextView; }
    const std::shared_ptr<TextSearchController>& searchController() const { return m_searchController; }
    // An engine made elsewhere (a host's own, or a test's), used until the search is cancelled.
    void setSearchController(std::shared_ptr<TextSearchController>);
    bool isSearchResultOpened() const { return m_isSearchResultOpened; }
    // The cancel button: the search ends; in search mode the engine, the launcher's search
    // text and the current hit go too.
    void closeSearchView();
    // The open button: shows or hides the list of hits.
    void openSearchView();
    void searchTapGestureAction();
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView);
    void removeSearchController();
    void resignSearchTextField();
    void clearSearchHighlights();
    void reloadSearchHighlightText();

    // --- The field (the feature is its delegate) ---
    bool textFieldShouldReturn(ui::TextField&);
    bool textFieldShouldClear(ui::TextField&);
    bool shouldChangeCharactersInRange(ui::TextField&, size_t location);
    void textFieldDidChange(ui::TextField&);

    // --- Hits ---
    void didSelectSearchText(const std::shared_ptr<TextSearchResult>&);
    void didSelectActionForCloseSearch();
    void didSearchTextChanged();
    // The renderer finished preparing the book's text: the waiting search runs again.
    void didCompleteSearchDecryptionForBookPath();
    // A page finished loading: its hits are marked when there is a current hit.
    void markSearchHitsOnLoadedPage(int64_t pageNumber);
    // After an elastic search at book load found a hit: its page is shown shortly after.
    void jumpToHeldResultAfterElasticStart();

    // --- Stepping (ReaderSearchStepping.cpp) ---
    TextSearchResults fetchNextSearchResultForText(
        const std::string& text, int64_t startOffset, int64_t batchSize);
    void didClickOnNextButtonForReaderSearch();
    void didClickOnPreviousButtonForReaderSearch();
    void enableNextButtonForElasticSearch(bool);
    void enablePreviousButtonForElasticSearch(bool);
    void didClickOnNextButtonForElasticSearch();
    void didClickOnPreviousButtonForElasticSearch();
    TextSearchResults getAllNextSearchedResults();
    TextSearchResults getAllPreviousSearchedResults();
    // File index (decimal text) of the first EPUB chapter whose href is exactly this;
    // "" for other books or no match.
    std::string getFileIndexForHREF(const std::string& href) const;
    // The same lookup answering the file index as a number; 0 when nothing matches.
    int64_t getHrefFromFileIndex(const std::string& href) const;

    // --- Voice (ReaderSearchVoice.cpp) ---
    void startVoiceRecognition();
    void stopVoiceRecognition();
    void voiceSearchText(const std::string& text, bool isElasticSearch);
    void showPermissionAlert();
    void voiceSearchNotAvailable();
    // The application is leaving the foreground: stop listening for a spoken search.
    void cancelVoiceRecognition();
    // Held weakly; none: voice search leaves audio alone.
    void setAudioPlayer(std::weak_ptr<SearchAudioPlayer> player) { m_audioPlayer = std::move(player); }

    // The visible pages' ids ("%ld": page ids in a page book, file indexes otherwise).
    std::vector<std::string> getActivePageIDs() const;
    // The font hit lists are laid out in: the reader's font at 18 (iPad) or 14.
    static ui::Font searchHitFont();

    class Responder;

private:
    void stepElasticSearch(bool forward);
    void createSearchTextView(const std::string& text, bool isElasticSearch);
    void addBlurEffectToReaderView();
    std::shared_ptr<ui::View> readerView() const;
    bool isReflowableEpub() const;
    bool isPageBook() const;
    void showSearchResultPage(const std::shared_ptr<TextSearchResult>&);
    TextSearchResults pageHits(const std::string& word, const std::string& pageNo);
    static std::shared_ptr<TextSearchResult> sameHitAmong(
        const TextSearchResults&, const std::shared_ptr<TextSearchResult>& current);
    static std::string paragraphOf(const TextSearchResult&);
    static std::string cutSearchText(const std::string&);
    void enableStepButton(const std::shared_ptr<ui::Button>&, bool);

    ReaderContext& m_context;
    std::shared_ptr<Responder> m_responder;
    std::shared_ptr<TextSearchController> m_searchController;
    std::shared_ptr<TextSearchView> m_searchTextView;
    std::shared_ptr<ui::GestureRecognizer> m_tapRecognizer;
    std::shared_ptr<TextSearchResult> m_searchResult;
    std::string m_searchText;
    bool m_isSearchResultOpened = false;
    std::weak_ptr<SearchAudioPlayer> m_audioPlayer;
};

} // namespace lectoro
