#pragma once

// The list of a drop-down markup: one row per item (the first is the "select" prompt the
// reader puts in front). A tap on a row reports its text with the box it belongs to, then
// asks to be closed; the list stays open until it asks.

#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class MarkupView;

class LinkDropDownViewControllerDelegate {
public:
    virtual ~LinkDropDownViewControllerDelegate() = default;
    virtual void didSelectDropDownItemWithText(const std::string&, std::shared_ptr<MarkupView> dropDown) = 0;
    virtual void didSelectActionToCloseDropDown() = 0;
};

class LinkDropDownViewController : public ui::ViewController {
public:
    static constexpr double rowHeight = 44;

    // initWithDropDownData:withDropDown:
    static std::shared_ptr<LinkDropDownViewController> create(
        std::vector<std::string> items, std::shared_ptr<MarkupView> dropDown);
    std::string_view className() const override { return "LinkDropDownViewController"; }
    void loadView() override;

    std::shared_ptr<LinkDropDownViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LinkDropDownViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    const std::vector<std::string>& items() const { return m_items; }
    std::shared_ptr<MarkupView> dropDown() const { return m_dropDown.lock(); }
    // The row buttons, in item order.
    const std::vector<std::shared_ptr<ui::Button>>& rows();

    // A pick reported to the delegate (a row's tap also closes the list); an index past the
    // list is ignored.
    void selectItemAtIndex(size_t);
    void close();

protected:
    LinkDropDownViewController(std::vector<std::string>, std::shared_ptr<MarkupView>);

private:
    std::vector<std::string> m_items;
    std::weak_ptr<MarkupView> m_dropDown;
    std::vector<std::shared_ptr<ui::Button>> m_rows;
    std::weak_ptr<LinkDropDownViewControllerDelegate> m_delegate;
};

} // namespace lectoro
