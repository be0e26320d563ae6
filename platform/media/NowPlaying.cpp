#include "platform/media/NowPlaying.h"

namespace media {

void NowPlayingInfo::remove(const std::string& key)
{
    if (key == mediaItemPropertyArtwork)
        artwork.reset();
    properties.remove(key);
}

NowPlayingInfoCenter& NowPlayingInfoCenter::defaultCenter()
{
    static NowPlayingInfoCenter center;
    return center;
}

void NowPlayingInfoCenter::setNowPlayingInfo(std::optional<NowPlayingInfo> info)
{
    m_info = std::move(info);
    ++m_publishCount;
}

void NowPlayingInfoCenter::reset()
{
    m_info.reset();
    m_publishCount = 0;
}

RemoteCommand::TargetId RemoteCommand::addTarget(Handler handler)
{
    TargetId id = m_nextId++;
    m_targets.emplace(id, std::move(handler));
    return id;
}

void RemoteCommand::removeTarget(TargetId id)
{
    m_targets.erase(id);
}

RemoteCommandHandlerStatus RemoteCommand::fire(const RemoteCommandEvent& event) const
{
    if (!m_enabled)
        return RemoteCommandHandlerStatus::CommandFailed;
    if (m_targets.empty())
        return RemoteCommandHandlerStatus::NoActionableNowPlayingItem;
    // A handler may add or remove targets; the ones present when the press came all run.
    std::vector<Handler> handlers;
    for (const auto& [id, handler] : m_targets)
        handlers.push_back(handler);
    RemoteCommandHandlerStatus status = RemoteCommandHandlerStatus::Success;
    for (const Handler& handler : handlers)
        status = handler ? handler(event) : RemoteCommandHandlerStatus::CommandFailed;
    return status;
}

RemoteCommandCenter& RemoteCommandCenter::shared()
{
    static RemoteCommandCenter center;
    return center;
}

void RemoteCommandCenter::reset()
{
    for (RemoteCommand* command : { &m_play, &m_pause, &m_toggle, &m_stop, &m_next, &m_previous,
             static_cast<RemoteCommand*>(&m_skipForward), static_cast<RemoteCommand*>(&m_skipBackward),
             static_cast<RemoteCommand*>(&m_changePosition) }) {
        command->setEnabled(true);
        command->removeAllTargets();
    }
    m_skipForward.setPreferredIntervals({ 15 });
    m_skipBackward.setPreferredIntervals({ 15 });
}

} // namespace media
