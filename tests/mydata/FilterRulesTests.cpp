// The filter pop-over's rows and rules without views.

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/mydata/FilterRules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lectoro {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<std::string> sevenColours { "c1", "c2", "c3", "c4", "c5", "c6", "c7" };

FilterRules::Config filterConfig(
    bool sharing, bool sticky, bool stickyKind = true, bool contextualKind = true)
{
    FilterRules::Config config;
    config.sharingOn = sharing;
    config.stickyNotesMode = sticky;
    config.stickyNotesEnabled = stickyKind;
    config.contextualNotesEnabled = contextualKind;
    config.shareColor = "#SHARE";
    return config;
}

std::vector<bool> ticks(const FilterRows& rows)
{
    std::vector<bool> result;
    for (const auto& row : rows)
        result.push_back(row->isSelected);
    return result;
}

// What a row tap does: the cell flips the record, then the rules run.
void tapCheckBox(FilterRules& rules, const std::shared_ptr<FilterDataObject>& row)
{
    row->isSelected = !row->isSelected;
    rules.checkBoxTapped(*row);
}

void tapArrow(FilterRules& rules, const std::shared_ptr<FilterDataObject>& row)
{
    row->isExpanded = !row->isExpanded;
    rules.drowpDownBtnAction(*row);
}

TEST(FilterRulesTest, SevenColoursWithSharingGiveNineRowsAndTheirHeight)
{
    FilterRules rules(filterConfig(true, true));
    rules.setColorsForFilter(sevenColours);
    const auto& rows = rules.highlightDataArray();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows.front()->filterType, FilterTypeAll);
    EXPECT_EQ(rows[1]->titleTextStr, ICON_HIGHLIGHTER_K12);
    EXPECT_EQ(rows.back()->titleTextStr, ICON_SHARE);
    EXPECT_EQ(rows.back()->titleColor, "#SHARE");
    EXPECT_TRUE(rows.back()->isSubSection);
    EXPECT_EQ(filterPopoverHeight({ .rowCount = rows.size() }), 319);

    FilterRules noColours(filterConfig(false, true));
    noColours.setColorsForFilter({});
    EXPECT_EQ(noColours.highlightDataArray().size(), 1u);
}

TEST(FilterRulesTest, ApplyReportsTheTickedColoursAndTheSharedTickApart)
{
    FilterRules rules(filterConfig(true, true));
    rules.setColorsForFilter(sevenColours);
    auto rows = rules.highlightDataArray();
    tapCheckBox(rules, rows[0]); // untick all
    EXPECT_THAT(ticks(rows), ::testing::Each(false));
    EXPECT_FALSE(rules.isApplyEnabled());
    tapCheckBox(rules, rows[1]);
    tapCheckBox(rules, rows.back());
    auto choice = rules.highlightsChoice();
    EXPECT_THAT(choice.colors, ElementsAre("c1"));
    EXPECT_FALSE(choice.all);
    EXPECT_TRUE(choice.shared);

    tapCheckBox(rules, rows[0]);
    choice = rules.highlightsChoice();
    EXPECT_THAT(choice.colors, IsEmpty());
    EXPECT_TRUE(choice.all);
    EXPECT_TRUE(choice.shared);
}

TEST(FilterRulesTest, TheAllRowFollowsTheOtherRows)
{
    FilterRules rules(filterConfig(true, true));
    rules.setColorsForFilter({ "c1", "c2" });
    auto rows = rules.highlightDataArray(); // all, c1, c2, share
    tapCheckBox(rules, rows[1]);
    EXPECT_FALSE(rows[0]->isSelected);
    tapCheckBox(rules, rows[1]);
    EXPECT_TRUE(rows[0]->isSelected) << "the last row ticked ticks all, the share row included";
    tapCheckBox(rules, rows[3]);
    EXPECT_FALSE(rows[0]->isSelected);
}

TEST(FilterRulesTest, AListWithoutAnAllRowHasNoRowStandingForAll)
{
    // Outside sticky-notes mode with one note kind the notes list is the colour rows only.
    FilterRules rules(filterConfig(false, false, false, true));
    rules.setColorsForFilter({ "c1", "c2", "c3" });
    rules.initiliseArrays();
    rules.setIsHighlightFilter(false);
    auto rows = rules.noteDataArray();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.front()->filterType, FilterTypeColor);
    tapCheckBox(rules, rows[2]);
    EXPECT_TRUE(rows[0]->isSelected) << "the first colour is no All row: another tap leaves it";
    auto choice = rules.notesChoice();
    EXPECT_FALSE(choice.all);
    EXPECT_THAT(choice.contextualColors, ElementsAre("c1", "c2"));
}

TEST(FilterRulesTest, StickyModeSectionsOpenOneAtATimeAndTickTogether)
{
    FilterRules rules(filterConfig(true, true));
    rules.setColorsForFilter({ "c1", "c2" });
    rules.initiliseArrays();
    rules.setIsHighlightFilter(false);
    auto notes = rules.noteDataArray(); // all, notes, contextual
    ASSERT_EQ(notes.size(), 3u);
    auto notesSection = notes[1];
    auto contextualSection = notes[2];

    tapArrow(rules, notesSection);
    EXPECT_EQ(rules.noteDataArray().size(), 3u + 3u);
    EXPECT_EQ(rules.noteDataArray()[2], rules.subSectionNotesArray()[0]);
    tapArrow(rules, contextualSection);
    EXPECT_FALSE(notesSection->isExpanded);
    EXPECT_EQ(rules.noteDataArray()[3], rules.subSectionContextualArray()[0]);
    EXPECT_EQ(rules.noteDataArray().size(), 6u);
    tapArrow(rules, contextualSection);
    EXPECT_EQ(rules.noteDataArray().size(), 3u);

    // Unticking one contextual colour clears its section and All; ticking it back restores both.
    auto colour = rules.subSectionContextualArray()[0];
    tapCheckBox(rules, colour);
    EXPECT_FALSE(contextualSection->isSelected);
    EXPECT_FALSE(notes[0]->isSelected);
    EXPECT_TRUE(notesSection->isSelected);
    tapCheckBox(rules, colour);
    EXPECT_TRUE(contextualSection->isSelected);
    EXPECT_TRUE(notes[0]->isSelected);

    tapCheckBox(rules, notesSection);
    EXPECT_THAT(ticks(rules.subSectionNotesArray()), ::testing::Each(false));
    auto choice = rules.notesChoice();
    EXPECT_THAT(choice.stickyColors, IsEmpty());
    EXPECT_THAT(choice.contextualColors, ElementsAre("c1", "c2"));
    EXPECT_FALSE(choice.stickyShared);
    EXPECT_TRUE(choice.contextualShared);
}

TEST(FilterRulesTest, CancelBringsBackTheTicksOfTheOpening)
{
    struct Case {
        const char* name;
        bool sticky;
    };
    for (auto c : { Case { "sticky-notes mode", true }, Case { "colour rows only", false } }) {
        SCOPED_TRACE(c.name);
        FilterRules rules(filterConfig(true, c.sticky));
        rules.setColorsForFilter({ "c1", "c2" });
        rules.initiliseArrays();
        rules.setIsHighlightFilter(false);
        rules.takeSnapshot();
        // Untick everything through All, then cancel.
        auto all = rules.noteDataArray().front();
        ASSERT_EQ(all->filterType, FilterTypeAll);
        tapCheckBox(rules, all);
        EXPECT_THAT(ticks(rules.subSectionContextualArray()), ::testing::Each(false));
        rules.restoreSnapshot();
        EXPECT_THAT(ticks(rules.noteDataArray()), ::testing::Each(true));
        EXPECT_THAT(ticks(rules.subSectionContextualArray()), ::testing::Each(true));
        EXPECT_THAT(ticks(rules.subSectionNotesArray()), ::testing::Each(true));
        auto choice = rules.notesChoice();
        EXPECT_TRUE(choice.all);
        if (!c.sticky) {
            // The rows shown are the section's own records again, so a tick reaches Apply.
            auto shown = rules.noteDataArray();
            ASSERT_EQ(shown.size(), 4u);
            EXPECT_EQ(shown[1], rules.subSectionContextualArray()[0]);
            tapCheckBox(rules, shown[1]);
            EXPECT_THAT(rules.notesChoice().contextualColors, ElementsAre("c2"));
        }
    }
}

TEST(FilterRulesTest, AnOpenSectionIsClosedAtTheNextOpening)
{
    FilterRules rules(filterConfig(false, true));
    rules.setColorsForFilter({ "c1" });
    rules.initiliseArrays();
    rules.setIsHighlightFilter(false);
    tapArrow(rules, rules.noteDataArray()[1]);
    ASSERT_TRUE(rules.openSection());
    rules.takeSnapshot();
    EXPECT_FALSE(rules.openSection());
    EXPECT_EQ(rules.noteDataArray().size(), 3u);
}

TEST(FilterRulesTest, PopoverHeights)
{
    struct Case {
        FilterHeightInput input;
        double height;
    };
    const Case cases[] = {
        { { .rowCount = 4 }, 267 },
        { { .rowCount = 3 }, 215 },
        { { .stickyNotesMode = true, .highlightList = false, .bothNoteKinds = true }, 313 },
        { { .pad = true, .stickyNotesMode = true, .highlightList = false }, 223 },
        { { .landscape = true, .stickyNotesMode = true, .highlightList = false, .bothNoteKinds = true },
            274 },
        { { .landscape = true,
              .stickyNotesMode = true,
              .highlightList = false,
              .bothNoteKinds = true,
              .notesSectionCount = 4,
              .sectionOpen = true },
            340 },
        { { .stickyNotesMode = true,
              .highlightList = false,
              .bothNoteKinds = true,
              .notesSectionCount = 4,
              .sectionOpen = true },
            405 },
        { { .pad = true,
              .stickyNotesMode = true,
              .highlightList = false,
              .notesSectionCount = 3,
              .sectionOpen = true },
            273 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(filterPopoverHeight(c.input), c.height) << "case with height " << c.height;
}

} // namespace
} // namespace lectoro
