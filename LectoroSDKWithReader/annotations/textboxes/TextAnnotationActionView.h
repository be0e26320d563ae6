#pragma once

// The bottom action bar shown while a text box is edited: close, alignment, text colour,
// add text, delete (only when the visible pages already hold stored boxes), save and, on
// phones, the keyboard item. Taps go to the bar's delegate (the reader's dispatcher) with
// the bar's tag 5 and the item's tag; the bar itself never acts on a tap.
//
// The owner creates it, says whether stored boxes exist (isTextAnnotationAvailable), then
// places it (addPlayerBottomBarForTextAnnotationWithParentView): the items are built once
// and the bar is pinned to the bottom of the parent. The owner moves it above the keyboard
// through textAnnotationBottomMarginConstraint and calls placeByConstraints() to lay the
// parent out, which places the bar by those constraints. On a tablet a not-tappable spacer stands before the first
// item and after each one; spacers carry tag 1 but no accessibility of their own.

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "platform/ui/Constraint.h"

#include <memory>

namespace lectoro {

class LectoroBookVO;
class LXMVThemeVO;
class RendererViewController;

class TextAnnotationActionView : public PlayerActionBar {
public:
    static std::shared_ptr<TextAnnotationActionView> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "TextAnnotationActionView"; }

    int playerBottomBar_Height() const { return m_height; }
    // Before placing: an unattached constraint, so setting its constant changes nothing.
    const ui::ConstraintPtr& textAnnotationBottomMarginConstraint() const { return m_bottomConstraint; }
    void setTextAnnotationBottomMarginConstraint(ui::ConstraintPtr);
    bool isTextAnnotationAvailable() const { return m_isTextAnnotationAvailable; }
    void setIsTextAnnotationAvailable(bool available) { m_isTextAnnotationAvailable = available; }
    bool isTextAnnotationKeyboardAvailable() const { return m_isTextAnnotationKeyboardAvailable; }
    void setIsTextAnnotationKeyboardAvailable(bool available)
    {
        m_isTextAnnotationKeyboardAvailable = available;
    }
    int numberOfItems() const { return m_numberOfItems; }
    void setNumberOfItems(int count) { m_numberOfItems = count; }

    // Builds the items and pins the bar to the bottom of the parent. The book is not read;
    // the renderer is kept and never used.
    void addPlayerBottomBarForTextAnnotationWithParentView(const std::shared_ptr<ui::View>& parentView,
        const LXMVThemeVO&, const std::shared_ptr<LectoroBookVO>& bookType,
        const std::shared_ptr<RendererViewController>& renderer);
    // The first tappable item with the tag (spacers are not tappable), or null.
    std::shared_ptr<PlayerActionBarItem> getTextAnnotationViewItemWithTag(int tag) const;
    void updateSelectedLabelItemWithIsSelected(bool isSelected, const LXMVThemeVO&, int tag);
    void updateTextAnnotationSaveItemWithIsTextAvailable(bool isTextAvailable, const LXMVThemeVO&);

    // Lays the parent out, so the bar takes the place its constraints give: full width,
    // resting on the parent's bottom moved by the bottom constant.
    void placeByConstraints();

protected:
    explicit TextAnnotationActionView(const ui::Rect& frame);

private:
    std::shared_ptr<PlayerActionBarItem> makeItem(const char* glyph, int tag, const LXMVThemeVO&) const;
    void addItems(const LXMVThemeVO&);

    int m_height;
    ui::ConstraintPtr m_bottomConstraint;
    ui::ConstraintPtr m_heightConstraint;
    bool m_isTextAnnotationAvailable = false;
    bool m_isTextAnnotationKeyboardAvailable = false;
    int m_numberOfItems = 0;
    std::weak_ptr<RendererViewController> m_renderer;
};

} // namespace lectoro
