#include "companion/books/EpubBookLoader.h"

#include "companion/books/BookErrors.h"
#include "companion/books/BookPaths.h"
#include "companion/books/XhtmlText.h"
#include "companion/books/XmlTree.h"

#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <filesystem>
#include <functional>
#include <unordered_map>

namespace companion {

using namespace lectoro;

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

std::string_view localName(const char* name)
{
    std::string_view view(name);
    auto colon = view.find(':');
    return colon == std::string_view::npos ? view : view.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name)
{
    for (auto candidate : node.children()) {
        if (candidate.type() == pugi::node_element && localName(candidate.name()) == name)
            return candidate;
    }
    return {};
}

std::vector<pugi::xml_node> children(const pugi::xml_node& node, std::string_view name)
{
    std::vector<pugi::xml_node> result;
    for (auto candidate : node.children()) {
        if (candidate.type() == pugi::node_element && localName(candidate.name()) == name)
            result.push_back(candidate);
    }
    return result;
}

void collectDescendants(const pugi::xml_node& node, std::string_view name, std::vector<pugi::xml_node>& into)
{
    walkXmlTree(node, [&](const pugi::xml_node& candidate, size_t) {
        if (candidate.type() != pugi::node_element)
            return false;
        if (localName(candidate.name()) == name)
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
bool loadOptionalXml(pugi::xml_document& document, const std::string& folder, const std::string& path)
{
    auto content = readBookFile(folder, path);
    if (!content.ok())
        return false;
    const auto& text = content.value();
    return bool(document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto));
}

class EpubReader {
public:
    explicit EpubReader(std::string folder) : m_folder(std::move(folder)) { }

    base::Result<std::shared_ptr<EPUBBookVO>> read();

private:
    base::Result<std::string> packagePath();
    base::Result<void> readPackage(const std::string& packagePath);
    base::Result<void> readChapters();
    void readNavigation();
    void readNavDocument(const ManifestItem&);
    void readNcx(const ManifestItem&);
    std::optional<std::string> packageRelative(const std::string& baseDirectory, const std::string& href) const;
    int64_t fileIndexOf(const std::string& packageRelativeHref) const;

    std::string m_folder;
    std::shared_ptr<EPUBBookVO> m_book = std::make_shared<EPUBBookVO>();
    std::string m_packageDirectory;
    std::vector<ManifestItem> m_manifest;
    std::unordered_map<std::string, size_t> m_manifestIndex;
    std::vector<std::pair<std::string, bool>> m_spine;
    std::string m_ncxID;
    std::vector<EPUBGuideVO> m_packageGuide;
};

base::Result<std::string> EpubReader::packagePath()
{
    auto container = readBookFile(m_folder, epubContainerPath);
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
    auto content = readBookFile(m_folder, packagePath);
    if (!content.ok())
        return content.error();
    pugi::xml_document document;
    auto parsed = parseXml(document, content.value(), "the package document");
    if (!parsed.ok())
        return parsed.error();
    auto package = document.document_element();
    if (localName(package.name()) != "package")
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
        auto name = localName(entry.name());
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
    for (auto itemref : children(spine, "itemref")) {
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
    for (size_t index = 0; index < m_spine.size(); ++index) {
        const auto& item = m_manifest[m_manifestIndex[m_spine[index].first]];
        if (item.remote)
            return malformed("the spine item " + item.id + " is not in the book folder");
        auto content = readBookFile(m_folder, item.path);
        if (!content.ok())
            return content.error();
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = static_cast<int64_t>(index);
        chapter->idref = item.id;
        chapter->href = relativeTo(m_packageDirectory, item.path);
        chapter->absolutePath = absoluteBookPath(m_book->absolutePath, item.path);
        chapter->mediaType = item.mediaType;
        chapter->linear = m_spine[index].second;
        chapter->isAudioSyncSupported = !item.mediaOverlay.empty();
        auto extracted = extractXhtmlText(content.value());
        chapter->text = std::move(extracted.text);
        chapter->anchors = std::move(extracted.anchors);
        // Position identifiers: one per block directly under <body>.
        std::string spineStep = "/6/" + std::to_string(2 * (index + 1)) + "[" + item.id + "]!/4";
        size_t blocks = std::max<size_t>(extracted.topLevelBlocks, 1);
        for (size_t block = 1; block <= blocks; ++block)
            chapter->chapterCFIArray.push_back("epubcfi(" + spineStep + "/" + std::to_string(2 * block) + ")");
        m_book->bookCFIs.push_back({ chapter->href, chapter->chapterCFIArray });
        m_book->bookCFIArray.insert(m_book->bookCFIArray.end(), chapter->chapterCFIArray.begin(), chapter->chapterCFIArray.end());
        m_book->isAudioSyncSupported = m_book->isAudioSyncSupported || chapter->isAudioSyncSupported;
        m_book->chapters.push_back(std::move(chapter));
    }
    return {};
}

void EpubReader::readNavDocument(const ManifestItem& item)
{
    pugi::xml_document document;
    if (!loadOptionalXml(document, m_folder, item.path))
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
            for (const auto& anchor : anchors) {
                auto href = packageRelative(navDirectory, anchor.attribute("href").value());
                if (!href)
                    continue;
                int64_t fileIndex = fileIndexOf(*href);
                if (fileIndex >= 0)
                    m_book->tocPageList.push_back({ nodeText(anchor), *href, fileIndex });
            }
        } else if (hasToken(type, "landmarks")) {
            std::vector<pugi::xml_node> anchors;
            collectDescendants(list, "a", anchors);
            for (const auto& anchor : anchors) {
                if (auto href = packageRelative(navDirectory, anchor.attribute("href").value()))
                    m_book->guides.push_back({ *href, anchor.attribute("epub:type").value(), nodeText(anchor) });
            }
        }
    }
}

void EpubReader::readNcx(const ManifestItem& item)
{
    pugi::xml_document document;
    if (!loadOptionalXml(document, m_folder, item.path))
        return;
    std::string ncxDirectory = directoryOf(item.path);
    auto root = document.document_element();
    size_t depth = 0; // of the points being read; deeper points are left out
    std::function<std::vector<EPUBTOCEntryVO>(const pugi::xml_node&)> readPoints = [&](const pugi::xml_node& parent) {
        std::vector<EPUBTOCEntryVO> entries;
        if (depth >= maxContentsDepth)
            return entries;
        for (auto point : children(parent, "navPoint")) {
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
            auto href = packageRelative(ncxDirectory, child(target, "content").attribute("src").value());
            if (!href)
                continue;
            int64_t fileIndex = fileIndexOf(*href);
            if (fileIndex >= 0)
                m_book->tocPageList.push_back({ nodeText(child(child(target, "navLabel"), "text")), *href, fileIndex });
        }
    }
}

void EpubReader::readNavigation()
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
}

base::Result<std::shared_ptr<EPUBBookVO>> EpubReader::read()
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
    readNavigation();
    m_book->title = m_book->meta.title;
    m_book->bookID = m_book->meta.identifier;
    m_book->isLectoroEpubThumbnailSupported = m_book->isFixedLayout();
    m_book->isBookContentLoaded = true;
    return m_book;
}

} // namespace

base::Result<std::shared_ptr<EPUBBookVO>> loadEpubBook(const std::string& bookFolder)
{
    std::error_code error;
    if (bookFolder.empty() || !std::filesystem::is_directory(bookFolder, error))
        return makeBookError(BookError::MissingFolder, "The book folder " + bookFolder + " does not exist");
    return EpubReader(bookFolder).read();
}

} // namespace companion
