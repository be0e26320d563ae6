#pragma once

// The page navigator of EPUB books without thumbnails: a bar 90 points high (100 on iPad)
// along the bottom of the safe area with a page slider, a bubble that follows the thumb
// ("Page %@"), a go-to field with the last page's display number ("/%@") and the history
// buttons. The chosen page goes back as its "SRC" through the delegate; a tap on the
// navigator's view outside its controls closes it.
//
// Slider positions 0 ... totalNumberOfPages - 1 name the pages of the thumbnail data in
// book order (for a fixed-layout EPUB that is the page whose "PageNo" is the position).

#include "platform/base/NotificationCenter.h"
#include "platform/base/Value.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class Slider;
} // namespace ui

namespace lectoro {

class LXMVThemeVO;

// Every callback is optional: the defaults do nothing.
class LXFixedEpubThumbnailViewControllerDelegate {
public:
    virtual ~LXFixedEpubThumbnailViewControllerDelegate() = default;
    virtual void navigateToPageNo(const std::string& /*src*/) { }
    virtual void didPerformActionToCloseThumbnail() { }
    virtual void didClickHistoryPreviousForFixedEpub() { }
    virtual void didClickHistoryNextForFixedEpub() { }
};

class LXFixedEpubThumbnailViewController : public ui::ViewController,
                                           public ui::TextFieldDelegate,
                                           public ui::GestureRecognizerDelegate {
public:
    static std::shared_ptr<LXFixedEpubThumbnailViewController> create(
        base::Value data, std::shared_ptr<LXMVThemeVO> theme);
    ~LXFixedEpubThumbnailViewController() override;
    std::string_view className() const override { return "LXFixedEpubThumbnailViewController"; }

    std::shared_ptr<LXFixedEpubThumbnailViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LXFixedEpubThumbnailViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    int64_t totalNumberOfPages() const { return m_totalNumberOfPages; }
    void setTotalNumberOfPages(int64_t count) { m_totalNumberOfPages = count; }
    int64_t activePageNumber() const { return m_activePageNumber; }
    void setActivePageNumber(int64_t position) { m_activePageNumber = position; }
    const std::string& activeDisplayNumber() const { return m_activeDisplayNumber; }
    void setActiveDisplayNumber(std::string number) { m_activeDisplayNumber = std::move(number); }
    const base::Value& dataArray() const { return m_dataArray; }

    // Kept for the buttons, which take them when they are built.
    void enablePreviousPageHistory(bool enabled) { m_prevEnable = enabled; }
    void enableNextPageHistory(bool enabled) { m_nextEnable = enabled; }
    bool previousPageHistoryEnabled() const { return m_prevEnable; }
    bool nextPageHistoryEnabled() const { return m_nextEnable; }

    void searchPage(const std::string& text);
    bool isPageNumberAvailble(const std::string& text);
    // The display number of a slider position ("%ld"); "" when no page is there.
    std::string getDisplayNumfromPageNo(const std::string& position) const;

    // The slider's moves and release, as its control events deliver them.
    void sliderValueChanged();
    void sliderReleased();

    const std::shared_ptr<ui::View>& thumbnailMainView() const { return m_thumbnailMainView; }
    const std::shared_ptr<ui::Slider>& slider() const { return m_slider; }
    const std::shared_ptr<ui::Label>& sliderLabel() const { return m_sliderLabel; }
    const std::shared_ptr<ui::Button>& prevButton() const { return m_prevButton; }
    const std::shared_ptr<ui::Button>& nextButton() const { return m_nextButton; }
    const std::shared_ptr<ui::TextField>& gotoTextField() const { return m_gotoTextField; }
    const std::shared_ptr<ui::Label>& totalPageNumberLabel() const { return m_totalPageNumberLabel; }
    const ui::ConstraintPtr& thumbnailViewBottomConstraint() const { return m_thumbnailViewBottomConstraint; }
    const std::string& displayNumberOfLastPage() const { return m_displayNumberOfLastPage; }
    bool isKeyboardOpen() const { return m_isKeyboardOpen; }
    static double barHeight();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    bool shouldAutorotate() const override { return true; }

    bool shouldReturn(ui::TextField&) override;
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView) override;

protected:
    LXFixedEpubThumbnailViewController(base::Value data, std::shared_ptr<LXMVThemeVO> theme);

private:
    std::shared_ptr<LXFixedEpubThumbnailViewController> self();
    void buildBar();
    void placeBubble();
    std::shared_ptr<ui::Button> makeHistoryButton(bool previous);
    static void applyEnabled(ui::Button&, bool enabled);

    std::weak_ptr<LXFixedEpubThumbnailViewControllerDelegate> m_delegate;
    base::Value m_dataArray;
    std::shared_ptr<LXMVThemeVO> m_themeVO;
    int64_t m_totalNumberOfPages = 0;
    int64_t m_activePageNumber = 0;
    std::string m_activeDisplayNumber;
    std::string m_displayNumberOfLastPage;
    bool m_prevEnable = false;
    bool m_nextEnable = false;
    bool m_isKeyboardOpen = false;
    double m_keyboardHeight = 0;

    std::shared_ptr<ui::View> m_thumbnailMainView;
    std::shared_ptr<ui::Slider> m_slider;
    std::shared_ptr<ui::Label> m_sliderLabel;
    std::shared_ptr<ui::Button> m_prevButton;
    std::shared_ptr<ui::Button> m_nextButton;
    std::shared_ptr<ui::View> m_navigationRow;
    std::shared_ptr<ui::TextField> m_gotoTextField;
    std::shared_ptr<ui::Label> m_totalPageNumberLabel;
    ui::ConstraintPtr m_thumbnailViewBottomConstraint;
    std::shared_ptr<ui::TapGestureRecognizer> m_closeTap;
    std::vector<base::ObserverToken> m_keyboardObservers;
};

} // namespace lectoro
