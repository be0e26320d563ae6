#pragma once

// The contents panel's row cells, and the texts and fonts the panel shares.
//
// TOCContentCell shows a tree row (contents, standards, external resources) and serves as
// the section header of every list: its title indented by the row's depth, an arrow for a
// row with children (selected = open), a side bar and a divider. TOCTableViewCell holds
// the labels of a bookmark or internal-resource row; the table fills it.
//
// The views are placed by their constraints (the leading insets the configure operations
// set among them); a row is as tall as its text makes it, at least 50 points.

#include "LectoroSDKWithReader/contents/TOCRows.h"
#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Font.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

// The panel's look follows the device idiom; an unset theme colour draws nothing.
bool tocIsPad();
ui::Color tocColour(const std::optional<ui::Color>& value);

class LXMVThemeVO;

struct TOCConstants {
    // The reader language bundle when the host set one, else the library's own.
    static BundleRef bundle();
    // The icon font's family.
    static std::string fontName();
    // A key of "Localizable" in that bundle; a missing key answers itself.
    static std::string localized(const std::string& key);
    static ui::Font iconFont(double size);
    // The reader's text font at the light weight, 16 on iPad and 14 on iPhone.
    static ui::Font lightRowFont();
    static ui::Font lightFont(double size);
    static ui::Font customFont(double size);
};

// Glyphs of the resource rows: an EPUB resource by its type, a page book's markup by what
// it opens; none for anything else.
std::string iconForResourceType(const std::string& typeId);
std::string iconForLinkType(int32_t linkType);
// The page number an EPUB resource's href carries: its digits, in order.
std::string pageDigitsOfHref(const std::string& href);

class TOCContentCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "TOCContentCell";
    static std::shared_ptr<TOCContentCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "TOCContentCell"; }

    const std::shared_ptr<ui::View>& barView() const { return m_barView; }
    const std::shared_ptr<ui::Button>& downArrowButton() const { return m_downArrowButton; }
    const std::shared_ptr<ui::Label>& dataLabel() const { return m_dataLabel; }
    const std::shared_ptr<ui::Label>& levelLabel() const { return m_levelLabel; }
    const std::shared_ptr<ui::View>& seperatorView() const { return m_seperatorView; }
    const std::shared_ptr<ui::Button>& sectionHeaderButton() const { return m_sectionHeaderButton; }
    const ui::ConstraintPtr& cellLeadConstraint() const { return m_cellLeadConstraint; }
    const ui::ConstraintPtr& seperatorSuperviewLeadingConstraint() const
    {
        return m_seperatorLeadingConstraint;
    }
    // The link a tap on a standards or external-resource row opens; cleared by every
    // configure so a reused cell never carries the previous row's.
    const std::optional<std::string>& updatedURL() const { return m_updatedURL; }

    void configureViewForTocWithDataDictionary(const TOCTreeRow&, const LXMVThemeVO&);
    void configureViewForStandardsWithDataDictionary(const TOCTreeRow&, const LXMVThemeVO&);
    void configureViewForExternalResourcesWithDataDictionary(const TOCTreeRow&, const LXMVThemeVO&);

    // Leading insets of a row at that depth: the content's and the divider's.
    static double contentInsetForDepth(int depth);
    static double dividerInsetForDepth(int depth);

protected:
    using TableViewCell::TableViewCell;

private:
    void build();
    void applyCommon(const TOCTreeRow&, const LXMVThemeVO&);
    void applyArrow(const TOCTreeRow&);
    void applyCurrentRowColours(const TOCTreeRow&, const LXMVThemeVO&);
    void finish();

    std::shared_ptr<ui::View> m_barView;
    std::shared_ptr<ui::Button> m_downArrowButton;
    std::shared_ptr<ui::Label> m_dataLabel;
    std::shared_ptr<ui::Label> m_levelLabel;
    std::shared_ptr<ui::View> m_seperatorView;
    std::shared_ptr<ui::Button> m_sectionHeaderButton;
    ui::ConstraintPtr m_cellLeadConstraint;
    ui::ConstraintPtr m_seperatorLeadingConstraint;
    std::optional<std::string> m_updatedURL;
};

class TOCTableViewCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "TOCTableViewCell";
    static std::shared_ptr<TOCTableViewCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "TOCTableViewCell"; }

    const std::shared_ptr<ui::Label>& pageLabel() const { return m_pageLabel; }
    const std::shared_ptr<ui::Label>& dataLabel() const { return m_dataLabel; }
    const std::shared_ptr<ui::Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<ui::Label>& bookmarkLabel() const { return m_bookmarkLabel; }
    const std::shared_ptr<ui::Label>& barLabel() const { return m_barLabel; }
    const std::shared_ptr<ui::View>& seperatorViewForHeaderView() const { return m_seperator; }
    const ui::ConstraintPtr& cellLeadConstraint() const { return m_cellLeadConstraint; }
    const ui::ConstraintPtr& timeLabelBottomConstarint() const { return m_timeLabelBottomConstraint; }
    const ui::ConstraintPtr& verticalCenterConstarint() const { return m_verticalCenterConstraint; }
    const ui::ConstraintPtr& bookmarkTrailingConstraint() const { return m_bookmarkTrailingConstraint; }

protected:
    using TableViewCell::TableViewCell;

private:
    void build();

    std::shared_ptr<ui::Label> m_pageLabel;
    std::shared_ptr<ui::Label> m_dataLabel;
    std::shared_ptr<ui::Label> m_timeLabel;
    std::shared_ptr<ui::Label> m_bookmarkLabel;
    std::shared_ptr<ui::Label> m_barLabel;
    std::shared_ptr<ui::View> m_seperator;
    ui::ConstraintPtr m_cellLeadConstraint;
    ui::ConstraintPtr m_timeLabelBottomConstraint;
    ui::ConstraintPtr m_verticalCenterConstraint;
    ui::ConstraintPtr m_bookmarkTrailingConstraint;
};

} // namespace lectoro
