#include "LectoroSDKWithReader/reader/ReaderReflowable.h"

#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderBars.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderToolbarActions.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableReaderConfiguration.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

namespace lectoro {

ReaderReflowable::ReaderReflowable(ReaderContext& context)
    : m_context(context)
{
}

ReaderReflowable::~ReaderReflowable()
{
    tearDown();
}

void ReaderReflowable::setUpForBook(const std::shared_ptr<EPUBBookVO>& book, bool scrollEnabled)
{
    auto* reader = m_context.controller;
    if (!book || !book->isReflowable() || !reader)
        return;
    tearDown();
    m_metrics->clear();
    std::weak_ptr<RendererViewController> renderer = m_context.renderer;
    m_slider = std::make_unique<ReflowablePageSlider>(*this, m_context.theme, renderer, m_metrics);
    m_slider->setBook(book);
    m_slider->setIsVerticalsliderEnable(scrollEnabled);
    m_slider->setEnableSliderPopUp(m_context.enableSliderPopUp);

    m_pageCount = std::make_unique<ReflowablePageCount>(*this, m_metrics, m_slider.get());
    m_pageCount->setBook(book);
    m_pageCount->setBookID(m_context.bookID);
    m_pageCount->setUserID(m_context.user ? m_context.user->numericUserID() : 0);

    ReflowableLayoutSettingsDependencies dependencies;
    dependencies.theme = m_context.theme;
    dependencies.renderer = renderer;
    dependencies.store = m_context.dbManager;
    dependencies.bookID = std::to_string(m_context.bookID);
    dependencies.userID = m_context.user ? m_context.user->numericUserID() : 0;
    dependencies.configuration = ReflowableReaderConfiguration::sharedInstance();
    dependencies.slider = m_slider.get();
    dependencies.pageCount = m_pageCount.get();
    m_layoutSettings = std::make_unique<ReflowableLayoutSettings>(*this, std::move(dependencies));
    m_layoutSettings->setBook(book);

    reader->bars().setReflowablePageSlider(m_slider.get());
    reader->toolbarRouter().setReflowableLayoutSettings(m_layoutSettings.get());

    m_slider->addSliderBarForReflowableBook();
    m_pageCount->addReflowablePageCountView();
}

void ReaderReflowable::tearDown()
{
    if (auto* reader = m_context.controller) {
        reader->bars().setReflowablePageSlider(nullptr);
        reader->toolbarRouter().setReflowableLayoutSettings(nullptr);
    }
    m_layoutSettings.reset();
    m_pageCount.reset();
    m_slider.reset();
}

void ReaderReflowable::addSliderBarForReflowableBook()
{
    if (m_slider)
        m_slider->addSliderBarForReflowableBook();
}

void ReaderReflowable::addReflowablePageCountView()
{
    if (m_pageCount)
        m_pageCount->addReflowablePageCountView();
}

void ReaderReflowable::hideReflowablePageCountView()
{
    if (m_pageCount)
        m_pageCount->hideReflowablePageCountView();
}

void ReaderReflowable::setTimeLeftData(const std::string& text)
{
    if (m_pageCount)
        m_pageCount->setTimeLeftData(text);
}

void ReaderReflowable::relabelForLanguageChange(const std::string& timeLeftText)
{
    if (!m_pageCount)
        return;
    // "The device is in landscape": the device's own orientation, 3 or 4.
    m_pageCount->relabelPageLineForLanguage(ui::Environment::current().isDeviceLandscape());
    auto strip = m_pageCount->reflowableSliderPageCountView();
    if (strip && !strip->readingTimeLeftLabel()->text().empty() && !timeLeftText.empty())
        m_pageCount->setTimeLeftData(timeLeftText);
}

void ReaderReflowable::setDisableReflowablePageCountView(bool disabled)
{
    if (m_pageCount)
        m_pageCount->setDisableReflowablePageCountView(disabled);
}

void ReaderReflowable::saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>& settings)
{
    if (m_layoutSettings && settings)
        m_layoutSettings->saveReaderFontSetting(settings);
}

// MARK: - Renderer reports

void ReaderReflowable::bookLoadingCompletedWithContentSize(int64_t size)
{
    if (m_slider)
        m_slider->bookLoadingCompletedWithContentSize(size);
}

void ReaderReflowable::bookCFIsLoadingCompleted(int64_t count)
{
    if (m_slider)
        m_slider->bookCFIsLoadingCompleted(count);
}

void ReaderReflowable::didBookChaptersProcessSuccessfully(
    int64_t chaptersMeasured, int64_t chapterContentSize, bool isCoverPage)
{
    if (m_slider)
        m_slider->didBookChaptersProcessSuccessfully(chaptersMeasured, chapterContentSize, isCoverPage);
}

void ReaderReflowable::didChangeContentPosition(
    double position, int64_t chapter, double contentSize, bool isCoverPage)
{
    if (m_slider)
        m_slider->didChangeContentPosition(position, chapter, contentSize, isCoverPage);
}

void ReaderReflowable::didChangeBookCFI(const std::string& cfi)
{
    if (m_slider)
        m_slider->didChangeBookCFI(cfi);
}

void ReaderReflowable::didChangeReflowableBookPage(const std::string& pageText, int64_t chapter,
    int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage)
{
    if (m_pageCount)
        m_pageCount->didChangeReflowableBookPage(
            pageText, chapter, totalPagesInChapter, totalPagesInBook, isCoverPage);
}

void ReaderReflowable::didUpdateFurthestPage(const std::string& furthestPageJSON)
{
    if (m_pageCount)
        m_pageCount->didUpdateFurthestPage(furthestPageJSON);
}

// MARK: - Hosts

std::shared_ptr<ui::View> ReaderReflowable::sliderHostView()
{
    return m_context.controller ? m_context.controller->view() : nullptr;
}

std::string ReaderReflowable::updateChapterTitleForChapter(const EPUBChapterVO& chapter)
{
    if (auto* reader = m_context.controller)
        reader->updateChapterTitleForChapter(chapter);
    return m_context.currentChapterName;
}

std::shared_ptr<ui::View> ReaderReflowable::pageCountHostView()
{
    return sliderHostView();
}

std::shared_ptr<ui::View> ReaderReflowable::pageCountRendererView()
{
    return m_context.renderer ? m_context.renderer->viewIfLoaded() : nullptr;
}

std::shared_ptr<ReaderViewControllerDelegate> ReaderReflowable::pageCountReaderDelegate()
{
    return m_context.controller ? m_context.controller->delegate() : nullptr;
}

std::shared_ptr<ui::ViewController> ReaderReflowable::layoutSettingsPresenter()
{
    return m_context.controller ? m_context.controller->shared_from_this() : nullptr;
}

void ReaderReflowable::setActiveMode(uint64_t mode)
{
    m_context.activeMode = mode;
}

void ReaderReflowable::moveTopAndBottomOffScreen(bool animate, std::function<void()> completion)
{
    if (m_context.controller)
        m_context.controller->moveTopAndBottomOffScreenWithIsAnimate(animate, std::move(completion));
}

void ReaderReflowable::resetAllPlayerActionBar()
{
    if (m_context.controller)
        m_context.controller->resetAllPlayerActionBar();
}

void ReaderReflowable::didChangeFontSizeForReflow(int64_t size)
{
    if (m_context.controller)
        m_context.controller->didChangeFontSizeForReflow(size);
}

void ReaderReflowable::notifyEvent(const std::string& eventName, const base::Value& eventInfo)
{
    if (m_context.analyticsHandler)
        m_context.analyticsHandler->notifyEvent(eventName, eventInfo);
}

} // namespace lectoro
