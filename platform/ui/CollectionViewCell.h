#pragma once

// An item of a collection view: a content view, selection state and a reuse identifier.

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {

class CollectionViewCell : public View {
public:
    static std::shared_ptr<CollectionViewCell> create(std::string reuseIdentifier = {});
    std::string_view className() const override { return "CollectionViewCell"; }

    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }
    // Subviews of a cell's own go here; it always fills the cell.
    // Made on first use (a view cannot take subviews while it is being constructed).
    const std::shared_ptr<View>& contentView();

    std::shared_ptr<View> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View>);
    // Shown behind the content while selected or highlighted.
    std::shared_ptr<View> selectedBackgroundView() const { return m_selectedBackgroundView; }
    void setSelectedBackgroundView(std::shared_ptr<View>);

    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool);

    // Called when the collection view hands the cell out again; the base clears
    // selection and highlight. Subclasses reset their own content and call the base.
    virtual void prepareForReuse();
    int reuseCount() const { return m_reuseCount; }

    void layoutSubviews() override;

protected:
    explicit CollectionViewCell(std::string reuseIdentifier);

private:
    friend class CollectionView;
    void setReuseIdentifier(std::string identifier)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_reuseIdentifier = std::move(identifier);
    }
    void updateSelectedBackground();

    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<View> m_selectedBackgroundView;
    bool m_selected = false;
    bool m_highlighted = false;
    int m_reuseCount = 0;
};

} // namespace ui
