#pragma once

// The pop-over of round colour swatches the reader shows above its bars when a colour must
// be picked: one row on a tablet, rows of five (the sixth colour onwards in a second row)
// on a phone. The selected colour is ringed; a tapped colour goes to the delegate and the
// palette stays open. The owner places it, and removes it when the user touches outside.
// One palette serves one opening.

#include "LectoroSDKWithReader/reader/chrome/PenToolItemDelegate.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionDelegate.h"
#include "platform/ui/Color.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LectoroPenToolColorPalleteViewController : public ui::ViewController, public PlayerActionDelegate {
public:
    static std::shared_ptr<LectoroPenToolColorPalleteViewController> create();

    std::string_view className() const override { return "LectoroPenToolColorPalleteViewController"; }

    std::shared_ptr<PenToolItemDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<PenToolItemDelegate> delegate) { m_delegate = std::move(delegate); }
    // Hex colour texts, one swatch each, in order.
    const std::vector<std::string>& penColors() const { return m_penColors; }
    void setPenColors(std::vector<std::string> colors) { m_penColors = std::move(colors); }
    // Compared character for character with each colour when the swatches are built.
    const std::string& selectedPenColor() const { return m_selectedPenColor; }
    void setSelectedPenColor(std::string color) { m_selectedPenColor = std::move(color); }
    // Colours the view and both rows, and so builds the view.
    void setColorPickerBackgroundColor(const std::optional<ui::Color>&);
    // The ring of the selected swatch, and the palette's shadow.
    const std::optional<ui::Color>& selectionBorderColor() const { return m_selectionBorderColor; }
    void setSelectionBorderColor(std::optional<ui::Color> color) { m_selectionBorderColor = color; }
    const std::optional<ui::Color>& containerBorderColor() const { return m_containerBorderColor; }
    void setContainerBorderColor(std::optional<ui::Color> color) { m_containerBorderColor = color; }

    // First row; null once the view has disappeared.
    const std::shared_ptr<PlayerActionBar>& penItemsBar() const { return m_penItemsBar; }
    // Second row, filled on a phone only.
    const std::shared_ptr<PlayerActionBar>& secondLinePenItemBar() const { return m_secondLinePenItemBar; }

    void viewDidLoad() override;
    // The rows take the places their constraints give them, so their swatches can be touched.
    void viewDidLayoutSubviews() override;
    void viewWillDisappear(bool animated) override;

    // PlayerActionDelegate of the two rows.
    void didSelectedPlayerActionBar(PlayerActionBar&, PlayerActionBarItem&) override;
    void willResetPlayerActionBar(PlayerActionBar&) override;

    // One swatch; its colour is kept in its metadata under "PenColor".
    std::shared_ptr<PlayerActionBarItem> getPenToolColorPalleteItemForColor(const std::string& color);
    // Rings every swatch view in the item; no item, nothing.
    void updateSelectItemUI(PlayerActionBarItem*);
    void addShadow();
    // Spoken labels numbered from 1 across both rows.
    void updateAccessibilityForPentoolColors();

    static constexpr const char* penColorMetaDataKey = "PenColor";
    // Swatches per row on a phone.
    static constexpr size_t phoneRowLength = 5;

protected:
    LectoroPenToolColorPalleteViewController() = default;

private:
    std::vector<std::shared_ptr<PlayerActionBar>> rows() const;

    std::weak_ptr<PenToolItemDelegate> m_delegate;
    std::vector<std::string> m_penColors;
    std::string m_selectedPenColor;
    std::optional<ui::Color> m_selectionBorderColor;
    std::optional<ui::Color> m_containerBorderColor;
    std::shared_ptr<PlayerActionBar> m_penItemsBar;
    std::shared_ptr<PlayerActionBar> m_secondLinePenItemBar;
};

} // namespace lectoro
