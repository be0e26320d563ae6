#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"

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
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 300, 300 } });
    m_alphabet = ui::Label::create(ui::Rect { { 12, 12 }, { 44, 44 } });
    m_alphabet->setTextAlignment(ui::TextAlignment::Center);
    m_keyword = ui::Label::create(ui::Rect { { 68, 12 }, { 220, 44 } });
    m_description = ui::Label::create(ui::Rect { { 12, 68 }, { 276, 172 } });
    m_description->setNumberOfLines(0);
    root->addSubview(m_alphabet);
    root->addSubview(m_keyword);
    root->addSubview(m_description);
    setView(root);
    refresh();
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
        button->removeFromSuperview();
    m_media.clear();
    const base::Value::List* media = m_item["media"].asList();
    std::weak_ptr<GlossaryViewController> weakSelf
        = std::static_pointer_cast<GlossaryViewController>(shared_from_this());
    for (size_t index = 0; media && index < media->size(); ++index) {
        auto button
            = ui::Button::create(ui::Rect { { 12 + 70 * static_cast<double>(index), 250 }, { 64, 40 } });
        button->setTitle(mediaTitle(media->at(index)["kind"].integerValue()));
        button->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, index](ui::Control&) {
            if (auto self = weakSelf.lock())
                self->selectMediaAtIndex(index);
        });
        root->addSubview(button);
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
