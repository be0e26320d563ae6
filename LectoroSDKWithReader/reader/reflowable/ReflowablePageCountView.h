#pragma once

// The strip under the text of a reflowable book: the page line and the reading time
// left. Stands in for the companion framework's page-count view.

#include "platform/ui/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
}

namespace lectoro {

class ReflowablePageCountView : public ui::View {
public:
    static std::shared_ptr<ReflowablePageCountView> create();
    std::string_view className() const override { return "ReflowablePageCountView"; }

    const std::shared_ptr<ui::Label>& pageLabel() const { return m_pageLabel; }
    const std::shared_ptr<ui::Label>& readingTimeLeftLabel() const { return m_readingTimeLeftLabel; }
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }

    void setPageData(const std::string& text);
    void setTimeLeftData(const std::string& text);
    const std::string& customFontFamily() const { return m_customFontFamily; }
    void setCustomFontFamily(const std::string&);
    // The labels' text colour and the background behind them.
    void setViewColors(const ui::Color& textColor, const std::optional<ui::Color>& backgroundColor);

protected:
    ReflowablePageCountView();

private:
    void buildViews();

    std::shared_ptr<ui::View> m_contentView;
    std::shared_ptr<ui::Label> m_pageLabel;
    std::shared_ptr<ui::Label> m_readingTimeLeftLabel;
    std::string m_customFontFamily;
};

} // namespace lectoro
