#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"
#include "companion/store/TemporaryFolder.h"
#include "platform/testing/Interaction.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace lectoro;

namespace {

std::shared_ptr<MVMediaBookModel> twoChapterModel()
{
    auto model = std::make_shared<MVMediaBookModel>();
    model->mediaBookTitle = "Book";
    for (int i = 1; i <= 2; ++i) {
        auto chapter = std::make_shared<MVMediaBookChapterVO>();
        chapter->chapterId = "c" + std::to_string(i);
        chapter->chapterTitle = "Chapter " + std::to_string(i);
        chapter->urlLastPathComponent = "chapter-" + std::to_string(i) + ".m4a#start";
        chapter->avAssetTotalTime = 100;
        model->mediaBookAllChaptersArray.push_back(chapter);
    }
    model->chapters = model->mediaBookAllChaptersArray;
    model->currentChapter = model->mediaBookAllChaptersArray.front();
    return model;
}

struct AudioListener : MVAudioBookPlayerViewControllerDelegate {
    std::vector<std::string> heard;
    int64_t timeAtSeek = -1;
    std::shared_ptr<MVMediaBookModel> model;
    void didTapOnBookmark() override { heard.push_back("bookmark"); }
    void didTapOnPlayPause(const std::shared_ptr<MVMediaBookModel>&) override { heard.push_back("playPause"); }
    void didTapOnNarrationSpeed(ui::Button&) override { heard.push_back("speed"); }
    void didTapOnForward() override { heard.push_back("forward"); }
    void didTapOnRewind() override { heard.push_back("rewind"); }
    void didTapOnNextChapter() override { heard.push_back("next"); }
    void didTapOnPreviousChapter() override { heard.push_back("previous"); }
    void didSeekBarValueChanged() override
    {
        heard.push_back("seek");
        timeAtSeek = model->currentTime;
    }
};

struct PanelListener : MVMediaBookBookmarkControllerDelegate,
                       MVMediaBookTOCControllerDelegate,
                       MVLectoroSleepTimerControllerDelegate,
                       MVLectoroMediaPopOverControllerDelegate {
    std::shared_ptr<SDKBookmarkVO> added, deleted;
    std::vector<std::string> heard;
    std::vector<std::pair<double, SleepAction>> sleeps;
    void didTapOnAddBookmark(const std::shared_ptr<SDKBookmarkVO>& bookmark) override { added = bookmark; }
    void didTapOnDeleteBookmark(const std::shared_ptr<SDKBookmarkVO>& bookmark) override { deleted = bookmark; }
    void didTapOnChapter(const std::shared_ptr<MVMediaBookChapterVO>& chapter) override { heard.push_back("chapter " + *chapter->chapterTitle); }
    void didTapOnBookmark(const std::shared_ptr<SDKBookmarkVO>&) override { heard.push_back("bookmark"); }
    void didTapOnBookmarkSegment() override { heard.push_back("bookmark segment"); }
    void didTapOnBookmarkDelete(const std::shared_ptr<SDKBookmarkVO>&) override { heard.push_back("delete"); }
    void didSetAudioSleepTimerWithSelectedSleepTime(double seconds, SleepAction action) override { sleeps.emplace_back(seconds, action); }
    void didSetAudioSleepTimerOff() override { heard.push_back("sleep off"); }
    void didTapOnItem(const std::string& item) override { heard.push_back("item " + item); }
    void didChangeSwitchState(bool on) override { heard.push_back(on ? "switch on" : "switch off"); }
};

} // namespace

TEST(MediaBookPanels, AudioViewReportsEveryControlAndWritesTheSeekTimeFirst)
{
    auto model = twoChapterModel();
    auto audio = MVAudioBookPlayerViewController::create(model);
    uitest::showInWindow(audio);
    auto listener = std::make_shared<AudioListener>();
    listener->model = model;
    audio->setDelegate(listener);
    for (const char* id : { "MediaPlayPauseButton", "MediaForwardButton", "MediaRewindButton", "MediaNextChapterButton",
             "MediaPreviousChapterButton", "MediaBookmarkButton", "MediaNarrationSpeedButton" })
        ASSERT_TRUE(uitest::tap(*audio->button(id))) << id;
    EXPECT_EQ(listener->heard,
        (std::vector<std::string> { "playPause", "forward", "rewind", "next", "previous", "bookmark", "speed" }));

    audio->setCurrentChapter(model->currentChapter);
    audio->updatePlayerView(MediaPlayerViewUpdate::TimeTick, model, false);
    audio->seekBar()->setValue(42);
    audio->seekBar()->sendActions(ui::ControlEvent::ValueChanged);
    EXPECT_EQ(listener->timeAtSeek, 42);

    // Disabled controls take no taps; marks come and go per record.
    audio->disablePreviousChapter(true);
    audio->disableBookmark(true);
    EXPECT_FALSE(uitest::tap(*audio->button("MediaPreviousChapterButton")));
    EXPECT_FALSE(uitest::tap(*audio->button("MediaBookmarkButton")));
    auto bookmark = std::make_shared<SDKBookmarkVO>();
    bookmark->localID = "b1";
    audio->addBookmark(bookmark);
    audio->addBookmark(bookmark);
    EXPECT_EQ(audio->bookmarkMarks().size(), 1u);
    auto sameStored = std::make_shared<SDKBookmarkVO>(*bookmark);
    audio->deleteBookmark(sameStored);
    EXPECT_TRUE(audio->bookmarkMarks().empty());

    audio->addSleepTimeView();
    audio->setSleepTimeLabelText("00:01:00");
    EXPECT_EQ(audio->sleepTimeLabel()->text(), "00:01:00");
    audio->removeSleepTimeView();
    EXPECT_FALSE(audio->sleepTimeLabel());
}

TEST(MediaBookPanels, BookmarkPanelAddsAtTheWholeSecondAndDeletesACopy)
{
    auto model = twoChapterModel();
    model->currentTime = 40;
    auto listener = std::make_shared<PanelListener>();
    auto add = MVMediaBookBookmarkController::create(model);
    add->setDelegate(listener);
    add->tapConfirm();
    ASSERT_TRUE(listener->added);
    EXPECT_EQ(listener->added->metaData["CurrentTime"].asInteger(), 40);
    EXPECT_EQ(listener->added->metaData["FileName"].asString(), "chapter-1.m4a");
    EXPECT_EQ(listener->added->metaData["ChapterName"].asString(), "Chapter 1");
    EXPECT_FALSE(listener->added->localID.empty());

    auto remove = MVMediaBookBookmarkController::create(model, listener->added);
    remove->setDelegate(listener);
    remove->tapConfirm();
    ASSERT_TRUE(listener->deleted);
    EXPECT_EQ(listener->deleted->status, UGCStatusDeleted);
    EXPECT_EQ(listener->deleted->localID, listener->added->localID);
    EXPECT_EQ(listener->added->status, UGCStatusNew);
}

TEST(MediaBookPanels, SidePanelListsWhatItIsGivenAndReportsTaps)
{
    auto model = twoChapterModel();
    auto toc = MVMediaBookTOCController::create(model);
    uitest::showInWindow(toc);
    auto listener = std::make_shared<PanelListener>();
    toc->setDelegate(listener);
    std::vector<MediaBookTOCEntry> chapters(model->mediaBookAllChaptersArray.begin(), model->mediaBookAllChaptersArray.end());
    toc->setData(chapters);
    toc->updateTOCForCurrentChapter(model->mediaBookAllChaptersArray[1]);
    auto rows = toc->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[1]->isSelected());
    EXPECT_TRUE(uitest::tap(*rows[0]));

    auto bookmark = std::make_shared<SDKBookmarkVO>();
    toc->selectSegment(MediaBookTOCFilter::Bookmarks);
    toc->setData(std::vector<MediaBookTOCEntry> { bookmark });
    toc->tapRow(0);
    toc->tapDeleteOnRow(0);
    toc->setData(std::nullopt);
    EXPECT_TRUE(toc->rows().empty());
    EXPECT_EQ(listener->heard, (std::vector<std::string> { "chapter Chapter 1", "bookmark segment", "bookmark", "delete" }));

    // A hidden bookmark segment cannot be chosen.
    toc->selectSegment(MediaBookTOCFilter::Chapters);
    toc->hideBookmark(true);
    toc->selectSegment(MediaBookTOCFilter::Bookmarks);
    EXPECT_EQ(toc->selectedMode(), MediaBookTOCFilter::Chapters);
}

TEST(MediaBookPanels, SpeedSleepAndPopOverReportTheirChoices)
{
    auto model = twoChapterModel();
    model->currentTime = 70;
    struct SpeedListener : MVMediaBookNarrationSpeedControllerDelegate {
        float rate = 0;
        void didNarrationSpeedValueChanges(const std::shared_ptr<MVMediaBookModel>& changed) override { rate = changed->mediaNarrationSpeedRate; }
    };
    auto speedListener = std::make_shared<SpeedListener>();
    auto speed = MVMediaBookNarrationSpeedController::create(model);
    speed->setDelegate(speedListener);
    speed->chooseSpeed(1.5f);
    speed->chooseSpeed(-1.0f);
    EXPECT_EQ(speedListener->rate, 1.5f);

    auto listener = std::make_shared<PanelListener>();
    auto sleep = MVLectoroSleepTimerController::create(model);
    sleep->setDelegate(listener);
    sleep->choose(SleepAction::FifteenMinutes);
    sleep->choose(SleepAction::EndOfChapter);
    sleep->chooseCustomTime(90);
    sleep->choose(SleepAction::Off);
    using Choice = std::pair<double, SleepAction>;
    EXPECT_EQ(listener->sleeps,
        (std::vector<Choice> { { 900, SleepAction::FifteenMinutes }, { 30, SleepAction::EndOfChapter }, { 90, SleepAction::Custom } }));
    EXPECT_EQ(listener->heard, (std::vector<std::string> { "sleep off" }));

    MVLectoroMediaPopOverModel popOverModel;
    popOverModel.popOverTitle = "Subtitles";
    popOverModel.itemsTitles = { "English", "Deutsch" };
    popOverModel.selectedItem = "Deutsch";
    popOverModel.enableDefaultCustomisedController = true;
    auto popOver = MVLectoroMediaPopOverController::create(popOverModel);
    popOver->setDelegate(listener);
    popOver->tapItem(1);
    popOver->tapItem(7);
    popOver->flipSwitch();
    EXPECT_EQ(listener->heard, (std::vector<std::string> { "sleep off", "item Deutsch", "switch on" }));
}

TEST(MediaBookTheme, DefaultsAreOverlaidByTheFileAndNullRemovesAColour)
{
    companion::testing::TemporaryFolder folder;
    auto path = folder.string() + "/audio-video-theme.json";
    std::ofstream(path) << R"({"media_toppanel_background": "#FF0000", "video_player_icon_color": null,
        "media_sidepanel_background": 12, "unknown_key": "#00FF00"})";
    MVLectoroMediaBookThemeVO theme;
    auto defaultSide = theme.media_sidepanel_background();
    ASSERT_TRUE(theme.video_player_icon_color());
    ASSERT_TRUE(theme.updateThemeFromJsonPath(path).ok());
    EXPECT_EQ(theme.media_toppanel_background(), ui::Color::fromRGB255(255, 0, 0));
    EXPECT_FALSE(theme.video_player_icon_color());
    EXPECT_EQ(theme.media_sidepanel_background(), defaultSide);

    std::ofstream(path) << "[1, 2";
    EXPECT_FALSE(theme.updateThemeFromJsonPath(path).ok());
    EXPECT_FALSE(theme.updateThemeFromJsonPath(folder.string() + "/missing.json").ok());
    EXPECT_EQ(theme.media_toppanel_background(), ui::Color::fromRGB255(255, 0, 0));
}
