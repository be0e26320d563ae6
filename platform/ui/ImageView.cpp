#include "platform/ui/ImageView.h"

#include "platform/base/Thread.h"

namespace ui {

std::shared_ptr<ImageView> ImageView::create(const Rect& frame)
{
    return std::shared_ptr<ImageView>(new ImageView(frame));
}

std::shared_ptr<ImageView> ImageView::create(ImagePtr image)
{
    Rect frame = image ? Rect(Point(), image->size()) : Rect();
    auto view = create(frame);
    view->setImage(std::move(image));
    return view;
}

ImageView::ImageView(const Rect& frame)
    : View(frame)
{
    setUserInteractionEnabled(false);
}

void ImageView::setImage(ImagePtr image)
{
    BASE_ASSERT_MAIN_THREAD();
    m_image = std::move(image);
    didChangeProperty("image");
    invalidateIntrinsicContentSize();
}

void ImageView::setHighlightedImage(ImagePtr image)
{
    BASE_ASSERT_MAIN_THREAD();
    m_highlightedImage = std::move(image);
}

void ImageView::setHighlighted(bool highlighted)
{
    BASE_ASSERT_MAIN_THREAD();
    m_highlighted = highlighted;
}

ImagePtr ImageView::displayedImage() const
{
    if (m_highlighted && m_highlightedImage)
        return m_highlightedImage;
    return m_image;
}

Size ImageView::intrinsicContentSize() const
{
    if (auto image = displayedImage())
        return image->size();
    return { noIntrinsicMetric, noIntrinsicMetric };
}

Size ImageView::sizeThatFits(const Size&) const
{
    if (auto image = displayedImage())
        return image->size();
    return bounds().size;
}

AccessibilityTraits ImageView::accessibilityTraits() const
{
    return explicitAccessibilityTraits().value_or(AccessibilityTraits::Image);
}

} // namespace ui
