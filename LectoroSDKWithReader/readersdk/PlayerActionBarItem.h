#pragma once

// One item of a PlayerActionBar: a view carrying an item tag, a metadata dictionary
// ("penColor" for colour swatches…), the width and alignment group it was added with, and
// selected / enabled states. What it shows (a glyph label, a picture, a swatch) is added
// by whoever builds it; createWithLabel() makes the common one-label item (the label
// fills the item by constraints).

#include "platform/base/Value.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace lectoro {

class PlayerActionBar;

// Where an item sits on its bar: the leading group, the trailing group, the centred group,
// or an even share of the bar's length.
enum PlayerActionBarItemAlignment : int {
    PlayerActionBarItemAlignmentLeading = 0,
    PlayerActionBarItemAlignmentTrailing = 1,
    PlayerActionBarItemAlignmentCentre = 2,
    PlayerActionBarItemAlignmentFill = 3,
};

class PlayerActionBarItem : public ui::View {
public:
    static std::shared_ptr<PlayerActionBarItem> create(const ui::Rect& frame = {});
    // A zero-frame item with the tag and one centred label showing the text.
    static std::shared_ptr<PlayerActionBarItem> createWithLabel(int tag, const std::string& text);

    std::string_view className() const override { return "PlayerActionBarItem"; }

    // A dictionary (empty by default).
    const base::Value& metaData() const { return m_metaData; }
    void setMetaData(base::Value);

    bool isSelected() const { return m_selected; }
    void setSelected(bool);
    // A disabled item takes no taps and is announced as not enabled.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool);

    // How the item was added to its bar.
    double itemWidth() const { return m_width; }
    int itemAlignment() const { return m_alignment; }
    bool isTappable() const { return m_tappable; }
    std::shared_ptr<PlayerActionBar> bar() const { return m_bar.lock(); }

    // The first label among the item's direct subviews, or null.
    std::shared_ptr<ui::Label> firstLabel() const;

    ui::AccessibilityTraits accessibilityTraits() const override;

protected:
    explicit PlayerActionBarItem(const ui::Rect& frame);

private:
    friend class PlayerActionBar;
    void attach(const std::shared_ptr<PlayerActionBar>&, double width, int alignment, bool tappable);

    base::Value m_metaData = base::Value::Dictionary {};
    bool m_selected = false;
    bool m_enabled = true;
    double m_width = 0;
    int m_alignment = PlayerActionBarItemAlignmentLeading;
    bool m_tappable = false;
    std::weak_ptr<PlayerActionBar> m_bar;
};

} // namespace lectoro
