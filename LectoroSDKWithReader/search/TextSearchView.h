#pragma once

// The in-book search panel: a bar strip along the bottom (search field, cancel, and in the
// elastic and reader forms previous, next, open and optionally a microphone) and a result
// list growing upward from it.
//
// The panel does not search. Its owner hands it the first batch of a search
// (renderSearchResultWithSearchResult), and the panel keeps two lists: the loaded sequence
// (globalsearchResultArray, what next and previous step through) and the rows shown
// (searchResultArray; empty while the list is closed, otherwise the loaded sequence). In
// an EPUB book the panel asks its delegate for more hits when the list scrolls to its
// second-to-last row or a step passes the last loaded hit; every request starts at the
// count of hits loaded, for the text of the search being shown (not whatever the field
// holds by then).
//
// Views are built in code with their constraints kept as data; the panel sets the frames
// tests and pictures need from the same constants (TextSearchViewLayout.cpp). Voice input
// lives in TextSearchViewVoice.cpp.

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVVoiceRecognizeManager.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class LectoroBookVO;
class LXMVThemeVO;

using TextSearchResults = std::vector<std::shared_ptr<TextSearchResult>>;

// What the panel asks of its owner (the reader).
class TextSearchViewDelegate {
public:
    virtual ~TextSearchViewDelegate() = default;
    virtual TextSearchResults fetchNextSearchResultForText(
        const std::string& text, int64_t startOffset, int64_t batchSize)
        = 0;
    virtual void voiceSearchText(const std::string& text, bool isElasticSearch) = 0;
    virtual void showPermissionAlert() = 0;
    virtual void voiceSearchNotAvailable() = 0;
    virtual void startVoiceRecognition() = 0;
    virtual void stopVoiceRecognition() = 0;
};

// Texts of the panel and its rows: "Localizable" of the reader language bundle when the
// host set one, else of the library's own bundle.
struct TextSearchConstants {
    static std::string localized(const std::string& key);
};

class TextSearchView : public ui::View,
                       public ui::TableViewDataSource,
                       public ui::TableViewDelegate,
                       public MVVoiceRecognizeManagerDelegate {
public:
    using ResultBlock = std::function<void(std::shared_ptr<TextSearchResult>)>;

    // The plain form (field and a text cancel button), no caller in the reader.
    static std::shared_ptr<TextSearchView> createWithFrame(
        const ui::Rect&, std::shared_ptr<LXMVThemeVO>, std::shared_ptr<LectoroBookVO>);
    // The elastic form: first batches fill only the loaded sequence.
    static std::shared_ptr<TextSearchView> createWithElasticSearch(const ui::Rect&,
        std::shared_ptr<LXMVThemeVO>, std::shared_ptr<LectoroBookVO>, bool isAudioSearchEnabled);
    static std::shared_ptr<TextSearchView> createForReaderSearch(const ui::Rect&,
        std::shared_ptr<LXMVThemeVO>, std::shared_ptr<LectoroBookVO>, bool isAudioSearchEnabled);
    ~TextSearchView() override;

    std::string_view className() const override { return "TextSearchView"; }

    // --- Properties ---
    const std::shared_ptr<ui::TextField>& searchBar() const { return m_searchBar; }
    // Held weakly: the owner holds the panel.
    std::shared_ptr<TextSearchViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TextSearchViewDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const ui::ConstraintPtr& tableViewHeightConstraint() const { return m_tableViewHeightConstraint; }
    const TextSearchResults& searchResultArray() const { return m_searchResultArray; }
    const TextSearchResults& globalsearchResultArray() const { return m_globalsearchResultArray; }
    double searchBarHeight() const { return m_searchBarHeight; }
    double tableHeaderViewHeight() const { return m_tableHeaderViewHeight; }
    double estimatedHeightOfTableView() const { return m_estimatedHeightOfTableView; }
    double tableViewMargin() const { return m_tableViewMargin; }
    const std::shared_ptr<LectoroBookVO>& currentBook() const { return m_currentBook; }
    const std::shared_ptr<ui::View>& tableviewHeaderView() const { return m_tableviewHeaderView; }
    const std::shared_ptr<LXMVThemeVO>& lxthemeVO() const { return m_theme; }
    bool isElasticSearch() const { return m_isElasticSearch; }
    bool isAudioSearchEnabled() const { return m_isAudioSearchEnabled; }
    void setIsAudioSearchEnabled(bool value) { m_isAudioSearchEnabled = value; }
    const std::shared_ptr<ui::Button>& cancelBtn() const { return m_cancelBtn; }
    const std::shared_ptr<ui::Button>& openBtn() const { return m_openBtn; }
    const std::shared_ptr<ui::Button>& nextBtn() const { return m_nextBtn; }
    const std::shared_ptr<ui::Button>& PrevBtn() const { return m_prevBtn; }
    const std::shared_ptr<ui::Button>& animateMicButton() const { return m_animateMicButton; }
    // The microphone button of the elastic and reader forms; null without voice input.
    const std::shared_ptr<ui::Button>& micButton() const { return m_micButton; }
    // The bar strip along the bottom, and the rounded input panel inside it.
    const std::shared_ptr<ui::View>& barStrip() const { return m_barStrip; }
    const std::shared_ptr<ui::View>& inputPanel() const { return m_inputPanel; }
    const std::shared_ptr<ui::Label>& searchIconLabel() const { return m_searchIconLabel; }
    const std::shared_ptr<ui::View>& shadowView() const { return m_shadowView; }
    const std::shared_ptr<ui::Label>& noResultText() const { return m_noResultText; }
    const ResultBlock& didClickOnSearchResult() const { return m_didClickOnSearchResult; }
    void setDidClickOnSearchResult(ResultBlock block) { m_didClickOnSearchResult = std::move(block); }
    int64_t batchSize() const { return m_batchSize; }
    void setBatchSize(int64_t size) { m_batchSize = size > 0 ? size : 1; }
    int64_t searchoffset() const { return m_searchoffset; }
    const std::shared_ptr<MVVoiceRecognizeManager>& voiceSeacrh() const { return m_voiceSeacrh; }
    bool isVoiceSearchEnabled() const { return m_isVoiceSearchEnabled; }
    const std::string& searchFieldText() const { return m_searchFieldText; }
    bool isCaseSensitiveSearch() const { return m_isCaseSensitiveSearch; }
    // The text of the search whose hits the panel holds: what further batches are asked
    // for. The owner sets it when it starts a search.
    const std::string& currentSearchText() const { return m_currentSearchText; }
    void setCurrentSearchText(std::string text) { m_currentSearchText = std::move(text); }

    // --- Results ---
    // Elastic: at once; a non-empty batch replaces the loaded sequence and the shown list
    // stays as it was. Reader search: on the main queue, filling both lists and the list
    // height, or the header (3 or more characters searched) when nothing was found.
    void renderSearchResultWithSearchResult(const TextSearchResults&);
    void renderSearchResultWithSearchResult(const TextSearchResults&, bool caseSensitive);
    // Appends a further batch to the loaded sequence and to the shown rows.
    void updateSearchDataWithArrayWithArray(const TextSearchResults&);
    void showGeneratingSearchResultView();
    void showSearchResultView();
    void removeSearchResultView();
    // The hit after / before one that is loaded; past the end of an EPUB book's loaded
    // hits the next batch is fetched first. None at the ends or for a hit not loaded. The
    // hit is taken by value: fetching grows the list a reference could point into.
    std::shared_ptr<TextSearchResult> getNextSearchResult(std::shared_ptr<TextSearchResult>);
    std::shared_ptr<TextSearchResult> getPreviousSearchResult(const std::shared_ptr<TextSearchResult>&);
    // The list's height for the content it holds, bounded by the room above the bar.
    double availableListHeight() const;
    double listHeight() const;

    // --- Table ---
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void willDisplayCell(ui::TableView&, ui::TableViewCell&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    // --- Accessibility ---
    void setAccessibilityIdentifiers();
    void updateOpenButtonAccessibility();

    // --- Voice (TextSearchViewVoice.cpp) ---
    void setupVoiceSearch(
        const std::shared_ptr<ui::View>& strip, const std::shared_ptr<ui::Button>& micButton);
    void tapMicButton();
    void textFieldDidChangeWithTextField(ui::TextField&);
    void showRecognitionError(const base::Error&);
    // Stops listening (the application left the foreground) and forgets that it was.
    void cancelVoiceSearch();
    // May be called on any thread; handled on the main queue.
    void voiceRecognizerAuthStateWithAuthState(int64_t authState) override;
    void didStopVocieRecognizing() override;
    void recognizerNotAvailable() override;

    void layoutSubviews() override;

protected:
    explicit TextSearchView(const ui::Rect& frame);

private:
    enum class Variant { Plain, Elastic, Reader };
    static std::shared_ptr<TextSearchView> make(
        Variant, const ui::Rect&, std::shared_ptr<LXMVThemeVO>, std::shared_ptr<LectoroBookVO>, bool audio);
    std::weak_ptr<TextSearchView> weakSelf();
    bool isEpubBook() const;
    // Sets the shown rows to the loaded sequence's hits.
    void showLoadedHits();
    // Asks the delegate for the hits after those loaded; empty without a delegate.
    TextSearchResults fetchFurtherHits();
    void renderReaderSearch(const TextSearchResults&);
    void fitListToContent();
    void setListHeight(double);
    void attachHeader();
    void detachHeader();
    void observeContentSize();

    // Layout (TextSearchViewLayout.cpp).
    void build(Variant, bool audio);
    void buildBar(Variant, bool audio);
    void buildButtons(Variant, bool audio);
    void buildTable(Variant);
    void buildHeader();
    void placeFrames();

    // Voice (TextSearchViewVoice.cpp).
    void handleAuthState(int64_t authState);

    std::shared_ptr<ui::TextField> m_searchBar;
    std::weak_ptr<TextSearchViewDelegate> m_delegate;
    std::shared_ptr<ui::TableView> m_tableView;
    ui::ConstraintPtr m_tableViewHeightConstraint;
    TextSearchResults m_searchResultArray;
    TextSearchResults m_globalsearchResultArray;
    double m_searchBarHeight;
    double m_tableHeaderViewHeight;
    double m_estimatedHeightOfTableView;
    double m_tableViewMargin;
    std::shared_ptr<LectoroBookVO> m_currentBook;
    std::shared_ptr<ui::View> m_tableviewHeaderView;
    std::shared_ptr<LXMVThemeVO> m_theme;
    bool m_isElasticSearch = false;
    bool m_isAudioSearchEnabled = false;
    std::shared_ptr<ui::Button> m_cancelBtn;
    std::shared_ptr<ui::Button> m_openBtn;
    std::shared_ptr<ui::Button> m_nextBtn;
    std::shared_ptr<ui::Button> m_prevBtn;
    std::shared_ptr<ui::Button> m_animateMicButton;
    std::shared_ptr<ui::Button> m_micButton;
    std::shared_ptr<ui::Label> m_noResultText;
    ResultBlock m_didClickOnSearchResult;
    int64_t m_batchSize = 50;
    int64_t m_searchoffset = 0;
    std::shared_ptr<MVVoiceRecognizeManager> m_voiceSeacrh;
    // Listening is wanted; off until the first tap asks for it.
    bool m_isVoiceSearchEnabled = false;
    std::string m_searchFieldText;
    bool m_isCaseSensitiveSearch = false;
    std::string m_currentSearchText;

    std::shared_ptr<ui::View> m_barStrip;
    std::shared_ptr<ui::View> m_inputPanel;
    std::shared_ptr<ui::Label> m_searchIconLabel;
    std::shared_ptr<ui::View> m_shadowView;
    std::shared_ptr<ui::Label> m_headerIconLabel;
    uint64_t m_contentSizeObserver = 0;
    // Whether the header is attached to the list.
    bool m_headerShown = false;
};

} // namespace lectoro
