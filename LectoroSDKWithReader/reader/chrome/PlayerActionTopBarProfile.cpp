#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ProfilePictureLoader.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

constexpr const char* userPlaceholder = "User_Profile_Pic";
constexpr const char* learnerPlaceholder = "ArdentUser_Profile_Pic";

std::shared_ptr<ui::ImageView> makePicture(
    const char* placeholder, double size, double cornerRadius, const ui::Color& borderColor)
{
    auto picture = ui::ImageView::create();
    picture->setImage(ProfilePictureLoader::placeholder(placeholder));
    picture->setTranslatesAutoresizingMaskIntoConstraints(false);
    picture->layer()->setBorderWidth(1.0);
    picture->layer()->setBorderColor(borderColor);
    picture->layer()->setCornerRadius(cornerRadius);
    picture->setClipsToBounds(true);
    ui::Constraint::activate({
        picture->widthAnchor().constraintEqualToConstant(size),
        picture->heightAnchor().constraintEqualToConstant(size),
    });
    return picture;
}

} // namespace

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getTopBarPlayerButtonForProfilewithThemeVO(
    const LXMVThemeVO& theme)
{
    const bool pad = chrome::isPad();
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemProfile);
    auto picture = makePicture(userPlaceholder, pad ? 32.4 : 29.4, pad ? 16.3 : 14.7,
        theme.top_toolbar_icons_color().value_or(ui::Color::clear()));
    item->addSubview(picture);
    ui::Constraint::activate({
        picture->centerYAnchor().constraintEqualTo(item->centerYAnchor()),
        picture->centerXAnchor().constraintEqualTo(item->centerXAnchor(), pad ? -6.0 : 0.0),
    });
    // The URL is read here, on the main thread, where the owner sets the user.
    ProfilePictureLoader::load(picture, m_user ? m_user->profilePicURL : std::string());
    setAccessibilityForPlayerActionTopBarItem(*item);
    return item;
}

std::shared_ptr<PlayerActionBarItem> PlayerActionTopBar::getTopBarPlayerButtonForStudentProfilewithThemeVO(
    const LXMVThemeVO& theme, const std::string& studentImageUrl)
{
    const bool pad = chrome::isPad();
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemProfile);
    auto picture = makePicture(learnerPlaceholder, pad ? 32.4 : 30.0, pad ? 16.3 : 15.0,
        theme.top_toolbar_icons_color().value_or(ui::Color::clear()));
    item->addSubview(picture);
    ui::Constraint::activate({
        picture->centerYAnchor().constraintEqualTo(item->centerYAnchor()),
        picture->trailingAnchor().constraintEqualTo(item->trailingAnchor(), -10.0),
    });
    ProfilePictureLoader::load(picture, studentImageUrl);
    setAccessibilityForPlayerActionTopBarItem(*item);
    return item;
}

std::shared_ptr<PlayerActionBarItem>
PlayerActionTopBar::getTopBarPlayerButtonForStudentProfileViewWithThemeVO(const LXMVThemeVO& theme,
    const std::string& studentImageUrl, const std::string& studentName, int studentCount, int studentIndex)
{
    const bool pad = chrome::isPad();
    const double inset = pad ? 10.0 : 5.0;
    const double lineHeight = pad ? 20.0 : 17.0;
    auto item = PlayerActionBarItem::create();
    item->setTag(PlayerItemProfile);

    auto container = ui::View::create();
    container->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->layer()->setBorderWidth(1.0);
    container->layer()->setBorderColor(ui::Color::lightGray());
    container->layer()->setCornerRadius(5.0);
    container->setClipsToBounds(true);
    item->addSubview(container);
    ui::Constraint::activate({
        container->widthAnchor().constraintEqualToConstant(pad ? 230.0 : 150.0),
        container->heightAnchor().constraintEqualToConstant(pad ? 40.0 : 35.0),
        container->leadingAnchor().constraintEqualTo(item->leadingAnchor(), inset),
        container->centerYAnchor().constraintEqualTo(item->centerYAnchor()),
    });

    auto picture
        = makePicture(learnerPlaceholder, pad ? 32.0 : 30.0, pad ? 16.3 : 15.0, ui::Color::lightGray());
    container->addSubview(picture);
    ui::Constraint::activate({
        picture->leadingAnchor().constraintEqualTo(container->leadingAnchor(), inset),
        picture->centerYAnchor().constraintEqualTo(container->centerYAnchor()),
    });

    auto dropDown = chrome::makeConstrainedLabel(ICON_DROPDOWN);
    dropDown->setTextAlignment(ui::TextAlignment::Center);
    dropDown->setFont(chrome::iconFont(pad ? 20.0 : 18.0));
    chrome::applyTextColor(*dropDown, theme.top_toolbar_icons_color());
    container->addSubview(dropDown);
    const double square = pad ? 28.0 : 24.0;
    ui::Constraint::activate({
        dropDown->widthAnchor().constraintEqualToConstant(square),
        dropDown->heightAnchor().constraintEqualToConstant(square),
        dropDown->trailingAnchor().constraintEqualTo(container->trailingAnchor(), -5.0),
        dropDown->centerYAnchor().constraintEqualTo(container->centerYAnchor()),
    });

    auto learnerLine = chrome::makeConstrainedLabel(base::format(
        "%@ %d / %d", LocalizationHelper::localizedStringWithKey("LEARNER"), studentIndex, studentCount));
    learnerLine->setTextAlignment(ui::TextAlignment::Left);
    learnerLine->setFont(chrome::customFont(pad ? 12.0 : 8.0));
    learnerLine->setTextColor(ui::Color::lightGray());
    container->addSubview(learnerLine);
    ui::Constraint::activate({
        learnerLine->heightAnchor().constraintEqualToConstant(lineHeight),
        learnerLine->topAnchor().constraintEqualTo(container->topAnchor()),
        learnerLine->leadingAnchor().constraintEqualTo(picture->trailingAnchor(), 5.0),
        learnerLine->trailingAnchor().constraintEqualTo(dropDown->leadingAnchor()),
    });

    auto nameLine = chrome::makeConstrainedLabel(studentName);
    nameLine->setTextAlignment(ui::TextAlignment::Left);
    nameLine->setFont(chrome::customFont(pad ? 15.0 : 10.0));
    chrome::applyTextColor(*nameLine, theme.pen_tool_toolbar_icons_color());
    container->addSubview(nameLine);
    ui::Constraint::activate({
        nameLine->heightAnchor().constraintEqualToConstant(lineHeight),
        nameLine->bottomAnchor().constraintEqualTo(container->bottomAnchor(), pad ? -5.0 : -2.0),
        nameLine->leadingAnchor().constraintEqualTo(picture->trailingAnchor(), 5.0),
        nameLine->trailingAnchor().constraintEqualTo(dropDown->leadingAnchor()),
    });

    ProfilePictureLoader::load(picture, studentImageUrl);
    setAccessibilityForPlayerActionTopBarItem(*item);
    return item;
}

} // namespace lectoro
