#pragma once

// The pop-up that asks which of the user's data to print: highlights and notes, highlights
// or notes. A kind with nothing to print (hiddenPrintType) is veiled or left out. On a
// tablet it is a card with a radio list and Cancel and Print; elsewhere an action sheet.
// The delegate hears the choice once the pop-up has gone, never on a cancel.

#include "LectoroSDKWithReader/mydata/MyDataPrinting.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class AlertController;
class Button;
class Label;
class ShapeLayer;
} // namespace ui

namespace lectoro {

class LXMVThemeVO;

class LXMyDataPrintOptionsControllerDelegate {
public:
    virtual ~LXMyDataPrintOptionsControllerDelegate() = default;
    virtual void didTapOnPrintTypeWithPrintType(int64_t printType) = 0;
};

// A round radio mark: a ring and, when selected, a dot.
class RadioButton : public ui::View {
public:
    static std::shared_ptr<RadioButton> create(
        ui::Color = ui::Color::fromRGB255(0, 122, 255), double diameter = 20);
    std::string_view className() const override { return "RadioButton"; }
    double diameter = 20;
    ui::Color buttonColor;
    bool isSelected = false;
    void redraw();
    const std::shared_ptr<ui::ShapeLayer>& innerShapeLayer() const { return m_inner; }
    const std::shared_ptr<ui::ShapeLayer>& outerShapeLayer() const { return m_outer; }

protected:
    RadioButton() = default;

private:
    std::shared_ptr<ui::ShapeLayer> m_inner;
    std::shared_ptr<ui::ShapeLayer> m_outer;
};

class PrintTypeCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "PrintTypeCell";
    static std::shared_ptr<PrintTypeCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "PrintTypeCell"; }
    const std::shared_ptr<ui::Label>& typeLabel() const { return m_typeLabel; }
    const std::shared_ptr<RadioButton>& roundView() const { return m_roundView; }
    const std::shared_ptr<ui::View>& disableView() const { return m_disableView; }

protected:
    using ui::TableViewCell::TableViewCell;

private:
    std::shared_ptr<ui::Label> m_typeLabel;
    std::shared_ptr<RadioButton> m_roundView;
    std::shared_ptr<ui::View> m_disableView;
};

class LXMyDataPrintOptionsController : public ui::ViewController,
                                       public ui::TableViewDataSource,
                                       public ui::TableViewDelegate {
public:
    static std::shared_ptr<LXMyDataPrintOptionsController> create();
    std::string_view className() const override { return "LXMyDataPrintOptionsController"; }

    std::shared_ptr<LXMVThemeVO> lxthemeVO;
    int64_t hiddenPrintType = PrintTypeNone;
    void setDelegate(std::weak_ptr<LXMyDataPrintOptionsControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    const std::vector<std::string>& printTypes() const { return m_printTypes; }
    const std::string& popupTitle() const { return m_popupTitle; }
    int64_t selectedIndex() const { return m_selectedIndex; }

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void dismissController();
    void didTapOnPrintOption();

    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    const std::shared_ptr<ui::View>& card() const { return m_card; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::Button>& printButton() const { return m_printButton; }
    const std::shared_ptr<ui::Button>& cancelButton() const { return m_cancelButton; }
    const std::shared_ptr<ui::AlertController>& actionSheet() const { return m_actionSheet; }

protected:
    LXMyDataPrintOptionsController();

private:
    std::shared_ptr<LXMyDataPrintOptionsController> self();
    void buildCard();
    void buildActionSheet();
    bool rowEnabled(size_t index) const;

    std::string m_highLights;
    std::string m_notes;
    std::string m_both;
    std::string m_cancelButtonTitle;
    std::string m_printButtonTitle;
    std::string m_myDataTitle;
    std::string m_popupTitle;
    std::vector<std::string> m_printTypes;
    std::weak_ptr<LXMyDataPrintOptionsControllerDelegate> m_delegate;
    int64_t m_selectedIndex = 0;
    bool m_told = false;

    std::shared_ptr<ui::Button> m_backdrop;
    std::shared_ptr<ui::View> m_card;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::Button> m_printButton;
    std::shared_ptr<ui::Button> m_cancelButton;
    std::shared_ptr<ui::AlertController> m_actionSheet;
};

} // namespace lectoro
