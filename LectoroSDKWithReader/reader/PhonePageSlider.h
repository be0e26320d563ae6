#pragma once

// The phone's page slider: a bar item holding a slider over the book's pages (page books),
// with a preview of the page and chapter while it is dragged, and a jump to that page
// when the drag ends. One slider position names the same page in the folio list and in
// the page list, as both come from the book in the same order.

#include <memory>

namespace ui {
class Label;
class Slider;
class View;
} // namespace ui

namespace lectoro {

class PlayerActionBarItem;
struct ReaderContext;

class PhonePageSlider {
public:
    static constexpr int itemTag = 8;

    explicit PhonePageSlider(ReaderContext&);

    std::shared_ptr<PlayerActionBarItem> getPlayerItemForIphoneSlider();
    std::shared_ptr<ui::Slider> pageSliderForiPhoneBottomBar() const { return m_slider; }
    // The slider's range follows the book's folio pages; none disables it.
    void updatePageSliderForiPhoneBottom();
    void movePagesUsingSlider(ui::Slider&);
    void didEndIphoneSliderScrolling(ui::Slider&);

    std::shared_ptr<ui::View> sliderPageDetailsView() const { return m_preview; }
    std::shared_ptr<ui::Label> sliderPageNumberLabel() const { return m_pageLabel; }
    std::shared_ptr<ui::Label> sliderChapterNameLabel() const { return m_chapterLabel; }

private:
    void buildPreview();

    ReaderContext& m_context;
    std::shared_ptr<ui::Slider> m_slider;
    std::shared_ptr<ui::View> m_preview;
    std::shared_ptr<ui::Label> m_pageLabel;
    std::shared_ptr<ui::Label> m_chapterLabel;
};

} // namespace lectoro
