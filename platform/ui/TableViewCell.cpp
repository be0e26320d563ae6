#include "platform/ui/TableViewCell.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double horizontalPadding = 16;
constexpr double verticalPadding = 11;
constexpr double accessoryAreaWidth = 40;
constexpr double minimumCellHeight = 44;

bool hasText(const std::shared_ptr<Label>& label)
{
    return label && !label->isHidden() && !label->text().empty();
}

} // namespace

std::shared_ptr<TableViewCell> TableViewCell::create(TableViewCellStyle style, std::string reuseIdentifier)
{
    return std::shared_ptr<TableViewCell>(new TableViewCell(style, std::move(reuseIdentifier)));
}

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(Rect(0, 0, 320, minimumCellHeight))
    , m_style(style)
    , m_reuseIdentifier(std::move(reuseIdentifier))
{
}

const std::shared_ptr<View>& TableViewCell::contentView()
{
    if (!m_contentView) {
        m_contentView = View::create(bounds());
        m_contentView->setAutoresizingMask(
            AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        insertSubview(m_contentView, m_backgroundView && m_backgroundView->superview().get() == this ? 1 : 0);
    }
    return m_contentView;
}

std::shared_ptr<Label> TableViewCell::textLabel()
{
    if (!m_textLabel) {
        m_textLabel = Label::create();
        contentView()->addSubview(m_textLabel);
        setNeedsLayout();
    }
    return m_textLabel;
}

std::shared_ptr<Label> TableViewCell::detailTextLabel()
{
    if (m_style == TableViewCellStyle::Default)
        return nullptr;
    if (!m_detailTextLabel) {
        m_detailTextLabel = Label::create();
        m_detailTextLabel->setFont(Font::systemFont(m_style == TableViewCellStyle::Subtitle ? 12 : 17));
        if (m_style == TableViewCellStyle::Value1)
            m_detailTextLabel->setTextColor(Color::gray());
        contentView()->addSubview(m_detailTextLabel);
        setNeedsLayout();
    }
    return m_detailTextLabel;
}

std::shared_ptr<ImageView> TableViewCell::imageView()
{
    if (!m_imageView) {
        m_imageView = ImageView::create();
        contentView()->insertSubview(m_imageView, 0);
        setNeedsLayout();
    }
    return m_imageView;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type)
{
    m_accessoryType = type;
    setNeedsLayout();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view)
{
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView)
        addSubview(m_accessoryView);
    setNeedsLayout();
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView)
        insertSubview(m_backgroundView, 0);
    setNeedsLayout();
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view)
{
    if (m_selectedBackgroundView)
        m_selectedBackgroundView->removeFromSuperview();
    m_selectedBackgroundView = std::move(view);
    updateSelectedBackground();
    setNeedsLayout();
}

void TableViewCell::updateSelectedBackground()
{
    if (!m_selectedBackgroundView)
        return;
    bool show = (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
    if (show && !m_selectedBackgroundView->superview()) {
        size_t index = m_backgroundView && m_backgroundView->superview().get() == this ? 1 : 0;
        insertSubview(m_selectedBackgroundView, index);
        m_selectedBackgroundView->setFrame(bounds());
    } else if (!show && m_selectedBackgroundView->superview().get() == this) {
        m_selectedBackgroundView->removeFromSuperview();
    }
}

void TableViewCell::setSelected(bool selected, bool)
{
    m_selected = selected;
    if (m_textLabel)
        m_textLabel->setHighlighted(selected || m_highlighted);
    if (m_detailTextLabel)
        m_detailTextLabel->setHighlighted(selected || m_highlighted);
    updateSelectedBackground();
}

void TableViewCell::setHighlighted(bool highlighted, bool)
{
    m_highlighted = highlighted;
    if (m_textLabel)
        m_textLabel->setHighlighted(highlighted || m_selected);
    if (m_detailTextLabel)
        m_detailTextLabel->setHighlighted(highlighted || m_selected);
    updateSelectedBackground();
}

void TableViewCell::prepareForReuse()
{
    ++m_reuseCount;
    setSelected(false);
    setHighlighted(false);
}

double TableViewCell::accessoryWidth() const
{
    if (m_accessoryView)
        return std::max(accessoryAreaWidth, m_accessoryView->frame().width() + horizontalPadding);
    return m_accessoryType == TableViewCellAccessoryType::None ? 0 : accessoryAreaWidth;
}

void TableViewCell::layoutSubviews()
{
    View::layoutSubviews();
    Rect cellBounds = bounds();
    double accessory = accessoryWidth();
    double contentWidth = std::max(0.0, cellBounds.width() - accessory);
    double height = cellBounds.height();
    contentView()->setFrame({ 0, 0, contentWidth, height });
    if (m_backgroundView)
        m_backgroundView->setFrame(cellBounds);
    if (m_selectedBackgroundView)
        m_selectedBackgroundView->setFrame(cellBounds);
    if (m_accessoryView) {
        Rect frame = m_accessoryView->frame();
        m_accessoryView->setFrame({ contentWidth + (accessory - frame.width()) / 2,
            (height - frame.height()) / 2, frame.width(), frame.height() });
    }

    double textX = horizontalPadding;
    if (m_imageView && m_imageView->image()) {
        Size imageSize = m_imageView->image()->size();
        m_imageView->setFrame(
            { horizontalPadding, (height - imageSize.height) / 2, imageSize.width, imageSize.height });
        textX = horizontalPadding + imageSize.width + horizontalPadding;
    }
    double textWidth = std::max(0.0, contentWidth - textX - horizontalPadding);
    switch (m_style) {
    case TableViewCellStyle::Default:
        if (m_textLabel)
            m_textLabel->setFrame({ textX, 0, textWidth, height });
        break;
    case TableViewCellStyle::Subtitle:
        if (m_textLabel)
            m_textLabel->setFrame({ textX, 0, textWidth, height / 2 });
        if (m_detailTextLabel)
            m_detailTextLabel->setFrame({ textX, height / 2, textWidth, height / 2 });
        break;
    case TableViewCellStyle::Value1:
        if (m_textLabel)
            m_textLabel->setFrame({ textX, 0, textWidth / 2, height });
        if (m_detailTextLabel) {
            m_detailTextLabel->setTextAlignment(TextAlignment::Right);
            m_detailTextLabel->setFrame({ textX + textWidth / 2, 0, textWidth / 2, height });
        }
        break;
    case TableViewCellStyle::Value2:
        if (m_textLabel) {
            m_textLabel->setTextAlignment(TextAlignment::Right);
            m_textLabel->setFrame({ textX, 0, textWidth / 3, height });
        }
        if (m_detailTextLabel)
            m_detailTextLabel->setFrame({ textX + textWidth / 3, 0, textWidth * 2 / 3, height });
        break;
    }
}

Size TableViewCell::sizeThatFits(const Size& size) const
{
    bool text = hasText(m_textLabel);
    bool detail = hasText(m_detailTextLabel);
    if (!text && !detail)
        return { size.width, 0 };
    double textX = horizontalPadding;
    if (m_imageView && m_imageView->image())
        textX += m_imageView->image()->size().width + horizontalPadding;
    double width = std::max(0.0, size.width - accessoryWidth() - textX - horizontalPadding);
    if (m_style == TableViewCellStyle::Value1)
        width /= 2;
    double textHeight = text ? m_textLabel->sizeThatFits({ width, 0 }).height : 0;
    double detailHeight = detail ? m_detailTextLabel->sizeThatFits({ width, 0 }).height : 0;
    double contentHeight = m_style == TableViewCellStyle::Subtitle ? textHeight + detailHeight
                                                                   : std::max(textHeight, detailHeight);
    return { size.width, std::max(minimumCellHeight, std::ceil(contentHeight + 2 * verticalPadding)) };
}

bool placedByConstraints(const View& view)
{
    if (!view.constraints().empty())
        return true;
    for (const auto& subview : view.subviews()) {
        if (placedByConstraints(*subview))
            return true;
    }
    return false;
}

namespace {

void collectWrappingLabels(const View& view, std::vector<std::shared_ptr<Label>>& labels)
{
    for (const auto& subview : view.subviews()) {
        if (auto label = std::dynamic_pointer_cast<Label>(subview); label && label->numberOfLines() != 1)
            labels.push_back(label);
        collectWrappingLabels(*subview, labels);
    }
}

} // namespace

double TableViewCell::fittingHeight(double width)
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& content = contentView();
    if (!placedByConstraints(*content))
        return sizeThatFits({ width, 0 }).height;
    // A label of several lines is as tall as its text wrapped at the width its constraints
    // leave it; a first pass at the row's width finds that width (a label whose wrap width
    // its owner chose keeps it).
    std::vector<std::shared_ptr<Label>> wrapping;
    collectWrappingLabels(*content, wrapping);
    std::erase_if(wrapping, [this](const auto& label) {
        return label->preferredMaxLayoutWidth() > 0 && !m_wrapWidthSet.contains(label.get());
    });
    if (!wrapping.empty()) {
        for (const auto& label : wrapping)
            label->setPreferredMaxLayoutWidth(0);
        Rect f = frame();
        setFrame({ f.origin, { width, std::max(f.height(), 1.0) } });
        layoutIfNeeded();
        for (const auto& label : wrapping) {
            label->setPreferredMaxLayoutWidth(label->frame().width());
            m_wrapWidthSet.insert(label.get());
        }
    }
    double contentWidth = std::max(0.0, width - accessoryWidth());
    return std::ceil(content
            ->systemLayoutSizeFittingSize(
                { contentWidth, 0 }, LayoutPriority::required, LayoutPriority::fittingSizeLevel)
            .height);
}

AccessibilityTraits TableViewCell::accessibilityTraits() const
{
    AccessibilityTraits traits = View::accessibilityTraits();
    if (m_selected)
        traits |= AccessibilityTraits::Selected;
    return traits;
}

} // namespace ui
