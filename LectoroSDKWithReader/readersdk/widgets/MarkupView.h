#pragma once

// The views the reader makes for a page's markups (links) and hands to the renderer
// (drawMarkups): the icon (a button) and its enlarged tap area.

#include "platform/base/Value.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class MarkupHitAreaLabel;
class SDKFIBVO;

class MarkupView : public ui::Button {
public:
    static std::shared_ptr<MarkupView> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "MarkupView"; }

    int64_t pageID = 0;
    int64_t linkID = 0;
    // The link's anchor as the book gives it (text or number).
    base::Value xCordinate;
    base::Value yCordinate;
    // The saved answer of a drop-down box.
    std::shared_ptr<SDKFIBVO> sdkFIBVO;

    // Keeps the markup tappable but draws nothing of it.
    void setAsInvisibleMarkup();
    bool isInvisibleMarkup() const { return m_invisible; }
    // Draws the box of a drop-down showing the text, with the list's arrow.
    void updateForDropDownWithInputText(const std::string& text, const std::string& linkProperties);
    // The choice a drop-down box shows: its title without the list arrow.
    std::string dropDownText() const;
    bool isDropDown() const { return m_dropDown; }
    // A round icon keeps its glyph at half its height and its corners round at any size the
    // page is shown at.
    void setGlyphFollowsHeight(bool follows) { m_glyphFollowsHeight = follows; setNeedsLayout(); }
    void layoutSubviews() override;

protected:
    explicit MarkupView(const ui::Rect& frame);

private:
    bool m_invisible = false;
    bool m_dropDown = false;
    bool m_glyphFollowsHeight = false;
};

class MarkupHitAreaDelegate {
public:
    virtual ~MarkupHitAreaDelegate() = default;
    virtual void didTapOnMarkupHitArea(MarkupHitAreaLabel&) { }
};

class MarkupHitAreaLabel : public ui::Label {
public:
    static std::shared_ptr<MarkupHitAreaLabel> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "MarkupHitAreaLabel"; }

    int64_t pageID = 0;
    int64_t linkID = 0;
    std::weak_ptr<MarkupView> iconView;

    std::shared_ptr<MarkupHitAreaDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MarkupHitAreaDelegate> delegate) { m_delegate = std::move(delegate); }
    // A tap, as a finger gives it.
    void tap();

protected:
    explicit MarkupHitAreaLabel(const ui::Rect& frame);

private:
    std::weak_ptr<MarkupHitAreaDelegate> m_delegate;
};

} // namespace lectoro
