#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"

#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"

#include <algorithm>

#include <cmath>

namespace lectoro {

namespace {

// The drop-down's text on a box of the tablet's size.
constexpr double dropDownFontSize = 17;

// The arrow a drop-down box shows after its text.
inline constexpr const char* dropDownArrow = " \u25BE";

} // namespace

std::shared_ptr<MarkupView> MarkupView::create(const ui::Rect& frame)
{
    return std::shared_ptr<MarkupView>(new MarkupView(frame));
}

MarkupView::MarkupView(const ui::Rect& frame)
    : ui::Button(ui::ButtonType::Custom, frame)
{
}

void MarkupView::setAsInvisibleMarkup()
{
    m_invisible = true;
    setAlpha(0.011);
    setBackgroundColor(ui::Color::clear());
    layer()->setBorderWidth(0);
}

void MarkupView::updateForDropDownWithInputText(const std::string& text, const std::string&)
{
    m_dropDown = true;
    setTitle(text + dropDownArrow);
    setTitle(text + dropDownArrow, ui::ControlState::Highlighted);
    setBackgroundColor(ui::Color::white());
    setTitleColor(ui::Color::black());
    layer()->setBorderWidth(1);
    layer()->setBorderColor(ui::Color::gray());
    layer()->setCornerRadius(4);
    // The box is the page's, scaled with it: the choice's text keeps inside the box,
    // shortened at its end when it is longer than the box is wide.
    if (auto label = titleLabel()) {
        double height = frame().size.height;
        double size = height > 0 ? std::min(dropDownFontSize, height * 0.6) : dropDownFontSize;
        label->setFont(ui::Font::systemFont(std::max(size, 1.0)));
        label->setLineBreakMode(ui::LineBreakMode::ByTruncatingTail);
    }
}

std::string MarkupView::dropDownText() const
{
    std::string title = currentTitle();
    std::string_view arrow = dropDownArrow;
    if (title.size() >= arrow.size() && title.compare(title.size() - arrow.size(), arrow.size(), arrow) == 0)
        title.resize(title.size() - arrow.size());
    return title;
}

std::shared_ptr<MarkupHitAreaLabel> MarkupHitAreaLabel::create(const ui::Rect& frame)
{
    auto label = std::shared_ptr<MarkupHitAreaLabel>(new MarkupHitAreaLabel(frame));
    std::weak_ptr<MarkupHitAreaLabel> weakLabel = label;
    label->setUserInteractionEnabled(true);
    label->addGestureRecognizer(ui::TapGestureRecognizer::create([weakLabel](ui::GestureRecognizer&) {
        if (auto strong = weakLabel.lock())
            strong->tap();
    }));
    return label;
}

MarkupHitAreaLabel::MarkupHitAreaLabel(const ui::Rect& frame)
    : ui::Label(frame)
{
}

void MarkupHitAreaLabel::tap()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnMarkupHitArea(*this);
}

void MarkupView::layoutSubviews()
{
    double height = bounds().height();
    if (m_glyphFollowsHeight && height > 0) {
        auto label = titleLabel();
        if (label && std::abs(label->font().pointSize() - height / 2) > 0.01)
            label->setFont(ui::Font(label->font().name(), height / 2));
        layer()->setCornerRadius(height / 2);
    }
    ui::Button::layoutSubviews();
}

} // namespace lectoro
