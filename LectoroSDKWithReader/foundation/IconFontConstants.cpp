#include "LectoroSDKWithReader/foundation/IconFontConstants.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "LectoroSDKWithReader/readersdk/utilities/SDKUtility.h"
#include "platform/base/Bundle.h"
#include "platform/base/Error.h"
#include "platform/base/Strings.h"

namespace lectoro {

namespace {

constexpr const char* fallbackFaceName = "HelveticaNeue-Italic";
constexpr double fallbackFaceSize = 14.0;

int weightValue(ui::FontWeight weight)
{
    switch (weight) {
    case ui::FontWeight::UltraLight: return 100;
    case ui::FontWeight::Thin: return 200;
    case ui::FontWeight::Light: return 300;
    case ui::FontWeight::Regular: return 400;
    case ui::FontWeight::Medium: return 500;
    case ui::FontWeight::Semibold: return 600;
    case ui::FontWeight::Bold: return 700;
    case ui::FontWeight::Heavy: return 800;
    case ui::FontWeight::Black: return 900;
    }
    return 400;
}

base::FontAttr fallbackFont()
{
    return base::FontAttr { fallbackFaceName, fallbackFaceSize, 400 };
}

// The reader's regular face at the snippet size, or the fallback face.
base::FontAttr snippetFont()
{
    if (auto font = getCustomFont(isIpad() ? 18.0 : 14.0))
        return IconFontConstants::fontAttr(*font);
    return fallbackFont();
}

base::AttributedString styledText(const std::string& text, const base::FontAttr& font, double lineSpacing, const ui::Color& textColor)
{
    base::TextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = IconFontConstants::colorAttr(textColor);
    base::ParagraphStyleAttr paragraph;
    paragraph.lineSpacing = lineSpacing;
    paragraph.lineBreakMode = base::LineBreakMode::ByTruncatingTail;
    attributes.paragraphStyle = paragraph;
    return base::AttributedString(text, attributes);
}

// Calls the visitor for every case-insensitive occurrence, searching on after each one.
template<class Visitor>
void forEachOccurrence(const std::string& text, const std::string& word, Visitor&& visit)
{
    if (word.empty())
        return;
    size_t length = base::utf16Length(text);
    size_t from = 0;
    while (from < length) {
        auto rest = base::utf16Substring(text, from, length - from);
        auto found = base::rangeOfCaseInsensitive(rest, word);
        if (!found || found->length == 0)
            return;
        base::Range hit { from + found->location, found->length };
        visit(hit);
        from = hit.end();
    }
}

void colourHits(base::AttributedString& snippet, const std::string& word, const base::FontAttr& font, const ui::Color& searchTextColor)
{
    const std::string& text = snippet.string();
    forEachOccurrence(text, word, [&](base::Range hit) {
        snippet.addFont(hit, font);
        snippet.addForegroundColor(hit, IconFontConstants::colorAttr(searchTextColor));
    });
}

} // namespace

base::FontAttr IconFontConstants::fontAttr(const ui::Font& font)
{
    return base::FontAttr { font.name(), font.pointSize(), weightValue(font.weight()) };
}

base::ColorAttr IconFontConstants::colorAttr(const ui::Color& color)
{
    return base::ColorAttr { color.redComponent(), color.greenComponent(), color.blueComponent(), color.alpha() };
}

std::string IconFontConstants::getFontForCharacter(const std::string&)
{
    auto fileName = MVLectoroFontManager::getFontName();
    if (base::Bundle::main().pathForResource(fileName, "ttf"))
        return fileName;
    auto error = base::Error::make(SDKUtility::getSDKDomain(), 2, LocalizationHelper::localizedStringWithKey("FONT_FILE_MISSING"));
    debugLog(0, "IconFontConstants", error.description());
    return {};
}

std::string IconFontConstants::snippetText(const std::string& displayString)
{
    size_t length = base::utf16Length(displayString);
    if (length < snippetLength)
        return displayString;
    // The cut moves before a surrogate pair it would split, so it may keep 299 units.
    std::string text = base::utf16Substring(displayString, 0, snippetLength);
    if (length <= base::utf16Length(text))
        return text;
    text = base::trimWhitespaceAndNewlines(text) + "...";
    text = base::replaceAll(text, "....", ".");
    text = base::replaceAll(text, "?...", "?");
    text = base::replaceAll(text, "\"...", "\"");
    text = base::replaceAll(text, "!...", "!");
    return text;
}

base::AttributedString IconFontConstants::getNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
    const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor)
{
    auto font = snippetFont();
    auto snippet = styledText(snippetText(displayString), font, isIpad() ? 6.0 : 4.0, textColor);
    colourHits(snippet, searchString, snippetFont(), searchTextColor);
    return snippet;
}

base::AttributedString IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
    const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor)
{
    auto font = snippetFont();
    auto snippet = styledText(snippetText(displayString), font, isIpad() ? 6.0 : 4.0, textColor);

    // Spaces and tabs only: a word never spans a line break anyway.
    size_t first = searchString.find_first_not_of(" \t");
    size_t last = searchString.find_last_not_of(" \t");
    std::string trimmed = first == std::string::npos ? std::string() : searchString.substr(first, last - first + 1);
    std::string word(1, ' ');
    word.append(base::replaceAll(trimmed, "  ", " "));
    word.push_back(' ');

    const std::string text = snippet.string();
    auto hitFont = snippetFont();
    forEachOccurrence(text, word, [&](base::Range hit) {
        if (base::utf16Substring(text, hit) != word)
            return;
        snippet.addFont(hit, hitFont);
        snippet.addForegroundColor(hit, colorAttr(searchTextColor));
    });
    return snippet;
}

base::AttributedString IconFontConstants::getNSAttributedCoreTextStringFromDisplayString(const std::string& displayString,
    const std::string& searchString, const ui::Color& searchTextColor, const ui::Color& textColor,
    const std::optional<ui::Font>& font)
{
    auto face = font ? fontAttr(*font) : fallbackFont();
    auto snippet = styledText(snippetText(displayString), face, 4.0, textColor);
    colourHits(snippet, searchString, face, searchTextColor);
    return snippet;
}

} // namespace lectoro
