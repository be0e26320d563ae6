#pragma once

// The highlight pop-up: the small floating bar the renderer shows over a text selection,
// with colour swatches (a tap highlights the selection in that colour) and tool buttons
// (note, search, translation, delete, immersive reader). The reader builds one, fills it
// and hands it to the renderer, which places, opens and removes it.
//
// The pop-up knows nothing of highlights or of what a tool does: it keeps the offered
// colours and the current one, marks the current swatch, dims or enables the delete tool,
// labels its buttons for accessibility, sends one live event per colour tap and reports
// every tap through two blocks. Every item is a HighLightToolView; the pop-up adds one
// clear button over each item (the item's subview 1), tagged 100 + the item's position in
// its row, so a tap finds its item again. Items go into the main row, or, once a show/hide
// toggle was added, swatches go into the colours row.

#include "LectoroSDKWithReader/readersdk/widgets/HighlightActionView.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class StackView;
} // namespace ui

namespace lectoro {

class HighLightToolView;

// The tools of the pop-up, as the item's own tag carries them. 4 and 5 are not used.
enum class HighlightItemType : int64_t {
    Note = 1,
    Delete = 2,
    Search = 3,
    Translation = 6,
    ImmersiveReader = 7,
};

class HighlightView : public HighlightActionView {
public:
    // The tapped item and a colour: the one just chosen (swatches) or the current one (tools).
    using ItemAction = std::function<void(const std::shared_ptr<HighLightToolView>&, const std::string& color)>;

    // Button tags start here; the show/hide toggle's button has its own.
    static constexpr int firstButtonTag = 100;
    static constexpr int showHideButtonTag = 2323;

    // The selected colour text is accepted and not kept: the current colour comes from
    // resetHighlightView and from taps.
    static std::shared_ptr<HighlightView> create(
        const ui::Rect& frame, const std::string& selectedColor, const ui::Color& selectedBorderColor);

    std::string_view className() const override { return "HighlightView"; }

    const ItemAction& highLightToolActions() const { return m_highLightToolActions; }
    void setHighLightToolActions(ItemAction action) { m_highLightToolActions = std::move(action); }
    const ItemAction& highlightTextAction() const { return m_highlightTextAction; }
    void setHighlightTextAction(ItemAction action) { m_highlightTextAction = std::move(action); }
    const std::optional<std::string>& selectedColorStr() const { return m_selectedColorStr; }
    void setSelectedColorStr(std::optional<std::string> color) { m_selectedColorStr = std::move(color); }
    const std::vector<std::string>& highlighColorsArray() const { return m_highlighColorsArray; }
    double colorsHeight() const { return m_colorsHeight; }
    const ui::Color& selectedViewBorderColor() const { return m_selectedViewBorderColor; }
    void setSelectedViewBorderColor(const ui::Color& color) { m_selectedViewBorderColor = color; }
    bool addHighLightButton() const { return m_addHighLightButton; }
    bool showHighLightColors() const { return m_showHighLightColors; }
    const ui::ConstraintPtr& horizontalColorsStackConstraint() const { return m_horizontalColorsStackConstraint; }
    const std::shared_ptr<ui::StackView>& horizontalStackForHighLightTools() const { return m_toolsRow; }
    const std::shared_ptr<ui::StackView>& horizontalStackForColors() const { return m_colorsRow; }
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }

    // One swatch of the colour (hex text).
    void addColorViewWithHightlighColorView(const std::shared_ptr<HighLightToolView>&, const std::string& color);
    // One tool; the item must carry its tool kind as tag and its name as accessibility
    // identifier.
    void addHighLightToolbuttonWithHighLightTool(const std::shared_ptr<HighLightToolView>&);
    // The toggle of the colours row; swatches added after it go to that row.
    void addShowHideHightLightsViewWithHighLightTool(const std::shared_ptr<HighLightToolView>&);
    // Replaces the glyph of every main-row item whose tag is the kind.
    void changeHighLightToolButtonIconWithIconText(const std::string& iconText, uint64_t highlightItemType);

    // Called each time the renderer opened the pop-up on a selection: marks the colour of
    // the highlight opened on (if offered) and enables delete; on fresh text marks nothing
    // and dims delete.
    void resetHighlightView() override;

    // The touch-up-inside actions of the swatch buttons and of the tool and toggle buttons.
    void hightLightColorActionWithButton(ui::Button&);
    void hightLightButtonActionWithButton(ui::Button&);

protected:
    HighlightView(const ui::Rect& frame, const ui::Color& selectedBorderColor);

private:
    void build();
    std::shared_ptr<ui::Button> makeItemButton(HighLightToolView&, bool colourButton);
    void applyColorLabel(ui::Button&, bool selected);
    void applyToolAccessibility(ui::Button&, const HighLightToolView&);
    void showOrHideColors();
    std::vector<std::shared_ptr<HighLightToolView>> mainRowItems() const;
    std::shared_ptr<HighLightToolView> itemForButton(const ui::Button&, bool colourButton) const;
    static std::shared_ptr<ui::Button> buttonOf(const HighLightToolView&);
    static bool isDeleteTool(const HighLightToolView&);
    static void setDeleteEnabled(HighLightToolView&, bool enabled);

    ItemAction m_highLightToolActions;
    ItemAction m_highlightTextAction;
    std::optional<std::string> m_selectedColorStr;
    std::vector<std::string> m_highlighColorsArray;
    double m_colorsHeight = 0;
    ui::Color m_selectedViewBorderColor = ui::Color::black();
    bool m_addHighLightButton = false;
    bool m_showHighLightColors = false;
    ui::ConstraintPtr m_horizontalColorsStackConstraint;
    std::shared_ptr<ui::StackView> m_toolsRow;
    std::shared_ptr<ui::StackView> m_colorsRow;
    std::shared_ptr<ui::View> m_contentView;
};

} // namespace lectoro
