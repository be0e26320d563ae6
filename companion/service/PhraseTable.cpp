#include "companion/service/PhraseTable.h"

#include "platform/base/Strings.h"

#include <algorithm>
#include <array>

namespace companion::phrases {

namespace {

constexpr size_t languageCount = 5;
using Row = std::array<const char*, languageCount>;

// Columns in the order of languages().
const std::vector<Row>& table()
{
    static const std::vector<Row> rows {
        { "hello", "bonjour", "hallo", "hola", "\u0645\u0631\u062D\u0628\u0627" },
        { "good night", "bonne nuit", "gute nacht", "buenas noches", "\u062A\u0635\u0628\u062D \u0639\u0644\u0649 \u062E\u064A\u0631" },
        { "thank you", "merci", "danke", "gracias", "\u0634\u0643\u0631\u0627" },
        { "the book", "le livre", "das buch", "el libro", "\u0627\u0644\u0643\u062A\u0627\u0628" },
        { "water", "eau", "wasser", "agua", "\u0645\u0627\u0621" },
        { "cat", "chat", "katze", "gato", "\u0642\u0637\u0629" },
        { "friend", "ami", "freund", "amigo", "\u0635\u062F\u064A\u0642" },
        { "read", "lire", "lesen", "leer", "\u0627\u0642\u0631\u0623" },
    };
    return rows;
}

std::optional<size_t> columnOf(std::string_view code)
{
    const auto& all = languages();
    for (size_t i = 0; i < all.size(); ++i) {
        if (code == all[i].code)
            return i;
    }
    return std::nullopt;
}

std::string lowerASCII(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lowered;
}

struct Word {
    std::string original;
    std::string core;
    std::string trailing;
};

std::vector<Word> wordsOf(std::string_view text)
{
    std::vector<Word> words;
    for (const auto& piece : base::split(text, " ")) {
        if (piece.empty())
            continue;
        size_t end = piece.size();
        while (end > 0 && std::string_view(".,!?").find(piece[end - 1]) != std::string_view::npos)
            --end;
        words.push_back({ piece, lowerASCII(piece.substr(0, end)), piece.substr(end) });
    }
    return words;
}

// The row whose phrase in `column` is words[start, start + length), if any.
std::optional<size_t> rowAt(const std::vector<Word>& words, size_t start, size_t length, size_t column)
{
    if (start + length > words.size())
        return std::nullopt;
    std::string phrase;
    for (size_t i = start; i < start + length; ++i) {
        if (words[i].core.empty())
            return std::nullopt;
        if (!phrase.empty())
            phrase += ' ';
        phrase += words[i].core;
    }
    const auto& rows = table();
    for (size_t row = 0; row < rows.size(); ++row) {
        if (phrase == rows[row][column])
            return row;
    }
    return std::nullopt;
}

struct Match {
    size_t start;
    size_t length;
    size_t row;
};

// Known phrases of the language, longest first from left to right.
std::vector<Match> matchesIn(const std::vector<Word>& words, size_t column)
{
    std::vector<Match> matches;
    size_t i = 0;
    while (i < words.size()) {
        bool found = false;
        for (size_t length = 3; length >= 1 && !found; --length) {
            if (auto row = rowAt(words, i, length, column)) {
                matches.push_back({ i, length, *row });
                i += length;
                found = true;
            }
        }
        if (!found)
            ++i;
    }
    return matches;
}

bool hasArabicLetters(std::string_view text)
{
    // UTF-8 lead bytes 0xD8 to 0xDB start the Arabic block (U+0600 to U+06FF).
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte >= 0xD8 && byte <= 0xDB;
    });
}

} // namespace

const std::vector<Language>& languages()
{
    static const std::vector<Language> all {
        { "en", "English" },
        { "fr", "French" },
        { "de", "German" },
        { "es", "Spanish" },
        { "ar", "Arabic" },
    };
    return all;
}

bool isKnownLanguage(std::string_view code)
{
    return columnOf(code).has_value();
}

std::optional<std::string> detectLanguage(std::string_view text)
{
    auto words = wordsOf(text);
    size_t best = 0;
    std::optional<size_t> bestColumn;
    for (size_t column = 0; column < languageCount; ++column) {
        size_t count = matchesIn(words, column).size();
        if (count > best) {
            best = count;
            bestColumn = column;
        }
    }
    if (bestColumn)
        return languages()[*bestColumn].code;
    if (hasArabicLetters(text))
        return "ar";
    return std::nullopt;
}

std::string translate(std::string_view text, std::string_view sourceCode, std::string_view targetCode)
{
    auto source = columnOf(sourceCode);
    auto target = columnOf(targetCode);
    if (!source || !target || *source == *target)
        return std::string(text);
    auto words = wordsOf(text);
    auto matches = matchesIn(words, *source);
    std::string result;
    size_t next = 0;
    auto append = [&](const std::string& piece) {
        if (!result.empty())
            result += ' ';
        result += piece;
    };
    for (size_t i = 0; i < words.size();) {
        if (next < matches.size() && matches[next].start == i) {
            const Match& match = matches[next++];
            append(table()[match.row][*target] + words[i + match.length - 1].trailing);
            i += match.length;
        } else {
            append(words[i].original);
            ++i;
        }
    }
    return result;
}

} // namespace companion::phrases
