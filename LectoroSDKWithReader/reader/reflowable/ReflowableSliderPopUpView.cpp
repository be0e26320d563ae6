#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"

#include "platform/ui/Label.h"

namespace lectoro {

std::shared_ptr<ReflowableSliderPopUpView> ReflowableSliderPopUpView::create()
{
    auto popUp = std::shared_ptr<ReflowableSliderPopUpView>(new ReflowableSliderPopUpView);
    popUp->buildViews();
    return popUp;
}

ReflowableSliderPopUpView::ReflowableSliderPopUpView() = default;

// After construction, so each label knows the pop-up as its superview.
void ReflowableSliderPopUpView::buildViews()
{
    m_chapterNameLabel = ui::Label::create();
    m_chapterLabel = ui::Label::create();
    m_readingTimeLeftLabel = ui::Label::create();
    for (auto* label : { &m_chapterNameLabel, &m_chapterLabel, &m_readingTimeLeftLabel }) {
        (*label)->setTextAlignment(ui::TextAlignment::Center);
        addSubview(*label);
    }
}

void ReflowableSliderPopUpView::layoutSubviews()
{
    ui::View::layoutSubviews();
    // Three rows: the chapter name, the page, the time left.
    double width = bounds().size.width;
    m_chapterNameLabel->setFrame({ 10, 10, width - 20, 30 });
    m_chapterLabel->setFrame({ 10, 42, width - 20, 20 });
    m_readingTimeLeftLabel->setFrame({ 10, 66, width - 20, 20 });
}

} // namespace lectoro
