#pragma once

// The host's listener on the renderer: it notes what the renderer reports and remembers
// the book it loaded or why it could not.

#include "LectoroSDKWithReader/readersdk/RendererViewControllerDelegate.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {

class HostRendererDelegate final : public lectoro::RendererViewControllerDelegate {
public:
    std::shared_ptr<lectoro::LectoroBookVO> book;
    std::optional<base::Error> failure;
    // One line per callback, in order.
    std::vector<std::string> events;

    void didBookLoadedSuccessfullyWithBook(lectoro::RendererViewController&, std::shared_ptr<lectoro::LectoroBookVO>) override;
    void didBookLoadingFailedWithError(lectoro::RendererViewController&, const base::Error&) override;
    void didLoadPageWithPageNumber(lectoro::RendererViewController&, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
    void willUnloadPageWithPageNumber(lectoro::RendererViewController&, int64_t pageNumber,
        const std::optional<std::string>& displayNumber) override;
};

} // namespace host
