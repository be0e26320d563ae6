#include "companion/books/EpubBookLoader.h"

#include "companion/books/BookErrors.h"
#include "companion/books/BookPaths.h"
#include "companion/books/MediaOverlay.h"
#include "companion/books/XhtmlText.h"
#include "companion/books/XmlTree.h"
#include "companion/renderer/ChapterPositions.h"

#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace companion {

using namespace lectoro;

// What the chapters of one book share: where the book is, its budget, and every chapter file
// parsed so far, so a file the spine names many times is read and parsed once.
class EpubLoadState {
public:
    EpubLoadState(std::string folder, BookBudget budget)
        : folder(folder)
        , budget(budget)
        , m_files(std::move(folder))
    {
    }

    using Parsed = base::Result<std::shared_ptr<const EPUBChapterContent>>;

    // Counts a file read outside the chapters (container, package, navigation).
    base::Result<std::string> readFile(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        return readLocked(path);
    }

    base::Result<size_t> fileSize(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        return m_files.fileSize(path);
    }

    Parsed parseChapter(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        if (auto found = m_parsed.find(path); found != m_parsed.end())
            return found->second;
        Parsed parsed = parseLocked(path);
        m_parsed.emplace(path, parsed);
        return parsed;
    }

    const std::string folder;
    const BookBudget budget;
    BookLoadCounters counters;

private:
    base::Result<std::string> readLocked(const std::string& path)
    {
        auto content = m_files.read(path, budget.maxFileBytes);
        if (!content.ok())
            return content.error();
        size_t total = counters.bytesRead + content.value().size();
        if (total > budget.maxBytesRead)
            return makeBookError(BookError::TooLarge,
                budgetExceededDescription("The book", total, "bytes read", budget.maxBytesRead, "maxBytesRead"));
        counters.bytesRead = total;
        ++counters.filesRead;
        return content;
    }

    Parsed parseLocked(const std::string& path)
    {
        auto content = readLocked(path);
        if (!content.ok())
            return content.error();
        auto extracted = extractXhtmlText(content.value());
        ++counters.chaptersParsed;
        if (extracted.topLevelBlocks > budget.maxBlocksPerChapter)
            return makeBookError(BookError::TooLarge,
                budgetExceededDescription("The chapter " + path, extracted.topLevelBlocks, "blocks",
                    budget.maxBlocksPerChapter, "maxBlocksPerChapter"));
        auto parsed = std::make_shared<EPUBChapterContent>();
        parsed->text = std::move(extracted.text);
        parsed->anchors = std::move(extracted.anchors);
        parsed->topLevelBlocks = extracted.topLevelBlocks;
        parsed->blockStarts = std::move(extracted.blockStarts);
        parsed->headings = std::move(extracted.headings);
        return std::shared_ptr<const EPUBChapterContent>(std::move(parsed));
    }

    std::mutex m_mutex;
    BookFiles m_files;
    std::unordered_map<std::string, Parsed> m_parsed;
};

namespace {

struct ManifestItem {
    std::string id;
    // Relative to the book folder.
    std::string path;
    std::string mediaType;
    std::string properties;
    std::string mediaOverlay;
    bool remote = false;
};

base::Error malformed(const std::string& what)
{
    return makeBookError(BookError::Malformed, "The EPUB book is malformed: " + what);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name)
{
    for (auto candidate : node.children()) {
        if (candidate.type() == pugi::node_element && xmlLocalName(candidate.name()) == name)
            return candidate;
    }
    return {};
}

std::vector<pugi::xml_node> children(const pugi::xml_node& node, std::string_view name)
{
    std::vector<pugi::xml_node> result;
    for (auto candidate : node.children()) {
        if (candidate.type() == pugi::node_element && xmlLocalName(candidate.name()) == name)
            result.push_back(candidate);
    }
    return result;
}

void collectDescendants(const pugi::xml_node& node, std::string_view name, std::vector<pugi::xml_node>& into)
{
    walkXmlTree(node, [&](const pugi::xml_node& candidate, size_t) {
        if (candidate.type() != pugi::node_element)
            return false;
        if (xmlLocalName(candidate.name()) == name)
            into.push_back(candidate);
        return true;
    });
}

std::string nodeText(const pugi::xml_node& node)
{
    std::string result;
    walkXmlTree(node, [&](const pugi::xml_node& part, size_t) {
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata)
            result += part.value();
        return part.type() == pugi::node_element;
    });
    // Collapse the white space of the markup.
    std::string collapsed;
    bool space = false;
    for (char c : base::trimWhitespaceAndNewlines(result)) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            space = true;
            continue;
        }
        if (space)
            collapsed += ' ';
        space = false;
        collapsed += c;
    }
    return collapsed;
}

bool hasToken(std::string_view list, std::string_view token)
{
    for (const auto& part : base::split(list, " ")) {
        if (part == token)
            return true;
    }
    return false;
}

base::Result<pugi::xml_document*> parseXml(pugi::xml_document& document, const std::string& content, const std::string& what)
{
    auto parsed = document.load_buffer(content.data(), content.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed)
        return malformed(what + " cannot be parsed (" + parsed.description() + ")");
    return &document;
}

// For the navigation documents, which a book can do without: unreadable is the same as absent.
bool loadOptionalXml(pugi::xml_document& document, EpubLoadState& state, const std::string& path)
{
    auto content = state.readFile(path);
    if (!content.ok())
        return false;
    const auto& text = content.value();
    return bool(document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto));
}

class EpubReader {
public:
    EpubReader(std::string folder, const BookBudget& budget)
        : m_folder(std::move(folder))
        , m_state(std::make_shared<EpubLoadState>(m_folder, budget))
        , m_book(std::make_shared<EpubBook>(m_state))
    {
    }

    base::Result<std::shared_ptr<EpubBook>> read();

private:
    base::Result<std::string> packagePath();
    base::Result<void> readPackage(const std::string& packagePath);
    base::Result<void> readChapters();
    base::Result<void> readNavigation();
    void readNavDocument(const ManifestItem&);
    void readNcx(const ManifestItem&);
    void readResource(const std::string& navDirectory, const pugi::xml_node& anchor);
    // The narration of a chapter whose manifest item names a media overlay.
    base::Result<base::Value> narrationOf(const ManifestItem& chapter);
    std::optional<std::string> packageRelative(const std::string& baseDirectory, const std::string& href) const;
    int64_t fileIndexOf(const std::string& packageRelativeHref) const;

    std::string m_folder;
    std::shared_ptr<EpubLoadState> m_state;
    std::shared_ptr<EpubBook> m_book;
    // Contents, page-list and landmark entries read, against the budget.
    size_t m_navigationEntries = 0;
    std::string m_packageDirectory;
    std::vector<ManifestItem> m_manifest;
    std::unordered_map<std::string, size_t> m_manifestIndex;
    std::vector<std::pair<std::string, bool>> m_spine;
    std::string m_ncxID;
    std::vector<EPUBGuideVO> m_packageGuide;
    // Overlays read so far, by overlay and chapter path: a chapter the spine names twice is
    // narrated by one reading.
    std::unordered_map<std::string, base::Result<base::Value>> m_narrations;
};

base::Result<std::string> EpubReader::packagePath()
{
    auto container = m_state->readFile(epubContainerPath);
    if (!container.ok())
        return container.error();
    pugi::xml_document document;
    auto parsed = parseXml(document, container.value(), "META-INF/container.xml");
    if (!parsed.ok())
        return parsed.error();
    std::vector<pugi::xml_node> rootfiles;
    collectDescendants(document, "rootfile", rootfiles);
    for (const auto& rootfile : rootfiles) {
        std::string mediaType = rootfile.attribute("media-type").value();
        if (!mediaType.empty() && mediaType != "application/oebps-package+xml")
            continue;
        std::string fullPath = rootfile.attribute("full-path").value();
        auto resolved = resolveBookPath("", fullPath);
        if (!resolved)
            return makeBookError(BookError::UnsafePath, "The package path " + fullPath + " leaves the book folder");
        return *resolved;
    }
    return malformed("META-INF/container.xml names no package document");
}

std::optional<std::string> EpubReader::packageRelative(const std::string& baseDirectory, const std::string& href) const
{
    auto parts = splitHref(href);
    auto resolved = resolveBookPath(baseDirectory, parts.path);
    if (!resolved)
        return std::nullopt;
    std::string relative = relativeTo(m_packageDirectory, *resolved);
    if (!parts.fragment.empty())
        relative += "#" + parts.fragment;
    return relative;
}

int64_t EpubReader::fileIndexOf(const std::string& packageRelativeHref) const
{
    auto chapter = m_book->chapterForHref(packageRelativeHref);
    return chapter ? chapter->fileIndex : -1;
}

base::Result<void> EpubReader::readPackage(const std::string& packagePath)
{
    auto content = m_state->readFile(packagePath);
    if (!content.ok())
        return content.error();
    pugi::xml_document document;
    auto parsed = parseXml(document, content.value(), "the package document");
    if (!parsed.ok())
        return parsed.error();
    auto package = document.document_element();
    if (xmlLocalName(package.name()) != "package")
        return malformed("the package document has no <package>");
    m_packageDirectory = directoryOf(packagePath);
    m_book->rootPath = absoluteBookPath(m_book->absolutePath, m_packageDirectory);

    // Metadata.
    auto metadata = child(package, "metadata");
    std::string uniqueID = package.attribute("unique-identifier").value();
    std::string coverID;
    for (auto entry : metadata.children()) {
        if (entry.type() != pugi::node_element)
            continue;
        auto name = xmlLocalName(entry.name());
        if (name == "title" && m_book->meta.title.empty())
            m_book->meta.title = nodeText(entry);
        else if (name == "identifier" && (m_book->meta.identifier.empty() || uniqueID == entry.attribute("id").value()))
            m_book->meta.identifier = nodeText(entry);
        else if (name == "language" && m_book->meta.language.empty())
            m_book->meta.language = nodeText(entry);
        else if (name == "creator" && m_book->meta.creator.empty())
            m_book->meta.creator = nodeText(entry);
        else if (name == "publisher" && m_book->meta.publisher.empty())
            m_book->meta.publisher = nodeText(entry);
        else if (name == "meta") {
            std::string property = entry.attribute("property").value();
            if (property == "rendition:layout")
                m_book->meta.layout = nodeText(entry) == "pre-paginated" ? 1 : 0;
            if (std::string(entry.attribute("name").value()) == "cover")
                coverID = entry.attribute("content").value();
        }
    }

    // Manifest: every local path must stay in the book folder.
    for (auto item : children(child(package, "manifest"), "item")) {
        ManifestItem entry;
        entry.id = item.attribute("id").value();
        std::string href = item.attribute("href").value();
        entry.mediaType = item.attribute("media-type").value();
        entry.properties = item.attribute("properties").value();
        entry.mediaOverlay = item.attribute("media-overlay").value();
        if (entry.id.empty() || href.empty())
            return malformed("a manifest item lacks its id or href");
        if (base::hasPrefix(href, "http://") || base::hasPrefix(href, "https://")) {
            entry.remote = true;
            entry.path = href;
        } else {
            auto resolved = resolveBookPath(m_packageDirectory, href);
            if (!resolved)
                return makeBookError(BookError::UnsafePath, "The manifest item " + entry.id + " points outside the book folder: " + href);
            entry.path = *resolved;
        }
        if (hasToken(entry.properties, "cover-image"))
            coverID = entry.id;
        m_manifestIndex[entry.id] = m_manifest.size();
        m_manifest.push_back(std::move(entry));
    }
    if (auto cover = m_manifestIndex.find(coverID); cover != m_manifestIndex.end())
        m_book->coverImageName = relativeTo(m_packageDirectory, m_manifest[cover->second].path);

    auto spine = child(package, "spine");
    m_ncxID = spine.attribute("toc").value();
    m_book->setRightToLeft(std::string_view(spine.attribute("page-progression-direction").value()) == "rtl");
    const size_t maxSpineItems = m_state->budget.maxSpineItems;
    for (auto itemref : children(spine, "itemref")) {
        if (m_spine.size() == maxSpineItems) {
            size_t count = children(spine, "itemref").size();
            return makeBookError(BookError::TooLarge,
                budgetExceededDescription("The spine", count, "items", maxSpineItems, "maxSpineItems"));
        }
        std::string idref = itemref.attribute("idref").value();
        if (!m_manifestIndex.count(idref))
            return malformed("the spine names " + idref + ", which the manifest lacks");
        m_spine.emplace_back(idref, std::string(itemref.attribute("linear").value()) != "no");
    }
    if (m_spine.empty())
        return malformed("the spine is empty");

    for (auto reference : children(child(package, "guide"), "reference")) {
        auto href = packageRelative(m_packageDirectory, reference.attribute("href").value());
        if (href)
            m_packageGuide.push_back({ *href, reference.attribute("type").value(), reference.attribute("title").value() });
    }
    return {};
}

base::Result<void> EpubReader::readChapters()
{
    // Every chapter file is checked now (present, inside the book, within the budget) and
    // parsed later, when first asked for; a file named many times counts once.
    std::unordered_set<std::string> distinct;
    size_t total = m_state->counters.bytesRead;
    const auto& budget = m_state->budget;
    for (size_t index = 0; index < m_spine.size(); ++index) {
        const auto& item = m_manifest[m_manifestIndex[m_spine[index].first]];
        if (item.remote)
            return malformed("the spine item " + item.id + " is not in the book folder");
        if (distinct.insert(item.path).second) {
            auto size = m_state->fileSize(item.path);
            if (!size.ok())
                return size.error();
            if (size.value() > budget.maxFileBytes)
                return makeBookError(BookError::TooLarge, budgetExceededDescription("The book file " + item.path,
                                                              size.value(), "bytes", budget.maxFileBytes, "maxFileBytes"));
            total += size.value();
            if (total > budget.maxBytesRead)
                return makeBookError(BookError::TooLarge,
                    budgetExceededDescription("The book", total, "bytes to read", budget.maxBytesRead, "maxBytesRead"));
        }
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = static_cast<int64_t>(index);
        chapter->idref = item.id;
        chapter->href = relativeTo(m_packageDirectory, item.path);
        chapter->absolutePath = absoluteBookPath(m_book->absolutePath, item.path);
        chapter->mediaType = item.mediaType;
        chapter->linear = m_spine[index].second;
        if (!item.mediaOverlay.empty()) {
            // A chapter is narrated only when its whole overlay can be played.
            auto narration = narrationOf(item);
            if (narration.ok()) {
                chapter->audioSyncArray = narration.value();
                chapter->isAudioSyncSupported = true;
            } else {
                m_book->noteOverlayProblem(chapter->href + ": " + narration.error().localizedDescription());
            }
        }
        chapter->setContentLoader([state = m_state, path = item.path] { return state->parseChapter(path); });
        m_book->isAudioSyncSupported = m_book->isAudioSyncSupported || chapter->isAudioSyncSupported;
        m_book->chapters.push_back(std::move(chapter));
    }
    // The first chapter is what a reader shows first: parsed now, so a book whose opening
    // cannot be read fails to open.
    const auto& first = m_book->chapters.front();
    first->content();
    if (auto error = first->contentError())
        return *error;
    return {};
}

base::Result<base::Value> EpubReader::narrationOf(const ManifestItem& chapter)
{
    auto overlay = m_manifestIndex.find(chapter.mediaOverlay);
    if (overlay == m_manifestIndex.end() || m_manifest[overlay->second].remote)
        return malformed("the media overlay " + chapter.mediaOverlay + " of " + chapter.id + " is not in the book");
    const std::string& overlayPath = m_manifest[overlay->second].path;
    const std::string key = overlayPath + "\n" + chapter.path;
    if (auto known = m_narrations.find(key); known != m_narrations.end())
        return known->second;
    MediaOverlayFiles files;
    files.read = [state = m_state](const std::string& path) { return state->readFile(path); };
    files.size = [state = m_state](const std::string& path) { return state->fileSize(path); };
    auto narration = readMediaOverlay(overlayPath, chapter.path, files, m_state->budget);
    m_narrations.emplace(key, narration);
    return narration;
}

void EpubReader::readNavDocument(const ManifestItem& item)
{
    pugi::xml_document document;
    if (!loadOptionalXml(document, *m_state, item.path))
        return;
    std::string navDirectory = directoryOf(item.path);
    std::vector<pugi::xml_node> navs;
    collectDescendants(document, "nav", navs);

    size_t depth = 0; // of the list being read; deeper lists are left out
    std::function<std::vector<EPUBTOCEntryVO>(const pugi::xml_node&)> readList = [&](const pugi::xml_node& list) {
        std::vector<EPUBTOCEntryVO> entries;
        if (depth >= maxContentsDepth)
            return entries;
        for (auto item : children(list, "li")) {
            ++m_navigationEntries;
            EPUBTOCEntryVO entry;
            auto anchor = child(item, "a");
            auto label = anchor ? anchor : child(item, "span");
            entry.tocLabel = nodeText(label);
            if (anchor) {
                if (auto href = packageRelative(navDirectory, anchor.attribute("href").value()))
                    entry.src = *href;
            }
            if (auto nested = child(item, "ol")) {
                ++depth;
                entry.subEntries = readList(nested);
                --depth;
            }
            entries.push_back(std::move(entry));
        }
        return entries;
    };

    for (const auto& nav : navs) {
        std::string type = nav.attribute("epub:type").value();
        auto list = child(nav, "ol");
        if (hasToken(type, "toc")) {
            m_book->toc = readList(list);
        } else if (hasToken(type, "page-list")) {
            std::vector<pugi::xml_node> anchors;
            collectDescendants(list, "a", anchors);
            m_navigationEntries += anchors.size();
            for (const auto& anchor : anchors) {
                auto href = packageRelative(navDirectory, anchor.attribute("href").value());
                if (!href)
                    continue;
                int64_t fileIndex = fileIndexOf(*href);
                if (fileIndex >= 0)
                    m_book->tocPageList.push_back({ nodeText(anchor), *href, fileIndex });
            }
        } else if (hasToken(type, "lectoro:resources")) {
            std::vector<pugi::xml_node> anchors;
            collectDescendants(list, "a", anchors);
            m_navigationEntries += anchors.size();
            for (const auto& anchor : anchors)
                readResource(navDirectory, anchor);
        } else if (hasToken(type, "landmarks")) {
            std::vector<pugi::xml_node> anchors;
            collectDescendants(list, "a", anchors);
            m_navigationEntries += anchors.size();
            for (const auto& anchor : anchors) {
                if (auto href = packageRelative(navDirectory, anchor.attribute("href").value()))
                    m_book->guides.push_back({ *href, anchor.attribute("epub:type").value(), nodeText(anchor) });
            }
        }
    }
}

// The contents panel's kinds of resource, by the type word the list gives.
int32_t resourceLinkType(std::string_view typeId)
{
    static const std::pair<std::string_view, int32_t> kinds[] = { { "audio", 1 }, { "video", 2 }, { "image", 3 },
        { "documents", 4 }, { "toc", 5 }, { "web links", 6 } };
    for (const auto& [name, kind] : kinds) {
        if (typeId == name)
            return kind;
    }
    return 0;
}

void EpubReader::readResource(const std::string& navDirectory, const pugi::xml_node& anchor)
{
    std::string typeId = anchor.attribute("data-type").value();
    int32_t kind = resourceLinkType(typeId);
    auto chapterHref = packageRelative(navDirectory, anchor.attribute("data-chapter").value());
    int64_t fileIndex = chapterHref ? fileIndexOf(*chapterHref) : -1;
    if (kind == 0 || fileIndex < 0)
        return;
    std::string href = anchor.attribute("href").value();
    std::string assetPath;
    if (kind == 6 && (href.starts_with("https://") || href.starts_with("http://"))) {
        assetPath = href;
    } else if (auto relative = packageRelative(navDirectory, href)) {
        assetPath = *relative;
    } else {
        // A resource naming a place outside the book is left out.
        return;
    }
    base::Value::Dictionary record;
    record.set("resourceName", nodeText(anchor));
    record.set("typeId", typeId);
    record.set("epubLinkType", kind);
    record.set("assetPath", assetPath);
    record.set("href", *chapterHref);
    record.set("folioNumber", std::to_string(fileIndex));
    record.set("chapter", base::Value::Dictionary { { "title", "" } });
    m_book->resources.asList()->push_back(std::move(record));
}

void EpubReader::readNcx(const ManifestItem& item)
{
    pugi::xml_document document;
    if (!loadOptionalXml(document, *m_state, item.path))
        return;
    std::string ncxDirectory = directoryOf(item.path);
    auto root = document.document_element();
    size_t depth = 0; // of the points being read; deeper points are left out
    std::function<std::vector<EPUBTOCEntryVO>(const pugi::xml_node&)> readPoints = [&](const pugi::xml_node& parent) {
        std::vector<EPUBTOCEntryVO> entries;
        if (depth >= maxContentsDepth)
            return entries;
        for (auto point : children(parent, "navPoint")) {
            ++m_navigationEntries;
            EPUBTOCEntryVO entry;
            entry.tocLabel = nodeText(child(child(point, "navLabel"), "text"));
            if (auto href = packageRelative(ncxDirectory, child(point, "content").attribute("src").value()))
                entry.src = *href;
            ++depth;
            entry.subEntries = readPoints(point);
            --depth;
            entries.push_back(std::move(entry));
        }
        return entries;
    };
    m_book->toc = readPoints(child(root, "navMap"));
    if (m_book->tocPageList.empty()) {
        for (auto target : children(child(root, "pageList"), "pageTarget")) {
            ++m_navigationEntries;
            auto href = packageRelative(ncxDirectory, child(target, "content").attribute("src").value());
            if (!href)
                continue;
            int64_t fileIndex = fileIndexOf(*href);
            if (fileIndex >= 0)
                m_book->tocPageList.push_back({ nodeText(child(child(target, "navLabel"), "text")), *href, fileIndex });
        }
    }
}

base::Result<void> EpubReader::readNavigation()
{
    for (const auto& item : m_manifest) {
        if (!item.remote && hasToken(item.properties, "nav")) {
            readNavDocument(item);
            break;
        }
    }
    if (m_book->toc.empty()) {
        auto ncx = m_manifestIndex.find(m_ncxID);
        if (ncx == m_manifestIndex.end()) {
            for (size_t index = 0; index < m_manifest.size(); ++index) {
                if (m_manifest[index].mediaType == "application/x-dtbncx+xml")
                    ncx = m_manifestIndex.find(m_manifest[index].id);
            }
        }
        if (ncx != m_manifestIndex.end() && !m_manifest[ncx->second].remote)
            readNcx(m_manifest[ncx->second]);
    }
    if (m_book->guides.empty())
        m_book->guides = m_packageGuide;
    const size_t maxEntries = m_state->budget.maxNavigationEntries;
    if (m_navigationEntries > maxEntries)
        return makeBookError(BookError::TooLarge, budgetExceededDescription("The navigation", m_navigationEntries,
                                                      "entries", maxEntries, "maxNavigationEntries"));

    // A chapter's title is the label of the first contents entry that points at it.
    std::function<void(const std::vector<EPUBTOCEntryVO>&)> name = [&](const std::vector<EPUBTOCEntryVO>& entries) {
        for (const auto& entry : entries) {
            auto chapter = m_book->chapterForHref(entry.src);
            if (chapter && chapter->title.empty())
                chapter->title = entry.tocLabel;
            name(entry.subEntries);
        }
    };
    name(m_book->toc);
    for (auto& resource : *m_book->resources.asList()) {
        auto chapter = m_book->chapterForHref(resource["href"].asString().value_or(""));
        resource.asDictionary()->set("chapter", base::Value::Dictionary { { "title", chapter ? chapter->title : "" } });
    }
    return {};
}

base::Result<std::shared_ptr<EpubBook>> EpubReader::read()
{
    m_book->path = m_folder;
    m_book->absolutePath = std::filesystem::absolute(m_folder).lexically_normal().string();
    auto package = packagePath();
    if (!package.ok())
        return package.error();
    if (auto result = readPackage(package.value()); !result.ok())
        return result.error();
    if (auto result = readChapters(); !result.ok())
        return result.error();
    if (auto result = readNavigation(); !result.ok())
        return result.error();
    m_book->title = m_book->meta.title;
    m_book->bookID = m_book->meta.identifier;
    m_book->isLectoroEpubThumbnailSupported = m_book->isFixedLayout();
    return m_book;
}

} // namespace

EpubBook::EpubBook(std::shared_ptr<EpubLoadState> state)
    : m_state(std::move(state))
{
}

const BookBudget& EpubBook::budget() const
{
    return m_state->budget;
}

const BookLoadCounters& EpubBook::counters() const
{
    return m_state->counters;
}

base::Result<EpubMeasurement> EpubBook::measure() const
{
    EpubMeasurement measurement;
    measurement.bookCFIs.reserve(chapters.size());
    const size_t maxPositions = m_state->budget.maxPositionsPerBook;
    for (const auto& chapter : chapters) {
        auto content = chapter->content();
        if (auto error = chapter->contentError())
            return *error;
        measurement.contentSize += static_cast<int64_t>(content->text.size());
        // Counted before the strings are made, so a hostile book stops before it costs memory.
        measurement.positionCount += std::max<size_t>(content->topLevelBlocks, 1);
        if (measurement.positionCount > maxPositions)
            return makeBookError(BookError::TooLarge, budgetExceededDescription("The book", measurement.positionCount,
                                                          "reading positions", maxPositions, "maxPositionsPerBook"));
        measurement.bookCFIs.push_back({ chapter->href, chapterPositions(*chapter) });
    }
    measurement.bookCFIArray.reserve(measurement.positionCount);
    for (const auto& entry : measurement.bookCFIs)
        measurement.bookCFIArray.insert(measurement.bookCFIArray.end(), entry.chapterCFIArray.begin(), entry.chapterCFIArray.end());
    return measurement;
}

void EpubBook::measureInBackground(MeasureDone done)
{
    if (m_measureState == MeasureState::Done) {
        if (done)
            done(m_measureError, m_contentSize);
        return;
    }
    if (done)
        m_waiting.push_back(std::move(done));
    if (m_measureState == MeasureState::Running)
        return;
    m_measureState = MeasureState::Running;
    base::globalQueue().async([self = shared_from_this()] {
        auto measured = self->measure();
        base::RunLoop::main().post([self, measured = std::move(measured)]() mutable { self->finishMeasuring(std::move(measured)); });
    });
}

void EpubBook::finishMeasuring(base::Result<EpubMeasurement> measured)
{
    m_measureState = MeasureState::Done;
    if (measured.ok()) {
        auto& measurement = measured.value();
        bookCFIArray = std::move(measurement.bookCFIArray);
        bookCFIs = std::move(measurement.bookCFIs);
        m_contentSize = measurement.contentSize;
        isBookContentLoaded = true;
    } else {
        m_measureError = measured.error();
    }
    auto waiting = std::move(m_waiting);
    m_waiting.clear();
    for (auto& done : waiting)
        done(m_measureError, m_contentSize);
}

base::Result<std::shared_ptr<EpubBook>> loadEpubBook(const std::string& bookFolder, const BookBudget& budget)
{
    std::error_code error;
    if (bookFolder.empty() || !std::filesystem::is_directory(bookFolder, error))
        return makeBookError(BookError::MissingFolder, "The book folder " + bookFolder + " does not exist");
    return EpubReader(bookFolder, budget).read();
}

} // namespace companion
