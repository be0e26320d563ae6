#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace ui {

class ImageView : public View {
public:
    static std::shared_ptr<ImageView> create(const Rect& frame = {});
    // Sized to the image, as the platform's image initialiser does.
    static std::shared_ptr<ImageView> create(ImagePtr image);
    std::string_view className() const override { return "ImageView"; }

    // Observed key: "image".
    const ImagePtr& image() const { return m_image; }
    void setImage(ImagePtr);
    const ImagePtr& highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(ImagePtr);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool);
    // The highlighted image while highlighted (when there is one), else the image.
    ImagePtr displayedImage() const;

    bool isAnimating() const { return m_animating; }
    void startAnimating() { BASE_ASSERT_MAIN_THREAD(); m_animating = true; }
    void stopAnimating() { BASE_ASSERT_MAIN_THREAD(); m_animating = false; }

    // The image's size, or no intrinsic size without an image.
    Size intrinsicContentSize() const override;
    Size sizeThatFits(const Size&) const override;

    AccessibilityTraits accessibilityTraits() const override;

protected:
    explicit ImageView(const Rect& frame);

private:
    ImagePtr m_image;
    ImagePtr m_highlightedImage;
    bool m_highlighted = false;
    bool m_animating = false;
};

} // namespace ui
