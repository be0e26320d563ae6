// The top bar's items: back, the book's title and the sleep-timer button. They are placed
// by constraints kept as data, and by frames set from the same numbers whenever the bar is
// placed.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/foundation/AccessibilityManager.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Font.h"
#include "platform/ui/Layer.h"

namespace lectoro {

namespace {

// Glyphs of the player's icon font.
constexpr const char* mediaTopBarBackGlyph = "\xee\xa4\x80";  // U+E900
constexpr const char* mediaTopBarSleepGlyph = "\xee\xa4\x81"; // U+E901
constexpr double mediaTopBarIconSize = 23.0;
constexpr double mediaTopBarBackWidth = 60.0;
constexpr double mediaTopBarTitleLeading = 62.0;
constexpr double mediaTopBarSleepSide = 36.0;

double mediaTopBarSleepTrailing(bool pad) { return pad ? 10.0 : 5.0; }

std::shared_ptr<ui::Button> makeMediaTopBarIconButton(const char* glyph, const std::optional<ui::Color>& color)
{
    auto button = ui::Button::create(ui::ButtonType::Custom);
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    for (auto state : { ui::ControlState::Normal, ui::ControlState::Selected }) {
        button->setTitle(std::string(glyph), state);
        button->setTitleColor(color, state);
    }
    button->titleLabel()->setTextAlignment(base::TextAlignment::Center);
    button->setFont(ui::Font(MVLectoroFontManager::getFontName(), mediaTopBarIconSize));
    return button;
}

} // namespace

void MVLectoroMediaBookReader::buildTopBarItems()
{
    if (!m_topBar)
        return;
    auto& bar = *m_topBar;
    bool pad = ui::Environment::current().isPad();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();

    m_backButton = makeMediaTopBarIconButton(mediaTopBarBackGlyph, m_theme->media_toppanel_icons_color());
    m_backButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
        if (auto reader = weak.lock())
            reader->didTapOnBackButton(static_cast<ui::Button&>(sender));
    });
    bar.addSubview(m_backButton);
    ui::Constraint::activate({
        m_backButton->topAnchor().constraintEqualTo(bar.topAnchor()),
        m_backButton->leadingAnchor().constraintEqualTo(bar.leadingAnchor()),
        m_backButton->heightAnchor().constraintEqualToConstant(m_topBarHeight),
        m_backButton->widthAnchor().constraintEqualToConstant(mediaTopBarBackWidth),
    });

    m_titleLabel = ui::Label::create();
    m_titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    bar.addSubview(m_titleLabel);
    ui::Constraint::activate({
        m_titleLabel->topAnchor().constraintEqualTo(bar.topAnchor()),
        m_titleLabel->leadingAnchor().constraintEqualTo(bar.leadingAnchor(), mediaTopBarTitleLeading),
        m_titleLabel->trailingAnchor().constraintEqualTo(bar.trailingAnchor()),
        m_titleLabel->heightAnchor().constraintEqualToConstant(m_topBarHeight),
    });
    m_titleLabel->setText(m_model ? m_model->mediaBookTitle : std::string());
    if (auto color = m_theme->media_toppanel_bookTitle_text_color())
        m_titleLabel->setTextColor(*color);

    m_sleepButton = makeMediaTopBarIconButton(mediaTopBarSleepGlyph, m_theme->media_toppanel_icons_color());
    m_sleepButton->setTitleColor(ui::Color::gray(), ui::ControlState::Disabled);
    m_sleepButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& sender) {
        if (auto reader = weak.lock())
            reader->didTapOnSleepButton(static_cast<ui::Button&>(sender));
    });
    bar.addSubview(m_sleepButton);
    ui::Constraint::activate({
        m_sleepButton->centerYAnchor().constraintEqualTo(bar.centerYAnchor()),
        m_sleepButton->trailingAnchor().constraintEqualTo(bar.trailingAnchor(), -mediaTopBarSleepTrailing(pad)),
        m_sleepButton->heightAnchor().constraintEqualToConstant(mediaTopBarSleepSide),
        m_sleepButton->widthAnchor().constraintEqualToConstant(mediaTopBarSleepSide),
    });
    m_sleepButton->layer()->setCornerRadius(mediaTopBarSleepSide / 2);
    // Video books have no sleep timer.
    m_sleepButton->setHidden(m_type == MediaBookType::video);

    addReaderAccessibilityOn(*m_backButton, "BackToBookShelfButton", "");
    addReaderAccessibilityOn(*m_sleepButton, "MediaBSleepButton", "");
    layoutTopBarItems();
}

void MVLectoroMediaBookReader::layoutTopBarItems()
{
    if (!m_topBar)
        return;
    double width = m_topBar->bounds().size.width;
    double height = m_topBarHeight;
    if (m_backButton)
        m_backButton->setFrame(ui::Rect(0, 0, mediaTopBarBackWidth, height));
    if (m_titleLabel)
        m_titleLabel->setFrame(ui::Rect(mediaTopBarTitleLeading, 0, std::max(width - mediaTopBarTitleLeading, 0.0), height));
    if (m_sleepButton) {
        double trailing = mediaTopBarSleepTrailing(ui::Environment::current().isPad());
        m_sleepButton->setFrame(ui::Rect(width - trailing - mediaTopBarSleepSide, (height - mediaTopBarSleepSide) / 2,
            mediaTopBarSleepSide, mediaTopBarSleepSide));
    }
}

} // namespace lectoro
