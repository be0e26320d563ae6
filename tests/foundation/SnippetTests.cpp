#include "FoundationTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

namespace lectoro {
namespace {

const ui::Color hitColor = ui::Color::fromRGBA(1, 0, 0);
const ui::Color textColor = ui::Color::fromRGBA(0, 0, 0);

// The UTF-16 ranges that carry the hit colour.
std::vector<std::pair<size_t, size_t>> colouredRanges(const base::AttributedString& snippet)
{
    std::vector<std::pair<size_t, size_t>> ranges;
    for (auto& run : snippet.runs()) {
        if (run.attributes.foregroundColor == IconFontConstants::colorAttr(hitColor))
            ranges.emplace_back(run.range.location, run.range.length);
    }
    return ranges;
}

TEST(SnippetTest, CutAndEndings)
{
    struct Case {
        std::string text;
        std::string expectedEnd;
        size_t expectedLength;
    };
    std::string filler(296, 'a');
    const Case cases[] = {
        // Exactly 300 units: whole, no dots.
        { std::string(300, 'a'), "aaa", 300 },
        // Cut after a full stop: that one mark, not four dots.
        { filler + "end.x", "end.", 300 },
        { filler + "end?x", "end?", 300 },
        { filler + "end\"x", "end\"", 300 },
        { filler + "end!x", "end!", 300 },
        // Cut inside a word: three dots.
        { std::string(301, 'b'), "bbb...", 303 },
        // White space at the cut goes before the dots are added.
        { std::string(298, 'c') + "  x", "cc...", 301 },
        // A cut that would split a surrogate pair keeps 299 units.
        { std::string(299, 'd') + "\xF0\x9F\x98\x80" + "tail", "ddd...", 302 },
    };
    for (auto& c : cases) {
        auto text = IconFontConstants::snippetText(c.text);
        EXPECT_TRUE(base::hasSuffix(text, c.expectedEnd)) << text.substr(text.size() > 10 ? text.size() - 10 : 0);
        EXPECT_EQ(base::utf16Length(text), c.expectedLength);
        EXPECT_EQ(base::utf16ToUtf8(base::utf8ToUtf16(text)), text) << "no broken character";
    }
    // Dots inside the kept text collapse too.
    EXPECT_EQ(IconFontConstants::snippetText("one.... two " + std::string(300, 'e')).substr(0, 8), "one. two");
}

TEST(SnippetTest, CaseInsensitiveHits)
{
    testing::FoundationScope scope;
    auto snippet = IconFontConstants::getNSAttributedCoreTextStringFromDisplayString("Cat concatenates", "cat", hitColor, textColor);
    EXPECT_EQ(colouredRanges(snippet), (std::vector<std::pair<size_t, size_t>> { { 0, 3 }, { 7, 3 } }));
    auto none = IconFontConstants::getNSAttributedCoreTextStringFromDisplayString("Cat", "", hitColor, textColor);
    EXPECT_TRUE(colouredRanges(none).empty());

    auto attributes = snippet.attributesAt(4);
    ASSERT_TRUE(attributes.paragraphStyle);
    EXPECT_EQ(attributes.paragraphStyle->lineSpacing, 4.0);
    EXPECT_EQ(attributes.paragraphStyle->lineBreakMode, base::LineBreakMode::ByTruncatingTail);
}

TEST(SnippetTest, WholeWordHits)
{
    testing::FoundationScope scope;
    auto snippet = IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString("a Cat and a cat sat", "cat", hitColor, textColor);
    EXPECT_EQ(colouredRanges(snippet), (std::vector<std::pair<size_t, size_t>> { { 11, 5 } }));
    auto edges = IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString("cat, a cat. cat", " \tcat ", hitColor, textColor);
    EXPECT_TRUE(colouredRanges(edges).empty());
    auto doubled = IconFontConstants::getCaseSensitiveNSAttributedCoreTextStringFromDisplayString("the big  dog and the big dog too", "big  dog", hitColor, textColor);
    EXPECT_EQ(colouredRanges(doubled), (std::vector<std::pair<size_t, size_t>> { { 20, 9 } }));
}

TEST(SnippetTest, FontsAndFallback)
{
    testing::FoundationScope scope;
    ui::EnvironmentScope environment;
    MVFontManagerHelper::getInstance().resetForTesting();
    ui::FontRegistry::shared().resetForTesting();
    base::Bundle::setLibraryBundlePath(scope.folder() / "no-fonts");

    auto fallback = IconFontConstants::getNSAttributedCoreTextStringFromDisplayString("text", "x", hitColor, textColor);
    EXPECT_EQ(fallback.attributesAt(0).font, (base::FontAttr { "HelveticaNeue-Italic", 14.0, 400 }));

    ui::FontRegistry::shared().registerFaceName("OpenSans-Regular");
    ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
    auto pad = IconFontConstants::getNSAttributedCoreTextStringFromDisplayString("text", "x", hitColor, textColor);
    EXPECT_EQ(pad.attributesAt(0).font->name, "OpenSans-Regular");
    EXPECT_EQ(pad.attributesAt(0).font->size, 18.0);
    EXPECT_EQ(pad.attributesAt(0).paragraphStyle->lineSpacing, 6.0);

    auto given = IconFontConstants::getNSAttributedCoreTextStringFromDisplayString("a text", "TEXT", hitColor, textColor, ui::Font("Given", 11));
    EXPECT_EQ(given.attributesAt(0).font->name, "Given");
    EXPECT_EQ(given.attributesAt(0).paragraphStyle->lineSpacing, 4.0);
    EXPECT_EQ(colouredRanges(given), (std::vector<std::pair<size_t, size_t>> { { 2, 4 } }));

    MVFontManagerHelper::getInstance().resetForTesting();
    ui::FontRegistry::shared().resetForTesting();
}

} // namespace
} // namespace lectoro
