#pragma once

// The page-thumbnail browser of page books (and of fixed-layout EPUB books whose record
// offers thumbnails). On iPad a 290-point panel along the bottom: a horizontal grid of
// thumbnails grouped by chapter over a bar with a slider, a go-to field, the last page's
// display number and the history buttons. On iPhone a full-screen page: a title bar with
// a back button, a vertical strip three to a row with a vertical slider beside it, and a
// bottom bar with the go-to field and the history buttons.
//
// The browser never navigates: choosing a thumbnail, a go-to page, a history button or
// closing goes back through LXThumbnailDelegate, and the reader acts and dismisses it.
//
// Sources: LXThumbnailViewController.cpp (data, marks, cells, go-to, choices),
// LXThumbnailLayout.cpp (views of both idioms, frames, slider, keyboard, rotation).

#include "platform/base/NotificationCenter.h"
#include "platform/base/Value.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class Slider;
} // namespace ui

namespace lectoro {

class LXMVThemeVO;
class LectoroThumbnailCollectionViewCell;

// Accessibility identifiers of the thumbnail panels, exported with the library.
inline constexpr const char* THUMBNAIL_IPAD_PREV_BTN = "thumbnailIpadPrevBtn";
inline constexpr const char* THUMBNAIL_IPAD_NEXT_BTN = "thumbnailIpadNextBtn";
inline constexpr const char* THUMBNAIL_SEARCH_TEXT_FIELD = "thumbnailSearchTextField";
inline constexpr const char* THUMBNAIL_SLIDER = "thumbnailSlider";
inline constexpr const char* THUMBNAIL_SLIDER_THUMB_IMAGE = "thumb";
inline constexpr const char* THUMBNAIL_IPHONE_PREV_BTN = "thumbnailIphonePrevBtn";
inline constexpr const char* THUMBNAIL_IPHONE_NEXT_BTN = "thumbnailIphoneNextBtn";
inline constexpr const char* THUMBNAIL_IPHONE_BACK_BTN = "thumbnailIphoneBackBtn";

// Every callback is optional: the defaults do nothing.
class LXThumbnailDelegate {
public:
    virtual ~LXThumbnailDelegate() = default;
    virtual void didSelectThumbnailPageNo(const std::string& /*pageNumber*/) { }
    virtual void didSelectActionToCloseThumbnail() { }
    virtual void didClickPreviousHistoryButtonWithCurrentPageNumber() { }
    virtual void didClickNextHistoryButtonWithCurrentPageNumber() { }
};

class LXThumbnailViewController : public ui::ViewController,
                                  public ui::CollectionViewDataSource,
                                  public ui::CollectionViewDelegateFlowLayout,
                                  public ui::TextFieldDelegate,
                                  public ui::GestureRecognizerDelegate {
public:
    static std::shared_ptr<LXThumbnailViewController> create();
    ~LXThumbnailViewController() override;
    std::string_view className() const override { return "LXThumbnailViewController"; }

    // A marked page: chapter index and position in it (iPad); on iPhone the section is 0
    // and the index the position in the flat list.
    struct PageMark {
        int section = 0;
        int index = 0;
        bool operator==(const PageMark&) const = default;
    };

    std::shared_ptr<LXThumbnailDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LXThumbnailDelegate> delegate) { m_delegate = std::move(delegate); }
    const base::Value& dataArray() const { return m_dataArray; }
    void setDataArray(base::Value data) { m_dataArray = std::move(data); }
    // Non-empty: only these pages (by page number) are shown.
    void setStudentSubmittedPageArray(std::vector<std::string> pages) { m_studentSubmittedPageArray = std::move(pages); }
    int64_t totalNumberOfPages() const { return m_totalNumberOfPages; }
    void setTotalNumberOfPages(int64_t count) { m_totalNumberOfPages = count; }
    int64_t activePageNumber() const { return m_activePageNumber; }
    void setActivePageNumber(int64_t number) { m_activePageNumber = number; }
    const std::string& activeDisplayNumber() const { return m_activeDisplayNumber; }
    void setActiveDisplayNumber(std::string number) { m_activeDisplayNumber = std::move(number); }
    void setThemeVo(std::shared_ptr<LXMVThemeVO>);
    int64_t bookOrientationMode() const { return m_bookOrientationMode; }
    void setBookOrientationMode(int64_t mode) { m_bookOrientationMode = mode; }
    std::vector<PageMark>& pageIndexArray() { return m_pageIndexArray; }
    const std::vector<PageMark>& pageIndexArray() const { return m_pageIndexArray; }
    // Stored only; the views take their colours from the theme.
    void setThumbnailBackgroundColor(const ui::Color& colour) { m_bgColor = colour; }
    void setChapterIdAndTitleTextColor(const ui::Color& colour) { m_titleColor = colour; }
    void setPageNumberTextColor(const ui::Color& colour) { m_color = colour; }
    void setTotalPageNumber(const std::string& text);

    // Marks a page as current; marks accumulate (a spread marks two).
    void selectPageAt(const std::string& pageNumber);
    void enablePreviousPageHistory(bool);
    void enableNextPageHistory(bool);
    // The go-to action: alerts for an empty or unknown page, else the page goes to the
    // delegate.
    void searchPage(const std::string& text);
    bool isPageNumberAvailble(const std::string& text);

    // State the views show.
    int pageIndex() const { return m_pageIndex; }
    int section() const { return m_section; }
    const std::string& displayNumberOfLastPage() const { return m_displayNumberOfLastPage; }
    const std::vector<std::string>& totalPageArray() const { return m_totalPageArray; }
    const base::Value::List& pageImageArray() const { return m_pageImageArray; }
    // The grid (iPad) or the strip (iPhone), whichever is built.
    std::shared_ptr<ui::CollectionView> collectionView() const;
    const std::shared_ptr<ui::View>& thumbnailView() const { return m_thumbnailView; }
    const std::shared_ptr<ui::View>& mainView() const { return m_mainView; }
    const std::shared_ptr<ui::Slider>& slider() const { return m_slider; }
    const std::shared_ptr<ui::TextField>& searchTextField() const { return m_searchTextFieldIpad; }
    const std::shared_ptr<ui::Label>& pageLabel() const { return m_pageLabel; }
    const std::shared_ptr<ui::Button>& prevButton() const;
    const std::shared_ptr<ui::Button>& nextButton() const;
    const std::shared_ptr<ui::Button>& backButton() const { return m_backButton; }
    const ui::ConstraintPtr& topConstraints() const { return m_topConstraints; }
    const ui::ConstraintPtr& bottomConstraintForIphoneThumbnail() const { return m_bottomConstraintForIphoneThumbnail; }
    const ui::ConstraintPtr& sliderXPostionConstraint() const { return m_sliderXPostionConstraint; }

    // The iPhone slider's centre offset from the page's centre for an orientation.
    static double sliderOffsetFor(ui::Orientation, double screenWidth, bool rightToLeft);

    // View life cycle.
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void viewWillDisappear(bool animated) override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    bool prefersStatusBarHidden() const override { return true; }
    bool shouldAutorotate() const override { return true; }
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override;

    // Collection data source and layout.
    int numberOfSectionsInCollectionView(ui::CollectionView&) override;
    int numberOfItemsInSection(ui::CollectionView&, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItemAtIndexPath(ui::CollectionView&, const ui::IndexPath&) override;
    void didSelectItemAtIndexPath(ui::CollectionView&, const ui::IndexPath&) override;
    std::optional<ui::Size> sizeForItemAtIndexPath(ui::CollectionView&, ui::CollectionViewLayout&, const ui::IndexPath&) override;
    std::optional<ui::Size> referenceSizeForHeaderInSection(ui::CollectionView&, ui::CollectionViewLayout&, int) override
    {
        return ui::Size {};
    }
    void didScroll(ui::ScrollView&) override;
    bool shouldReturn(ui::TextField&) override;
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView) override;

protected:
    LXThumbnailViewController();

private:
    std::shared_ptr<LXThumbnailViewController> self();
    void applySubmittedFilter();
    void buildFlatList();
    void layoutCheck();
    void scrollToSelection();
    void configureCell(LectoroThumbnailCollectionViewCell&, const base::Value& page, const ui::IndexPath&, bool selected,
        bool selectedChapter, bool showTitle);
    void sliderValueChanged();
    void keyboardWillShow(const base::Notification&);
    void keyboardWillHide(const base::Notification&);
    void applyHistoryState();
    void closeFromOutside();

    // LXThumbnailLayout.cpp.
    void showThumbnailViewForIpad();
    void bottomViewBarForIpad();
    void thumbnailForIphone();
    std::shared_ptr<ui::Button> makeHistoryButton(bool previous, double fontSize, const std::optional<ui::Color>&);
    std::shared_ptr<ui::CollectionView> makeCollection(bool horizontal);
    void makeGoToControls(double fontSize);
    void layoutIpad();
    void layoutIphone();
    void setAccessibilityForThumbnailView();

    std::weak_ptr<LXThumbnailDelegate> m_delegate;
    base::Value m_dataArray = base::Value::List {};
    std::vector<std::string> m_studentSubmittedPageArray;
    int64_t m_totalNumberOfPages = 0;
    int64_t m_activePageNumber = 0;
    std::string m_activeDisplayNumber;
    std::shared_ptr<LXMVThemeVO> m_themeVo;
    int64_t m_bookOrientationMode = 0;
    std::vector<PageMark> m_pageIndexArray;
    ui::Color m_color;
    ui::Color m_titleColor;
    ui::Color m_bgColor;
    ui::Color m_chapterNameColor;

    int m_pageIndex = 0;
    int m_section = 0;
    std::vector<std::string> m_totalPageArray;
    std::vector<std::string> m_totalFolioNumberArray;
    base::Value::List m_pageImageArray;
    std::string m_displayNumberOfLastPage;
    bool m_prevEnable = false;
    bool m_nextEnable = false;
    ui::Orientation m_deviceOrientation = ui::Orientation::Unknown;
    double m_keyboardHeight = 0;

    std::shared_ptr<ui::View> m_thumbnailView;
    std::shared_ptr<ui::CollectionView> m_iPadCollectionView;
    std::shared_ptr<ui::View> m_bottomView;
    std::shared_ptr<ui::View> m_mainView;
    std::shared_ptr<ui::View> m_topView;
    std::shared_ptr<ui::View> m_searchPageBottomView;
    std::shared_ptr<ui::CollectionView> m_iPhoneCollectionView;
    std::shared_ptr<ui::Slider> m_slider;
    std::shared_ptr<ui::Label> m_pageLabel;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::TextField> m_searchTextFieldIpad;
    std::shared_ptr<ui::Button> m_prevPageIpadButton;
    std::shared_ptr<ui::Button> m_nextPageIpadButton;
    std::shared_ptr<ui::Button> m_prevPageButton;
    std::shared_ptr<ui::Button> m_nextPageButton;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::TapGestureRecognizer> m_outsideTap;
    ui::ConstraintPtr m_topConstraints;
    ui::ConstraintPtr m_bottomConstraintForIphoneThumbnail;
    ui::ConstraintPtr m_sliderXPostionConstraint;
    ui::ConstraintPtr m_iphoneCollectionViewConst;
    std::vector<base::ObserverToken> m_keyboardObservers;
    bool m_updatingSlider = false;
};

} // namespace lectoro
