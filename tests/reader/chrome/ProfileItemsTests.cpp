#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/reader/chrome/ProfilePictureLoader.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ImageView.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unistd.h>

namespace lectoro::chrometest {
namespace {

// A PNG header of the given size; enough for the picture's size to be read.
std::string pngBytes(uint32_t width, uint32_t height)
{
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t value : { width, height }) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(char((value >> shift) & 0xFF));
    }
    bytes.append("\x08\x06\0\0\0", 5);
    return bytes;
}

class ProfilePictureTest : public ChromeTest {
protected:
    void SetUp() override
    {
        ChromeTest::SetUp();
        ProfilePictureLoader::setReader([this](const std::string& url) -> std::optional<std::string> {
            std::lock_guard lock(m_mutex);
            m_reads.push_back(url);
            auto found = m_pictures.find(url);
            if (found == m_pictures.end())
                return std::nullopt;
            return found->second;
        });
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        ProfilePictureLoader::setReader({});
        ChromeTest::TearDown();
    }

    void serve(const std::string& url, std::string bytes)
    {
        std::lock_guard lock(m_mutex);
        m_pictures[url] = std::move(bytes);
    }

    std::vector<std::string> reads()
    {
        std::lock_guard lock(m_mutex);
        return m_reads;
    }

    // Lets the background reads finish and their results reach the views.
    static void settle()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    static std::shared_ptr<ui::ImageView> pictureIn(ui::View& view)
    {
        for (const auto& subview : view.subviews()) {
            if (auto image = std::dynamic_pointer_cast<ui::ImageView>(subview))
                return image;
            if (auto nested = pictureIn(*subview))
                return nested;
        }
        return nullptr;
    }

    static std::string imageName(const ui::ImageView& view)
    {
        return view.image() ? view.image()->name() : "<none>";
    }

    std::shared_ptr<PlayerActionTopBar> barWithUser(const std::string& url)
    {
        auto bar = PlayerActionTopBar::create();
        auto user = LectoroUser::create();
        user->profilePicURL = url;
        bar->setUser(user);
        return bar;
    }

    std::mutex m_mutex;
    std::map<std::string, std::string> m_pictures;
    std::vector<std::string> m_reads;
};

TEST_F(ProfilePictureTest, UserPictureReplacesThePlaceholderOnTheMainQueue)
{
    serve("https://example.test/me.png", pngBytes(64, 48));
    auto bar = barWithUser("https://example.test/me.png");
    auto item = bar->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    auto picture = pictureIn(*item);
    ASSERT_TRUE(picture);
    EXPECT_EQ(imageName(*picture), "User_Profile_Pic");

    base::waitForBackgroundWork();
    EXPECT_EQ(imageName(*picture), "User_Profile_Pic") << "views change on the main queue only";
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(picture->image());
    EXPECT_EQ(picture->image()->size(), ui::Size(64, 48));
}

TEST_F(ProfilePictureTest, FailedReadsKeepThePlaceholder)
{
    serve("https://example.test/empty.png", "");
    for (const char* url :
        { "", "https://example.test/missing.png", "https://example.test/empty.png", "not a url" }) {
        auto item = barWithUser(url)->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
        settle();
        EXPECT_EQ(imageName(*pictureIn(*item)), "User_Profile_Pic") << url;
    }
    auto noUser = PlayerActionTopBar::create()->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    settle();
    EXPECT_EQ(imageName(*pictureIn(*noUser)), "User_Profile_Pic");
}

TEST_F(ProfilePictureTest, ContentThatIsNoPictureLeavesAnEmptyPicture)
{
    serve("https://example.test/page.html", "<html>nope</html>");
    auto item
        = barWithUser("https://example.test/page.html")->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    settle();
    EXPECT_FALSE(pictureIn(*item)->image());
}

TEST_F(ProfilePictureTest, EveryBuildReadsAgain)
{
    auto bar = barWithUser("https://example.test/me.png");
    bar->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    bar->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    settle();
    EXPECT_EQ(reads(), (std::vector<std::string>(2, "https://example.test/me.png")));
}

TEST_F(ProfilePictureTest, AViewGoneBeforeTheReadEndsIsLeftAlone)
{
    serve("https://example.test/me.png", pngBytes(10, 10));
    std::weak_ptr<ui::ImageView> weakPicture;
    {
        auto bar = barWithUser("https://example.test/me.png");
        auto item = bar->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
        weakPicture = pictureIn(*item);
    }
    EXPECT_TRUE(weakPicture.expired()) << "the read does not keep the view alive";
    settle();
}

TEST_F(ProfilePictureTest, TheUserIsReadWhenTheButtonIsBuilt)
{
    serve("https://example.test/first.png", pngBytes(1, 1));
    auto bar = barWithUser("https://example.test/first.png");
    bar->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
    bar->user()->profilePicURL = "https://example.test/second.png";
    settle();
    EXPECT_EQ(reads(), (std::vector<std::string> { "https://example.test/first.png" }));
}

struct ButtonGeometryCase {
    Device device;
    double size;
    double radius;
    double centreOffset;
};

TEST_F(ProfilePictureTest, UserButtonGeometry)
{
    for (const auto& c : { ButtonGeometryCase { Device::Phone, 29.4, 14.7, 0 },
             ButtonGeometryCase { Device::Pad, 32.4, 16.3, -6 } }) {
        useDevice(c.device);
        auto item = PlayerActionTopBar::create()->getTopBarPlayerButtonForProfilewithThemeVO(m_theme);
        EXPECT_EQ(item->tag(), PlayerItemProfile);
        EXPECT_EQ(item->accessibilityIdentifier(), "playerItemProfile");
        EXPECT_EQ(item->accessibilityLabel(), spoken("UserProfileButton"));
        auto picture = pictureIn(*item);
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::Width), c.size);
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::Height), c.size);
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::CenterX), c.centreOffset);
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::CenterY), 0.0);
        EXPECT_EQ(picture->layer()->cornerRadius(), c.radius);
        EXPECT_EQ(picture->layer()->borderWidth(), 1.0);
        EXPECT_EQ(picture->layer()->borderColor(), ThemeColors::topIcons());
        EXPECT_TRUE(picture->clipsToBounds());
    }
}

TEST_F(ProfilePictureTest, LearnerButtonKeepsToTheTrailingEdge)
{
    serve("https://example.test/learner.png", pngBytes(5, 5));
    for (const auto& c : { ButtonGeometryCase { Device::Phone, 30, 15, 0 },
             ButtonGeometryCase { Device::Pad, 32.4, 16.3, 0 } }) {
        useDevice(c.device);
        auto item = PlayerActionTopBar::create()->getTopBarPlayerButtonForStudentProfilewithThemeVO(
            m_theme, "https://example.test/learner.png");
        auto picture = pictureIn(*item);
        EXPECT_EQ(imageName(*picture), "ArdentUser_Profile_Pic");
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::Width), c.size);
        EXPECT_EQ(constantOf(*picture, ui::LayoutAttribute::Trailing), -10.0);
        EXPECT_FALSE(constantOf(*picture, ui::LayoutAttribute::CenterX));
        EXPECT_EQ(picture->layer()->cornerRadius(), c.radius);
        settle();
        EXPECT_EQ(picture->image()->size(), ui::Size(5, 5));
    }
}

TEST_F(ProfilePictureTest, LearnerViewShowsPositionCountAndName)
{
    auto item = PlayerActionTopBar::create()->getTopBarPlayerButtonForStudentProfileViewWithThemeVO(
        m_theme, "https://example.test/learner.png", "Ada Fennick", 12, 3);
    EXPECT_EQ(item->tag(), PlayerItemProfile);
    ASSERT_EQ(item->subviews().size(), 1u);
    auto container = item->subviews()[0];
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Width), 150.0);
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Height), 35.0);
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Leading), 5.0);
    EXPECT_EQ(container->layer()->borderColor(), ui::Color::lightGray());
    EXPECT_EQ(container->layer()->cornerRadius(), 5.0);

    std::vector<std::string> texts;
    for (const auto& subview : container->subviews()) {
        if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
            texts.push_back(label->text());
    }
    EXPECT_EQ(texts, (std::vector<std::string> { "7", localized("LEARNER") + " 3 / 12", "Ada Fennick" }));
    auto learnerLine = std::dynamic_pointer_cast<ui::Label>(container->subviews()[2]);
    EXPECT_EQ(learnerLine->font().pointSize(), 8.0);
    EXPECT_EQ(learnerLine->textColor(), ui::Color::lightGray());
    auto nameLine = std::dynamic_pointer_cast<ui::Label>(container->subviews()[3]);
    EXPECT_EQ(nameLine->textColor(), ThemeColors::penIcons());
    EXPECT_EQ(constantOf(*nameLine, ui::LayoutAttribute::Bottom), -2.0);
    EXPECT_EQ(constantOf(*pictureIn(*item), ui::LayoutAttribute::Width), 30.0);
}

TEST_F(ProfilePictureTest, LearnerViewOnATablet)
{
    useDevice(Device::Pad);
    auto item = PlayerActionTopBar::create()->getTopBarPlayerButtonForStudentProfileViewWithThemeVO(
        m_theme, "", "B", 2, 1);
    auto container = item->subviews()[0];
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Width), 230.0);
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Height), 40.0);
    EXPECT_EQ(constantOf(*container, ui::LayoutAttribute::Leading), 10.0);
    EXPECT_EQ(constantOf(*pictureIn(*item), ui::LayoutAttribute::Width), 32.0);
    auto dropDown = std::dynamic_pointer_cast<ui::Label>(container->subviews()[1]);
    EXPECT_EQ(dropDown->font().pointSize(), 20.0);
    EXPECT_EQ(constantOf(*dropDown, ui::LayoutAttribute::Width), 28.0);
    EXPECT_EQ(constantOf(*dropDown, ui::LayoutAttribute::Trailing), -5.0);
}

TEST(ProfilePictureLoaderTest, ReadsPictureSizesFromTheirHeaders)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<ui::Size> size;
    };
    const std::string gif = std::string("GIF89a") + std::string("\x20\x00\x10\x00", 4);
    const std::string jpeg = std::string("\xFF\xD8", 2) + std::string("\xFF\xE0\x00\x04\x00\x00", 6)
        + std::string("\xFF\xC0\x00\x11\x08\x00\x30\x00\x40", 9);
    const Case cases[] = {
        { "png", pngBytes(300, 200), ui::Size(300, 200) },
        { "gif", gif, ui::Size(32, 16) },
        { "jpeg", jpeg, ui::Size(64, 48) },
        { "truncated png", pngBytes(1, 1).substr(0, 20), std::nullopt },
        { "jpeg without frame", std::string("\xFF\xD8\xFF\xE0\x00\x02", 6), std::nullopt },
        { "jpeg with a zero-length segment", std::string("\xFF\xD8\xFF\xE0\x00\x00\xFF\xC0", 8),
            std::nullopt },
        { "text", "hello", std::nullopt },
        { "empty", "", std::nullopt },
    };
    for (const auto& c : cases) {
        auto image = ProfilePictureLoader::imageFromData(c.bytes, "x");
        EXPECT_EQ(image != nullptr, c.size.has_value()) << c.name;
        if (image && c.size) {
            EXPECT_EQ(image->size(), *c.size) << c.name;
        }
    }
}

TEST(ProfilePictureLoaderTest, DefaultReaderTakesFileURLsOnly)
{
    uitest::UIScope scope;
    const auto folder
        = std::filesystem::temp_directory_path() / ("lectoro-profile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / "me.png";
    {
        std::ofstream out(path, std::ios::binary);
        out << pngBytes(7, 9);
    }
    ProfilePictureLoader::setReader({});
    auto fromFile = ui::ImageView::create();
    ProfilePictureLoader::load(fromFile, "file://" + path.string());
    auto fromNetwork = ui::ImageView::create();
    fromNetwork->setImage(ProfilePictureLoader::placeholder("User_Profile_Pic"));
    ProfilePictureLoader::load(fromNetwork, "https://example.test/me.png");
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    ASSERT_TRUE(fromFile->image());
    EXPECT_EQ(fromFile->image()->size(), ui::Size(7, 9));
    EXPECT_EQ(fromNetwork->image()->name(), "User_Profile_Pic");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace lectoro::chrometest
