#pragma once

// The language pick-list: a modal list of strings with a checkmark on one row. A pick
// closes the list and, once it is gone, reports the row through tapOnItem. On iPad the
// list is a card in the middle of a dimmed screen (a tap beside it closes it); elsewhere
// it fills the screen under a bar with a back item.

#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class LXMVThemeVO;

class MVDropdownController : public ui::ViewController,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate {
public:
    using TapOnItem = std::function<void(int64_t row)>;

    static std::shared_ptr<MVDropdownController> create(std::vector<std::string> dropDownData);
    static std::shared_ptr<MVDropdownController> create();

    std::string_view className() const override { return "MVDropdownController"; }

    double barHeight() const { return m_barHeight; }
    const std::optional<std::vector<std::string>>& dropDownData() const { return m_dropDownData; }
    int64_t selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int64_t index) { m_selectedIndex = index; }
    const std::shared_ptr<LXMVThemeVO>& lxthemeVO() const { return m_lxthemeVO; }
    void setLxthemeVO(std::shared_ptr<LXMVThemeVO> theme) { m_lxthemeVO = std::move(theme); }
    const TapOnItem& tapOnItem() const { return m_tapOnItem; }
    void setTapOnItem(TapOnItem tapOnItem) { m_tapOnItem = std::move(tapOnItem); }

    void dismissController();

    // Views, for the sheet's tests and the host.
    const std::shared_ptr<ui::View>& containerView() const { return m_containerView; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::View>& navigationBar() const { return m_navigationBar; }
    const std::shared_ptr<ui::Button>& backButton() const { return m_backButton; }
    const std::shared_ptr<ui::Button>& dismissButton() const { return m_dismissButton; }

    void viewDidLoad() override;

    // ui::TableViewDataSource / ui::TableViewDelegate.
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

private:
    MVDropdownController() = default;

    double m_barHeight = 44.0;
    std::optional<std::vector<std::string>> m_dropDownData;
    int64_t m_selectedIndex = 0;
    std::shared_ptr<LXMVThemeVO> m_lxthemeVO;
    TapOnItem m_tapOnItem;

    std::shared_ptr<ui::Button> m_dismissButton;
    std::shared_ptr<ui::View> m_containerView;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::View> m_navigationBar;
    std::shared_ptr<ui::Button> m_backButton;
};

} // namespace lectoro
