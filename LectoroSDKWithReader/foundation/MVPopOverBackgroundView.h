#pragma once

#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Presentation.h"

#include <optional>

namespace lectoro {

// The reader's pop-over chrome: a triangular arrow drawn in one colour shared by every
// pop-over (black until set).
class MVPopOverBackgroundView : public ui::PopoverBackgroundView {
public:
    static std::shared_ptr<MVPopOverBackgroundView> create(const ui::Rect& frame = {});
    // For PopoverPresentationController::setPopoverBackgroundViewClass.
    static ui::PopoverPresentationController::BackgroundViewFactory factory();
    std::string_view className() const override { return "MVPopOverBackgroundView"; }

    static double arrowBase() { return 30.0; }
    static double arrowHeight() { return 15.0; }
    static ui::EdgeInsets contentViewInsets() { return {}; }
    static bool wantsDefaultContentAppearance() { return false; }

    static void setArrowColor(std::optional<ui::Color>);
    static ui::Color getArrowColor();

    void setArrowDirection(ui::PopoverArrowDirection) override;
    void setArrowOffset(double) override;

    // A clear image of the size with an upward triangle in the arrow colour.
    static ui::ImagePtr drawArrowImage(const ui::Size&);
    const std::shared_ptr<ui::ImageView>& arrowImageView() const { return m_arrowImageView; }

    void layoutSubviews() override;

protected:
    explicit MVPopOverBackgroundView(const ui::Rect& frame);

private:
    std::shared_ptr<ui::ImageView> m_arrowImageView;
};

} // namespace lectoro
