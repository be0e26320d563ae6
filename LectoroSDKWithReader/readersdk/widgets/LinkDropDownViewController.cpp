#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"

#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/ui/ScrollView.h"

namespace lectoro {

std::shared_ptr<LinkDropDownViewController> LinkDropDownViewController::create(
    std::vector<std::string> items, std::shared_ptr<MarkupView> dropDown)
{
    return std::shared_ptr<LinkDropDownViewController>(
        new LinkDropDownViewController(std::move(items), std::move(dropDown)));
}

LinkDropDownViewController::LinkDropDownViewController(
    std::vector<std::string> items, std::shared_ptr<MarkupView> dropDown)
    : m_items(std::move(items))
    , m_dropDown(std::move(dropDown))
{
}

void LinkDropDownViewController::loadView()
{
    double width = 220;
    double height = rowHeight * static_cast<double>(m_items.size());
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { width, height } });
    root->setBackgroundColor(ui::Color::white());
    // A list of dark choices on a white sheet of its own, as a system pick-list shows them:
    // a pop-over paints the root in its own colour. It scrolls when its place is shorter
    // than its rows.
    auto list = ui::ScrollView::create(root->bounds());
    list->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    list->setBackgroundColor(ui::Color::white());
    list->setContentSize({ width, height });
    root->addSubview(list);
    std::weak_ptr<LinkDropDownViewController> weakSelf
        = std::static_pointer_cast<LinkDropDownViewController>(shared_from_this());
    m_rows.clear();
    for (size_t index = 0; index < m_items.size(); ++index) {
        auto row = ui::Button::create(
            ui::Rect { { 0, rowHeight * static_cast<double>(index) }, { width, rowHeight } });
        row->setTitle(m_items[index]);
        row->setTitleColor(ui::Color::black());
        row->setTag(static_cast<int>(index));
        row->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, index](ui::Control&) {
            // A finger's pick is final for this opening, as a pick-list's is.
            if (auto self = weakSelf.lock()) {
                self->selectItemAtIndex(index);
                self->close();
            }
        });
        list->addSubview(row);
        m_rows.push_back(row);
    }
    setView(root);
}

const std::vector<std::shared_ptr<ui::Button>>& LinkDropDownViewController::rows()
{
    loadViewIfNeeded();
    return m_rows;
}

void LinkDropDownViewController::selectItemAtIndex(size_t index)
{
    if (index >= m_items.size())
        return;
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didSelectDropDownItemWithText(m_items[index], m_dropDown.lock());
}

void LinkDropDownViewController::close()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didSelectActionToCloseDropDown();
}

} // namespace lectoro
