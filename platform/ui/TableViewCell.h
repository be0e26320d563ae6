#pragma once

// A row of a table: a content view, optional standard labels and image, an accessory,
// selection state and a reuse identifier.
//
// Standard layout (in layoutSubviews), in points: the content view fills the cell less
// 40 on the right when there is an accessory; the image view sits 16 from the left,
// centred vertically at its image's size; labels start 16 after the image (or 16 from the
// left) and end 16 before the content view's right edge. Default style: the text label
// fills the height. Subtitle: text label on the top half, detail on the bottom half.
// Value1: text label on the left half, detail label right-aligned on the right half.
// Value2: text label (right-aligned) on the left third, detail on the rest.

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace ui {

class ImageView;
class Label;
class TableView;

enum class TableViewCellStyle { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellAccessoryType {
    None,
    DisclosureIndicator,
    DetailDisclosureButton,
    Checkmark,
    DetailButton
};
enum class TableViewCellSelectionStyle { None, Blue, Gray, Default };

// Whether the view or a view inside it holds constraints (its content is placed by them).
bool placedByConstraints(const View&);

class TableViewCell : public View {
public:
    static std::shared_ptr<TableViewCell> create(
        TableViewCellStyle = TableViewCellStyle::Default, std::string reuseIdentifier = {});
    std::string_view className() const override { return "TableViewCell"; }

    TableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    // Subviews of a cell's own go here.
    // Made on first use (a view cannot take subviews while it is being constructed).
    const std::shared_ptr<View>& contentView();
    // Made on first use, inside the content view. The default style has no detail label
    // (null), as on the platform.
    std::shared_ptr<Label> textLabel();
    std::shared_ptr<Label> detailTextLabel();
    std::shared_ptr<ImageView> imageView();
    // Without making them.
    std::shared_ptr<Label> existingTextLabel() const { return m_textLabel; }
    std::shared_ptr<Label> existingDetailTextLabel() const { return m_detailTextLabel; }
    std::shared_ptr<ImageView> existingImageView() const { return m_imageView; }

    TableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(TableViewCellAccessoryType);
    // Shown instead of the standard accessory.
    std::shared_ptr<View> accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View>);
    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_selectionStyle = style;
    }
    // Behind the content; the selected one only while selected or highlighted.
    std::shared_ptr<View> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View>);
    std::shared_ptr<View> selectedBackgroundView() const { return m_selectedBackgroundView; }
    void setSelectedBackgroundView(std::shared_ptr<View>);
    EdgeInsets separatorInset() const { return m_separatorInset; }
    void setSeparatorInset(const EdgeInsets& insets) { BASE_ASSERT_MAIN_THREAD(); m_separatorInset = insets; }

    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated = false);

    // Called when the table hands the cell out again; the base clears selection and
    // highlight. Subclasses reset their own content here and call the base.
    virtual void prepareForReuse();
    // How many times the cell was handed out again (test support).
    int reuseCount() const { return m_reuseCount; }

    void layoutSubviews() override;
    // The standard labels' wrapped height plus 11 above and below, at least 44; a cell
    // with no standard label has no opinion (height 0), so the table uses its estimate.
    Size sizeThatFits(const Size&) const override;
    // The height the table gives a self-sizing row of that width. A content view placed by
    // constraints is asked through the layout engine (its width required, its height as
    // small as its constraints allow); a cell without constraints answers sizeThatFits.
    virtual double fittingHeight(double width);

    AccessibilityTraits accessibilityTraits() const override;

protected:
    TableViewCell(TableViewCellStyle, std::string reuseIdentifier);

private:
    friend class TableView;
    void setReuseIdentifier(std::string identifier)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_reuseIdentifier = std::move(identifier);
    }
    void updateSelectedBackground();
    double accessoryWidth() const;

    TableViewCellStyle m_style;
    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    TableViewCellAccessoryType m_accessoryType = TableViewCellAccessoryType::None;
    std::shared_ptr<View> m_accessoryView;
    TableViewCellSelectionStyle m_selectionStyle = TableViewCellSelectionStyle::Default;
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<View> m_selectedBackgroundView;
    EdgeInsets m_separatorInset { 0, 16, 0, 0 };
    bool m_selected = false;
    bool m_highlighted = false;
    int m_reuseCount = 0;
    // Labels whose wrap width fittingHeight set (it sets it again at each width).
    std::set<const Label*> m_wrapWidthSet;
};

} // namespace ui
