#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"

#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/StackView.h"


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

namespace {

// The keys in rows as they stand on the keyboard; the last row's words are the keyboard's
// own actions, the others type themselves.
const std::vector<std::vector<std::string>>& keyRows()
{
    static const std::vector<std::vector<std::string>> rows {
        { "7", "8", "9", "+", "(", ")" },
        { "4", "5", "6", "\u2212", "x", "y" },
        { "1", "2", "3", "\u00D7", "^", "\u221A" },
        { "0", ".", "=", "\u00F7", "\u03C0", "\u232B" },
        { EquationEditorKeyboardViewController::normalKeyboardKey, EquationEditorKeyboardViewController::closeKey,
            EquationEditorKeyboardViewController::saveKey },
    };
    return rows;
}

constexpr const char* deleteKey = "\u232B";

} // namespace

void EquationEditorKeyboardViewController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 768, 320 } });
    // The page stays in sight above the keys, under a veil that says it waits.
    root->setBackgroundColor(ui::Color::fromRGBA(0, 0, 0, 0.4));

    m_preview = ui::Label::create();
    m_preview->setAccessibilityIdentifier("EquationPreview");
    m_preview->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_preview->setBackgroundColor(ui::Color::white());
    m_preview->setTextColor(ui::Color::black());
    m_preview->setFont(ui::Font::systemFont(20));
    m_preview->layer()->setBorderColor(ui::Color::fromRGBA(0.73, 0.73, 0.75, 1));
    m_preview->layer()->setBorderWidth(1);
    root->addSubview(m_preview);

    auto panel = ui::StackView::create();
    panel->setAxis(ui::StackAxis::Vertical);
    panel->setDistribution(ui::StackDistribution::FillEqually);
    panel->setSpacing(6);
    panel->setTranslatesAutoresizingMaskIntoConstraints(false);
    panel->setBackgroundColor(ui::Color::fromRGBA(0.82, 0.83, 0.85, 1));
    panel->setLayoutMargins({ 6, 6, 6, 6 });
    panel->setLayoutMarginsRelativeArrangement(true);
    std::weak_ptr<EquationEditorKeyboardViewController> weakSelf
        = std::static_pointer_cast<EquationEditorKeyboardViewController>(shared_from_this());
    m_keys.clear();
    for (const auto& titles : keyRows()) {
        auto row = ui::StackView::create();
        row->setAxis(ui::StackAxis::Horizontal);
        row->setDistribution(ui::StackDistribution::FillEqually);
        row->setSpacing(6);
        for (const auto& title : titles) {
            auto key = ui::Button::create();
            key->setTitle(title);
            key->setTitleColor(ui::Color::black());
            key->setFont(ui::Font::systemFont(18));
            key->setBackgroundColor(ui::Color::white());
            key->layer()->setCornerRadius(5);
            key->setAccessibilityLabel(title);
            key->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, title](ui::Control&) {
                if (auto self = weakSelf.lock())
                    self->pressKey(title);
            });
            row->addArrangedSubview(key);
            m_keys.push_back(key);
        }
        panel->addArrangedSubview(row);
    }
    root->addSubview(panel);
    setView(root);

    // The editing line heads the keys' panel, so no page control ever lies under it.
    ui::Constraint::activate({
        m_preview->bottomAnchor().constraintEqualTo(panel->topAnchor()),
        m_preview->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        m_preview->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        m_preview->heightAnchor().constraintEqualToConstant(44),
        panel->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        panel->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        panel->bottomAnchor().constraintEqualTo(root->safeAreaLayoutGuide()->bottomAnchor()),
        panel->heightAnchor().constraintEqualToConstant(5 * 44 + 4 * 6 + 12),
    });
    refresh();
}

const std::vector<std::shared_ptr<ui::Button>>& EquationEditorKeyboardViewController::keys()
{
    loadViewIfNeeded();
    return m_keys;
}

std::shared_ptr<ui::Button> EquationEditorKeyboardViewController::keyTitled(const std::string& title)
{
    for (const auto& key : keys()) {
        if (key->currentTitle() == title)
            return key;
    }
    return nullptr;
}

void EquationEditorKeyboardViewController::pressKey(const std::string& title)
{
    if (title == saveKey)
        save();
    else if (title == closeKey)
        close();
    else if (title == normalKeyboardKey)
        switchToNormalKeyboard();
    else if (title == deleteKey)
        deleteBackward();
    else
        typeKey(title);
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
