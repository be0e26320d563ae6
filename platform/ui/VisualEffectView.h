#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <optional>

namespace ui {

enum class BlurStyle { ExtraLight, Light, Dark, Regular, Prominent };

// A blurred backdrop. Content goes into contentView, which always fills it.
class VisualEffectView : public View {
public:
    static std::shared_ptr<VisualEffectView> create(std::optional<BlurStyle> effect = std::nullopt,
        const Rect& frame = {});
    std::string_view className() const override { return "VisualEffectView"; }

    std::optional<BlurStyle> effect() const { return m_effect; }
    void setEffect(std::optional<BlurStyle> effect) { BASE_ASSERT_MAIN_THREAD(); m_effect = effect; }
    const std::shared_ptr<View>& contentView() const { return m_contentView; }

    void layoutSubviews() override;

protected:
    VisualEffectView(std::optional<BlurStyle>, const Rect& frame);
    void boundsSizeDidChange(const Size& oldSize) override;

private:
    std::optional<BlurStyle> m_effect;
    std::shared_ptr<View> m_contentView;
};

} // namespace ui
