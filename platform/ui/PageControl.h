#pragma once

#include "platform/base/Thread.h"
#include "platform/ui/Control.h"

#include <optional>

namespace ui {

// A row of page dots.
class PageControl : public Control {
public:
    static std::shared_ptr<PageControl> create(const Rect& frame = {});
    std::string_view className() const override { return "PageControl"; }

    int numberOfPages() const { return m_numberOfPages; }
    // Negative counts become 0; the current page is clamped to the new range.
    void setNumberOfPages(int);
    int currentPage() const { return m_currentPage; }
    // Clamped to [0, numberOfPages − 1] (0 without pages). Sends no event.
    void setCurrentPage(int);
    bool hidesForSinglePage() const { return m_hidesForSinglePage; }
    void setHidesForSinglePage(bool hides) { BASE_ASSERT_MAIN_THREAD(); m_hidesForSinglePage = hides; }
    // Whether the dots are drawn: not with hidesForSinglePage and at most one page.
    bool showsDots() const { return !(m_hidesForSinglePage && m_numberOfPages <= 1); }

    std::optional<Color> pageIndicatorTintColor() const { return m_pageTint; }
    void setPageIndicatorTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_pageTint = color;
    }
    std::optional<Color> currentPageIndicatorTintColor() const { return m_currentPageTint; }
    void setCurrentPageIndicatorTintColor(std::optional<Color> color)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_currentPageTint = color;
    }

    // A tap on a dot: moves there and sends value-changed when the page changed. Answers
    // false for a bad page or when the control cannot be touched.
    bool simulateSelectPage(int page);

    // 7-point dots 9 points apart (16 per page), 37 high; the width of no pages is 0.
    Size sizeForNumberOfPages(int pages) const;
    Size intrinsicContentSize() const override { return sizeForNumberOfPages(m_numberOfPages); }

    std::string accessibilityValue() const override;
    AccessibilityTraits accessibilityTraits() const override;
    bool isAccessibilityElement() const override;

protected:
    explicit PageControl(const Rect& frame);

private:
    int m_numberOfPages = 0;
    int m_currentPage = 0;
    bool m_hidesForSinglePage = false;
    std::optional<Color> m_pageTint;
    std::optional<Color> m_currentPageTint;
};

} // namespace ui
