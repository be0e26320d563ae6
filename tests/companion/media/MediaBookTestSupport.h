#pragma once

// Shared by the media-book tests: a parse that answers the filled model or the error, and
// letting background reads of the player finish. The sample books' paths come from
// companion/SampleBooks.h.

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/SampleBooks.h"
#include "companion/media/MediaBookParser.h"

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"

#include <string>
#include <variant>

namespace mediabooktest {

// The parser reads in the background and answers on the run loop: no handler may run before
// the call returns, exactly one once the background work is done.
inline base::Result<std::shared_ptr<lectoro::MVMediaBookModel>> parse(std::shared_ptr<lectoro::MVMediaBookModel> model,
    bool video = false, companion::MediaBookParser parser = companion::MediaBookParser())
{
    std::optional<base::Result<std::shared_ptr<lectoro::MVMediaBookModel>>> outcome;
    int handlersRun = 0;
    parser.setBookParsingCompleted([&](std::shared_ptr<lectoro::MVMediaBookModel> filled) {
        ++handlersRun;
        outcome.emplace(std::move(filled));
    });
    parser.setBookParsingFailed([&](const base::Error& error) {
        ++handlersRun;
        outcome.emplace(error);
    });
    if (video)
        parser.parseTOCTimeIndexJsonForVideo(model, std::nullopt, std::nullopt);
    else
        parser.parseTOCTimeIndexJsonForAudio(model, std::nullopt, std::nullopt);
    if (handlersRun != 0)
        return base::Error::make("test", 1, "a handler ran before the parse call returned");
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
    if (handlersRun != 1)
        return base::Error::make("test", 1, "expected exactly one handler, got " + std::to_string(handlersRun));
    return *outcome;
}

inline std::shared_ptr<lectoro::MVMediaBookModel> modelFor(const std::string& folder, const std::string& bookId = {})
{
    auto model = std::make_shared<lectoro::MVMediaBookModel>();
    model->mediaBookPath = folder;
    model->mediaBookId = bookId;
    return model;
}

inline void settle()
{
    base::waitForBackgroundWork();
    base::RunLoop::main().runUntilIdle();
}

} // namespace mediabooktest
