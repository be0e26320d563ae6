#include "LectoroSDKWithReader/readersdk/widgets/InfomationPopOverContentViewController.h"

#include "platform/ui/TextMetrics.h"

namespace lectoro {

namespace {
constexpr double instructionWidth = 260;
constexpr double instructionPadding = 8;
} // namespace

std::shared_ptr<InfomationPopOverContentViewController> InfomationPopOverContentViewController::create()
{
    return std::shared_ptr<InfomationPopOverContentViewController>(
        new InfomationPopOverContentViewController());
}

void InfomationPopOverContentViewController::loadView()
{
    auto root = ui::View::create(ui::Rect { 0, 0, instructionWidth, 60 });
    m_label = ui::Label::create(ui::Rect { instructionPadding, instructionPadding,
        instructionWidth - 2 * instructionPadding, 60 - 2 * instructionPadding });
    m_label->setNumberOfLines(0);
    m_label->setLineBreakMode(ui::LineBreakMode::ByWordWrapping);
    root->addSubview(m_label);
    setView(root);
}

const std::shared_ptr<ui::Label>& InfomationPopOverContentViewController::textLabel()
{
    view();
    return m_label;
}

void InfomationPopOverContentViewController::setInstructionText(const std::string& text)
{
    const auto& label = textLabel();
    label->setText(text);
    // The pop-over grows with its text, keeping its width.
    double width = instructionWidth - 2 * instructionPadding;
    double height = ui::TextMetrics::boundingHeight(text, label->font(), width);
    label->setFrame(ui::Rect { instructionPadding, instructionPadding, width, height });
    ui::Rect frame = view()->frame();
    frame.size = { instructionWidth, height + 2 * instructionPadding };
    view()->setFrame(frame);
}

std::string InfomationPopOverContentViewController::instructionText() const
{
    return m_label ? m_label->text() : std::string {};
}

void InfomationPopOverContentViewController::setInstructionTextFont(const ui::Font& font)
{
    textLabel()->setFont(font);
}

void InfomationPopOverContentViewController::setInstructionTextBackgroundColor(const ui::Color& color)
{
    textLabel()->setBackgroundColor(color);
}

} // namespace lectoro
