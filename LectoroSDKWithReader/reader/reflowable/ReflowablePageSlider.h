#pragma once

// The vertical page slider of a reflowable book read in scroll mode: built at the trailing
// edge of the reader's view, its track growing as the renderer measures chapters, following
// the reading position, and moving it when the user lets go. Positions count in content
// points once the book's content is measured (EPUBBookVO::isBookContentLoaded), otherwise
// in 1-based indices of the book's CFI list.
//
// The reader calls:
//   - setBook() when the book has loaded, setIsVerticalsliderEnable(scrollEnabled) and
//     addSliderBarForReflowableBook() at the set-up of a reflowable book, on rotation and
//     after layout changes;
//   - the renderer callbacks below as they arrive (bookLoadingCompletedWithContentSize,
//     bookCFIsLoadingCompleted, didBookChaptersProcessSuccessfully, didChangeContentPosition,
//     didChangeBookCFI).

#include "LectoroSDKWithReader/reader/reflowable/ReflowableChapterMetrics.h"
#include "platform/ui/Constraint.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class View;
}

namespace lectoro {

class EPUBBookVO;
class EPUBChapterVO;
class LectoroBookVO;
class LXMVThemeVO;
class ReflowableSliderPopUpView;
class RendererViewController;
class SliderBarView;

class ReflowablePageSliderDelegate {
public:
    virtual ~ReflowablePageSliderDelegate() = default;
    // The reader's view: the slider and its pop-up are placed in it.
    virtual std::shared_ptr<ui::View> sliderHostView() = 0;
    // Updates the reader's chapter title from its contents data; answers the chapter name
    // that is now current.
    virtual std::string updateChapterTitleForChapter(const EPUBChapterVO&) = 0;
};

class ReflowablePageSlider {
public:
    // The delegate must outlive the slider; the renderer is held weakly.
    ReflowablePageSlider(ReflowablePageSliderDelegate&, std::shared_ptr<LXMVThemeVO>,
        std::weak_ptr<RendererViewController>, std::shared_ptr<ReflowableChapterMetrics>);
    ~ReflowablePageSlider();
    ReflowablePageSlider(const ReflowablePageSlider&) = delete;
    ReflowablePageSlider& operator=(const ReflowablePageSlider&) = delete;

    void setBook(std::shared_ptr<LectoroBookVO>);
    void setRenderer(std::weak_ptr<RendererViewController> renderer) { m_renderer = std::move(renderer); }

    bool isVerticalsliderEnable() const { return m_isVerticalsliderEnable; }
    void setIsVerticalsliderEnable(bool enabled) { m_isVerticalsliderEnable = enabled; }
    bool enableSliderPopUp() const { return m_enableSliderPopUp; }
    void setEnableSliderPopUp(bool enabled) { m_enableSliderPopUp = enabled; }
    bool sliderCompletedValue() const { return m_sliderCompletedValue; }
    double sliderTottalPages() const { return m_sliderTottalPages; }

    // Null while there is no slider (paginated, or not built yet).
    const std::shared_ptr<SliderBarView>& viewForSliderBar() const { return m_viewForSliderBar; }
    const std::shared_ptr<ReflowableSliderPopUpView>& reflowableSliderPopUpView() const
    {
        return m_popUpView;
    }
    const ui::ConstraintPtr& topConstraintForVerticalSliderView() const { return m_topConstraint; }
    const ui::ConstraintPtr& widthConstraintForVerticalSliderView() const { return m_widthConstraint; }
    // A minimum height that carries the track length.
    const ui::ConstraintPtr& bottomConstraintForVerticalSliderView() const { return m_bottomConstraint; }
    const ui::ConstraintPtr& rightConstraintForVerticalSliderView() const { return m_rightConstraint; }

    // Removes the slider and builds it again when it is wanted.
    void addSliderBarForReflowableBook();
    void enableDisableVerticalSlider(bool enabled);

    // Renderer reports.
    void bookLoadingCompletedWithContentSize(int64_t size);
    void bookCFIsLoadingCompleted(int64_t count);
    void didBookChaptersProcessSuccessfully(
        int64_t chaptersMeasured, int64_t chapterContentSize, bool isCoverPage);
    void didChangeContentPosition(double position, int64_t chapter, double contentSize, bool isCoverPage);
    void didChangeBookCFI(const std::string& cfi);

    void handleSliderWhenCFIsAreLoaded(int64_t count);
    void handleSliderWhenDataLoaded(double maximum);

    // A jump (contents, My Data, resources, search) to the chapter at `href` moves the thumb
    // to that chapter's start; an unknown chapter leaves it where it is.
    void navigateSliderToPage(const std::string& href);

    // The user drags and lets go.
    void movesSlider(float value);
    void didSliderScrollWithValue(float value);

    struct ChapterAtValue {
        std::shared_ptr<EPUBChapterVO> chapter;
        // Content points into the chapter.
        int64_t remainder = 0;
    };
    ChapterAtValue getCurrentChapterWithSliderValue(float value) const;
    std::shared_ptr<EPUBChapterVO> getChapterForSliderCFIValue(float value) const;
    int64_t getSliderCFIValueForChapter(const EPUBChapterVO&) const;
    bool isCoverPage(const EPUBChapterVO&) const;
    std::shared_ptr<EPUBChapterVO> getEpubChapterForIndex(int64_t index) const;
    // The track length the reader's view leaves: its height less the bars' room.
    double trackLength() const;

    // The navigation target a release at the value forms; none when it finds no place.
    std::optional<std::string> navigationTargetForSliderValue(float value) const;

private:
    EPUBBookVO* epubBook() const;
    double hostViewHeight() const;
    void showSliderView();
    void setTrackLength(double length);
    void applySliderAppearance();

    ReflowablePageSliderDelegate& m_delegate;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::weak_ptr<RendererViewController> m_renderer;
    std::shared_ptr<ReflowableChapterMetrics> m_metrics;
    std::shared_ptr<LectoroBookVO> m_book;

    bool m_isVerticalsliderEnable = false;
    bool m_enableSliderPopUp = true;
    bool m_sliderCompletedValue = false;
    double m_sliderTottalPages = 0;
    std::shared_ptr<SliderBarView> m_viewForSliderBar;
    std::shared_ptr<ReflowableSliderPopUpView> m_popUpView;
    ui::ConstraintPtr m_topConstraint;
    ui::ConstraintPtr m_widthConstraint;
    ui::ConstraintPtr m_bottomConstraint;
    ui::ConstraintPtr m_rightConstraint;
    // Delayed steps hold this weakly and are dropped once the slider is gone.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
