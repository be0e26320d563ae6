// What the reader does for the panel's microphone: the reader's audio pauses while it
// listens and starts again shortly after, the recognised text is searched as typed text
// is, and the two alerts of voice search.

#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/players/LectoroAudioPlayer.h"
#include "LectoroSDKWithReader/search/ReaderSearch.h"
#include "LectoroSDKWithReader/search/TextSearchView.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"

namespace lectoro {

namespace {

constexpr double voiceAudioRestartDelay = 0.3;
constexpr const char* voiceSettingsURL = "app-settings:";

class FollowingAudioPlayer final : public SearchAudioPlayer {
public:
    explicit FollowingAudioPlayer(std::function<std::shared_ptr<LectoroAudioPlayer>()> current)
        : m_current(std::move(current))
    {
    }
    void start() override
    {
        if (auto player = m_current ? m_current() : nullptr)
            player->start();
    }
    void stop() override
    {
        if (auto player = m_current ? m_current() : nullptr)
            player->stop();
    }

private:
    std::function<std::shared_ptr<LectoroAudioPlayer>()> m_current;
};

} // namespace

std::shared_ptr<SearchAudioPlayer> SearchAudioPlayer::following(
    std::function<std::shared_ptr<LectoroAudioPlayer>()> current)
{
    return std::make_shared<FollowingAudioPlayer>(std::move(current));
}

void ReaderSearch::startVoiceRecognition()
{
    if (auto player = m_audioPlayer.lock())
        player->stop();
}

void ReaderSearch::stopVoiceRecognition()
{
    std::weak_ptr<SearchAudioPlayer> weakPlayer = m_audioPlayer;
    auto owner = m_context.controller ? m_context.controller->lifetimeToken() : std::weak_ptr<const void>();
    auto restart = [weakPlayer] {
        if (auto player = weakPlayer.lock())
            player->start();
    };
    if (m_context.controller)
        base::RunLoop::main().postDelayed(voiceAudioRestartDelay, owner, restart);
    else
        base::RunLoop::main().postDelayed(voiceAudioRestartDelay, restart);
}

void ReaderSearch::voiceSearchText(const std::string& text, bool isElasticSearch)
{
    addSearchForText(text, isElasticSearch);
}

void ReaderSearch::showPermissionAlert()
{
    if (!m_context.controller)
        return;
    auto alert = ui::AlertController::create(std::string(),
        LocalizationHelper::localizedString("VOCIE_RECOGNITION_PERMISSIONS"),
        ui::AlertControllerStyle::Alert);
    alert->addAction(ui::AlertAction::create(LocalizationHelper::localizedString("SETTINGS"),
        ui::AlertActionStyle::Default,
        [](ui::AlertAction&) { ui::Environment::current().openURL(voiceSettingsURL); }));
    alert->addAction(
        ui::AlertAction::create(LocalizationHelper::localizedString("CANCEL"), ui::AlertActionStyle::Cancel));
    m_context.controller->presentViewController(alert, true);
}

void ReaderSearch::voiceSearchNotAvailable()
{
    if (m_context.controller)
        m_context.controller->showAlertWithTitle(
            "", LocalizationHelper::localizedString("INTERNET_UNAVAILABLE_MESSAGE"));
}

void ReaderSearch::cancelVoiceRecognition()
{
    if (m_searchTextView)
        m_searchTextView->cancelVoiceSearch();
}

} // namespace lectoro
