#include "companion/books/PageBookMarkups.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVTBXML.h"
#include "companion/SampleBooks.h"
#include "companion/books/BookErrors.h"
#include "companion/books/PageBookLoader.h"
#include "companion/books/XmlTree.h"

#include <gtest/gtest.h>

#include <set>

using namespace lectoro;

namespace {

std::vector<std::string> titles(const base::Value& nodes)
{
    std::vector<std::string> result;
    if (const auto* list = nodes.asList()) {
        for (const auto& node : *list)
            result.push_back(node["title"].description());
    }
    return result;
}

std::string descriptorWith(const std::string& extra)
{
    return "<ebook><chapters><chapter id=\"1\"><page id=\"1\"/></chapter></chapters>" + extra + "</ebook>";
}

} // namespace

TEST(PageBookMarkups, TheSampleCarriesEveryLinkType)
{
    auto book = companiontest::loadSample<PXBookVO>("sample-pagebook");
    ASSERT_TRUE(book);
    std::set<int32_t> types;
    for (const auto& [key, link] : book->links)
        types.insert(link->linkType);
    for (int32_t type = 1; type <= 26; ++type) {
        EXPECT_TRUE(types.count(type)) << "link type " << type;
        EXPECT_FALSE(companion::linkTypeName(type).empty());
    }
    EXPECT_TRUE(companion::linkTypeName(27).empty());
}

TEST(PageBookMarkups, MultiLinkMembersGroupByTheirAnchorWithTheSameObjectsEachTime)
{
    auto book = companiontest::loadSample<PXBookVO>("sample-pagebook");
    ASSERT_TRUE(book);
    const auto& first = book->getLinksForForPagenumber(108);
    const auto& second = book->getLinksForForPagenumber(108);
    ASSERT_EQ(first.size(), 4u);
    for (size_t index = 0; index < first.size(); ++index)
        EXPECT_EQ(first[index].get(), second[index].get());
    // Views the reader hangs on a link are found again through any way to it.
    EXPECT_EQ(book->pages.at("108")->links.at("1083").get(), first[2].get());

    auto groups = companion::multiLinkGroups(first);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].key, "700_160");
    ASSERT_EQ(groups[0].members.size(), 3u);
    EXPECT_EQ(groups[0].members[0]->linkID, 1081);
    EXPECT_EQ(groups[0].members[2]->linkID, 1083);
    EXPECT_EQ(groups[1].key, "80_900");
    ASSERT_EQ(groups[1].members.size(), 1u);
    EXPECT_EQ(groups[1].members[0]->linkID, 1084);
    EXPECT_TRUE(companion::multiLinkGroups(book->getLinksForForPagenumber(103)).empty());
}

TEST(PageBookMarkups, AnswersDropDownsGlossaryAndStandards)
{
    auto book = companiontest::loadSample<PXBookVO>("sample-pagebook");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->links.at("1051")->answer, "full##heavy");
    EXPECT_TRUE(book->links.at("1111")->isMathKeyboardEnabled);
    EXPECT_EQ(companion::dropDownItems(*book->links.at("1052")),
        (std::vector<std::string> { "warms", "cools", "stops" }));
    EXPECT_EQ(companion::dropDownItems(*book->links.at("1112")), (std::vector<std::string> { "up", "down" }));
    EXPECT_TRUE(companion::dropDownItems(*book->links.at("1051")).empty());
    EXPECT_TRUE(book->links.at("1071")->isInLine);
    EXPECT_EQ(book->links.at("1061")->propertyValue("instruction"),
        "Ask the class to compare a snowflake and a raindrop.");

    const auto* media = book->glossary["evaporation"]["media"].asList();
    ASSERT_TRUE(media);
    ASSERT_EQ(media->size(), 2u);
    EXPECT_EQ(media->at(0)["kind"], base::Value(0));
    EXPECT_EQ(media->at(1)["path"], base::Value("assets/media/evaporation.jpg"));

    // The flat TEKS resource, then the tree; its nodes keep their children.
    auto teks = book->getBookResourcesForTORSubnodesForRole("LEARNER", "TEKS");
    EXPECT_EQ(titles(teks), (std::vector<std::string> { "Water cycle standard", "Earth and space" }));
    EXPECT_EQ(titles(teks.at(1)["subnodes"]),
        (std::vector<std::string> { "The water cycle", "Rivers shape the land" }));
    EXPECT_EQ(titles(teks.at(1)["subnodes"].at(0)["subnodes"]),
        (std::vector<std::string> { "Evaporation and condensation" }));
    // Trees for a role are given to that role only.
    EXPECT_EQ(titles(book->getBookResourcesForTORSubnodesForRole("TEACHER", "TOR")),
        (std::vector<std::string> { "Teacher notes", "Teacher resources" }));
    EXPECT_TRUE(book->getBookResourcesForTORSubnodesForRole("LEARNER", "TOR").asList()->empty());
}

TEST(PageBookMarkups, HostileMarkupsAreRefusedOrBounded)
{
    // A standards tree nested far deeper than any book needs is read without recursion and
    // cut at the contents depth.
    std::string deep;
    for (int level = 0; level < 20000; ++level)
        deep += "<node title=\"n\">";
    for (int level = 0; level < 20000; ++level)
        deep += "</node>";
    auto book = companion::parsePageBook(
        "/tmp", descriptorWith("<standards><standard type=\"TEKS\">" + deep + "</standard></standards>"));
    ASSERT_TRUE(book.ok()) << book.error().localizedDescription();
    size_t depth = 0;
    const base::Value* level = &book.value()->standards.at(0)["nodes"];
    while (level->asList() && !level->asList()->empty()) {
        ++depth;
        level = &level->at(0)["subnodes"];
    }
    EXPECT_EQ(depth, companion::maxContentsDepth);

    struct Case {
        const char* extra;
        const char* why;
    };
    const Case cases[] = {
        { "<glossary><entry key=\"k\"><media kind=\"hologram\" src=\"x\"/></entry></glossary>",
            "unknown medium" },
        { "<standards><standard><node title=\"n\"/></standard></standards>", "standard without a type" },
    };
    for (const auto& testCase : cases) {
        auto refused = companion::parsePageBook("/tmp", descriptorWith(testCase.extra));
        ASSERT_FALSE(refused.ok()) << testCase.why;
        EXPECT_EQ(refused.error().code, static_cast<int64_t>(companion::BookError::Malformed));
    }
}

TEST(MVTBXML, ElementsBecomeNestedDictionaries)
{
    auto parsed = MVTBXML::dictionaryWithXMLData(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<activity "
        "level=\"2\"><items><node><nodeName>caf\xC3\xA9</nodeName></node>"
        "<node><nodeName>b</nodeName></node></items><title> Pick </title></activity>");
    ASSERT_TRUE(parsed.ok());
    const base::Value& activity = parsed.value()["activity"];
    EXPECT_EQ(activity["level"], base::Value("2"));
    EXPECT_EQ(activity["title"], base::Value("Pick"));
    ASSERT_TRUE(activity["items"]["node"].isList());
    EXPECT_EQ(activity["items"]["node"].at(0)["nodeName"], base::Value("caf\xC3\xA9"))
        << "read as UTF-8 whatever the declaration";
    EXPECT_EQ(activity["items"]["node"].at(1)["nodeName"], base::Value("b"));

    EXPECT_FALSE(MVTBXML::dictionaryWithXMLData("<activity><items>").ok());
    EXPECT_FALSE(MVTBXML::dictionaryWithXMLData("").ok());
    std::string deep;
    for (int level = 0; level < 50000; ++level)
        deep += "<a>";
    for (int level = 0; level < 50000; ++level)
        deep += "</a>";
    auto nested = MVTBXML::dictionaryWithXMLData(deep);
    ASSERT_TRUE(nested.ok());
    size_t depth = 0;
    for (const base::Value* level = &nested.value(); level->isDictionary(); level = &(*level)["a"])
        ++depth;
    // The answer's own level and maxDepth elements; deeper ones are left out.
    EXPECT_EQ(depth, MVTBXML::maxDepth + 1);
}
