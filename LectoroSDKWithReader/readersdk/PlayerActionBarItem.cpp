#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"

namespace lectoro {

std::shared_ptr<PlayerActionBarItem> PlayerActionBarItem::create(const ui::Rect& frame)
{
    auto item = std::shared_ptr<PlayerActionBarItem>(new PlayerActionBarItem(frame));
    // Its bar places it by constraints: a frame kept from its mask would hold an item that
    // asks for a size of its own (a swatch's height) at the zero frame it was made with.
    item->setTranslatesAutoresizingMaskIntoConstraints(false);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionBarItem::createWithLabel(int tag, const std::string& text)
{
    auto item = create();
    item->setTag(tag);
    auto label = ui::Label::create();
    label->setText(text);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    item->addSubview(label);
    ui::Constraint::activate({
        label->leadingAnchor().constraintEqualTo(item->leadingAnchor()),
        label->trailingAnchor().constraintEqualTo(item->trailingAnchor()),
        label->topAnchor().constraintEqualTo(item->topAnchor()),
        label->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    return item;
}

PlayerActionBarItem::PlayerActionBarItem(const ui::Rect& frame)
    : ui::View(frame)
{
}

void PlayerActionBarItem::setMetaData(base::Value metaData)
{
    m_metaData = metaData.isDictionary() ? std::move(metaData) : base::Value(base::Value::Dictionary {});
}

void PlayerActionBarItem::setSelected(bool selected)
{
    m_selected = selected;
}

void PlayerActionBarItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    setUserInteractionEnabled(enabled);
}

std::shared_ptr<ui::Label> PlayerActionBarItem::firstLabel() const
{
    for (const auto& subview : subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            return label;
    }
    return nullptr;
}

ui::AccessibilityTraits PlayerActionBarItem::accessibilityTraits() const
{
    ui::AccessibilityTraits traits = ui::View::accessibilityTraits();
    if (m_selected)
        traits = traits | ui::AccessibilityTraits::Selected;
    if (!m_enabled)
        traits = traits | ui::AccessibilityTraits::NotEnabled;
    return traits;
}

void PlayerActionBarItem::attach(const std::shared_ptr<PlayerActionBar>& bar, double width, int alignment, bool tappable)
{
    m_bar = bar;
    m_width = width < 0 ? 0 : width;
    m_alignment = alignment >= PlayerActionBarItemAlignmentLeading && alignment <= PlayerActionBarItemAlignmentFill
        ? alignment
        : PlayerActionBarItemAlignmentLeading;
    m_tappable = tappable;
}

} // namespace lectoro
