#pragma once

// The pop-over of an instruction markup: its text in a label that wraps, placed on the
// page beside the markup's icon by the renderer.

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>

namespace lectoro {

class PXLinkVO;

class InfomationPopOverContentViewController : public ui::ViewController {
public:
    static std::shared_ptr<InfomationPopOverContentViewController> create();
    std::string_view className() const override { return "InfomationPopOverContentViewController"; }
    void loadView() override;

    void setInstructionText(const std::string&);
    std::string instructionText() const;
    void setInstructionTextFont(const ui::Font&);
    void setInstructionTextBackgroundColor(const ui::Color&);
    const std::shared_ptr<PXLinkVO>& linkVo() const { return m_link; }
    void setLinkVo(std::shared_ptr<PXLinkVO> link) { m_link = std::move(link); }
    const std::shared_ptr<ui::Label>& textLabel();

protected:
    InfomationPopOverContentViewController() = default;

private:
    std::shared_ptr<ui::Label> m_label;
    std::shared_ptr<PXLinkVO> m_link;
};

} // namespace lectoro
