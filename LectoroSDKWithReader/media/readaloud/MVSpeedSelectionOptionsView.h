#pragma once

// The small column of four round speed buttons that stands above the speed item of the
// narration bar. A tap takes the column off screen by itself and then tells the delegate
// which option (1 to 4) was picked; the owner keeps the view and may show it again.

#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace lectoro {

class MVSpeedSelectionOptionsDelegate {
public:
    virtual ~MVSpeedSelectionOptionsDelegate() = default;
    virtual void speedOptionSelectedWithOption(int64_t option) = 0;
};

class MVSpeedSelectionOptionsView : public ui::View {
public:
    static std::shared_ptr<MVSpeedSelectionOptionsView> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "MVSpeedSelectionOptionsView"; }

    double buttonHeight() const { return m_buttonHeight; }
    double buttonWidth() const { return m_buttonWidth; }
    double marginForButton() const { return m_marginForButton; }
    // Held strongly, as the owner hands it over.
    const std::shared_ptr<MVSpeedSelectionOptionsDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<MVSpeedSelectionOptionsDelegate> delegate) { m_delegate = std::move(delegate); }
    const ui::Color& iconColor() const { return m_iconColor; }
    void setIconColor(const ui::Color& color) { m_iconColor = color; }
    // Applies the icon colour and the fonts to the option buttons.
    void setTheme();
    const std::vector<std::shared_ptr<ui::Button>>& optionsArray() const { return m_optionsArray; }
    void optionSelectedWithSender(ui::Button& sender);

    // The column's own size: 50 × 224 on a tablet, 45 × 172 elsewhere.
    ui::Size preferredSize() const;

private:
    explicit MVSpeedSelectionOptionsView(const ui::Rect& frame);
    void build();

    double m_buttonHeight = 35;
    double m_buttonWidth = 35;
    double m_marginForButton = 7;
    std::shared_ptr<MVSpeedSelectionOptionsDelegate> m_delegate;
    ui::Color m_iconColor = ui::Color::gray();
    std::vector<std::shared_ptr<ui::Button>> m_optionsArray;
};

} // namespace lectoro
