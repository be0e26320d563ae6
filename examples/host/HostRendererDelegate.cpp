#include "HostRendererDelegate.h"

namespace host {

namespace {

std::string describe(int64_t pageNumber, const std::optional<std::string>& displayNumber)
{
    return std::to_string(pageNumber) + " (folio " + displayNumber.value_or("none") + ")";
}

} // namespace

void HostRendererDelegate::didBookLoadedSuccessfullyWithBook(lectoro::RendererViewController&,
    std::shared_ptr<lectoro::LectoroBookVO> loaded)
{
    book = std::move(loaded);
    events.push_back("book loaded");
}

void HostRendererDelegate::didBookLoadingFailedWithError(lectoro::RendererViewController&, const base::Error& error)
{
    failure = error;
    events.push_back("book failed to load");
}

void HostRendererDelegate::didLoadPageWithPageNumber(lectoro::RendererViewController&, int64_t pageNumber,
    const std::optional<std::string>& displayNumber)
{
    events.push_back("page loaded: " + describe(pageNumber, displayNumber));
}

void HostRendererDelegate::willUnloadPageWithPageNumber(lectoro::RendererViewController&, int64_t pageNumber,
    const std::optional<std::string>& displayNumber)
{
    events.push_back("page unloaded: " + describe(pageNumber, displayNumber));
}

} // namespace host
