#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <optional>

namespace ui {

// A progress bar.
class ProgressView : public View {
public:
    static std::shared_ptr<ProgressView> create(const Rect& frame = {});
    std::string_view className() const override { return "ProgressView"; }

    double progress() const { return m_progress; }
    // Clamped to [0, 1]; a NaN counts as 0.
    void setProgress(double progress, bool animated = false);
    std::optional<Color> progressTintColor() const { return m_progressTint; }
    void setProgressTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_progressTint = color;
    }
    std::optional<Color> trackTintColor() const { return m_trackTint; }
    void setTrackTintColor(std::optional<Color> color) { BASE_ASSERT_MAIN_THREAD(); m_trackTint = color; }

    Size intrinsicContentSize() const override { return { noIntrinsicMetric, 4 }; }
    std::string accessibilityValue() const override;

protected:
    explicit ProgressView(const Rect& frame);

private:
    double m_progress = 0;
    std::optional<Color> m_progressTint;
    std::optional<Color> m_trackTint;
};

} // namespace ui
