#include "media/MediaBookVideoTestSupport.h"

#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/ui/Label.h"

using namespace mediatest;
using namespace lectoro;

namespace {

const std::string settingsSubtitleGlyph = "\xea\xac\xbc";

std::string settingsNoticeText(MVLectoroMediaBookReader& reader)
{
    auto notice = std::dynamic_pointer_cast<ui::Label>(
        reader.view()->viewWithAccessibilityIdentifier("MediaSubtitleNotice"));
    return notice ? notice->text() : std::string("(no notice)");
}

} // namespace

TEST_F(MediaVideoTest, OnlySubtitlesOfferOneEntryAndAPickShowsTheTurnedOnNotice)
{
    auto reader = openVideoBook(false, { 390, 844 });
    auto model = reader->mediaBookModel();
    ASSERT_EQ(model->mediaSupportedSubtitles, (std::vector<std::string> { "English", "Deutsch" }));
    model->mediaSupportedAudios.reset();
    model->mediaSupportedResolutions.reset();

    auto entries = reader->settingsEntries();
    EXPECT_EQ(entries.titles, std::vector<std::string> { "Subtitles (CC)" });
    EXPECT_EQ(entries.icons, std::vector<std::string> { settingsSubtitleGlyph });

    tapVideoControl(*reader, "MediaVideoMoreOptionsButton");
    auto settings = reader->popOverViewController();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->parentViewController(), reader);
    EXPECT_EQ(settings->view()->superview(), reader->view());
    EXPECT_EQ(settings->model().itemsTitles, entries.titles);
    EXPECT_EQ(settings->model().customItemTitles, entries.icons);
    EXPECT_TRUE(settings->model().enableCustomController);
    EXPECT_TRUE(settings->model().enableCustomControllerRightArrow);
    EXPECT_EQ(settings->model().itemFont->pointSize(), 16.0);
    EXPECT_EQ(settings->model().customItemFont->pointSize(), 22.0);

    tapPopOverRow(*settings, 0);
    auto values = reader->popOverViewController();
    ASSERT_TRUE(values);
    EXPECT_NE(values, settings);
    EXPECT_FALSE(settings->parentViewController());
    EXPECT_EQ(reader->currentPopOverItem(), "Subtitles (CC)");
    EXPECT_EQ(values->model().popOverTitle, "Subtitles (CC)");
    EXPECT_EQ(values->model().itemsTitles, *model->mediaSupportedSubtitles);
    EXPECT_FALSE(values->model().selectedItem);
    EXPECT_FALSE(values->model().switchState);
    EXPECT_TRUE(values->showsSwitch());
    EXPECT_EQ(values->model().switchLabelFont->pointSize(), 18.0);

    tapPopOverRow(*values, 0);
    EXPECT_FALSE(reader->popOverViewController());
    EXPECT_EQ(reader->mediaBookPlayer()->currentSelectedSubtitle(), "English");
    EXPECT_TRUE(reader->videoPlayerView()->subtitleViewState());
    EXPECT_EQ(
        reader->videoPlayerView()->button("MediaVideoSubtitleButton")->backgroundColor(), ui::Color::red());
    EXPECT_EQ(settingsNoticeText(*reader),
        LocalizationHelper::localizedString("SUBTITLES_CC_TURNED_ON") + "English");
    EXPECT_EQ(settingsNoticeText(*reader), "Subtitles on: English");
    EXPECT_EQ(m_listener->heard,
        (std::vector<std::string> { "more options", "item Subtitles (CC)", "item English" }));

    // The notice stays for half a second and one animation pass, then leaves no overlay.
    advance(0.4);
    EXPECT_TRUE(reader->view()->viewWithAccessibilityIdentifier("MediaSubtitleNotice"));
    advance(3.2);
    EXPECT_FALSE(reader->view()->viewWithAccessibilityIdentifier("MediaSubtitleNotice"));
    EXPECT_FALSE(reader->view()->viewWithAccessibilityIdentifier("MediaSubtitleNoticeOverlay"));
}

TEST_F(MediaVideoTest, SettingsEntriesFollowTheListsTheModelOffers)
{
    auto reader = openVideoBook(true, { 1024, 768 });
    auto model = reader->mediaBookModel();
    model->mediaSupportedAudios = std::vector<std::string> { "English" };
    auto all = reader->settingsEntries();
    EXPECT_EQ(all.titles, (std::vector<std::string> { "Language", "Quality", "Subtitles (CC)" }));
    EXPECT_EQ(all.icons, (std::vector<std::string> { "\xc3\x9c", "\xc9\x83", settingsSubtitleGlyph }));

    // Empty lists offer nothing.
    model->mediaSupportedAudios = std::vector<std::string> {};
    model->mediaSupportedResolutions.reset();
    model->mediaSupportedSubtitles = std::vector<std::string> {};
    EXPECT_TRUE(reader->settingsEntries().titles.empty());
    EXPECT_TRUE(reader->settingsEntries().icons.empty());

    // A tablet's more-options list has no arrow and larger fonts.
    reader->didTapOnVideoMoreOptions(*reader->view());
    ASSERT_TRUE(reader->popOverViewController());
    EXPECT_FALSE(reader->popOverViewController()->model().enableCustomControllerRightArrow);
    EXPECT_EQ(reader->popOverViewController()->model().itemFont->pointSize(), 22.0);
    EXPECT_EQ(reader->popOverViewController()->model().customItemFont->pointSize(), 30.0);
    // Only one pop-over is ever attached.
    reader->didTapOnVideoMoreOptions(*reader->view());
    size_t attached = 0;
    for (const auto& child : reader->childViewControllers())
        attached += child->className() == "MVLectoroMediaPopOverController";
    EXPECT_EQ(attached, 1u);
    reader->didTapOnCancelItem();
    EXPECT_FALSE(reader->popOverViewController());
    EXPECT_EQ(m_listener->heard.back(), "cancel");
}

TEST_F(MediaVideoTest, QualityPicksGoToThePlayerAndAValueBeforeAnyListChangesNothing)
{
    auto reader = openVideoBook(true, { 1024, 768 });
    auto player = reader->mediaBookPlayer();
    // No list opened yet: a value has no entry to belong to.
    reader->didTapOnItem("English");
    EXPECT_FALSE(player->currentSelectedSubtitle());
    EXPECT_EQ(reader->currentPopOverItem(), "");

    reader->didTapOnItem("Quality");
    auto values = reader->popOverViewController();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->model().itemsTitles, (std::vector<std::string> { "180p", "90p" }));
    EXPECT_FALSE(values->model().enableSwitchControl);
    EXPECT_FALSE(values->showsSwitch());
    EXPECT_EQ(values->model().itemFont->name(), "OpenSans-Bold");
    EXPECT_EQ(values->model().selectedItemColor, reader->themeVO()->media_sidepanel_selected_text_color());
    values->tapItem(1);
    EXPECT_EQ(player->currentSelectedQuality(), "90p");

    reader->didTapOnItem("Quality");
    EXPECT_EQ(reader->popOverViewController()->model().selectedItem, "90p");
    reader->popOverViewController()->tapItem(0);
    EXPECT_EQ(player->currentSelectedQuality(), "180p");

    // An entry with nothing to offer is read as a value of the list opened last.
    reader->didTapOnItem("Language");
    EXPECT_FALSE(reader->popOverViewController());
    EXPECT_EQ(reader->currentPopOverItem(), "Quality");
    EXPECT_EQ(player->currentSelectedQuality(), "180p");
}

TEST_F(MediaVideoTest, LanguagePicksOnlyNamesTheStreamOffers)
{
    launchSample("sample-multiaudio", true, 9103);
    m_controller->beginAppearanceTransition(true, false);
    m_controller->endAppearanceTransition();
    auto reader = m_controller->mediaReader();
    advance(2.0);
    auto player = reader->mediaBookPlayer();
    ASSERT_EQ(
        reader->mediaBookModel()->mediaSupportedAudios, (std::vector<std::string> { "English", "Deutsch" }));
    EXPECT_EQ(reader->settingsEntries().titles, std::vector<std::string> { "Language" });

    reader->didTapOnItem("Language");
    ASSERT_TRUE(reader->popOverViewController());
    EXPECT_EQ(reader->popOverViewController()->model().selectedItem, "English");
    reader->popOverViewController()->tapItem(1);
    EXPECT_EQ(player->currentSelectedAudio(), "Deutsch");
    reader->didTapOnItem("Klingon");
    EXPECT_EQ(player->currentSelectedAudio(), "Deutsch");
}
