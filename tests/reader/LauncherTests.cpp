#include "platform/testing/Interaction.h"
#include "LauncherTestSupport.h"

#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "companion/service/ServiceAnswer.h"
#include "companion/service/Transport.h"
#include "platform/base/Dispatch.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

namespace lectoro {
namespace {

using LauncherTests = testing::LauncherTest;
using companion::ServiceAnswer;

TEST_F(LauncherTests, HostLastPageIsUsedAlone)
{
    defaults().setString("LastPageFolio_7_42", "legacy");
    storeMetadata("LastPageFolio", "stored", "42", 7);
    m_launcher->setLastPageFolio(std::string("12"));
    m_launcher->launchBook(package(), makeUser("7"), configuration());

    ASSERT_TRUE(m_launcher->reader());
    EXPECT_EQ(m_launcher->reader()->lastPageFolio(), "12");
    EXPECT_EQ(defaults().stringForKey("LastPageFolio_7_42"), "legacy");
    EXPECT_EQ(requestsNamed(companion::op::lastPageFetch), 0u);
}

TEST_F(LauncherTests, LegacyLastPageMovesIntoTheStore)
{
    defaults().setString("LastPageFolio_7_42", "9");
    m_launcher->launchBook(package(), makeUser("7"), configuration());

    EXPECT_FALSE(defaults().objectForKey("LastPageFolio_7_42").has_value());
    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "9");
    EXPECT_EQ(m_launcher->reader()->lastPageFolio(), "9");
    EXPECT_EQ(requestsNamed(companion::op::lastPageFetch), 1u);
}

TEST_F(LauncherTests, StoredLastPageKeepsEscapesAndServiceAnswerLosesThem)
{
    storeMetadata("LastPageFolio", "a%20b", "42", 7);
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    EXPECT_EQ(reader->lastPageFolio(), "a%20b");

    auto request = service().lastRequest(companion::op::lastPageFetch);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->userToken, "token-1");
    EXPECT_EQ(request->body["bookId"].asString(), "42");

    base::Value::Dictionary body;
    body.set("LastPageFolio", "c%20d");
    ASSERT_TRUE(service().answerNext(ServiceAnswer::success(base::Value(std::move(body)))));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(reader->lastPageFolio(), "c d");
}

TEST_F(LauncherTests, FailedOrEmptyServiceAnswerKeepsTheStoredPage)
{
    for (auto answer : { ServiceAnswer::offline(), ServiceAnswer::success() }) {
        storeMetadata("LastPageFolio", "5", "42", 7);
        m_launcher->launchBook(package(), makeUser("7"), configuration());
        auto reader = m_launcher->reader();
        ASSERT_TRUE(service().answerNext(answer));
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(reader->lastPageFolio(), "5");
    }
}

TEST_F(LauncherTests, ServiceAnswerOnAWorkerThreadIsAppliedOnTheMainThread)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    base::Value::Dictionary body;
    body.set("LastPageFolio", "30");
    auto answer = ServiceAnswer::success(base::Value(std::move(body)));
    answer.delivery = companion::Delivery::WorkerThread;
    ASSERT_TRUE(service().answerNext(answer));
    base::waitForBackgroundWork();
    EXPECT_FALSE(reader->lastPageFolio().has_value());
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(reader->lastPageFolio(), "30");
}

TEST_F(LauncherTests, LateServiceAnswerDoesNotReachAClosedReader)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    m_launcher->uninitializeReader();
    base::Value::Dictionary body;
    body.set("LastPageFolio", "30");
    service().answerNext(ServiceAnswer::success(base::Value(std::move(body))));
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(reader->lastPageFolio().has_value());
}

TEST_F(LauncherTests, FurthestPageComesFromTheHostOrTheStore)
{
    storeMetadata("FurthestPageData", "{\"page\":8}", "42", 7);
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto renderer = framework().lastRenderer();
    ASSERT_TRUE(renderer->furthestPageData());
    EXPECT_EQ(*renderer->furthestPageData(), "{\"page\":8}");

    m_launcher->setFurthestPageData(std::string("{\"page\":3}"));
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    EXPECT_EQ(*framework().lastRenderer()->furthestPageData(), "{\"page\":3}");
}

TEST_F(LauncherTests, EncryptionTypeChoosesTheInitialiser)
{
    struct Case {
        std::optional<std::string> type;
        bool isbnHanded;
    };
    const Case cases[] = { { std::string("V1"), false }, { std::string("v1"), true },
        { std::string("V2"), true }, { std::nullopt, true } };
    for (const auto& c : cases) {
        m_launcher->launchBook(package("42", c.type), makeUser("7"), configuration());
        EXPECT_EQ(framework().lastRenderer()->isbn().has_value(), c.isbnHanded) << c.type.value_or("nil");
    }
}

TEST_F(LauncherTests, SettingsModels)
{
    auto hostModel = std::make_shared<MVReaderSettingModel>();
    ASSERT_TRUE(hostModel->isSharingEnabled());
    m_launcher->launchBook(package(), makeUser("7"), configuration(), hostModel, true);
    EXPECT_FALSE(hostModel->isSharingEnabled());
    EXPECT_EQ(m_launcher->userSettingsModel(), hostModel);
    EXPECT_EQ(m_launcher->reader()->userSettingsModel(), hostModel);
    EXPECT_TRUE(m_launcher->reader()->hasClassAssociation());
    EXPECT_TRUE(m_launcher->reader()->isProfileSettingsHidden());

    // Auto-login before a launch that makes its own model changes the old model only.
    m_launcher->enableAutologin(true);
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto ownModel = m_launcher->userSettingsModel();
    EXPECT_NE(ownModel, hostModel);
    EXPECT_FALSE(ownModel->isAutoLoginEnabled());
    EXPECT_FALSE(ownModel->isSharingEnabled());
    EXPECT_FALSE(m_launcher->reader()->hasClassAssociation());
    m_launcher->enableAutologin(true);
    EXPECT_TRUE(m_launcher->reader()->userSettingsModel()->isAutoLoginEnabled());
}

TEST_F(LauncherTests, EnableAutologinWithoutAModelDoesNothing)
{
    m_launcher->enableAutologin(true);
    EXPECT_FALSE(m_launcher->userSettingsModel());
}

TEST_F(LauncherTests, ReaderIsTheOnlyChildPinnedToTheSafeArea)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    ASSERT_EQ(m_launcher->childViewControllers().size(), 1u);
    EXPECT_EQ(m_launcher->childViewControllers().front(), reader);
    auto container = m_launcher->view();
    auto readerView = reader->view();
    EXPECT_EQ(readerView->superview(), container);
    EXPECT_FALSE(readerView->translatesAutoresizingMaskIntoConstraints());

    struct Case {
        ui::LayoutAttribute attribute;
        bool toSafeArea;
    };
    for (auto c :
        { Case { ui::LayoutAttribute::Leading, false }, Case { ui::LayoutAttribute::Trailing, false },
            Case { ui::LayoutAttribute::Top, true }, Case { ui::LayoutAttribute::Bottom, true } }) {
        auto constraint = readerView->constraintWithFirstAttribute(c.attribute);
        ASSERT_TRUE(constraint);
        EXPECT_TRUE(constraint->isActive());
        EXPECT_EQ(constraint->constant(), 0);
        EXPECT_EQ(constraint->secondAttribute(), c.attribute);
        if (c.toSafeArea)
            EXPECT_EQ(constraint->secondItem(), container->safeAreaLayoutGuide());
        else
            EXPECT_EQ(constraint->secondItem(), container);
    }
    // The reader's view loaded during the launch, and its renderer comes 0.5 s later.
    EXPECT_TRUE(reader->isViewLoaded());
    base::RunLoop::main().advanceBy(0.5);
    EXPECT_EQ(reader->childViewControllers().size(), 1u);
}

TEST_F(LauncherTests, NumericUserIdIsAppliedToTheSharedUser)
{
    auto user = makeUser("teacher@school");
    m_launcher->launchBook(package(), user, configuration());
    EXPECT_EQ(user->userID, "1700000000");
    EXPECT_EQ(m_launcher->user(), user);
    EXPECT_EQ(m_launcher->reader()->user(), user);
}

TEST_F(LauncherTests, MissingInputsRefuseTheLaunch)
{
    m_launcher->launchBook(nullptr, makeUser("7"), configuration());
    m_launcher->launchBook(package(), nullptr, configuration());
    m_launcher->launchBook(package(), makeUser("7"), nullptr);
    m_launcher->launchAudioBook(nullptr, makeUser("7"), configuration());
    m_launcher->launchHLSMediaBook(nullptr, true, true, makeUser("7"), configuration());
    EXPECT_FALSE(m_launcher->reader());
    EXPECT_FALSE(m_launcher->audioBookController());
    EXPECT_TRUE(m_launcher->childViewControllers().empty());
}

TEST_F(LauncherTests, CloseStoresTheLastPageSyncsAndTellsTheHost)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    service().answerAll(ServiceAnswer::success());
    base::RunLoop::main().runUntilIdle();
    size_t before = service().requestCount();
    reader->setLastPageFolio(std::string("17"));

    reader->didTapOnBackButton();

    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "17");
    EXPECT_FALSE(m_launcher->reader());
    EXPECT_TRUE(m_launcher->childViewControllers().empty());
    EXPECT_TRUE(reader->isCleared());
    EXPECT_TRUE(framework().lastRenderer() == nullptr || framework().lastRenderer()->isCleared());
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_EQ(m_host->closes[0].bookID, "42");
    EXPECT_EQ(m_host->closes[0].lastPageFolio, "17");
    // The full sync was sent before the host heard of the close.
    EXPECT_GT(m_host->closes[0].serviceRequestsBefore, before);
    EXPECT_EQ(requestsNamed(companion::op::trackingSave), 1u);
    EXPECT_EQ(requestsNamed(companion::op::furthestPageSave), 1u);
}

TEST_F(LauncherTests, ForcedCloseSyncsNothing)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    auto reader = m_launcher->reader();
    size_t before = service().requestCount();
    reader->closeReaderForSessionExpiry();
    EXPECT_EQ(service().requestCount(), before);
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_FALSE(m_launcher->reader());
}

TEST_F(LauncherTests, LaunchingAgainClosesTheOpenBookFirst)
{
    m_launcher->launchBook(package("42"), makeUser("7"), configuration());
    auto first = m_launcher->reader();
    first->setLastPageFolio(std::string("21"));
    m_launcher->launchBook(package("43"), makeUser("7"), configuration());
    auto second = m_launcher->reader();

    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->isCleared());
    EXPECT_FALSE(first->parentViewController());
    ASSERT_EQ(m_launcher->childViewControllers().size(), 1u);
    EXPECT_EQ(m_launcher->childViewControllers().front(), second);
    EXPECT_EQ(storedMetadata("42", 7)["LastPageFolio"].asString(), "21");
    ASSERT_EQ(m_host->closes.size(), 1u);
    EXPECT_EQ(m_host->closes[0].bookID, "42");
    EXPECT_EQ(requestsNamed(companion::op::trackingSave), 1u);

    // The earlier reader's timers and delayed work are gone with it.
    base::RunLoop::main().advanceBy(30);
    EXPECT_EQ(first->childViewControllers().size(), 0u);
    EXPECT_EQ(second->childViewControllers().size(), 1u);
}

TEST_F(LauncherTests, LargeUserIdsKeepTheirOwnBookMetadata)
{
    m_launcher->launchBook(package(), makeUser("2147483648"), configuration());
    m_launcher->reader()->setLastPageFolio(std::string("big"));
    m_launcher->reader()->didTapOnBackButton();
    m_launcher->launchBook(package(), makeUser("2147483647"), configuration());
    m_launcher->reader()->setLastPageFolio(std::string("small"));
    m_launcher->reader()->didTapOnBackButton();

    EXPECT_EQ(storedMetadata("42", 2147483648LL)["LastPageFolio"].asString(), "big");
    EXPECT_EQ(storedMetadata("42", 2147483647LL)["LastPageFolio"].asString(), "small");
    auto request = service().lastRequest(companion::op::trackingSave);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->body["userID"].integerValue(), 2147483647LL);
}

TEST_F(LauncherTests, FurthestPageReportIsStoredAndForwarded)
{
    m_launcher->launchBook(package(), makeUser("7"), configuration());
    m_launcher->didUpdateFurthestPageData("{\"page\":40}", 42, 7);
    EXPECT_EQ(storedMetadata("42", 7)["FurthestPageData"].asString(), "{\"page\":40}");
    EXPECT_EQ(m_host->furthestPages, std::vector<std::string> { "{\"page\":40}" });
}

TEST_F(LauncherTests, AudioBookLaunch)
{
    auto audio = std::make_shared<LectoroAudioBookPackage>("/books/9", "9", "978-9", "https://covers/9.png");
    auto settings = std::make_shared<MVReaderSettingModel>();
    m_launcher->setBookVersion("2.0");
    m_launcher->launchAudioBook(audio, makeUser("x1"), configuration(), settings);
    auto media = m_launcher->audioBookController();
    ASSERT_TRUE(media);
    const auto& launch = media->lastLaunch();
    EXPECT_EQ(launch.kind, MVLectoroMediaBookController::LaunchKind::Folder);
    EXPECT_EQ(launch.bookPath, "/books/9");
    EXPECT_EQ(launch.bookID, 9);
    EXPECT_EQ(launch.thumbnailURL, "https://covers/9.png");
    EXPECT_EQ(launch.settings, settings);
    EXPECT_TRUE(launch.isAudioBook);
    EXPECT_EQ(launch.bookVersion, "2.0");
    // The launch with a model keeps the host's user id as it is.
    EXPECT_EQ(launch.user->userID, "x1");
    EXPECT_EQ(m_launcher->childViewControllers().front(), media);

    // A page package handed to a media launch has no thumbnail address.
    m_launcher->launchAudioBook(package("10"), makeUser("x1"), configuration());
    EXPECT_EQ(m_launcher->audioBookController()->lastLaunch().thumbnailURL, "");
    EXPECT_EQ(m_launcher->audioBookController()->lastLaunch().user->userID, "1700000000");
    EXPECT_EQ(m_launcher->childViewControllers().size(), 1u);
}

TEST_F(LauncherTests, HLSLaunches)
{
    m_launcher->launchHLSMediaBook(package("11"), false, false, makeUser("7"), configuration(), true);
    auto online = m_launcher->audioBookController()->lastLaunch();
    EXPECT_EQ(online.kind, MVLectoroMediaBookController::LaunchKind::OnlineHLS);
    EXPECT_EQ(online.timeStamp, 1700000000);
    EXPECT_EQ(online.microServicesURL, "https://micro");
    EXPECT_TRUE(online.enableCDNCookies);
    EXPECT_FALSE(online.isAudioBook);

    m_launcher->launchHLSMediaBook(package("11"), true, true, makeUser("7"), configuration());
    auto offline = m_launcher->audioBookController()->lastLaunch();
    EXPECT_EQ(offline.kind, MVLectoroMediaBookController::LaunchKind::OfflineHLS);
    EXPECT_FALSE(offline.timeStamp.has_value());
    EXPECT_FALSE(offline.bookPath.empty());
    EXPECT_NE(offline.bookPath.find("11"), std::string::npos);
    EXPECT_EQ(m_launcher->childViewControllers().size(), 1u);
}

TEST_F(LauncherTests, HLSLaunchGivesTheMediaControllerTheLastPage)
{
    storeMetadata("LastPageFolio", "p%201", "11", 7);
    m_launcher->launchHLSMediaBook(package("11"), true, true, makeUser("7"), configuration());
    auto media = m_launcher->audioBookController();
    EXPECT_EQ(media->lastPageFolio(), "p 1");

    base::Value::Dictionary body;
    body.set("LastPageFolio", "p%202");
    ASSERT_TRUE(service().answerNext(ServiceAnswer::success(base::Value(std::move(body)))));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(media->lastPageFolio(), "p%202");
}

} // namespace
} // namespace lectoro
