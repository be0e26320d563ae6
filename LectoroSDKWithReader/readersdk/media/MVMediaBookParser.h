#pragma once

// Reads a media book's "toc.json" and "time-index.json" into the model it is given.
//
// Set both handlers, then call one parse operation on the main thread. The files are read in
// the background (a book's media can be large and many); exactly one handler runs, once, on
// the main run loop after the call returned, with the handlers as they were at the call. The
// completed handler gets the same model, filled on the main thread just before; on failure
// the model is left as it was (nothing half-filled). With either path missing both files are
// taken from the model's mediaBookPath. Made by CompanionFramework::makeMediaBookParser().

#include "platform/base/Error.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class MVMediaBookModel;

class MVMediaBookParser {
public:
    using CompletedHandler = std::function<void(std::shared_ptr<MVMediaBookModel>)>;
    using FailedHandler = std::function<void(const base::Error&)>;

    virtual ~MVMediaBookParser() = default;

    void setBookParsingCompleted(CompletedHandler handler) { m_completed = std::move(handler); }
    void setBookParsingFailed(FailedHandler handler) { m_failed = std::move(handler); }

    virtual void parseTOCTimeIndexJsonForAudio(const std::shared_ptr<MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath)
        = 0;
    virtual void parseTOCTimeIndexJsonForVideo(const std::shared_ptr<MVMediaBookModel>&,
        const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath)
        = 0;

protected:
    CompletedHandler m_completed;
    FailedHandler m_failed;
};

} // namespace lectoro
