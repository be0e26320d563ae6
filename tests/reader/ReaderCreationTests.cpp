#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/LectoroDataSyncingManager.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/base/Bundle.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/View.h"

#include "ReaderTestSupport.h"

namespace lectoro {
namespace {

class ReaderCreationTests : public testing::ReaderTest {
protected:
    std::shared_ptr<ReaderViewController> makeReader(std::shared_ptr<MVReaderSettingModel> settings = nullptr)
    {
        if (!settings)
            settings = std::make_shared<MVReaderSettingModel>();
        return ReaderViewController::create(
            "/books/42", 42, makeUser("7"), "978-1", "https://api", "client", settings, "1.0");
    }
};

TEST_F(ReaderCreationTests, ConfiguresTheRenderer)
{
    for (bool highlights : { true, false }) {
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsHighLightEnabled(highlights);
        auto reader = makeReader(settings);
        auto renderer = framework().lastRenderer();
        ASSERT_TRUE(renderer);
        EXPECT_EQ(renderer.get(), reader->rendererView().get());
        EXPECT_EQ(renderer->bookPath(), "/books/42");
        EXPECT_EQ(renderer->isbn(), "978-1");
        EXPECT_EQ(renderer->colorForSharedUGC(), "#8fd5e1");
        EXPECT_EQ(renderer->isHighlightEnabled(), highlights);
        EXPECT_EQ(renderer->verticalMargin(), 30);
    }
}

TEST_F(ReaderCreationTests, InitialiserWithoutISBNHandsNoneToTheRenderer)
{
    auto reader = ReaderViewController::create("/books/42", 42, makeUser("7"), "https://api", "client",
        std::make_shared<MVReaderSettingModel>(), "1.0");
    EXPECT_FALSE(framework().lastRenderer()->isbn().has_value());
}

TEST_F(ReaderCreationTests, SwitchesTheDebugLogOff)
{
    LectoroDebugLog::enableLogsWithIsenabled(true);
    LectoroDebugLog::enableVerboseWithIsenabled(true);
    auto reader = makeReader();
    EXPECT_FALSE(LectoroDebugLog::isLogsEnabled());
    EXPECT_FALSE(LectoroDebugLog::isVerboseEnabled());
}

TEST_F(ReaderCreationTests, SetsTheReaderLanguageBundleOnce)
{
    auto first = makeReader();
    auto bundle = LocalizationHelper::readerLanguageBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle.get(), &base::Bundle::library());

    // A bundle chosen after the first reader (by the host) is kept by the next one.
    auto hostBundle = std::make_shared<base::Bundle>(LECTORO_RESOURCES_DIR);
    LocalizationHelper::setReaderLanguageBundle(hostBundle);
    auto second = makeReader();
    EXPECT_EQ(LocalizationHelper::readerLanguageBundle(), hostBundle);
}

TEST_F(ReaderCreationTests, EmbedsTheRendererHalfASecondAfterTheViewLoads)
{
    auto reader = makeReader();
    auto container = reader->view();
    auto renderer = reader->rendererView();
    EXPECT_TRUE(reader->childViewControllers().empty());
    EXPECT_FALSE(renderer->isViewLoaded() && renderer->view()->superview());

    base::RunLoop::main().advanceBy(0.49);
    EXPECT_TRUE(reader->childViewControllers().empty());

    base::RunLoop::main().advanceBy(0.01);
    ASSERT_EQ(reader->childViewControllers().size(), 1u);
    EXPECT_EQ(reader->childViewControllers().front(), renderer);
    EXPECT_EQ(renderer->parentViewController(), reader);
    ASSERT_FALSE(container->subviews().empty());
    EXPECT_EQ(container->subviews().front(), renderer->view());
    EXPECT_FALSE(renderer->view()->translatesAutoresizingMaskIntoConstraints());

    auto rendererGuide = renderer->view()->safeAreaLayoutGuide();
    auto ownGuide = container->safeAreaLayoutGuide();
    for (auto attribute : { ui::LayoutAttribute::Leading, ui::LayoutAttribute::Trailing,
             ui::LayoutAttribute::Top, ui::LayoutAttribute::Bottom }) {
        auto constraint = rendererGuide->constraintWithFirstAttribute(attribute);
        ASSERT_TRUE(constraint) << static_cast<int>(attribute);
        EXPECT_TRUE(constraint->isActive());
        EXPECT_EQ(constraint->secondItem(), ownGuide);
        EXPECT_EQ(constraint->secondAttribute(), attribute);
        EXPECT_EQ(constraint->constant(), 0);
    }
}

TEST_F(ReaderCreationTests, OrientationsFollowTheRendererMode)
{
    struct Case {
        int64_t mode;
        uint32_t mask;
    };
    const Case cases[] = { { 3, 2 }, { 1, 24 }, { 2, 24 }, { 0, 30 }, { 4, 30 }, { -1, 30 } };
    auto reader = makeReader();
    for (const auto& c : cases) {
        reader->rendererView()->setBookOrientationMode(c.mode);
        EXPECT_EQ(static_cast<uint32_t>(reader->supportedInterfaceOrientations()), c.mask) << c.mode;
        EXPECT_EQ(reader->getOrientationMode(), c.mode);
    }
    EXPECT_TRUE(reader->shouldAutorotate());
    EXPECT_EQ(reader->zoomScalePercentageForBook(nullptr), 400.0);
}

TEST_F(ReaderCreationTests, ViewLoadStartsTheSessionState)
{
    auto reader = makeReader();
    reader->setReadAloudMode(3);
    reader->view();
    EXPECT_EQ(reader->readAloudMode(), ReadAloudModeOff);
    EXPECT_TRUE(reader->context().enableSliderPopUp);
    EXPECT_TRUE(reader->context().isPageNavigateByScroll);
    ASSERT_TRUE(reader->context().theme);
}

TEST_F(ReaderCreationTests, MicroServicesAddressReachesTheSyncClient)
{
    auto reader = makeReader();
    reader->setMicroServicesBaseURLString(std::string("https://micro"));
    ASSERT_TRUE(reader->context().dataSyncManager);
    EXPECT_EQ(reader->context().dataSyncManager->microServicesBaseURLString(), "https://micro");
    reader->setMicroServicesBaseURLString(std::nullopt);
    EXPECT_FALSE(reader->context().dataSyncManager->microServicesBaseURLString().has_value());
}

} // namespace
} // namespace lectoro
