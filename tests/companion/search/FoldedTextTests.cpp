#include "companion/search/FoldedText.h"

#include <gtest/gtest.h>

namespace {

using companion::findFolded;
using companion::foldForSearch;

std::vector<std::string> matchedSource(const std::string& text, const std::string& word)
{
    std::vector<std::string> found;
    for (const auto& match : findFolded(foldForSearch(text), foldForSearch(word).folded))
        found.push_back(text.substr(match.start, match.end - match.start));
    return found;
}

TEST(FoldedText, MatchesMapBackToTheCharactersTheyCameFrom)
{
    struct Case {
        const char* text;
        const char* word;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        { "The WATER and the water", "Water", { "WATER", "water" } },
        { "une \xC3\x89" "COLE pr\xC3\xA8s", "ecole", { "\xC3\x89" "COLE" } }, // a two-byte letter folds to one byte
        { "a \xEF\xAC\x81ne day", "fine", { "\xEF\xAC\x81ne" } }, // one ligature folds to two letters
        { "a \xEF\xAC\x81ne day", "ine", { "\xEF\xAC\x81ne" } }, // a match inside a ligature takes all of it
        { "north  \n\t wind", "north wind", { "north  \n\t wind" } },
        { "tide\xC2\xA0pool, tide pool", "tide pool", { "tide\xC2\xA0pool", "tide pool" } },
        { "bad \xFF byte then gull", "gull", { "gull" } },
        { "gull gull", "", {} },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        EXPECT_EQ(matchedSource(testCase.text, testCase.word), testCase.expected);
    }
}

TEST(FoldedText, PlainTextCostsAboutOneBytePerByte)
{
    std::string text;
    while (text.size() < 200'000)
        text += "The Keeper trims the lamp at dusk; the harbour is calm.\n";
    auto folded = foldForSearch(text);
    EXPECT_EQ(folded.spans.size(), 1u);
    EXPECT_LE(folded.memoryBytes(), text.size() + 64);
}

} // namespace
