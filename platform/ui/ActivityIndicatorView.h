#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

namespace ui {

enum class ActivityIndicatorStyle { Medium, Large, WhiteLarge, White, Gray };

// A spinner. With hidesWhenStopped (the default) it is hidden while not animating.
class ActivityIndicatorView : public View {
public:
    static std::shared_ptr<ActivityIndicatorView> create(ActivityIndicatorStyle = ActivityIndicatorStyle::Medium);
    static std::shared_ptr<ActivityIndicatorView> create(const Rect& frame);
    std::string_view className() const override { return "ActivityIndicatorView"; }

    ActivityIndicatorStyle style() const { return m_style; }
    void setStyle(ActivityIndicatorStyle);
    // White for the white styles, grey otherwise, until set.
    Color color() const;
    void setColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_color = color; }

    bool isAnimating() const { return m_animating; }
    void startAnimating();
    void stopAnimating();
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool);

    // 37 × 37 for the large styles, 20 × 20 otherwise.
    Size intrinsicContentSize() const override;
    Size sizeThatFits(const Size&) const override { return intrinsicContentSize(); }

protected:
    ActivityIndicatorView(ActivityIndicatorStyle, const Rect& frame);

private:
    ActivityIndicatorStyle m_style;
    std::optional<Color> m_color;
    bool m_animating = false;
    bool m_hidesWhenStopped = true;
};

} // namespace ui
