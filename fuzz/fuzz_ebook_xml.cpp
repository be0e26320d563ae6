// Feeds arbitrary bytes to the readers of untrusted book text: the page book descriptor
// (eBook.xml) and the XHTML chapter text extraction. Neither may crash or hang; a
// descriptor that loads must describe a consistent book.

#include "companion/books/PageBookLoader.h"
#include "companion/books/XhtmlText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto book = companion::parsePageBook("/nonexistent-book-folder", text);
    if (book.ok()) {
        const auto& loaded = *book.value();
        if (loaded.pageList.empty() || loaded.pageList.size() != loaded.pages.size())
            std::abort();
        for (const auto& page : loaded.pageList) {
            if (loaded.pageForPagenumber(page->pageID) != page)
                std::abort();
            for (const auto& link : page->linkOrder) {
                if (loaded.links.at(std::to_string(link->linkID)) != link)
                    std::abort();
            }
        }
        (void)loaded.getThumbnailData();
    }
    auto extracted = companion::extractXhtmlText(text);
    for (const auto& [id, offset] : extracted.anchors) {
        if (offset > extracted.text.size() + 1)
            std::abort();
    }
    return 0;
}
