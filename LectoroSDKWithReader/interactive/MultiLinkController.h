#pragma once

// The list of one multi-link markup's members: one row per member with its icon glyph and
// resource category; a pick goes to the delegate.

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace ui {
class Label;
}

namespace lectoro {

class PXLinkVO;

class MultiLinkControllerDelegate {
public:
    virtual ~MultiLinkControllerDelegate() = default;
    virtual void didSelectLinkVo(const std::shared_ptr<PXLinkVO>&) = 0;
};

class MultiLinkCell : public ui::TableViewCell {
public:
    static std::shared_ptr<MultiLinkCell> create(
        ui::TableViewCellStyle, const std::string& reuseIdentifier, double linkIconWidth);
    std::string_view className() const override { return "MultiLinkCell"; }

    const std::shared_ptr<ui::Label>& linkIcon() const { return m_linkIcon; }
    const std::shared_ptr<ui::Label>& linkName() const { return m_linkName; }
    double iconWidth() const { return m_width; }
    void layoutSubviews() override;

protected:
    MultiLinkCell(ui::TableViewCellStyle, std::string reuseIdentifier, double linkIconWidth);

private:
    double m_width = 0;
    std::shared_ptr<ui::Label> m_linkIcon;
    std::shared_ptr<ui::Label> m_linkName;
    bool m_constrained = false;
};

class MultiLinkController : public ui::ViewController {
public:
    static std::shared_ptr<MultiLinkController> create(
        const ui::Rect& frame, std::vector<std::shared_ptr<PXLinkVO>> multiLinkArray);
    std::string_view className() const override { return "MultiLinkController"; }
    void loadView() override;
    void viewDidLoad() override;

    const std::vector<std::shared_ptr<PXLinkVO>>& multiLinkArray() const { return m_multiLinkArray; }
    const std::shared_ptr<ui::TableView>& tableView();
    std::shared_ptr<MultiLinkControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MultiLinkControllerDelegate> delegate) { m_delegate = std::move(delegate); }

protected:
    MultiLinkController(const ui::Rect& frame, std::vector<std::shared_ptr<PXLinkVO>>);

private:
    class Source;

    ui::Rect m_frame;
    std::vector<std::shared_ptr<PXLinkVO>> m_multiLinkArray;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<Source> m_source;
    std::weak_ptr<MultiLinkControllerDelegate> m_delegate;
};

} // namespace lectoro
