#pragma once

// The rows of the My Data filter pop-over and their rules, without views: the highlight
// list, the notes list with its Notes and Contextual-notes sections, what a check box or a
// section arrow does to the other rows, what Apply hands back, and how a cancelled
// pop-over returns to the ticks it showed when it came on screen.
//
// Sticky-notes mode (fixed-layout books) shows the notes list as two sections that open
// into their colour rows; otherwise the notes list shows the contextual colour rows
// themselves. Colour rows shown under a section are the section list's own records, so a
// tick on either side is one tick.
//
// The first row is treated as the row that ticks all only when it is one (kind 102): a
// notes list with one note kind has none, and then no row stands for "all".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

enum FilterType : int32_t {
    FilterTypeNotes = 101,
    FilterTypeAll = 102,
    FilterTypeColor = 104,
    FilterTypeContextualNotes = 106,
};

class FilterDataObject {
public:
    static std::shared_ptr<FilterDataObject> getFilterTypeObjectWithTitle(std::string title,
        int32_t filterType, bool isSubSection, bool isExpanded, std::string textColor, bool selected);
    std::shared_ptr<FilterDataObject> copy() const { return std::make_shared<FilterDataObject>(*this); }

    std::string titleTextStr;
    int32_t filterType = FilterTypeColor;
    bool isSubSection = false;
    bool isExpanded = false;
    bool isSelected = false;
    // "#" and six hex digits.
    std::string titleColor;
};

using FilterRows = std::vector<std::shared_ptr<FilterDataObject>>;

// The ticked rows' colours, in row order, spelled as they were given.
std::vector<std::string> getAllSelectedFilterColors(const FilterRows&);

struct FilterHighlightsChoice {
    std::vector<std::string> colors;
    bool all = false;
    bool shared = false;
};

struct FilterNotesChoice {
    std::vector<std::string> stickyColors;
    std::vector<std::string> contextualColors;
    bool all = false;
    bool stickyShared = false;
    bool contextualShared = false;
};

class FilterRules {
public:
    struct Config {
        // The panel's switch and the settings' switch both on: share rows exist.
        bool sharingOn = false;
        bool stickyNotesMode = false;
        // The settings' note kinds.
        bool stickyNotesEnabled = false;
        bool contextualNotesEnabled = false;
        // Localised section titles.
        std::string allTitle = "All";
        std::string notesTitle = "Notes";
        std::string contextualTitle = "Contextual notes";
        // Title colours of text rows and of the share row.
        std::string textColor = "#000000";
        std::string shareColor = "#000000";
    };

    explicit FilterRules(Config config)
        : m_config(std::move(config))
    {
    }

    const Config& config() const { return m_config; }

    // The highlight list and both section lists for these colours.
    void setColorsForFilter(const std::vector<std::string>& colors);
    // The notes list.
    void initiliseArrays();

    bool isHighlightFilter() const { return m_isHighlightFilter; }
    void setIsHighlightFilter(bool value) { m_isHighlightFilter = value; }

    const FilterRows& highlightDataArray() const { return m_highlightDataArray; }
    const FilterRows& noteDataArray() const { return m_noteDataArray; }
    const FilterRows& subSectionNotesArray() const { return m_subSectionNotesArray; }
    const FilterRows& subSectionContextualArray() const { return m_subSectionContextualArray; }
    // The list on screen.
    const FilterRows& shownRows() const
    {
        return m_isHighlightFilter ? m_highlightDataArray : m_noteDataArray;
    }

    // After the row has flipped its own tick (the cell does that first).
    void checkBoxTapped(const FilterDataObject& row);
    // After the section row has flipped its open flag. Answers the heading key it sets,
    // if any.
    std::optional<std::string> drowpDownBtnAction(const FilterDataObject& row);
    // The open section row of the notes list, if any.
    std::shared_ptr<FilterDataObject> openSection() const;

    bool isApplyEnabled() const;
    FilterHighlightsChoice highlightsChoice() const;
    FilterNotesChoice notesChoice() const;

    // Coming on screen: closes an open section and keeps copies of the ticks.
    void takeSnapshot();
    // A cancel: the ticks of the snapshot come back, in the rows shown and in the section
    // lists alike. Nothing happens without a snapshot.
    void restoreSnapshot();

    // The heading key of the notes list with no section open.
    std::string notesHeadingKey() const;

private:
    bool firstRowIsAll(const FilterRows&) const;
    void applyListRule(FilterRows&, const FilterDataObject& row);
    void resetNoteArrayForSelection(const FilterDataObject& row);
    void removeSectionRows();
    std::shared_ptr<FilterDataObject> makeColorRow(const std::string& glyph, const std::string& color) const;
    std::shared_ptr<FilterDataObject> makeShareRow() const;

    Config m_config;
    bool m_isHighlightFilter = true;
    FilterRows m_highlightDataArray;
    FilterRows m_noteDataArray;
    FilterRows m_subSectionNotesArray;
    FilterRows m_subSectionContextualArray;
    std::optional<FilterRows> m_previousStateArray;
    std::optional<FilterRows> m_subSectionNotesPreviousState;
    std::optional<FilterRows> m_subSectionContextualPreviousState;
};

// The pop-over's height for the list shown.
struct FilterHeightInput {
    bool pad = false;
    bool landscape = false;
    bool stickyNotesMode = false;
    bool highlightList = true;
    bool bothNoteKinds = false;
    // Rows of the list shown (grid lists).
    size_t rowCount = 0;
    // Rows of the Notes section list (the open section's height counts by it).
    size_t notesSectionCount = 0;
    bool sectionOpen = false;
};
double filterPopoverHeight(const FilterHeightInput&);

} // namespace lectoro
