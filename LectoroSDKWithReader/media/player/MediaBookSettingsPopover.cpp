// The settings pop-over of a video book: the entries the more-options button offers
// (language, quality, subtitles), the value list each opens, the picked value applied to
// the player, the subtitle switch, and the short notice confirming a subtitle.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

struct SettingsPopOverRow {
    const char* key;
    std::optional<std::vector<std::string>> MVMediaBookModel::*values;
    const char* glyph;
};

// Offered in this order; the glyphs are code points of the reader's icon font.
constexpr SettingsPopOverRow settingsPopOverRows[] = {
    { "LANGUAGE", &MVMediaBookModel::mediaSupportedAudios, "\xc3\x9c" }, // U+00DC
    { "QUALITY", &MVMediaBookModel::mediaSupportedResolutions, "\xc9\x83" }, // U+0243
    { "SUBTITLES_CC", &MVMediaBookModel::mediaSupportedSubtitles, "\xea\xac\xbc" }, // U+AB3C
};

bool settingsListOffers(const std::optional<std::vector<std::string>>& list)
{
    return list && !list->empty();
}

bool settingsListContains(const std::optional<std::vector<std::string>>& list, const std::string& value)
{
    return list && std::find(list->begin(), list->end(), value) != list->end();
}

ui::Font settingsListFont()
{
    return ui::Font("OpenSans-Bold", 20.0);
}

} // namespace

MVLectoroMediaBookReader::SettingsEntries MVLectoroMediaBookReader::settingsEntries() const
{
    SettingsEntries entries;
    if (!m_model)
        return entries;
    for (const auto& row : settingsPopOverRows) {
        if (!settingsListOffers((*m_model).*row.values))
            continue;
        entries.icons.emplace_back(row.glyph);
        entries.titles.push_back(LocalizationHelper::localizedString(row.key));
    }
    return entries;
}

// MARK: - Presenting and closing

MVLectoroMediaPopOverModel MVLectoroMediaBookReader::makeMoreOptionsPopOverModel(ui::View& source) const
{
    bool pad = ui::Environment::current().isPad();
    auto entries = settingsEntries();
    MVLectoroMediaPopOverModel model;
    model.enableCustomController = true;
    if (!pad)
        model.enableCustomControllerRightArrow = true;
    model.popOverSourceView = std::static_pointer_cast<ui::View>(source.shared_from_this());
    model.itemsTitles = std::move(entries.titles);
    model.customItemTitles = std::move(entries.icons);
    model.itemFont = ui::Font("OpenSans-Regular", pad ? 22.0 : 16.0);
    model.customItemFont = ui::Font(MVLectoroFontManager::getFontName(), pad ? 30.0 : 22.0);
    return model;
}

void MVLectoroMediaBookReader::showMoreOptionsPopOver(MVLectoroMediaPopOverModel model)
{
    // At most one pop-over is attached to the reader.
    removePopOverController();
    m_popOverViewController = MVLectoroMediaPopOverController::create(std::move(model));
    m_popOverViewController->setDelegate(
        std::static_pointer_cast<MVLectoroMediaPopOverControllerDelegate>(self()));
    view()->addSubview(m_popOverViewController->view());
    addChildViewController(m_popOverViewController);
}

void MVLectoroMediaBookReader::removePopOverController()
{
    if (!m_popOverViewController)
        return;
    detachPanel(*m_popOverViewController);
    m_popOverViewController = nullptr;
}

// MARK: - Value lists

MVLectoroMediaPopOverModel MVLectoroMediaBookReader::valuePopOverModel(const std::string& title,
    const std::vector<std::string>& values, const std::optional<std::string>& selected) const
{
    MVLectoroMediaPopOverModel model;
    model.popOverTitle = title;
    model.itemsTitles = values;
    model.selectedItemColor = m_theme->media_sidepanel_selected_text_color();
    model.itemFont = settingsListFont();
    model.enableDefaultCustomisedController = true;
    model.enableSwitchControl = false;
    model.selectedItem = selected;
    return model;
}

MVLectoroMediaPopOverModel MVLectoroMediaBookReader::subtitlePopOverModel(const std::string& title) const
{
    MVLectoroMediaPopOverModel model;
    model.popOverTitle = title;
    model.itemsTitles = m_model && m_model->mediaSupportedSubtitles ? *m_model->mediaSupportedSubtitles
                                                                    : std::vector<std::string> {};
    model.selectedItemColor = m_theme->media_sidepanel_selected_text_color();
    model.itemFont = settingsListFont();
    model.enableDefaultCustomisedController = true;
    auto selected = m_player ? m_player->currentSelectedSubtitle() : std::nullopt;
    model.selectedItem = selected;
    model.switchState = selected.has_value();
    model.switchLabelFont = ui::Font("OpenSans-Regular", ui::Environment::current().isPad() ? 24.0 : 18.0);
    model.switchTintColor = m_theme->media_playerView_slider_filled_color().value_or(ui::Color::gray());
    return model;
}

// MARK: - The pop-over's callbacks

void MVLectoroMediaBookReader::didTapOnItem(const std::string& tapped)
{
    // The text may belong to the pop-over about to close.
    const std::string item = tapped;
    removePopOverController();
    const auto language = LocalizationHelper::localizedString("LANGUAGE");
    const auto quality = LocalizationHelper::localizedString("QUALITY");
    const auto subtitles = LocalizationHelper::localizedString("SUBTITLES_CC");
    if (m_model && item == language && settingsListOffers(m_model->mediaSupportedAudios)) {
        m_currentPopOverItem = item;
        showMoreOptionsPopOver(valuePopOverModel(item, *m_model->mediaSupportedAudios,
            m_player ? m_player->currentSelectedAudio() : std::nullopt));
    } else if (m_model && item == quality && settingsListOffers(m_model->mediaSupportedResolutions)) {
        m_currentPopOverItem = item;
        showMoreOptionsPopOver(valuePopOverModel(item, *m_model->mediaSupportedResolutions,
            m_player ? m_player->currentSelectedQuality() : std::nullopt));
    } else if (m_model && item == subtitles && settingsListOffers(m_model->mediaSupportedSubtitles)) {
        m_currentPopOverItem = item;
        showMoreOptionsPopOver(subtitlePopOverModel(item));
    } else {
        // A value of the list opened last (or an entry with nothing to offer, read as one).
        applyPopOverValue(item);
    }
    if (auto listener = m_popOverDelegate.lock())
        listener->didTapOnItem(item);
}

void MVLectoroMediaBookReader::applyPopOverValue(const std::string& value)
{
    if (m_currentPopOverItem.empty() || !m_model)
        return;
    if (m_currentPopOverItem == LocalizationHelper::localizedString("LANGUAGE")) {
        if (settingsListContains(m_model->mediaSupportedAudios, value) && m_player)
            m_player->changeMediaLanguage(value);
    } else if (m_currentPopOverItem == LocalizationHelper::localizedString("QUALITY")) {
        // Resolutions go through unchecked: the player ignores one its stream lacks.
        if (m_player)
            m_player->changeVideoQuality(value);
    } else if (m_currentPopOverItem == LocalizationHelper::localizedString("SUBTITLES_CC")) {
        if (!settingsListContains(m_model->mediaSupportedSubtitles, value))
            return;
        m_lastPickedSubtitle = value;
        if (m_player)
            m_player->changeMediaSubtitle(value);
        if (m_videoPlayer) {
            m_videoPlayer->setSubtitleViewState(true);
            m_videoPlayer->setSubtitleViewColor(ui::Color::red());
        }
        showSubtitleNotice(value);
    }
}

void MVLectoroMediaBookReader::didChangeSwitchState(bool on)
{
    updateSubtitleState(on);
    if (auto listener = m_popOverDelegate.lock())
        listener->didChangeSwitchState(on);
}

void MVLectoroMediaBookReader::didTapOnCancelItem()
{
    removePopOverController();
    if (auto listener = m_popOverDelegate.lock())
        listener->didTapOnCancelItem();
}

// MARK: - The subtitle notice

void MVLectoroMediaBookReader::showSubtitleNotice(const std::string& subtitle)
{
    bool pad = ui::Environment::current().isPad();
    auto root = view();
    // The overlay covers the reader, so touches wait until the notice has gone.
    auto overlay = ui::View::create(root->bounds());
    overlay->setBackgroundColor(ui::Color::clear());
    overlay->setTranslatesAutoresizingMaskIntoConstraints(false);
    overlay->setAccessibilityIdentifier("MediaSubtitleNoticeOverlay");
    root->addSubview(overlay);
    ui::Constraint::activate({
        overlay->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        overlay->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        overlay->topAnchor().constraintEqualTo(root->topAnchor()),
        overlay->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
    });

    double minimumWidth = pad ? 350.0 : 220.0;
    double height = 40.0;
    auto bounds = overlay->bounds();
    auto label = ui::Label::create(ui::Rect(
        (bounds.size.width - minimumWidth) / 2, bounds.size.height - 20.0 - height, minimumWidth, height));
    label->setBackgroundColor(ui::Color::black().withAlpha(0.8));
    label->setText(LocalizationHelper::localizedString("SUBTITLES_CC_TURNED_ON") + subtitle);
    label->setTextColor(ui::Color::white());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(ui::Font::systemFont(pad ? 20.0 : 14.0));
    label->setClipsToBounds(true);
    label->layer()->setCornerRadius(15.0);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    label->setAccessibilityIdentifier("MediaSubtitleNotice");
    overlay->addSubview(label);
    ui::Constraint::activate({
        label->bottomAnchor().constraintEqualTo(overlay->bottomAnchor(), -20.0),
        label->centerXAnchor().constraintEqualTo(overlay->centerXAnchor()),
        label->widthAnchor().constraintGreaterThanOrEqualToConstant(minimumWidth),
        label->heightAnchor().constraintEqualToConstant(height),
    });

    std::weak_ptr<ui::View> weakOverlay = overlay;
    std::weak_ptr<ui::View> weakLabel = label;
    base::RunLoop::main().postDelayed(0.5, [weakOverlay, weakLabel] {
        ui::View::animate(
            3.0, [] {},
            [weakOverlay, weakLabel](bool) {
                if (auto shown = weakLabel.lock())
                    shown->removeFromSuperview();
                if (auto shown = weakOverlay.lock())
                    shown->removeFromSuperview();
            });
    });
}

} // namespace lectoro
