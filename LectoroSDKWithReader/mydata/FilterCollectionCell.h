#pragma once

// One row of the filter pop-over: a check box with its title (a text, or a colour glyph
// for a colour row), the arrow that opens or closes a section, and a separator at the
// top. A tap flips the record's own flag, then hands the record to the owner, which fills
// the row again.

#include "LectoroSDKWithReader/mydata/FilterRules.h"
#include "platform/base/AttributedString.h"
#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Font.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class FilterCollectionCell : public ui::CollectionViewCell {
public:
    static constexpr const char* reuseIdentifier = "cell";
    static std::shared_ptr<FilterCollectionCell> create(std::string identifier = reuseIdentifier);
    std::string_view className() const override { return "FilterCollectionCell"; }

    std::optional<ui::Color> checkBoxIconColor;
    std::function<void(const std::shared_ptr<FilterDataObject>&)> dropDownAction;
    std::function<void(const std::shared_ptr<FilterDataObject>&)> checkBoxAction;

    void setDataForCell(const std::shared_ptr<FilterDataObject>&);
    // Glyph, three spaces, text; in a right-to-left interface a left-to-right mark, the
    // text, two spaces and the glyph.
    base::AttributedString getAttributtedTextWithIcon(const std::string& glyph, const std::string& text,
        const ui::Font& textFont, const ui::Color& textColor, bool isIconOnly) const;
    void checkBoxTapped();
    void dropDownButtonTapped();
    void addAccessibilityForDropDownButton();

    // Frames from the constraints' constants: the title button at leading 15 as wide as
    // its width constraint, the arrow 60 wide at the trailing edge, the separator on top.
    void layoutSubviews() override;

    const std::shared_ptr<FilterDataObject>& filterDataObj() const { return m_filterDataObj; }
    const std::shared_ptr<ui::Button>& titleButton() const { return m_titleButton; }
    // The check box: the title button's label, which draws the box glyph before the title;
    // a tap on it ticks the row through the button.
    std::shared_ptr<ui::Label> checkBoxLbl() const;
    const std::shared_ptr<ui::Button>& dropDownButton() const { return m_dropDownButton; }
    const std::shared_ptr<ui::View>& seperatorView() const { return m_seperatorView; }
    const ui::ConstraintPtr& widthConstraintOfTitleBtn() const { return m_widthConstraintOfTitleBtn; }

protected:
    using ui::CollectionViewCell::CollectionViewCell;

private:
    void build();

    std::shared_ptr<FilterDataObject> m_filterDataObj;
    std::shared_ptr<ui::Button> m_titleButton;
    std::shared_ptr<ui::Button> m_dropDownButton;
    std::shared_ptr<ui::View> m_seperatorView;
    ui::ConstraintPtr m_widthConstraintOfTitleBtn;
    uint64_t m_dropDownTarget = 0;
};

} // namespace lectoro
