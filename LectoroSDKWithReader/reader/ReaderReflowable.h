#pragma once

// A reflowable book's own chrome in the reader: the vertical page slider, the page-count
// strip with the read percentage and furthest page, and the layout-settings sheet. They
// are made when a reflowable book has loaded (the reader of any other book has none, and
// every operation here then does nothing), and are fed the renderer's position reports.

#include "LectoroSDKWithReader/reader/reflowable/ReflowableLayoutSettings.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class EPUBBookVO;
class ReaderFontSettingsVO;
struct ReaderContext;

class ReaderReflowable final : public ReflowablePageSliderDelegate,
                               public ReflowablePageCountHost,
                               public ReflowableLayoutSettingsHost {
public:
    explicit ReaderReflowable(ReaderContext&);
    ~ReaderReflowable() override;
    ReaderReflowable(const ReaderReflowable&) = delete;
    ReaderReflowable& operator=(const ReaderReflowable&) = delete;

    // Makes the slider (shown when `scrollEnabled`), the page count and the layout
    // settings for the book, and hands them to the bars and the toolbar.
    void setUpForBook(const std::shared_ptr<EPUBBookVO>&, bool scrollEnabled);
    // Drops them (the reader is closing).
    void tearDown();

    ReflowablePageSlider* slider() const { return m_slider.get(); }
    ReflowablePageCount* pageCount() const { return m_pageCount.get(); }
    ReflowableLayoutSettings* layoutSettings() const { return m_layoutSettings.get(); }
    bool isVerticalsliderEnable() const { return m_slider && m_slider->isVerticalsliderEnable(); }

    void addSliderBarForReflowableBook();
    void addReflowablePageCountView();
    void hideReflowablePageCountView();
    void setTimeLeftData(const std::string& text);
    // A language change: the strip's page line and time left in the new language.
    void relabelForLanguageChange(const std::string& timeLeftText);
    void setDisableReflowablePageCountView(bool);
    void saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>&);

    // Renderer reports.
    void bookLoadingCompletedWithContentSize(int64_t size);
    void bookCFIsLoadingCompleted(int64_t count);
    void didBookChaptersProcessSuccessfully(
        int64_t chaptersMeasured, int64_t chapterContentSize, bool isCoverPage);
    void didChangeContentPosition(double position, int64_t chapter, double contentSize, bool isCoverPage);
    void didChangeBookCFI(const std::string& cfi);
    void didChangeReflowableBookPage(const std::string& pageText, int64_t chapter,
        int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage);
    void didUpdateFurthestPage(const std::string& furthestPageJSON);

    // ReflowablePageSliderDelegate.
    std::shared_ptr<ui::View> sliderHostView() override;
    std::string updateChapterTitleForChapter(const EPUBChapterVO&) override;

    // ReflowablePageCountHost.
    std::shared_ptr<ui::View> pageCountHostView() override;
    std::shared_ptr<ui::View> pageCountRendererView() override;
    std::shared_ptr<ReaderViewControllerDelegate> pageCountReaderDelegate() override;

    // ReflowableLayoutSettingsHost.
    std::shared_ptr<ui::ViewController> layoutSettingsPresenter() override;
    void setActiveMode(uint64_t) override;
    void moveTopAndBottomOffScreen(bool animate, std::function<void()> completion) override;
    void resetAllPlayerActionBar() override;
    void didChangeFontSizeForReflow(int64_t size) override;
    void notifyEvent(const std::string& eventName, const base::Value& eventInfo) override;

private:
    ReaderContext& m_context;
    std::shared_ptr<ReflowableChapterMetrics> m_metrics = std::make_shared<ReflowableChapterMetrics>();
    std::unique_ptr<ReflowablePageSlider> m_slider;
    std::unique_ptr<ReflowablePageCount> m_pageCount;
    std::unique_ptr<ReflowableLayoutSettings> m_layoutSettings;
};

} // namespace lectoro
