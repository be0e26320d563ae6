#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"

#include "platform/ui/Constraint.h"

namespace lectoro {

namespace {

const char* mediaTitle(int64_t kind)
{
    switch (kind) {
    case 0:
        return "Audio";
    case 1:
        return "Video";
    case 2:
        return "Image";
    case 3:
        return "Web";
    default:
        return "";
    }
}

} // namespace

std::shared_ptr<GlossaryViewController> GlossaryViewController::create()
{
    return std::shared_ptr<GlossaryViewController>(new GlossaryViewController());
}

void GlossaryViewController::loadView()
{
    // Laid out by constraints: the pop-up is 300 square on a tablet and as large as the page
    // allows on a phone.
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 300, 300 } });
    root->setBackgroundColor(m_popupColor);
    // The entry's own ground: a pop-over paints the root in the pop-over's colour.
    m_ground = ui::View::create(root->bounds());
    m_ground->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_ground->setBackgroundColor(m_popupColor);
    root->addSubview(m_ground);
    m_alphabet = ui::Label::create();
    m_alphabet->setTextAlignment(ui::TextAlignment::Center);
    m_keyword = ui::Label::create();
    m_keyword->setNumberOfLines(2);
    m_keyword->setAdjustsFontSizeToFitWidth(true);
    m_description = ui::Label::create();
    m_description->setNumberOfLines(0);
    m_description->setFont(ui::Font::systemFont(15));
    m_mediaRow = ui::StackView::create();
    m_mediaRow->setAxis(ui::StackAxis::Horizontal);
    m_mediaRow->setSpacing(8);
    m_mediaRow->setAlignment(ui::StackAlignment::Center);
    for (const auto& view : std::vector<std::shared_ptr<ui::View>> { m_alphabet, m_keyword, m_description, m_mediaRow }) {
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        root->addSubview(view);
    }
    auto descriptionBottom = m_description->bottomAnchor().constraintLessThanOrEqualTo(m_mediaRow->topAnchor(), -8);
    ui::Constraint::activate({
        m_alphabet->topAnchor().constraintEqualTo(root->topAnchor(), 12),
        m_alphabet->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 12),
        m_alphabet->widthAnchor().constraintEqualToConstant(44),
        m_alphabet->heightAnchor().constraintEqualToConstant(44),
        m_keyword->leadingAnchor().constraintEqualTo(m_alphabet->trailingAnchor(), 12),
        m_keyword->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -12),
        m_keyword->topAnchor().constraintEqualTo(root->topAnchor(), 12),
        m_keyword->heightAnchor().constraintEqualToConstant(44),
        m_description->topAnchor().constraintEqualTo(m_alphabet->bottomAnchor(), 12),
        m_description->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 12),
        m_description->trailingAnchor().constraintEqualTo(root->trailingAnchor(), -12),
        descriptionBottom,
        m_mediaRow->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 12),
        m_mediaRow->trailingAnchor().constraintLessThanOrEqualTo(root->trailingAnchor(), -12),
        m_mediaRow->bottomAnchor().constraintEqualTo(root->bottomAnchor(), -12),
        m_mediaRow->heightAnchor().constraintEqualToConstant(40),
    });
    setView(root);
    refresh();
}

void GlossaryViewController::setPopupBackgroundColor(const ui::Color& color)
{
    m_popupColor = color;
    if (auto root = viewIfLoaded()) {
        root->setBackgroundColor(color);
        m_ground->setBackgroundColor(color);
    }
}

void GlossaryViewController::setGlossaryItem(const base::Value& item)
{
    m_item = item.isDictionary() ? item : base::Value(base::Value::Dictionary {});
    refresh();
}

std::shared_ptr<ui::Label> GlossaryViewController::alphabetLabel()
{
    loadViewIfNeeded();
    return m_alphabet;
}

std::shared_ptr<ui::Label> GlossaryViewController::keywordLabel()
{
    loadViewIfNeeded();
    return m_keyword;
}

std::shared_ptr<ui::Label> GlossaryViewController::descriptionLabel()
{
    loadViewIfNeeded();
    return m_description;
}

const std::vector<std::shared_ptr<ui::Button>>& GlossaryViewController::mediaButtons()
{
    loadViewIfNeeded();
    return m_media;
}

void GlossaryViewController::refresh()
{
    auto root = viewIfLoaded();
    if (!root)
        return;
    m_alphabet->setText(m_item["alphabet"].description());
    m_alphabet->setTextColor(m_alphabetColor);
    m_alphabet->layer()->setBorderColor(m_iconBorderColor);
    m_alphabet->layer()->setBorderWidth(1);
    m_alphabet->setBackgroundColor(m_iconColor);
    m_keyword->setText(m_item["term"].isNull() ? std::string() : m_item["term"].description());
    m_keyword->setTextColor(m_keywordColor);
    m_description->setText(
        m_item["description"].isNull() ? std::string() : m_item["description"].description());
    m_description->setTextColor(m_descriptionColor);

    for (const auto& button : m_media)
        m_mediaRow->removeArrangedSubview(button.get()), button->removeFromSuperview();
    m_media.clear();
    const base::Value::List* media = m_item["media"].asList();
    std::weak_ptr<GlossaryViewController> weakSelf
        = std::static_pointer_cast<GlossaryViewController>(shared_from_this());
    for (size_t index = 0; media && index < media->size(); ++index) {
        auto button = ui::Button::create();
        button->setTitle(mediaTitle(media->at(index)["kind"].integerValue()));
        // Dark words on the pop-up's light ground, framed as buttons.
        button->setTitleColor(m_keywordColor);
        button->setContentEdgeInsets({ 0, 12, 0, 12 });
        button->layer()->setBorderColor(m_iconBorderColor);
        button->layer()->setBorderWidth(1);
        button->layer()->setCornerRadius(6);
        button->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, index](ui::Control&) {
            if (auto self = weakSelf.lock())
                self->selectMediaAtIndex(index);
        });
        m_mediaRow->addArrangedSubview(button);
        m_media.push_back(button);
    }
}

void GlossaryViewController::selectMediaAtIndex(size_t index)
{
    const base::Value::List* media = m_item["media"].asList();
    if (!media || index >= media->size())
        return;
    int64_t kind = media->at(index)["kind"].integerValue();
    std::string path
        = media->at(index)["path"].isNull() ? std::string() : media->at(index)["path"].description();
    auto protect = shared_from_this();
    if (auto delegate = m_delegate.lock())
        delegate->didSelectGlossaryItemWithType(kind, path);
}

} // namespace lectoro
