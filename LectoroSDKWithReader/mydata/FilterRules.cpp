#include "LectoroSDKWithReader/mydata/FilterRules.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"

#include <algorithm>
#include <cmath>

namespace lectoro {

namespace {

FilterRows copiesOf(const FilterRows& rows)
{
    FilterRows result;
    result.reserve(rows.size());
    for (const auto& row : rows)
        result.push_back(row->copy());
    return result;
}

bool allSelected(const FilterRows& rows)
{
    return std::all_of(rows.begin(), rows.end(), [](const auto& row) { return row->isSelected; });
}

bool anySelected(const FilterRows& rows)
{
    return std::any_of(rows.begin(), rows.end(), [](const auto& row) { return row->isSelected; });
}

std::shared_ptr<FilterDataObject> firstOfKind(const FilterRows& rows, int32_t kind)
{
    auto found
        = std::find_if(rows.begin(), rows.end(), [kind](const auto& row) { return row->filterType == kind; });
    return found == rows.end() ? nullptr : *found;
}

FilterRows withoutLast(const FilterRows& rows)
{
    return rows.empty() ? rows : FilterRows(rows.begin(), rows.end() - 1);
}

} // namespace

std::shared_ptr<FilterDataObject> FilterDataObject::getFilterTypeObjectWithTitle(
    std::string title, int32_t filterType, bool, bool isExpanded, std::string textColor, bool selected)
{
    auto row = std::make_shared<FilterDataObject>();
    row->titleTextStr = std::move(title);
    row->filterType = filterType;
    row->isSubSection = filterType == FilterTypeColor;
    row->isExpanded = isExpanded;
    row->isSelected = selected;
    row->titleColor = std::move(textColor);
    return row;
}

std::vector<std::string> getAllSelectedFilterColors(const FilterRows& rows)
{
    std::vector<std::string> colors;
    for (const auto& row : rows) {
        // Only colour rows name a colour; the All and section rows carry a text colour.
        if (row->isSelected && row->filterType == FilterTypeColor)
            colors.push_back(row->titleColor);
    }
    return colors;
}

std::shared_ptr<FilterDataObject> FilterRules::makeColorRow(
    const std::string& glyph, const std::string& color) const
{
    return FilterDataObject::getFilterTypeObjectWithTitle(glyph, FilterTypeColor, true, false, color, true);
}

std::shared_ptr<FilterDataObject> FilterRules::makeShareRow() const
{
    return makeColorRow(ICON_SHARE, m_config.shareColor);
}

void FilterRules::setColorsForFilter(const std::vector<std::string>& colors)
{
    m_highlightDataArray.clear();
    m_highlightDataArray.push_back(FilterDataObject::getFilterTypeObjectWithTitle(
        m_config.allTitle, FilterTypeAll, false, false, m_config.textColor, true));
    for (const auto& color : colors)
        m_highlightDataArray.push_back(makeColorRow(ICON_HIGHLIGHTER_K12, color));
    if (m_config.sharingOn)
        m_highlightDataArray.push_back(makeShareRow());

    m_subSectionNotesArray.clear();
    m_subSectionContextualArray.clear();
    for (const auto& color : colors) {
        m_subSectionNotesArray.push_back(makeColorRow(ICON_TAPPABLE_STICKY_NOTE, color));
        m_subSectionContextualArray.push_back(makeColorRow(NOTE_TEXT_ICON, color));
    }
    if (m_config.sharingOn) {
        m_subSectionNotesArray.push_back(makeShareRow());
        m_subSectionContextualArray.push_back(makeShareRow());
    }
}

void FilterRules::initiliseArrays()
{
    m_noteDataArray.clear();
    if (m_config.contextualNotesEnabled && m_config.stickyNotesEnabled) {
        m_noteDataArray.push_back(FilterDataObject::getFilterTypeObjectWithTitle(
            m_config.allTitle, FilterTypeAll, false, false, m_config.textColor, true));
    }
    if (m_config.stickyNotesMode) {
        if (m_config.stickyNotesEnabled)
            m_noteDataArray.push_back(FilterDataObject::getFilterTypeObjectWithTitle(
                m_config.notesTitle, FilterTypeNotes, false, false, m_config.textColor, true));
        if (m_config.contextualNotesEnabled)
            m_noteDataArray.push_back(FilterDataObject::getFilterTypeObjectWithTitle(
                m_config.contextualTitle, FilterTypeContextualNotes, false, false, m_config.textColor, true));
    } else {
        m_noteDataArray.insert(
            m_noteDataArray.end(), m_subSectionContextualArray.begin(), m_subSectionContextualArray.end());
    }
}

bool FilterRules::firstRowIsAll(const FilterRows& rows) const
{
    return !rows.empty() && rows.front()->filterType == FilterTypeAll;
}

void FilterRules::applyListRule(FilterRows& rows, const FilterDataObject& row)
{
    if (row.filterType == FilterTypeAll) {
        for (auto& each : rows)
            each->isSelected = row.isSelected;
        return;
    }
    if (!firstRowIsAll(rows))
        return;
    auto selected = static_cast<size_t>(
        std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r->isSelected; }));
    rows.front()->isSelected = selected + 1 == rows.size() ? row.isSelected : false;
}

void FilterRules::resetNoteArrayForSelection(const FilterDataObject& row)
{
    auto setAll = [](FilterRows& rows, bool value) {
        for (auto& each : rows)
            each->isSelected = value;
    };
    switch (row.filterType) {
    case FilterTypeNotes:
        setAll(m_subSectionNotesArray, row.isSelected);
        break;
    case FilterTypeAll:
        setAll(m_noteDataArray, row.isSelected);
        setAll(m_subSectionNotesArray, row.isSelected);
        setAll(m_subSectionContextualArray, row.isSelected);
        return;
    case FilterTypeColor:
        if (auto contextual = firstOfKind(m_noteDataArray, FilterTypeContextualNotes))
            contextual->isSelected = allSelected(m_subSectionContextualArray);
        if (auto notes = firstOfKind(m_noteDataArray, FilterTypeNotes))
            notes->isSelected = allSelected(m_subSectionNotesArray);
        break;
    case FilterTypeContextualNotes:
        setAll(m_subSectionContextualArray, row.isSelected);
        break;
    default:
        break;
    }
    if (firstRowIsAll(m_noteDataArray))
        m_noteDataArray.front()->isSelected
            = allSelected(m_subSectionContextualArray) && allSelected(m_subSectionNotesArray);
}

void FilterRules::checkBoxTapped(const FilterDataObject& row)
{
    if (m_isHighlightFilter)
        applyListRule(m_highlightDataArray, row);
    else if (!m_config.stickyNotesMode)
        applyListRule(m_noteDataArray, row);
    else
        resetNoteArrayForSelection(row);
}

void FilterRules::removeSectionRows()
{
    auto inSection = [this](const std::shared_ptr<FilterDataObject>& row) {
        auto has
            = [&](const FilterRows& list) { return std::find(list.begin(), list.end(), row) != list.end(); };
        return has(m_subSectionNotesArray) || has(m_subSectionContextualArray);
    };
    std::erase_if(m_noteDataArray, inSection);
}

std::optional<std::string> FilterRules::drowpDownBtnAction(const FilterDataObject& row)
{
    removeSectionRows();
    std::optional<std::string> heading;
    if (m_config.stickyNotesEnabled && m_config.contextualNotesEnabled)
        heading = "FILTER_BY";
    auto position = std::find_if(
        m_noteDataArray.begin(), m_noteDataArray.end(), [&](const auto& each) { return each.get() == &row; });
    if (row.filterType == FilterTypeNotes) {
        if (row.isExpanded && position != m_noteDataArray.end()) {
            m_noteDataArray.insert(
                position + 1, m_subSectionNotesArray.begin(), m_subSectionNotesArray.end());
            heading = "NOTES_FILTER_BY";
        }
        if (auto other = firstOfKind(m_noteDataArray, FilterTypeContextualNotes))
            other->isExpanded = false;
    } else if (row.filterType == FilterTypeContextualNotes) {
        if (row.isExpanded && position != m_noteDataArray.end()) {
            m_noteDataArray.insert(
                position + 1, m_subSectionContextualArray.begin(), m_subSectionContextualArray.end());
            heading = "CONTEXTUAL_NOTES_FILTER_BY";
        }
        if (auto other = firstOfKind(m_noteDataArray, FilterTypeNotes))
            other->isExpanded = false;
    }
    return heading;
}

std::shared_ptr<FilterDataObject> FilterRules::openSection() const
{
    for (const auto& row : m_noteDataArray) {
        if (row->filterType != FilterTypeColor && row->filterType != FilterTypeAll && row->isExpanded)
            return row;
    }
    return nullptr;
}

bool FilterRules::isApplyEnabled() const
{
    if (m_isHighlightFilter)
        return anySelected(m_highlightDataArray);
    return anySelected(m_subSectionContextualArray) || anySelected(m_subSectionNotesArray)
        || (!m_noteDataArray.empty() && m_noteDataArray.front()->isSelected);
}

FilterHighlightsChoice FilterRules::highlightsChoice() const
{
    const auto& rows = m_highlightDataArray;
    if (firstRowIsAll(rows) && rows.front()->isSelected)
        return { {}, true, true };
    if (m_config.sharingOn && !rows.empty())
        return { getAllSelectedFilterColors(withoutLast(rows)), false, rows.back()->isSelected };
    return { getAllSelectedFilterColors(rows), false, false };
}

FilterNotesChoice FilterRules::notesChoice() const
{
    if (firstRowIsAll(m_noteDataArray) && m_noteDataArray.front()->isSelected)
        return { {}, {}, true, true, true };
    if (m_config.sharingOn) {
        bool stickyShared = !m_subSectionNotesArray.empty() && m_subSectionNotesArray.back()->isSelected;
        bool contextualShared
            = !m_subSectionContextualArray.empty() && m_subSectionContextualArray.back()->isSelected;
        return { getAllSelectedFilterColors(withoutLast(m_subSectionNotesArray)),
            getAllSelectedFilterColors(withoutLast(m_subSectionContextualArray)), false, stickyShared,
            contextualShared };
    }
    return { getAllSelectedFilterColors(m_subSectionNotesArray),
        getAllSelectedFilterColors(m_subSectionContextualArray), false, false, false };
}

void FilterRules::takeSnapshot()
{
    if (m_isHighlightFilter) {
        m_previousStateArray = copiesOf(m_highlightDataArray);
        m_subSectionNotesPreviousState.reset();
        m_subSectionContextualPreviousState.reset();
        return;
    }
    if (m_config.stickyNotesMode) {
        if (auto open = openSection()) {
            open->isExpanded = false;
            removeSectionRows();
        }
        m_subSectionNotesPreviousState = copiesOf(m_subSectionNotesArray);
    } else {
        m_subSectionNotesPreviousState.reset();
    }
    // Outside sticky-notes mode the rows shown are the contextual list's own records, so
    // that list is kept too: a cancel restores both as one.
    m_previousStateArray = copiesOf(m_noteDataArray);
    m_subSectionContextualPreviousState = copiesOf(m_subSectionContextualArray);
}

void FilterRules::restoreSnapshot()
{
    if (!m_previousStateArray)
        return;
    if (m_isHighlightFilter) {
        m_highlightDataArray = copiesOf(*m_previousStateArray);
    } else if (m_config.stickyNotesMode) {
        m_noteDataArray = copiesOf(*m_previousStateArray);
        if (m_subSectionNotesPreviousState)
            m_subSectionNotesArray = copiesOf(*m_subSectionNotesPreviousState);
        if (m_subSectionContextualPreviousState)
            m_subSectionContextualArray = copiesOf(*m_subSectionContextualPreviousState);
    } else {
        if (m_subSectionContextualPreviousState)
            m_subSectionContextualArray = copiesOf(*m_subSectionContextualPreviousState);
        FilterRows notes;
        if (firstRowIsAll(*m_previousStateArray))
            notes.push_back(m_previousStateArray->front()->copy());
        notes.insert(notes.end(), m_subSectionContextualArray.begin(), m_subSectionContextualArray.end());
        m_noteDataArray = std::move(notes);
    }
    m_previousStateArray.reset();
    m_subSectionNotesPreviousState.reset();
    m_subSectionContextualPreviousState.reset();
}

std::string FilterRules::notesHeadingKey() const
{
    if (!m_config.stickyNotesMode)
        return "NOTES_FILTER_BY";
    if (m_config.stickyNotesEnabled && m_config.contextualNotesEnabled)
        return "FILTER_BY";
    return m_config.contextualNotesEnabled ? "CONTEXTUAL_NOTES_FILTER_BY" : "NOTES_FILTER_BY";
}

double filterPopoverHeight(const FilterHeightInput& in)
{
    if (in.highlightList || !in.stickyNotesMode)
        return std::ceil(static_cast<double>(in.rowCount) / 3.0) * 52 + 8 + 155;
    auto pick = [&](double pad, double portrait, double landscape) {
        return in.pad ? pad : (in.landscape ? landscape : portrait);
    };
    if (!in.sectionOpen)
        return in.bothNoteKinds ? pick(343, 313, 274) : pick(223, 213, 200);
    double base = in.bothNoteKinds ? pick(335, 305, 266) : pick(215, 205, 192);
    double rows = in.notesSectionCount < 4 ? 1 : 2;
    return base + rows * pick(58, 50, 37);
}

} // namespace lectoro
