#pragma once

// The pop-up row of ten colour swatches that opens above the text-box action bar. Swatch
// N (tag N) shows an "A" in the theme's text colour N on its background colour N; a tap
// reaches the bar's delegate (the reader's dispatcher) with the pop-up's tag 7, which
// applies pair N to the box. The swatch whose background equals selectedColor is marked
// with a ring; a colour the theme lacks draws its swatch clear and matches nothing.
//
// Built anew at each opening; the mark does not move while it is open.

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "platform/ui/Color.h"

#include <memory>
#include <optional>

namespace lectoro {

class HighLightToolView;
class LectoroBookVO;
class LXMVThemeVO;

class TextAnnotationPalleteActionView : public PlayerActionBar {
public:
    static std::shared_ptr<TextAnnotationPalleteActionView> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "TextAnnotationPalleteActionView"; }

    static constexpr int colorCount = 10;

    const ui::Color& selectedColor() const { return m_selectedColor; }
    void setSelectedColor(const ui::Color& color) { m_selectedColor = color; }
    int playerBottomBar_Height() const { return m_height; }

    // Builds the swatches and places the pop-up on top of `onView` inside the parent. The
    // book is not read.
    void addTextAnnotationTextColorViewWithMvThemeVO(const LXMVThemeVO&,
        const std::shared_ptr<LectoroBookVO>& currentBook, const std::shared_ptr<ui::View>& parentView,
        const std::shared_ptr<ui::View>& onView);

    // The frame the constraints give: the parent's width less the insets, resting on the
    // view below.
    void placeByConstraints();

    // The swatch's tool view, or null.
    static std::shared_ptr<HighLightToolView> swatchToolView(const PlayerActionBarItem&);

protected:
    explicit TextAnnotationPalleteActionView(const ui::Rect& frame);

private:
    std::shared_ptr<PlayerActionBarItem> makeSwatch(int number, const LXMVThemeVO&, double swatchWidth) const;

    ui::Color m_selectedColor = ui::Color::clear();
    int m_height;
    double m_inset = 0;
    std::weak_ptr<ui::View> m_viewBelow;
};

} // namespace lectoro
