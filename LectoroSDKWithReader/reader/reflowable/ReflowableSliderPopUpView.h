#pragma once

// The pop-up above the bottom edge that names the chapter and page while the user drags
// the reflowable page slider. Stands in for the companion framework's pop-up view.

#include "platform/ui/View.h"

#include <memory>

namespace ui {
class Label;
}

namespace lectoro {

class ReflowableSliderPopUpView : public ui::View {
public:
    static std::shared_ptr<ReflowableSliderPopUpView> create();
    std::string_view className() const override { return "ReflowableSliderPopUpView"; }

    const std::shared_ptr<ui::Label>& chapterNameLabel() const { return m_chapterNameLabel; }
    const std::shared_ptr<ui::Label>& chapterLabel() const { return m_chapterLabel; }
    const std::shared_ptr<ui::Label>& readingTimeLeftLabel() const { return m_readingTimeLeftLabel; }

    void layoutSubviews() override;

protected:
    ReflowableSliderPopUpView();

private:
    void buildViews();

    std::shared_ptr<ui::Label> m_chapterNameLabel;
    std::shared_ptr<ui::Label> m_chapterLabel;
    std::shared_ptr<ui::Label> m_readingTimeLeftLabel;
};

} // namespace lectoro
