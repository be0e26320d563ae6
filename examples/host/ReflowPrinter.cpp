#include "ReflowPrinter.h"

#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"

#include <ostream>

namespace host {

bool printReflowablePageCount(std::ostream& out, lectoro::RendererViewController& renderer, double timeout)
{
    auto* bookRenderer = dynamic_cast<companion::BookRenderer*>(&renderer);
    if (!bookRenderer || !bookRenderer->currentReflowPage())
        return false;
    base::RunLoop::main().runUntil([&] { return bookRenderer->reflowBookPageCount().has_value(); }, timeout);
    auto total = bookRenderer->reflowBookPageCount();
    if (!total) {
        out << "Pages at the default font size: not laid out within " << timeout << " s\n";
        return false;
    }
    const auto& layout = bookRenderer->reflowLayout();
    out << "Pages at the default font size: " << *total << " (" << layout.pageSize.width << "x"
        << layout.pageSize.height << " points, " << layout.fontSize << "-point text)\n";
    for (int64_t chapter : bookRenderer->pageNumbers()) {
        if (auto first = bookRenderer->reflowPage(chapter, 0))
            out << "  chapter " << chapter << ": " << first->count << " pages\n";
    }
    return true;
}

} // namespace host
