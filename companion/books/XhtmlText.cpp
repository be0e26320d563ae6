#include "companion/books/XhtmlText.h"

#include "companion/books/XmlTree.h"

#include "platform/base/Strings.h"

#include <pugixml.hpp>

#include <cctype>
#include <cstring>
#include <string>

namespace companion {

namespace {

bool isBlockElement(std::string_view name)
{
    static constexpr const char* blocks[] = { "p", "div", "section", "article", "aside", "header", "footer", "nav",
        "h1", "h2", "h3", "h4", "h5", "h6", "li", "ul", "ol", "dl", "dt", "dd", "blockquote", "pre", "table", "tr",
        "td", "th", "figure", "figcaption", "br", "hr" };
    for (const char* block : blocks) {
        if (name == block)
            return true;
    }
    return false;
}

// 1 to 6 for h1 to h6, else 0.
int headingLevel(std::string_view name)
{
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6')
        return name[1] - '0';
    return 0;
}

bool isSkippedElement(std::string_view name)
{
    return name == "script" || name == "style" || name == "head" || name == "title";
}

// Element names without a namespace prefix ("html:p" is "p"), lower-cased.
std::string localName(const char* name)
{
    std::string_view view(name);
    auto colon = view.find(':');
    if (colon != std::string_view::npos)
        view = view.substr(colon + 1);
    return base::lowercase(view);
}

class TextBuilder {
public:
    void appendText(std::string_view text)
    {
        for (unsigned char c : text) {
            bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
            if (space) {
                m_pendingSpace = !m_result.text.empty();
                continue;
            }
            if (m_pendingBreak && !m_result.text.empty())
                m_result.text += '\n';
            else if (m_pendingSpace && !m_result.text.empty())
                m_result.text += ' ';
            m_pendingBreak = m_pendingSpace = false;
            m_result.text += static_cast<char>(c);
        }
    }

    void breakLine() { m_pendingBreak = true; }

    // Where content written next starts: after any separator still to be written.
    size_t nextOffset() const
    {
        size_t offset = m_result.text.size();
        if (!m_result.text.empty() && (m_pendingBreak || m_pendingSpace))
            offset += 1;
        return offset;
    }

    void anchor(std::string id) { m_result.anchors.emplace_back(std::move(id), nextOffset()); }

    void walk(const pugi::xml_node& body)
    {
        walkXmlTree(
            body,
            [&](const pugi::xml_node& child, size_t depthBelowBody) {
                if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                    appendText(child.value());
                    return false;
                }
                if (child.type() != pugi::node_element)
                    return false;
                std::string name = localName(child.name());
                if (isSkippedElement(name))
                    return false;
                if (isBlockElement(name)) {
                    breakLine();
                    if (depthBelowBody == 0) {
                        ++m_result.topLevelBlocks;
                        m_result.blockStarts.push_back(nextOffset());
                    }
                }
                if (auto id = child.attribute("id"); id && *id.value())
                    anchor(id.value());
                if (int level = headingLevel(name); level > 0)
                    beginHeading(level);
                return true;
            },
            [&](const pugi::xml_node& element, size_t) {
                std::string name = localName(element.name());
                if (headingLevel(name) > 0)
                    closeHeading();
                if (isBlockElement(name))
                    breakLine();
            });
    }

    XhtmlText finish() { return std::move(m_result); }

    // A heading opens where its text will start and closes after its last character.
    void beginHeading(int level)
    {
        if (m_headingDepth++ == 0)
            m_headingStart = { nextOffset(), level };
    }
    void closeHeading()
    {
        if (m_headingDepth == 0 || --m_headingDepth > 0)
            return;
        if (m_result.text.size() > m_headingStart.first)
            m_result.headings.push_back({ m_headingStart.first, m_result.text.size(), m_headingStart.second });
    }

private:
    XhtmlText m_result;
    size_t m_headingDepth = 0;
    std::pair<size_t, int> m_headingStart { 0, 0 };
    bool m_pendingSpace = false;
    bool m_pendingBreak = false;
};

pugi::xml_node findBody(const pugi::xml_document& document)
{
    for (auto node : document.select_nodes("//*")) {
        if (localName(node.node().name()) == "body")
            return node.node();
    }
    return document.document_element();
}

// HTML's named entities that XML does not know; XML would keep them as literal text.
std::string replaceHtmlEntities(std::string_view document)
{
    static constexpr std::pair<const char*, const char*> entities[] = { { "&nbsp;", "\xC2\xA0" },
        { "&mdash;", "\xE2\x80\x94" }, { "&ndash;", "\xE2\x80\x93" }, { "&hellip;", "\xE2\x80\xA6" },
        { "&copy;", "\xC2\xA9" }, { "&rsquo;", "\xE2\x80\x99" }, { "&lsquo;", "\xE2\x80\x98" },
        { "&ldquo;", "\xE2\x80\x9C" }, { "&rdquo;", "\xE2\x80\x9D" } };
    std::string result;
    result.reserve(document.size());
    size_t index = 0;
    while (index < document.size()) {
        if (document[index] == '&') {
            bool replaced = false;
            for (auto [entity, utf8] : entities) {
                size_t length = std::strlen(entity);
                if (document.substr(index, length) == entity) {
                    result += utf8;
                    index += length;
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        result += document[index++];
    }
    return result;
}

bool isVoidElement(std::string_view name)
{
    static constexpr const char* voids[] = { "br", "hr", "img", "meta", "link", "input", "col", "area", "base", "wbr", "source" };
    for (const char* candidate : voids) {
        if (name == candidate)
            return true;
    }
    return false;
}

std::string tagName(std::string_view tag, size_t from)
{
    std::string name;
    for (size_t at = from; at < tag.size() && std::isalnum(static_cast<unsigned char>(tag[at])); ++at)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(tag[at])));
    return name;
}

// HTML void elements written without a closing slash are the common reason a chapter fails
// to parse: close them, and drop stray end tags of void elements.
std::string closeVoidElements(std::string_view document)
{
    std::string repaired;
    repaired.reserve(document.size() + 64);
    size_t index = 0;
    while (index < document.size()) {
        auto open = document.find('<', index);
        repaired += document.substr(index, open == std::string_view::npos ? std::string_view::npos : open - index);
        if (open == std::string_view::npos)
            break;
        auto end = document.find('>', open);
        if (end == std::string_view::npos) {
            repaired += document.substr(open);
            break;
        }
        std::string_view tag = document.substr(open, end - open + 1);
        index = end + 1;
        if (tag.size() > 2 && tag[1] == '/') {
            if (!isVoidElement(tagName(tag, 2)))
                repaired += tag;
            continue;
        }
        if (isVoidElement(tagName(tag, 1)) && tag[tag.size() - 2] != '/') {
            repaired += tag.substr(0, tag.size() - 1);
            repaired += "/>";
            continue;
        }
        repaired += tag;
    }
    return repaired;
}

// The last resort: drop tags, keep text, treat closing block tags as line breaks.
XhtmlText stripTags(std::string_view document)
{
    TextBuilder builder;
    size_t index = 0;
    auto bodyStart = document.find("<body");
    if (bodyStart != std::string_view::npos)
        index = bodyStart;
    while (index < document.size()) {
        auto open = document.find('<', index);
        builder.appendText(document.substr(index, open == std::string_view::npos ? std::string_view::npos : open - index));
        if (open == std::string_view::npos)
            break;
        auto close = document.find('>', open);
        if (close == std::string_view::npos)
            break;
        std::string name;
        size_t at = open + 1;
        if (at < close && document[at] == '/')
            ++at;
        for (; at < close && std::isalnum(static_cast<unsigned char>(document[at])); ++at)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(document[at])));
        if (name == "script" || name == "style") {
            auto end = document.find("</" + name, close);
            index = end == std::string_view::npos ? document.size() : end;
            continue;
        }
        if (int level = headingLevel(name); level > 0) {
            if (document[open + 1] == '/')
                builder.closeHeading();
            else
                builder.beginHeading(level);
        }
        if (isBlockElement(name))
            builder.breakLine();
        index = close + 1;
    }
    return builder.finish();
}

} // namespace

XhtmlText extractXhtmlText(std::string_view document)
{
    std::string source = replaceHtmlEntities(document);
    pugi::xml_document parsed;
    unsigned options = pugi::parse_default | pugi::parse_ws_pcdata;
    auto result = parsed.load_buffer(source.data(), source.size(), options, pugi::encoding_utf8);
    if (!result) {
        source = closeVoidElements(source);
        result = parsed.load_buffer(source.data(), source.size(), options, pugi::encoding_utf8);
        if (!result)
            return stripTags(source);
    }
    TextBuilder builder;
    builder.walk(findBody(parsed));
    return builder.finish();
}

} // namespace companion
