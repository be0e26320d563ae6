// The sleep timer: the panel opened from the top bar's sleep button, a one-shot timer that
// pauses the book, and the 1 s countdown shown in the audio player view. Timers hold the
// screen weakly and go with it.

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/media/player/MediaBookPlayerRules.h"
#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"

#include <cmath>

namespace lectoro {

namespace {

constexpr double mediaSleepCountDownInterval = 1.0;

} // namespace

// MARK: - The panel

void MVLectoroMediaBookReader::didTapOnSleepButton(ui::Button& button)
{
    removeSleepTimerController();
    m_sleepTimerVC = MVLectoroSleepTimerController::create(m_model);
    m_sleepTimerVC->setDelegate(std::static_pointer_cast<MVLectoroSleepTimerControllerDelegate>(self()));
    m_sleepTimerVC->setTheme(m_theme);
    m_sleepTimerVC->setSourceViewForSleepTimerViewController(button.weak_from_this());
    view()->addSubview(m_sleepTimerVC->view());
    addChildViewController(m_sleepTimerVC);
    if (m_selectedSleepAction)
        m_sleepTimerVC->updateSelectedSleepAction(*m_selectedSleepAction);
    if (m_selectedSleepTime)
        m_sleepTimerVC->updateCustomSelectedTime(*m_selectedSleepTime);
}

void MVLectoroMediaBookReader::removeSleepTimerController()
{
    if (!m_sleepTimerVC)
        return;
    detachPanel(*m_sleepTimerVC);
    m_sleepTimerVC = nullptr;
}

void MVLectoroMediaBookReader::didSetAudioSleepTimerWithSelectedSleepTime(double seconds, SleepAction action)
{
    // The panel is told of its own removal from inside its callback.
    auto panel = m_sleepTimerVC;
    stopSleepTimer();
    // A time that is no positive number would pause at once, or never: no timer is set.
    if (!std::isfinite(seconds) || !(seconds > 0)) {
        removeSleepTimerController();
        return;
    }
    // A sleep timer is for listening: setting one while paused plays on.
    if (m_model && m_model->mediaCurrentState == CurrentState::Paused && m_player)
        m_player->play();
    startSleepTimer(seconds);
    updateSleepButtonAppearance(false);
    m_selectedSleepAction = action;
    if (action == SleepAction::Custom)
        m_selectedSleepTime = seconds;
    removeSleepTimerController();
    if (auto listener = m_sleepTimerDelegate.lock())
        listener->didSetAudioSleepTimerWithSelectedSleepTime(seconds, action);
}

void MVLectoroMediaBookReader::didSetAudioSleepTimerOff()
{
    // The panel is told of its own removal from inside its callback.
    auto panel = m_sleepTimerVC;
    stopSleepTimer();
    removeSleepTimerController();
    if (auto listener = m_sleepTimerDelegate.lock())
        listener->didSetAudioSleepTimerOff();
}

void MVLectoroMediaBookReader::didRemoveSleepTimerView()
{
    // The panel is told of its own removal from inside its callback.
    auto panel = m_sleepTimerVC;
    removeSleepTimerController();
    if (auto listener = m_sleepTimerDelegate.lock())
        listener->didRemoveSleepTimerView();
}

// MARK: - Timers

void MVLectoroMediaBookReader::startSleepTimer(double seconds)
{
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    m_audioSleepTimer = base::Timer::scheduled(seconds, false, [weak](base::Timer&) {
        if (auto reader = weak.lock())
            reader->pauseAudio();
    });
    startSleepCountDown(seconds);
}

void MVLectoroMediaBookReader::startSleepCountDown(double seconds)
{
    m_sleepTimerCountDownTime = seconds;
    if (m_audioPlayer)
        m_audioPlayer->addSleepTimeView();
    updateSleepTimeLabel();
    std::weak_ptr<MVLectoroMediaBookReader> weak = self();
    m_sleepCountDownTimer = base::Timer::scheduled(mediaSleepCountDownInterval, true, [weak](base::Timer&) {
        if (auto reader = weak.lock())
            reader->updateSleepCountDownTimer();
    });
}

void MVLectoroMediaBookReader::updateSleepCountDownTimer()
{
    if (m_sleepTimerCountDownTime >= 1.0) {
        m_sleepTimerCountDownTime -= 1.0;
        updateSleepTimeLabel();
        return;
    }
    // The label keeps its last text until the one-shot timer stops everything.
    if (m_sleepCountDownTimer)
        m_sleepCountDownTimer->invalidate();
}

void MVLectoroMediaBookReader::updateSleepTimeLabel()
{
    if (m_audioPlayer)
        m_audioPlayer->setSleepTimeLabelText(formattedSleepTime(m_sleepTimerCountDownTime));
}

void MVLectoroMediaBookReader::pauseAudio()
{
    if (m_model && m_model->mediaCurrentState == CurrentState::Playing && m_player)
        m_player->pause();
    if (m_sleepTimerVC) {
        m_sleepTimerVC->updateSelectedSleepAction(SleepAction::Off);
        m_sleepTimerVC->updateCustomSelectedTime(0.0);
    }
    stopSleepTimer();
}

void MVLectoroMediaBookReader::stopSleepTimer()
{
    if (!m_audioSleepTimer)
        return;
    m_audioSleepTimer->invalidate();
    m_audioSleepTimer = nullptr;
    m_selectedSleepAction.reset();
    m_selectedSleepTime.reset();
    updateSleepButtonAppearance(true);
    stopSleepCountDown();
}

void MVLectoroMediaBookReader::stopSleepCountDown()
{
    if (!m_sleepCountDownTimer)
        return;
    m_sleepCountDownTimer->invalidate();
    m_sleepCountDownTimer = nullptr;
    if (m_audioPlayer)
        m_audioPlayer->removeSleepTimeView();
}

void MVLectoroMediaBookReader::updateSleepButtonAppearance(bool isOff)
{
    if (!m_sleepButton)
        return;
    auto titleColor = isOff ? m_theme->media_toppanel_icons_color() : m_theme->media_playerView_selected_icon_color();
    std::optional<ui::Color> background = ui::Color::clear();
    if (!isOff)
        background = m_theme->media_playerView_selected_icon_background();
    m_sleepButton->setBackgroundColor(background);
    m_sleepButton->setTitleColor(titleColor, ui::ControlState::Normal);
    m_sleepButton->setTitleColor(titleColor, ui::ControlState::Selected);
}

} // namespace lectoro
