#pragma once

// The reset dialog of teacher review: a white card over a dimmed screen asking whether to
// clear the current page or all pages, with Cancel and OK. The choice starts at the
// current page every time. The caller wraps it in a navigation controller without a bar
// and presents that; OK and Cancel dismiss it through its navigation controller and then
// run their block (OK with the choice: YES the current page, NO all pages).

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class ResetAllViewController : public ui::ViewController {
public:
    static constexpr const char* accentColor = "#123595";

    static std::shared_ptr<ResetAllViewController> create();
    std::string_view className() const override { return "ResetAllViewController"; }

    const std::shared_ptr<ui::View>& mainView() const { return m_mainView; }
    const std::shared_ptr<ui::Label>& currentPageRadioIcon() const { return m_currentPageRadioIcon; }
    const std::shared_ptr<ui::Label>& allPageRadioIcon() const { return m_allPageRadioIcon; }
    bool isEnableCurrentPage() const { return m_isEnableCurrentPage; }
    const std::function<void(bool)>& OkButtonAction() const { return m_okButtonAction; }
    void setOkButtonAction(std::function<void(bool)> action) { m_okButtonAction = std::move(action); }
    const std::function<void()>& CancelButtonAction() const { return m_cancelButtonAction; }
    void setCancelButtonAction(std::function<void()> action) { m_cancelButtonAction = std::move(action); }

    void viewDidLoad() override;
    void currentPageButtonTapAction();
    void allPageButtonTapAction();
    void okButtonTapAction();
    void cancelButtonTapAction();
    // YES: the current page; NO: all pages.
    void selectOption(bool currentPage);

    // The views built in code, for the layout's readers (null before the view is built).
    const std::shared_ptr<ui::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ui::Label>& detailLabel() const { return m_detailLabel; }
    const std::shared_ptr<ui::Button>& okButton() const { return m_okButton; }
    const std::shared_ptr<ui::Button>& cancelButton() const { return m_cancelButton; }
    const std::shared_ptr<ui::View>& optionRow() const { return m_optionRow; }

protected:
    ResetAllViewController();

private:
    void buildViews();
    std::shared_ptr<ui::Button> makeButton(const std::string& titleKey, bool isOk);
    std::shared_ptr<ui::View> makeOption(const std::string& titleKey, bool currentPage);

    std::shared_ptr<ui::View> m_mainView;
    std::shared_ptr<ui::Label> m_currentPageRadioIcon;
    std::shared_ptr<ui::Label> m_allPageRadioIcon;
    bool m_isEnableCurrentPage = true;
    std::function<void(bool)> m_okButtonAction;
    std::function<void()> m_cancelButtonAction;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Label> m_detailLabel;
    std::shared_ptr<ui::Button> m_okButton;
    std::shared_ptr<ui::Button> m_cancelButton;
    std::shared_ptr<ui::View> m_optionRow;
};

} // namespace lectoro
