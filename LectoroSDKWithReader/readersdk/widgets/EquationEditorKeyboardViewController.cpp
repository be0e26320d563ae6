#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"

#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"

namespace lectoro {

std::shared_ptr<EquationEditorKeyboardViewController> EquationEditorKeyboardViewController::create(
    std::shared_ptr<SDKFIBVO> fib)
{
    return std::shared_ptr<EquationEditorKeyboardViewController>(
        new EquationEditorKeyboardViewController(std::move(fib)));
}

EquationEditorKeyboardViewController::EquationEditorKeyboardViewController(std::shared_ptr<SDKFIBVO> fib)
    : m_fib(std::move(fib))
    , m_text(m_fib ? m_fib->text : std::string())
{
}

void EquationEditorKeyboardViewController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 768, 320 } });
    m_preview = ui::Label::create(ui::Rect { { 12, 12 }, { 744, 44 } });
    m_preview->setAccessibilityIdentifier("EquationPreview");
    root->addSubview(m_preview);
    setView(root);
    refresh();
}

void EquationEditorKeyboardViewController::refresh()
{
    if (m_preview)
        m_preview->setText(m_text);
}

void EquationEditorKeyboardViewController::typeKey(const std::string& key)
{
    m_text += key;
    refresh();
}

void EquationEditorKeyboardViewController::deleteBackward()
{
    // The last key typed may be several bytes long; never leave half of one behind.
    if (m_text.empty())
        return;
    size_t cut = m_text.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(m_text[cut]) & 0xC0) == 0x80)
        --cut;
    m_text.erase(cut);
    refresh();
}

void EquationEditorKeyboardViewController::save()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->saveEquationEditorForLink(m_link, m_fib, m_text);
}

void EquationEditorKeyboardViewController::switchToNormalKeyboard()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->changeEquationKeyboardToNormalForLink(m_link, m_fib, m_text);
}

void EquationEditorKeyboardViewController::close()
{
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->closeEquationEditor();
}

} // namespace lectoro
