#include "platform/ui/CollectionViewCell.h"

namespace ui {

std::shared_ptr<CollectionViewCell> CollectionViewCell::create(std::string reuseIdentifier)
{
    return std::shared_ptr<CollectionViewCell>(new CollectionViewCell(std::move(reuseIdentifier)));
}

CollectionViewCell::CollectionViewCell(std::string reuseIdentifier)
    : View(Rect(0, 0, 50, 50))
    , m_reuseIdentifier(std::move(reuseIdentifier))
{
}

const std::shared_ptr<View>& CollectionViewCell::contentView()
{
    if (!m_contentView) {
        m_contentView = View::create(bounds());
        m_contentView->setAutoresizingMask(
            AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        insertSubview(m_contentView, m_backgroundView && m_backgroundView->superview().get() == this ? 1 : 0);
    }
    return m_contentView;
}

void CollectionViewCell::setBackgroundView(std::shared_ptr<View> view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

void CollectionViewCell::setSelectedBackgroundView(std::shared_ptr<View> view)
{
    if (m_selectedBackgroundView)
        m_selectedBackgroundView->removeFromSuperview();
    m_selectedBackgroundView = std::move(view);
    updateSelectedBackground();
}

void CollectionViewCell::updateSelectedBackground()
{
    if (!m_selectedBackgroundView)
        return;
    bool show = m_selected || m_highlighted;
    if (show && m_selectedBackgroundView->superview().get() != this) {
        size_t index = m_backgroundView && m_backgroundView->superview().get() == this ? 1 : 0;
        insertSubview(m_selectedBackgroundView, index);
        m_selectedBackgroundView->setFrame(bounds());
    } else if (!show && m_selectedBackgroundView->superview().get() == this) {
        m_selectedBackgroundView->removeFromSuperview();
    }
}

void CollectionViewCell::setSelected(bool selected)
{
    m_selected = selected;
    updateSelectedBackground();
}

void CollectionViewCell::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    updateSelectedBackground();
}

void CollectionViewCell::prepareForReuse()
{
    ++m_reuseCount;
    setSelected(false);
    setHighlighted(false);
}

void CollectionViewCell::layoutSubviews()
{
    View::layoutSubviews();
    contentView()->setFrame(bounds());
    if (m_backgroundView)
        m_backgroundView->setFrame(bounds());
    if (m_selectedBackgroundView)
        m_selectedBackgroundView->setFrame(bounds());
}

} // namespace ui
