#include "platform/media/AudioPlayer.h"

#include "platform/media/Asset.h"
#include "platform/media/MediaError.h"

#include <algorithm>
#include <cmath>

namespace media {

base::Result<std::shared_ptr<AudioPlayer>> AudioPlayer::create(const std::string& urlOrPath)
{
    auto asset = Asset::load(urlOrPath);
    if (!asset.ok())
        return asset.error();
    if (asset->tracksWithMediaType(MediaType::Audio).empty())
        return mediaError(errorFileFormatNotRecognized, "The file holds no sound: " + asset->path, asset->path);
    return std::shared_ptr<AudioPlayer>(new AudioPlayer(asset->path, asset->duration));
}

AudioPlayer::AudioPlayer(std::string path, double duration)
    : m_path(std::move(path))
{
    m_timeline.setDuration(duration);
}

AudioPlayer::~AudioPlayer()
{
    base::RunLoop::main().cancel(m_endTask);
}

bool AudioPlayer::play()
{
    if (duration() <= 0)
        return false;
    if (m_timeline.atEnd())
        m_timeline.seek(0);
    if (!m_playing)
        m_loopsPlayed = 0;
    m_playing = true;
    m_timeline.setRate(m_enableRate ? m_rate : 1);
    reschedule();
    return true;
}

void AudioPlayer::pause()
{
    m_playing = false;
    m_timeline.setRate(0);
    reschedule();
}

void AudioPlayer::stop()
{
    pause();
}

void AudioPlayer::setCurrentTime(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    m_timeline.seek(seconds);
    reschedule();
}

void AudioPlayer::setVolume(float volume)
{
    m_volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 1.0f;
}

void AudioPlayer::setRate(float rate)
{
    m_rate = std::isfinite(rate) ? std::clamp(rate, 0.5f, 2.0f) : 1.0f;
    if (m_playing && m_enableRate) {
        m_timeline.setRate(m_rate);
        reschedule();
    }
}

void AudioPlayer::reschedule()
{
    auto& loop = base::RunLoop::main();
    loop.cancel(std::exchange(m_endTask, 0));
    if (!m_playing)
        return;
    if (auto end = m_timeline.clockTimeAt(m_timeline.duration()))
        m_endTask = loop.postAt(*end, weak_from_this(), [this] { reachEnd(); });
}

void AudioPlayer::reachEnd()
{
    m_endTask = 0;
    if (m_numberOfLoops < 0 || m_loopsPlayed < m_numberOfLoops) {
        ++m_loopsPlayed;
        m_timeline.seek(0);
        reschedule();
        return;
    }
    m_playing = false;
    m_timeline.setRate(0);
    m_timeline.seek(0);
    if (auto delegate = m_delegate.lock())
        delegate->audioPlayerDidFinishPlaying(*this, true);
}

} // namespace media
