#pragma once

// The label the renderer shows at a note on a page. The reader makes its own
// (noteIconViewForHighlight); without one the renderer makes a plain one. It keeps the
// record it stands for, so a tap on it finds the note.

#include "platform/ui/Label.h"

#include <memory>

namespace lectoro {

class SDKHighlightVO;

class UGCLabel : public ui::Label {
public:
    static std::shared_ptr<UGCLabel> create(const ui::Rect& frame = {});
    std::string_view className() const override { return "UGCLabel"; }

    std::shared_ptr<SDKHighlightVO> highlightVO() const { return m_highlightVO; }
    void setHighlightVO(std::shared_ptr<SDKHighlightVO> record) { m_highlightVO = std::move(record); }

protected:
    explicit UGCLabel(const ui::Rect& frame);

private:
    std::shared_ptr<SDKHighlightVO> m_highlightVO;
};

} // namespace lectoro
