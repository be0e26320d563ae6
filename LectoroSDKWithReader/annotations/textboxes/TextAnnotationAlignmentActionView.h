#pragma once

// The small pop-up of three alignment choices (left, centre, right; tags 1 to 3) that
// opens over the text-box action bar's alignment item. A tap reaches the bar's delegate
// (the reader's dispatcher) with the pop-up's tag 6. The choice matching selectedAlignment
// (0 left, 1 centre, 2 right) is marked; any other value marks none. numberOfItems is the
// action bar's item count, which decides where the pop-up stands.

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

#include <memory>

namespace lectoro {

class LectoroBookVO;
class LXMVThemeVO;

class TextAnnotationAlignmentActionView : public PlayerActionBar {
public:
    static std::shared_ptr<TextAnnotationAlignmentActionView> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "TextAnnotationAlignmentActionView"; }

    int64_t selectedAlignment() const { return m_selectedAlignment; }
    void setSelectedAlignment(int64_t alignment) { m_selectedAlignment = alignment; }
    int numberOfItems() const { return m_numberOfItems; }
    void setNumberOfItems(int count) { m_numberOfItems = count; }

    // Builds the three choices and places the pop-up on top of `onView` inside the parent.
    // The book is not read.
    void addTextAnnotationAlignmentViewWithMvThemeVO(const LXMVThemeVO&,
        const std::shared_ptr<LectoroBookVO>& currentBook, const std::shared_ptr<ui::View>& parentView,
        const std::shared_ptr<ui::View>& onView);

    // The frame the constraints give: 184 x 58 at the computed left edge, on the view below.
    void placeByConstraints();

protected:
    explicit TextAnnotationAlignmentActionView(const ui::Rect& frame);

private:
    std::shared_ptr<PlayerActionBarItem> makeChoice(int tag, const LXMVThemeVO&) const;

    int64_t m_selectedAlignment = 0;
    int m_numberOfItems = 0;
    double m_left = 0;
    std::weak_ptr<ui::View> m_viewBelow;
};

} // namespace lectoro
