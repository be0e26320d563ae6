#pragma once

// A play position that moves with the main run loop's clock while the rate is above zero:
// position = anchor position + (now − anchor clock) × rate, kept within [0, duration].
// Players build on it; it schedules nothing itself.

#include <optional>

namespace media {

class PlaybackTimeline {
public:
    double position() const;
    double rate() const { return m_rate; }
    double duration() const { return m_duration; }
    bool atEnd() const { return position() >= m_duration; }

    void setDuration(double);
    // Negative rates (reverse play) are not supported and count as 0.
    void setRate(double);
    // Clamped to [0, duration]; answers the position taken.
    double seek(double position);
    // The run-loop time at which the position reaches `position`; none when paused or
    // already past it.
    std::optional<double> clockTimeAt(double position) const;

private:
    void reanchor();

    double m_anchorPosition = 0;
    double m_anchorClock = 0;
    double m_rate = 0;
    double m_duration = 0;
};

} // namespace media
