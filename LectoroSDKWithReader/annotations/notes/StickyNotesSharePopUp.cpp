// The note card's share/save pop-up: a small column of close, save and share buttons
// that the more button unfolds above the comment bar. Its buttons are placed by
// constraints kept as data, and get the frames those constraints give at every layout
// pass of the editor, so the unfolded pop-up is laid out the moment it opens.

#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

// Each button reaches 6 points into the one below it.
constexpr double popupButtonOverlap = 6.0;

std::shared_ptr<ui::Button> sharePopUpButton(const std::string& glyph)
{
    auto button = ui::Button::create(ui::ButtonType::Custom);
    button->setTitle(glyph);
    return button;
}

} // namespace

void StickyNotesViewController::addShareSavePop()
{
    if (m_popupView)
        return;
    const bool sharing = m_settings && m_settings->isSharingEnabled();
    m_popupView = ui::View::create();
    if (m_theme && m_theme->share_share_popup_background())
        m_popupView->setBackgroundColor(*m_theme->share_share_popup_background());
    auto layer = m_popupView->layer();
    layer->setBorderColor(ui::Color::lightGray());
    layer->setBorderWidth(0.6);
    m_popupView->setClipsToBounds(false);
    layer->setShadowColor(ui::Color::lightGray());
    layer->setShadowOffset(ui::Size { -1.0, 0.0 });
    layer->setShadowRadius(20.0);
    layer->setShadowOpacity(0.2);
    layer->setCornerRadius(20.0);
    view()->addSubview(m_popupView);
    m_popupHeight = m_popupView->heightAnchor().constraintEqualToConstant(0.0);
    // Like the card, the pop-up and its buttons are placed by frames from these
    // constraints' constants (layoutShareSavePopUp); they are kept, not activated.
    m_popupConstraints = {
        m_popupView->bottomAnchor().constraintEqualTo(m_commentBar->bottomAnchor(), 2.0),
        m_popupView->trailingAnchor().constraintEqualTo(m_headerView->trailingAnchor(), -12.0),
        m_popupView->widthAnchor().constraintEqualToConstant(45.0),
        m_popupHeight,
    };

    std::optional<ui::Color> icon;
    if (m_theme)
        icon = m_theme->share_icon_color();
    const ui::Font font(MVLectoroFontManager::getFontName(), 18.0);
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto make = [&](const char* glyph, const char* identifier, void (StickyNotesViewController::*action)()) {
        auto button = sharePopUpButton(glyph);
        button->titleLabel()->setFont(font);
        if (icon)
            button->setTitleColor(*icon);
        button->setAccessibilityIdentifier(identifier);
        button->addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto self = weak.lock())
                (static_cast<StickyNotesViewController&>(*self).*action)();
        });
        button->setTranslatesAutoresizingMaskIntoConstraints(false);
        m_popupView->addSubview(button);
        return button;
    };
    auto& popup = *m_popupView;
    m_popupCloseButton
        = make(ICON_CLOSE, "ReaderShareSettingsCancelButton", &StickyNotesViewController::hideSharePopUp);
    m_popupSaveButton
        = make(ICON_SAVE, "ReaderStickyNotesPostButton", &StickyNotesViewController::saveButtonAction);
    m_popupSaveButton->setTag(popupSaveButtonTag);
    setEnabled(*m_popupSaveButton, false);
    auto& close = *m_popupCloseButton;
    auto& save = *m_popupSaveButton;
    m_popupConstraints.insert(m_popupConstraints.end(), {
        close.leadingAnchor().constraintEqualTo(popup.leadingAnchor()),
        close.trailingAnchor().constraintEqualTo(popup.trailingAnchor()),
        close.bottomAnchor().constraintEqualTo(popup.bottomAnchor()),
        save.leadingAnchor().constraintEqualTo(popup.leadingAnchor()),
        save.trailingAnchor().constraintEqualTo(popup.trailingAnchor()),
        save.bottomAnchor().constraintEqualTo(close.topAnchor(), popupButtonOverlap),
        save.heightAnchor().constraintEqualTo(close.heightAnchor()),
    });
    if (sharing) {
        m_popupShareButton
            = make(ICON_SHARE_NOTE, "ReaderStickyNotesShareButton", &StickyNotesViewController::shareAction);
        auto& share = *m_popupShareButton;
        m_popupConstraints.insert(m_popupConstraints.end(), {
            share.leadingAnchor().constraintEqualTo(popup.leadingAnchor()),
            share.trailingAnchor().constraintEqualTo(popup.trailingAnchor()),
            share.bottomAnchor().constraintEqualTo(save.topAnchor(), popupButtonOverlap),
            share.topAnchor().constraintEqualTo(popup.topAnchor()),
            share.heightAnchor().constraintEqualTo(save.heightAnchor()),
        });
    } else {
        m_popupConstraints.push_back(save.topAnchor().constraintEqualTo(popup.topAnchor()));
    }
    m_popupView->setHidden(true);
}

void StickyNotesViewController::layoutShareSavePopUp()
{
    if (!m_popupView || !m_popupCloseButton || !m_popupSaveButton)
        return;
    // The frames the constraints give: equal heights, each button's bottom 6 points below
    // the top of the one under it, the top one at the pop-up's top.
    const ui::Size size = m_popupView->bounds().size;
    std::vector<std::shared_ptr<ui::Button>> stack { m_popupCloseButton, m_popupSaveButton };
    if (m_popupShareButton)
        stack.push_back(m_popupShareButton);
    const double count = static_cast<double>(stack.size());
    const double height = std::max(0.0, (size.height + (count - 1) * popupButtonOverlap) / count);
    double bottom = size.height;
    for (const auto& button : stack) {
        button->setFrame(ui::Rect { { 0, bottom - height }, { size.width, height } });
        bottom = bottom - height + popupButtonOverlap;
    }
}

void StickyNotesViewController::moreButtonAction()
{
    if (!m_popupView)
        return;
    m_moreButton->setHidden(true);
    const bool sharing = m_settings && m_settings->isSharingEnabled();
    m_popupHeight->setConstant(sharing ? 156.0 : 104.0);
    m_popupView->setHidden(false);
    // Laid out at once, so its buttons have their places while it fades in.
    view()->setNeedsLayout();
    view()->layoutIfNeeded();
    std::weak_ptr<ui::View> popup = m_popupView;
    ui::View::animate(0.4, [popup] {
        if (auto view = popup.lock())
            view->setAlpha(1.0);
    });
}

void StickyNotesViewController::hideSharePopUp()
{
    if (!m_popupView || m_popupView->isHidden())
        return;
    std::weak_ptr<ui::View> popup = m_popupView;
    auto height = m_popupHeight;
    std::weak_ptr<ui::View> more = m_moreButton;
    std::weak_ptr<ui::View> root = view();
    ui::View::animate(
        0.4,
        [popup, height, root] {
            height->setConstant(60.0);
            if (auto view = popup.lock())
                view->setAlpha(0.3);
            if (auto view = root.lock()) {
                view->setNeedsLayout();
                view->layoutIfNeeded();
            }
        },
        [popup, more](bool) {
            if (auto button = more.lock())
                button->setHidden(false);
            if (auto view = popup.lock())
                view->setHidden(true);
        });
}

} // namespace lectoro
