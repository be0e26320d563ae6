#include "companion/books/PageBookLoader.h"

#include "companion/books/BookErrors.h"
#include "companion/books/BookPaths.h"
#include "companion/books/PageBookMarkups.h"
#include "companion/books/XmlTree.h"

#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <unordered_set>

namespace companion {

using namespace lectoro;

namespace {

base::Error malformed(const std::string& what)
{
    return makeBookError(BookError::Malformed, "The page book descriptor is malformed: " + what);
}

// Attribute text, trimmed.
std::string text(const pugi::xml_node& node, const char* name, const char* fallback = "")
{
    auto attribute = node.attribute(name);
    return attribute ? base::trimWhitespace(attribute.value()) : std::string(fallback);
}

bool flag(const pugi::xml_node& node, const char* name, bool fallback = false)
{
    auto attribute = node.attribute(name);
    return attribute ? base::boolValue(attribute.value()) : fallback;
}

double number(const pugi::xml_node& node, const char* name, double fallback = 0)
{
    auto attribute = node.attribute(name);
    return attribute ? base::doubleValue(attribute.value()) : fallback;
}

// A strictly decimal attribute; absent or anything else is an error the caller reports.
std::optional<int64_t> identifier(const pugi::xml_node& node, const char* name)
{
    std::string value = text(node, name);
    if (value.empty() || value.size() > 18)
        return std::nullopt;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    return base::longLongValue(value);
}

// Book-relative resolution of a path named in the descriptor; URLs are kept as they are.
base::Result<std::string> bookPath(const std::string& value, const char* what)
{
    if (value.empty())
        return std::string();
    auto resolved = resolveBookPath("", value);
    if (!resolved)
        return makeBookError(BookError::UnsafePath, std::string("The page book names an unsafe ") + what + " path: " + value);
    return *resolved;
}

base::Value contentsNode(const pugi::xml_node& node, size_t depth)
{
    base::Value::List subnodes;
    if (depth + 1 < maxContentsDepth) {
        for (auto child : node.children("node"))
            subnodes.push_back(contentsNode(child, depth + 1));
    }
    auto pageID = identifier(node, "pageID");
    return base::Value::Dictionary {
        { "title", text(node, "title") },
        { "src", text(node, "src") },
        { "pageID", pageID ? base::Value(*pageID) : base::Value() },
        { "subnodes", std::move(subnodes) },
    };
}

base::Result<std::shared_ptr<PXLinkVO>> readLink(const pugi::xml_node& node, const PXPageVO& page)
{
    auto linkID = identifier(node, "id");
    if (!linkID)
        return malformed("a link of page " + std::to_string(page.pageID) + " has no numeric id");
    auto link = std::make_shared<PXLinkVO>();
    link->linkID = *linkID;
    link->linkType = static_cast<int32_t>(base::intValue(text(node, "type")));
    link->pageID = std::to_string(page.pageID);
    link->xCoordinate = text(node, "x", "0");
    link->yCoordinate = text(node, "y", "0");
    link->transformedRect = ui::Rect(number(node, "x"), number(node, "y"), number(node, "width"), number(node, "height"));
    link->boxTansformedRect = node.attribute("boxX")
        ? ui::Rect(number(node, "boxX"), number(node, "boxY"), number(node, "boxWidth"), number(node, "boxHeight"))
        : link->transformedRect;
    link->pageRect = link->transformedRect;
    link->boxPageRect = link->boxTansformedRect;
    link->isMultiLinkMember = flag(node, "multiLinkMember");
    link->isInLine = flag(node, "inline");
    link->isVisible = flag(node, "visible", true);
    link->isExternal = flag(node, "external");
    link->isDisplayUnderTOR = flag(node, "displayUnderTOR");
    link->iconURL = text(node, "iconURL");
    link->properties = node.child("properties").text().get();
    link->toolTip = text(node, "tooltip");
    link->url = text(node, "url");
    link->type = text(node, "resourceType");
    link->folioNumber = text(node, "folioNumber", page.displayNum.c_str());
    link->isPlaybackground = flag(node, "playBackground");
    link->answer = text(node, "answer");
    link->isInstantFeedback = flag(node, "instantFeedback");
    link->isCaseSenstive = flag(node, "caseSensitive");
    link->isMathKeyboardEnabled = flag(node, "mathKeyboard");
    link->checkIs3dView = flag(node, "model3d");
    base::Value::List sync;
    for (auto word : node.child("audioSync").children("word")) {
        sync.emplace_back(base::Value::Dictionary {
            { "text", text(word, "text") },
            { "start", number(word, "start") },
            { "end", number(word, "end") },
        });
    }
    link->audioSync = std::move(sync);
    // A link that opens a file of the book must not reach outside it.
    if (!link->isExternal && !link->url.empty() && link->url.find("://") == std::string::npos
        && (link->url.find('/') != std::string::npos || link->url.find('\\') != std::string::npos)) {
        auto resolved = bookPath(link->url, "link");
        if (!resolved.ok())
            return resolved.error();
    }
    return link;
}

} // namespace

namespace {

// Parses the descriptor in its own buffer (which the parse changes): a 2,000-page book's
// descriptor is not copied once more.
base::Result<std::shared_ptr<PXBookVO>> parsePageBookInPlace(const std::string& bookFolder, std::string& descriptor)
{
    pugi::xml_document document;
    auto parsed = document.load_buffer_inplace(descriptor.data(), descriptor.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        return malformed(std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset));
    auto root = document.child("ebook");
    if (!root)
        return malformed("the root element is not <ebook>");

    auto book = std::make_shared<PXBookVO>();
    book->bookID = text(root, "id");
    book->title = text(root, "title");
    book->ISBN = text(root, "isbn");
    book->contentKey = text(root, "contentKey");
    book->path = bookFolder;
    book->absolutePath = std::filesystem::absolute(bookFolder).lexically_normal().string();
    book->isReadAloudEnabled = flag(root, "readAloud");
    book->bookOrientationType = static_cast<int>(base::intValue(text(root, "orientation", "2")));

    std::unordered_set<int64_t> chapterIDs;
    int32_t position = 0;
    for (auto chapterNode : root.child("chapters").children("chapter")) {
        auto chapterID = identifier(chapterNode, "id");
        if (!chapterID || !chapterIDs.insert(*chapterID).second)
            return malformed("every chapter needs its own numeric id");
        auto chapter = std::make_shared<PXChapterVO>();
        chapter->chapterID = *chapterID;
        chapter->title = text(chapterNode, "title");
        for (auto pageNode : chapterNode.children("page")) {
            ++position;
            auto pageID = identifier(pageNode, "id");
            if (!pageID)
                return malformed("page " + std::to_string(position) + " has no numeric id");
            auto [slot, isNew] = book->pages.try_emplace(std::to_string(*pageID));
            if (!isNew)
                return malformed("page id " + std::to_string(*pageID) + " is used twice");
            auto page = std::make_shared<PXPageVO>();
            slot->second = page;
            page->pageID = *pageID;
            // The page id is also the page's number: what the renderer navigates to.
            if (*pageID > INT32_MAX)
                return malformed("page id " + std::to_string(*pageID) + " is too large");
            page->pageNum = static_cast<int32_t>(*pageID);
            auto display = pageNode.attribute("display");
            page->displayNum = display ? base::trimWhitespace(display.value()) : std::to_string(page->pageNum);
            page->chapterID = chapter->chapterID;
            page->size = ui::Size(number(pageNode, "width", 768), number(pageNode, "height", 1024));
            page->text = pageNode.child("text").text().get();
            auto src = bookPath(text(pageNode, "src"), "page image");
            auto thumbnail = bookPath(text(pageNode, "thumbnail"), "thumbnail");
            if (!src.ok())
                return src.error();
            if (!thumbnail.ok())
                return thumbnail.error();
            page->src = src.value();
            page->thumbnailPath = thumbnail.value().empty() ? std::string() : absoluteBookPath(book->absolutePath, thumbnail.value());
            for (auto linkNode : pageNode.children("link")) {
                auto link = readLink(linkNode, *page);
                if (!link.ok())
                    return link.error();
                std::string key = std::to_string(link.value()->linkID);
                if (book->links.count(key))
                    return malformed("link id " + key + " is used twice");
                book->links.emplace(key, link.value());
                page->links.emplace(key, link.value());
                page->linkOrder.push_back(link.value());
            }
            for (auto protractor : pageNode.children("protractor")) {
                page->protractors.push_back({ ui::Rect(number(protractor, "x"), number(protractor, "y"),
                                                  number(protractor, "width", 300), number(protractor, "height", 150)),
                    number(protractor, "rotation") });
            }
            chapter->pageIDs.push_back(page->pageID);
            book->pageList.push_back(page);
        }
        book->chapters.push_back(chapter);
    }
    if (book->pageList.empty())
        return malformed("the book has no pages");

    if (auto contents = root.child("contents")) {
        base::Value::List nodes;
        for (auto node : contents.children("node"))
            nodes.push_back(contentsNode(node, 0));
        book->contents = std::move(nodes);
    } else {
        // Without explicit contents, each chapter is an entry at its first page.
        base::Value::List nodes;
        for (const auto& chapter : book->chapters) {
            if (chapter->pageIDs.empty())
                continue;
            auto first = book->pageForPagenumber(chapter->pageIDs.front());
            nodes.emplace_back(base::Value::Dictionary {
                { "title", chapter->title },
                { "src", first->src },
                { "pageID", first->pageID },
                { "subnodes", base::Value::List {} },
            });
        }
        book->contents = std::move(nodes);
    }

    base::Value::Dictionary glossary;
    for (auto entry : root.child("glossary").children("entry")) {
        std::string key = text(entry, "key");
        if (key.empty())
            return malformed("a glossary entry has no key");
        std::string term = text(entry, "term", key.c_str());
        glossary.set(key, base::Value::Dictionary {
            { "term", term },
            { "alphabet", term.empty() ? std::string() : base::uppercase(base::utf16Substring(term, 0, 1)) },
            { "description", base::trimWhitespace(entry.child("description").text().get()) },
            { "synonym", base::trimWhitespace(entry.child("synonym").text().get()) },
        });
    }
    book->glossary = std::move(glossary);

    base::Value::List resources;
    for (auto resource : root.child("resources").children("resource")) {
        auto pageID = identifier(resource, "pageID");
        auto page = pageID ? book->pageForPagenumber(*pageID) : nullptr;
        if (!page)
            return malformed("resource \"" + text(resource, "title") + "\" names no page of the book");
        resources.emplace_back(base::Value::Dictionary {
            { "title", text(resource, "title") },
            { "pageID", std::to_string(page->pageID) },
            { "linkID", text(resource, "linkID") },
            { "folioNumber", text(resource, "folioNumber", page->displayNum.c_str()) },
            { "type", text(resource, "type") },
            { "url", text(resource, "url") },
            { "role", text(resource, "role") },
            { "standard", text(resource, "standard") },
        });
    }
    book->resources = std::move(resources);
    auto markups = readPageBookMarkups(root, *book);
    if (!markups.ok())
        return markups.error();
    return book;
}

} // namespace

base::Result<std::shared_ptr<PXBookVO>> parsePageBook(const std::string& bookFolder, std::string_view descriptor)
{
    std::string copy(descriptor);
    return parsePageBookInPlace(bookFolder, copy);
}

base::Result<std::shared_ptr<PXBookVO>> loadPageBook(const std::string& bookFolder, const BookBudget& budget)
{
    std::error_code error;
    if (bookFolder.empty() || !std::filesystem::is_directory(bookFolder, error))
        return makeBookError(BookError::MissingFolder, "The book folder " + bookFolder + " does not exist");
    auto descriptor = readBookFile(bookFolder, pageBookDescriptorPath, std::min(budget.maxFileBytes, budget.maxBytesRead));
    if (!descriptor.ok())
        return descriptor.error();
    return parsePageBookInPlace(bookFolder, descriptor.value());
}

} // namespace companion
