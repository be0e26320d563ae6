#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/reader/ReaderFont.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include <algorithm>
#include <cmath>

namespace lectoro {

namespace {

constexpr double growthDelay = 0.3;
constexpr double appearanceDelay = 0.3;
constexpr double cfiRecheckDelay = 1.0;
constexpr double containerInset = 40;

double trailingOffsetBase()
{
    if (isRTL())
        return isIpad() ? 10 : 6;
    return isIpad() ? 15 : 10;
}

int64_t truncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int64_t>(std::trunc(std::clamp(value, -9.0e18, 9.0e18)));
}

} // namespace

ReflowablePageSlider::ReflowablePageSlider(ReflowablePageSliderDelegate& delegate,
    std::shared_ptr<LXMVThemeVO> theme, std::weak_ptr<RendererViewController> renderer,
    std::shared_ptr<ReflowableChapterMetrics> metrics)
    : m_delegate(delegate)
    , m_theme(std::move(theme))
    , m_renderer(std::move(renderer))
    , m_metrics(metrics ? std::move(metrics) : std::make_shared<ReflowableChapterMetrics>())
{
}

ReflowablePageSlider::~ReflowablePageSlider()
{
    if (m_viewForSliderBar)
        m_viewForSliderBar->removeFromSuperview();
    if (m_popUpView)
        m_popUpView->removeFromSuperview();
}

void ReflowablePageSlider::setBook(std::shared_ptr<LectoroBookVO> book)
{
    m_book = std::move(book);
}

EPUBBookVO* ReflowablePageSlider::epubBook() const
{
    return dynamic_cast<EPUBBookVO*>(m_book.get());
}

double ReflowablePageSlider::hostViewHeight() const
{
    auto view = m_delegate.sliderHostView();
    return view ? view->bounds().size.height : 0;
}

double ReflowablePageSlider::trackLength() const
{
    return hostViewHeight() - (isIpad() ? 146 : 110);
}

void ReflowablePageSlider::addSliderBarForReflowableBook()
{
    if (m_viewForSliderBar) {
        m_viewForSliderBar->removeFromSuperview();
        m_viewForSliderBar = nullptr;
    }
    m_sliderCompletedValue = false;
    if (!m_isVerticalsliderEnable)
        return;
    auto hostView = m_delegate.sliderHostView();
    if (!hostView)
        return;

    m_sliderTottalPages = 0;
    auto slider = SliderBarView::create(true);
    slider->setBackgroundColor(ui::Color::clear());
    slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    hostView->addSubview(slider);
    slider->enableSliderThumbImage(false);
    slider->percentageLabel()->setHidden(true);
    // Shown once the book's data arrives.
    slider->setHidden(true);
    m_viewForSliderBar = slider;

    const bool pad = isIpad();
    m_topConstraint = slider->topAnchor().constraintEqualTo(hostView->topAnchor(), pad ? 80 : 60);
    m_widthConstraint = slider->widthAnchor().constraintEqualToConstant(pad ? 50 : 40);
    m_bottomConstraint = slider->heightAnchor().constraintGreaterThanOrEqualToConstant(50);
    m_rightConstraint = slider->trailingAnchor().constraintEqualTo(
        hostView->trailingAnchor(), hostView->safeAreaInsets().right + 3 * trailingOffsetBase());
    hostView->addConstraints({ m_topConstraint, m_widthConstraint, m_bottomConstraint, m_rightConstraint });

    std::weak_ptr<const void> alive = m_alive;
    slider->setSliderMoves([this, alive](float value) {
        if (alive.lock())
            movesSlider(value);
    });
    slider->setSliderValueChanged([this, alive](float value) {
        if (alive.lock())
            didSliderScrollWithValue(value);
    });

    if (m_enableSliderPopUp) {
        if (!m_popUpView) {
            m_popUpView = ReflowableSliderPopUpView::create();
            m_popUpView->readingTimeLeftLabel()->setAlpha(0);
        }
        m_popUpView->setBackgroundColor(ui::Color::clear());
        m_popUpView->setTranslatesAutoresizingMaskIntoConstraints(false);
        hostView->addSubview(m_popUpView);
        m_popUpView->setAlpha(0);
        hostView->addConstraints({
            m_popUpView->bottomAnchor().constraintEqualTo(hostView->bottomAnchor(), -50),
            m_popUpView->centerXAnchor().constraintEqualTo(hostView->centerXAnchor()),
            m_popUpView->widthAnchor().constraintEqualToConstant(pad ? 300 : 250),
            m_popUpView->heightAnchor().constraintEqualToConstant(100),
        });
    }
}

void ReflowablePageSlider::enableDisableVerticalSlider(bool enabled)
{
    m_isVerticalsliderEnable = enabled;
    addSliderBarForReflowableBook();
}

void ReflowablePageSlider::showSliderView()
{
    if (m_viewForSliderBar)
        m_viewForSliderBar->setHidden(false);
}

void ReflowablePageSlider::setTrackLength(double length)
{
    if (m_bottomConstraint)
        m_bottomConstraint->setConstant(length);
    if (m_viewForSliderBar)
        m_viewForSliderBar->sliderContainerVewHeight()->setConstant(length - containerInset);
}

void ReflowablePageSlider::bookLoadingCompletedWithContentSize(int64_t size)
{
    handleSliderWhenDataLoaded(static_cast<double>(size));
}

void ReflowablePageSlider::bookCFIsLoadingCompleted(int64_t count)
{
    handleSliderWhenCFIsAreLoaded(count);
    std::weak_ptr<const void> alive = m_alive;
    base::RunLoop::main().postDelayed(
        cfiRecheckDelay, alive, [this, count] { handleSliderWhenCFIsAreLoaded(count); });
}

void ReflowablePageSlider::handleSliderWhenCFIsAreLoaded(int64_t count)
{
    showSliderView();
    setTrackLength(trackLength());
    handleSliderWhenDataLoaded(static_cast<double>(count));
}

void ReflowablePageSlider::didBookChaptersProcessSuccessfully(
    int64_t chaptersMeasured, int64_t chapterContentSize, bool)
{
    showSliderView();
    auto* book = epubBook();
    if (!book)
        return;
    m_metrics->recordMeasuredChapter(chaptersMeasured, chapterContentSize);
    if (chaptersMeasured == 0)
        m_sliderTottalPages = 0;
    const auto chapterCount = static_cast<int64_t>(book->chapters.size());
    if (chapterCount == 1) {
        setTrackLength(trackLength());
        return;
    }
    if (chapterCount <= chaptersMeasured)
        return;
    m_sliderCompletedValue = false;
    std::weak_ptr<const void> alive = m_alive;
    base::RunLoop::main().postDelayed(growthDelay, alive, [this, chapterCount] {
        m_sliderTottalPages += trackLength() / static_cast<double>(chapterCount);
        if (m_bottomConstraint)
            m_bottomConstraint->setConstant(m_sliderTottalPages);
        if (m_sliderTottalPages > containerInset && m_viewForSliderBar)
            m_viewForSliderBar->sliderContainerVewHeight()->setConstant(m_sliderTottalPages - containerInset);
    });
}

void ReflowablePageSlider::handleSliderWhenDataLoaded(double maximum)
{
    m_sliderCompletedValue = true;
    if (m_viewForSliderBar)
        m_viewForSliderBar->pageSlider()->setMaximumValue(maximum);
    std::weak_ptr<const void> alive = m_alive;
    base::RunLoop::main().postDelayed(appearanceDelay, alive, [this] { applySliderAppearance(); });
}

void ReflowablePageSlider::applySliderAppearance()
{
    if (!m_viewForSliderBar)
        return;
    std::optional<ui::Color> color;
    if (m_theme)
        color = m_theme->thumbnail_slider_slider_color();
    m_viewForSliderBar->enableSliderThumbImage(true);
    m_viewForSliderBar->percentageLabel()->setHidden(false);
    m_viewForSliderBar->setSliderThumbColour(color, ui::Color::lightGray(), color);
    if (color)
        m_viewForSliderBar->percentageLabel()->setTextColor(*color);
    m_viewForSliderBar->setImageForSlider(ui::Image::named("SliderThumbImage"), color);
}

std::shared_ptr<EPUBChapterVO> ReflowablePageSlider::getEpubChapterForIndex(int64_t index) const
{
    auto* book = epubBook();
    if (!book || index < 0 || index >= static_cast<int64_t>(book->chapters.size()))
        return nullptr;
    return book->chapters[static_cast<size_t>(index)];
}

void ReflowablePageSlider::didChangeContentPosition(
    double position, int64_t chapterIndex, double contentSize, bool)
{
    auto* book = epubBook();
    if (!m_sliderCompletedValue || !book || !m_viewForSliderBar)
        return;
    auto chapter = getEpubChapterForIndex(chapterIndex);
    if (!chapter)
        return;
    auto slider = m_viewForSliderBar->pageSlider();
    const bool atBookEnd = chapter->fileIndex == static_cast<int64_t>(book->chapters.size()) - 1
        && position + hostViewHeight() >= contentSize;
    if (book->isBookContentLoaded) {
        if (atBookEnd)
            slider->setValue(slider->maximumValue(), false);
        else
            slider->setValue(static_cast<double>(
                                 m_metrics->metricForChapter(chapter->fileIndex).bookContentSizeTillChapter)
                    + position,
                false);
        m_viewForSliderBar->updatePercentage();
    } else if (atBookEnd)
        slider->setValue(slider->maximumValue(), false);
}

void ReflowablePageSlider::didChangeBookCFI(const std::string& cfi)
{
    auto* book = epubBook();
    if (!m_sliderCompletedValue || !book || book->isBookContentLoaded || !m_viewForSliderBar)
        return;
    auto found = std::find(book->bookCFIArray.begin(), book->bookCFIArray.end(), cfi);
    // A position the list does not hold leaves the thumb where it is.
    if (found == book->bookCFIArray.end())
        return;
    auto index = std::distance(book->bookCFIArray.begin(), found);
    m_viewForSliderBar->pageSlider()->setValue(static_cast<double>(index + 1), false);
    m_viewForSliderBar->updatePercentage();
}

void ReflowablePageSlider::navigateSliderToPage(const std::string& href)
{
    auto* book = epubBook();
    if (!book || !m_viewForSliderBar)
        return;
    auto found = std::find_if(book->chapters.begin(), book->chapters.end(),
        [&](const std::shared_ptr<EPUBChapterVO>& chapter) { return chapter && chapter->href == href; });
    if (found == book->chapters.end())
        return;
    const auto& chapter = **found;
    double value = book->isBookContentLoaded
        ? static_cast<double>(m_metrics->metricForChapter(chapter.fileIndex).bookContentSizeTillChapter)
        : static_cast<double>(getSliderCFIValueForChapter(chapter));
    m_viewForSliderBar->pageSlider()->setValue(value, true);
    m_viewForSliderBar->updatePercentage();
}

ReflowablePageSlider::ChapterAtValue ReflowablePageSlider::getCurrentChapterWithSliderValue(float value) const
{
    auto* book = epubBook();
    if (!book)
        return {};
    int64_t remainder = truncated(value);
    for (const auto& chapter : book->chapters) {
        if (!chapter)
            continue;
        int64_t size = m_metrics->metricForChapter(chapter->fileIndex).contentSize;
        if (remainder <= size)
            return { chapter, remainder };
        remainder -= size;
    }
    return {};
}

std::shared_ptr<EPUBChapterVO> ReflowablePageSlider::getChapterForSliderCFIValue(float value) const
{
    auto* book = epubBook();
    if (!book)
        return nullptr;
    const int64_t target = truncated(value);
    int64_t running = 0;
    for (const auto& entry : book->bookCFIs) {
        running += static_cast<int64_t>(entry.chapterCFIArray.size());
        if (running >= target) {
            for (const auto& chapter : book->chapters) {
                if (chapter && chapter->href == entry.href)
                    return chapter;
            }
            return nullptr;
        }
    }
    return nullptr;
}

int64_t ReflowablePageSlider::getSliderCFIValueForChapter(const EPUBChapterVO& chapter) const
{
    auto* book = epubBook();
    if (!book)
        return 0;
    for (const auto& entry : book->bookCFIs) {
        if (entry.href != chapter.href)
            continue;
        if (entry.chapterCFIArray.empty())
            return 0;
        auto found
            = std::find(book->bookCFIArray.begin(), book->bookCFIArray.end(), entry.chapterCFIArray.front());
        return found == book->bookCFIArray.end() ? 0 : std::distance(book->bookCFIArray.begin(), found);
    }
    return 0;
}

bool ReflowablePageSlider::isCoverPage(const EPUBChapterVO& chapter) const
{
    auto* book = epubBook();
    if (!book)
        return false;
    return std::any_of(book->guides.begin(), book->guides.end(),
        [&](const EPUBGuideVO& guide) { return guide.href == chapter.href && guide.type == "cover"; });
}

void ReflowablePageSlider::movesSlider(float value)
{
    auto* book = epubBook();
    if (!book)
        return;
    if (m_popUpView)
        m_popUpView->setAlpha(1.0);
    if (!book->isBookContentLoaded) {
        if (auto chapter = getChapterForSliderCFIValue(value))
            m_delegate.updateChapterTitleForChapter(*chapter);
        return;
    }

    auto found = getCurrentChapterWithSliderValue(value);
    std::string chapterName;
    std::string pageText;
    if (found.chapter) {
        chapterName = m_delegate.updateChapterTitleForChapter(*found.chapter);
        auto metric = m_metrics->metricForChapter(found.chapter->fileIndex);
        const int64_t offset
            = truncated(static_cast<double>(value) - static_cast<double>(metric.bookContentSizeTillChapter));
        const int64_t pageHeight = truncated(hostViewHeight());
        // A view with no height has no pages to count.
        if (pageHeight > 0 && !isCoverPage(*found.chapter)) {
            const auto pageInChapter = static_cast<int64_t>(
                std::ceil(static_cast<double>(offset) / static_cast<double>(pageHeight)));
            const std::string number = NumberLocalizationHandler::localizeNumberWithNumber(
                base::Value(pageInChapter + metric.totalNumOfPagesTillChapter));
            pageText = LocalizationHelper::localizedStringWithKey(
                           "PAGE", base::Bundle::defaultTable, LocalizationHelper::currentBundle())
                + " " + number;
        }
    }
    if (!m_popUpView)
        return;
    m_popUpView->chapterNameLabel()->setFont(readerFont(17, ui::FontWeight::Bold));
    m_popUpView->chapterNameLabel()->setText(chapterName);
    m_popUpView->chapterLabel()->setFont(readerFont(10, ui::FontWeight::Regular));
    m_popUpView->chapterLabel()->setText(pageText);
}

std::optional<std::string> ReflowablePageSlider::navigationTargetForSliderValue(float value) const
{
    auto* book = epubBook();
    if (!book)
        return std::nullopt;
    if (book->isBookContentLoaded) {
        ChapterAtValue target;
        if (book->chapters.size() == 1)
            target = { book->chapters.front(), truncated(value) };
        else
            target = getCurrentChapterWithSliderValue(value);
        if (!target.chapter)
            return std::nullopt;
        return target.chapter->href + base::format("#contentPosition%ld", target.remainder);
    }

    const auto& cfis = book->bookCFIArray;
    if (cfis.empty())
        return std::nullopt;
    // A value below 1 counts as 1 and one just past the list as its last entry; anything
    // further is no position of this book.
    int64_t index = truncated(value) - 1;
    if (index < 0)
        index = 0;
    if (index == static_cast<int64_t>(cfis.size()))
        index = static_cast<int64_t>(cfis.size()) - 1;
    if (index > static_cast<int64_t>(cfis.size()))
        return std::nullopt;
    const std::string& cfi = cfis[static_cast<size_t>(index)];
    auto chapter = getChapterForSliderCFIValue(value);
    if (!chapter)
        return std::nullopt;
    if (cfi == cfis.front() && chapter->fileIndex > 0 && !book->coverImageName.empty()) {
        auto previous = getEpubChapterForIndex(chapter->fileIndex - 1);
        return previous ? std::optional<std::string>(previous->href) : std::nullopt;
    }
    return chapter->href + "#bookCFI" + cfi;
}

void ReflowablePageSlider::didSliderScrollWithValue(float value)
{
    if (!epubBook())
        return;
    if (auto target = navigationTargetForSliderValue(value)) {
        if (auto renderer = m_renderer.lock())
            renderer->navigateToPageNumber(*target);
    }
    if (auto popUp = m_popUpView) {
        ui::View::transition(
            popUp, 1.0, ui::AnimationOptions::TransitionCrossDissolve, [popUp] { popUp->setAlpha(0); });
    }
}

} // namespace lectoro
