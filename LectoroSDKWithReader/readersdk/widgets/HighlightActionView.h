#pragma once

// The base of the highlight pop-up. The reader builds one (its HighlightView subclass) and
// hands it to the renderer (setHighlightView), which shows it over each selection
// (openHighlightView), sets highlightVO to the highlight the selection lies in (none for
// fresh text), and takes it away again. When the renderer closes it by itself (a tap
// elsewhere on the page) the delegate hears didHighlightClosed.

#include "platform/ui/View.h"

#include <memory>

namespace lectoro {

class SDKHighlightVO;

class HighlightActionViewDelegate {
public:
    virtual ~HighlightActionViewDelegate() = default;
    virtual void didHighlightClosed() { }
};

class HighlightActionView : public ui::View {
public:
    static std::shared_ptr<HighlightActionView> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "HighlightActionView"; }

    std::shared_ptr<SDKHighlightVO> highlightVO() const { return m_highlightVO; }
    void setHighlightVO(std::shared_ptr<SDKHighlightVO> record) { m_highlightVO = std::move(record); }

    std::shared_ptr<HighlightActionViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<HighlightActionViewDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    // Brings the pop-up back to its first look before it is shown again; subclasses
    // override it (calling this one).
    virtual void resetHighlightView() { }
    // Takes the pop-up off the screen and tells the delegate.
    void closeHighlightView();

protected:
    explicit HighlightActionView(const ui::Rect& frame);

private:
    std::shared_ptr<SDKHighlightVO> m_highlightVO;
    std::weak_ptr<HighlightActionViewDelegate> m_delegate;
};

} // namespace lectoro
