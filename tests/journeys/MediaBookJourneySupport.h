#pragma once

// The media-book journeys' shared steps: the audio sample opened from the launcher, the video
// sample as a host's download, taps looked at before the clock moves on, the views a person
// sees by their identifiers, and a turn of the device.

#include "journeys/JourneySupport.h"

#include "LectoroSDKWithReader/foundation/SystemInformation.h"
#include "LectoroSDKWithReader/media/MVLectoroMediaBookController.h"
#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "LectoroSDKWithReader/readersdk/media/MVMediaBookPlayer.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPlayerViews.h"
#include "companion/media/MediaBookPlayer.h"
#include "platform/base/FileManager.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/LayoutEngine.h"

#include <functional>

namespace lectoro::journeys {

class MediaBookJourney : public Journey {
protected:
    void SetUp() override
    {
        auto& environment = ui::Environment::current();
        environment.setIdiom(ui::UserInterfaceIdiom::Pad);
        environment.setScreenSize({ 768, 1024 });
        Journey::SetUp();
    }

    std::shared_ptr<MVLectoroMediaBookReader> openAudioBook()
    {
        // The host hands the book's cover with it, as a file address.
        auto package = std::make_shared<LectoroAudioBookPackage>(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-audiobook",
            "9101", "978-0", "file://" + std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook/assets/thumbnails/page-104.png");
        m_launcher->launchAudioBook(package, makeUser(m_userID), serviceConfiguration());
        settle();
        auto controller = m_launcher->audioBookController();
        return controller ? controller->mediaReader() : nullptr;
    }

    // A video book the host downloaded earlier: its files in the book's download folder.
    // `edit` changes the downloaded copy before it opens.
    std::shared_ptr<MVLectoroMediaBookReader> openDownloadedVideoBook(
        const std::function<void(const std::filesystem::path&)>& edit = {})
    {
        const std::filesystem::path folder
            = SystemInformation::getInstance().getBasePathForBookWithBookId(base::Value(int64_t { 9102 }));
        std::filesystem::create_directories(folder);
        std::filesystem::copy(std::string(LECTORO_SAMPLES_DIR) + "/books/sample-videobook", folder,
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        if (edit)
            edit(folder);
        auto package = std::make_shared<LectoroBookPackage>(folder.string(), "9102", "978-0");
        m_launcher->launchHLSMediaBook(package, true, false, makeUser(m_userID), serviceConfiguration());
        settle();
        auto controller = m_launcher->audioBookController();
        return controller ? controller->mediaReader() : nullptr;
    }

    // A tap whose effect is looked at before the clock moves on (the samples are short).
    static ::testing::AssertionResult tapNow(MVMediaBookPlayerViewBase& bar, const std::string& identifier)
    {
        auto button = bar.button(identifier);
        if (!button)
            return ::testing::AssertionFailure() << "no " << identifier << " on the player";
        auto tapped = uitest::tap(*button);
        base::RunLoop::main().runUntilIdle();
        return tapped;
    }

    // The views on screen with the accessibility identifier, in window order.
    static std::vector<std::shared_ptr<ui::View>> onScreen(const std::string& identifier)
    {
        std::vector<std::shared_ptr<ui::View>> found;
        std::function<void(const std::shared_ptr<ui::View>&)> visit = [&](const std::shared_ptr<ui::View>& view) {
            if (view->accessibilityIdentifier() == identifier && view->isInWindow()
                && !uitest::visibleRectInWindow(*view).isEmpty())
                found.push_back(view);
            for (const auto& subview : view->subviews())
                visit(subview);
        };
        if (auto window = ui::Environment::current().keyWindow())
            visit(window);
        return found;
    }

    void turn(ui::Orientation orientation)
    {
        auto& environment = ui::Environment::current();
        environment.rotateTo(orientation);
        uitest::transitionToSize(m_launcher, environment.screenSize());
        settle();
    }

    std::string chapterOf(MVLectoroMediaBookReader& reader)
    {
        auto chapter = reader.mediaBookModel()->currentChapter;
        return chapter ? chapter->chapterTitle.value_or("") : std::string();
    }
};

} // namespace lectoro::journeys
