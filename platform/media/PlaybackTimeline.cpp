#include "platform/media/PlaybackTimeline.h"

#include "platform/base/RunLoop.h"

#include <algorithm>

namespace media {

double PlaybackTimeline::position() const
{
    double moved = m_rate > 0 ? (base::RunLoop::main().now() - m_anchorClock) * m_rate : 0;
    return std::clamp(m_anchorPosition + moved, 0.0, m_duration);
}

void PlaybackTimeline::reanchor()
{
    m_anchorPosition = position();
    m_anchorClock = base::RunLoop::main().now();
}

void PlaybackTimeline::setDuration(double duration)
{
    reanchor();
    m_duration = std::max(0.0, duration);
    m_anchorPosition = std::min(m_anchorPosition, m_duration);
}

void PlaybackTimeline::setRate(double rate)
{
    reanchor();
    m_rate = rate > 0 ? rate : 0;
}

double PlaybackTimeline::seek(double position)
{
    m_anchorClock = base::RunLoop::main().now();
    m_anchorPosition = std::clamp(position, 0.0, m_duration);
    return m_anchorPosition;
}

std::optional<double> PlaybackTimeline::clockTimeAt(double target) const
{
    double now = base::RunLoop::main().now();
    double current = position();
    if (m_rate <= 0 || target < current)
        return std::nullopt;
    return now + (target - current) / m_rate;
}

} // namespace media
