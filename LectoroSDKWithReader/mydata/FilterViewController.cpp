#include "LectoroSDKWithReader/mydata/FilterViewController.h"

#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/CollectionViewFlowLayout.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"

namespace lectoro {

namespace {

// A row's title colour as the rows keep it: "#" and six upper-case hex digits.
std::string hexOf(const std::optional<ui::Color>& colour)
{
    return "#" + (colour ? UIColorExpanded::hexStringFromColor(*colour) : std::string("000000"));
}

// The accessibility entry of a row's title button, by the glyph its title carries.
struct FilterTitleAccessibility {
    const char* elementID;
    std::string argument;
};

FilterTitleAccessibility filterTitleAccessibility(const std::string& title, bool highlightList, long item)
{
    auto has = [&](const char* glyph) { return title.find(glyph) != std::string::npos; };
    if (highlightList && has(ICON_HIGHLIGHTER_K12))
        return { "MyDataFilterHighLightButton", base::format("%ld", item) };
    if (has(ICON_TAPPABLE_STICKY_NOTE))
        return { "MyDataFilterNotesButton", base::format("%ld", item - 1) };
    if (has(NOTE_TEXT_ICON))
        return { "MyDataFilterContextualNotesButton", base::format("%ld", item - 2) };
    if (has(ICON_SHARE))
        return { "MyDataFilterShareButton", std::string() };
    return { "MyDataFilterOtherTextButton", title };
}

} // namespace

std::shared_ptr<FilterViewController> FilterViewController::create()
{
    return std::shared_ptr<FilterViewController>(new FilterViewController());
}

FilterViewController::FilterViewController() = default;
FilterViewController::~FilterViewController() = default;

std::shared_ptr<FilterViewController> FilterViewController::self()
{
    return std::static_pointer_cast<FilterViewController>(shared_from_this());
}

bool FilterViewController::landscape() const
{
    auto size = ui::Environment::current().screenSize();
    return size.width > size.height;
}

void FilterViewController::setColorsForFilter(const std::vector<std::string>& colors)
{
    FilterRules::Config config;
    bool settingsSharing = userSettingsModel && userSettingsModel->isSharingEnabled();
    config.sharingOn = isSharingEnabled && settingsSharing;
    config.stickyNotesMode = isStickyNotesEnabled;
    config.stickyNotesEnabled = userSettingsModel && userSettingsModel->isStickyNotesEnabled();
    config.contextualNotesEnabled = userSettingsModel && userSettingsModel->isContextualNoteEnabled();
    config.allTitle = LocalizationHelper::localizedStringWithKey("Filter_All");
    config.notesTitle = LocalizationHelper::localizedStringWithKey("NOTES_KEY");
    config.contextualTitle = LocalizationHelper::localizedStringWithKey("Contextual_notes");
    if (themeVO) {
        config.textColor = hexOf(themeVO->filterPopUp_text_color());
        config.shareColor = hexOf(themeVO->filterPopUp_check_color());
    }
    m_rules = std::make_unique<FilterRules>(std::move(config));
    m_rules->setColorsForFilter(colors);
    loadViewIfNeeded();
    view()->layoutIfNeeded();
}

void FilterViewController::viewDidLoad()
{
    auto root = view();
    m_transaparentBackgroundView = ui::View::create();
    root->addSubview(m_transaparentBackgroundView);
    m_viewContainer = ui::View::create();
    root->addSubview(m_viewContainer);
    m_filterByLabel = ui::Label::create();
    m_viewContainer->addSubview(m_filterByLabel);
    m_collectionContainerView = ui::View::create();
    m_viewContainer->addSubview(m_collectionContainerView);
    // Rows a third of the width wide sit three to a line: no space between them.
    auto grid = ui::CollectionViewFlowLayout::create();
    grid->setMinimumInteritemSpacing(0);
    grid->setMinimumLineSpacing(0);
    m_collectionView = ui::CollectionView::create({}, grid);
    m_collectionContainerView->addSubview(m_collectionView);
    m_collectionView->registerCellClass(FilterCollectionCell::reuseIdentifier,
        [](const std::string& id) { return FilterCollectionCell::create(id); });
    m_collectionView->setDataSource(std::weak_ptr<ui::CollectionViewDataSource>(self()));
    m_collectionView->setDelegate(std::weak_ptr<ui::CollectionViewDelegate>(self()));
    m_applyButton = ui::Button::create();
    m_viewContainer->addSubview(m_applyButton);
    // The card is placed by its frame (viewDidLayoutSubviews); its height constraint only
    // carries the height the rows need, so it is not installed to fight that frame.
    m_heightConstraintOfView = m_viewContainer->heightAnchor().constraintEqualToConstant(0);
    std::weak_ptr<FilterViewController> weak = self();
    m_applyButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto filter = weak.lock())
            filter->applyButtonAction();
    });
    updateView();
    if (m_rules)
        m_rules->initiliseArrays();
    reloadCollectionView();
    auto tap = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto filter = weak.lock())
            filter->singleTapOnFilter();
    });
    tap->setDelegate(std::weak_ptr<ui::GestureRecognizerDelegate>(self()));
    root->addGestureRecognizer(tap);
    m_filterByLabel->setAccessibilityIdentifier(FILTER_TITLE_LABEL);
    m_applyButton->setAccessibilityIdentifier(FILTER_APPLY_BUTTON);
}

void FilterViewController::updateView()
{
    bool pad = isIpad();
    auto theme = themeVO ? themeVO : std::make_shared<LXMVThemeVO>();
    auto border = mydata::colour(theme->filterPopUp_border_color());
    auto background = theme->filterPopUp_background();
    auto action = mydata::colour(theme->filterPopUp_action_text_color());
    if (pad) {
        m_viewContainer->layer()->setCornerRadius(12);
        m_viewContainer->setBackgroundColor(background);
        m_viewContainer->layer()->setShadowOffset({ 3, 3 });
        m_viewContainer->layer()->setShadowOpacity(0.7);
        m_viewContainer->layer()->setBorderWidth(1);
        m_viewContainer->layer()->setBorderColor(border);
        m_collectionContainerView->setBackgroundColor(ui::Color::clear());
        m_applyButton->layer()->setCornerRadius(2);
        m_applyButton->setBackgroundColor(action);
        m_applyButton->setTitleColor(mydata::colour(background), ui::ControlState::Normal);
        m_applyButton->setTitleColor(mydata::colour(background), ui::ControlState::Disabled);
    } else {
        m_viewContainer->setBackgroundColor(ui::Color::clear());
        m_collectionContainerView->layer()->setBorderWidth(1);
        m_collectionContainerView->layer()->setBorderColor(border);
        m_collectionContainerView->layer()->setCornerRadius(10);
        m_collectionContainerView->setClipsToBounds(true);
        m_collectionContainerView->setBackgroundColor(background);
        m_applyButton->layer()->setBorderWidth(1);
        m_applyButton->layer()->setBorderColor(border);
        m_applyButton->setClipsToBounds(true);
        m_applyButton->layer()->setCornerRadius(10);
        m_applyButton->setBackgroundColor(background);
        m_applyButton->setTitleColor(action, ui::ControlState::Normal);
        m_applyButton->setTitleColor(
            action.withAlpha(theme->mydata_disabled_icon_opacity()), ui::ControlState::Disabled);
    }
    m_applyButton->setTitle(LocalizationHelper::localizedStringWithKey("APPLY"));
    m_applyButton->setFont(getCustomFont(17).value_or(ui::Font::systemFont(17)));
    m_filterByLabel->setFont(getCustomFont(pad ? 22 : 18).value_or(ui::Font::systemFont(pad ? 22 : 18)));
    m_filterByLabel->setAdjustsFontSizeToFitWidth(true);
    m_filterByLabel->setMinimumScaleFactor(0.5);
    m_filterByLabel->setNumberOfLines(2);
    m_filterByLabel->setTextColor(action);
}

void FilterViewController::setHeading(const std::string& key)
{
    if (m_filterByLabel)
        m_filterByLabel->setText(LocalizationHelper::localizedStringWithKey(key));
}

double FilterViewController::popoverHeight() const
{
    if (!m_rules)
        return 0;
    FilterHeightInput input;
    input.pad = isIpad();
    input.landscape = landscape();
    input.stickyNotesMode = m_rules->config().stickyNotesMode;
    input.highlightList = m_rules->isHighlightFilter();
    input.bothNoteKinds = m_rules->config().stickyNotesEnabled && m_rules->config().contextualNotesEnabled;
    input.rowCount = m_rules->shownRows().size();
    input.notesSectionCount = m_rules->subSectionNotesArray().size();
    input.sectionOpen = m_rules->openSection() != nullptr;
    return filterPopoverHeight(input);
}

void FilterViewController::writeHeight()
{
    if (!m_heightConstraintOfView)
        return;
    m_heightConstraintOfView->setConstant(popoverHeight());
    // The box is placed from this constant: a new height is a new layout (as a changed
    // constraint would ask for one).
    if (auto root = viewIfLoaded())
        root->setNeedsLayout();
}

void FilterViewController::setIsHighlightFilter(bool highlights)
{
    if (!m_rules)
        return;
    m_rules->setIsHighlightFilter(highlights);
    setHeading(highlights ? "Highlights_filter_by" : m_rules->notesHeadingKey());
    writeHeight();
    if (m_rules->config().stickyNotesMode && m_viewContainer)
        view()->layoutIfNeeded();
    reloadCollectionView();
}

void FilterViewController::viewWillAppear(bool)
{
    if (!m_rules)
        return;
    reloadCollectionView();
    m_rules->takeSnapshot();
    setHeading(m_rules->isHighlightFilter() ? "Highlights_filter_by" : m_rules->notesHeadingKey());
    writeHeight();
}

void FilterViewController::viewDidAppear(bool)
{
    view()->layoutIfNeeded();
    enableApplyButton(false);
}

void FilterViewController::viewDidLayoutSubviews()
{
    if (!m_viewContainer)
        return;
    auto bounds = view()->bounds();
    double width = std::min(bounds.width() - 30, isIpad() ? 540.0 : bounds.width() - 30);
    double height = m_heightConstraintOfView->constant();
    m_transaparentBackgroundView->setFrame(bounds);
    m_viewContainer->setFrame(
        { (bounds.width() - width) / 2, (bounds.height() - height) / 2, width, height });
    m_filterByLabel->setFrame({ 15, 10, std::max(0.0, width - 30), 50 });
    double gridHeight = std::max(0.0, height - 155 + 8);
    m_collectionContainerView->setFrame({ 0, 70, width, gridHeight });
    m_collectionView->setFrame({ 0, 0, width, gridHeight });
    m_applyButton->setFrame({ 15, std::max(0.0, height - 60), std::max(0.0, width - 30), 44 });
}

void FilterViewController::viewWillTransitionToSize(
    const ui::Size& size, ui::TransitionCoordinator& coordinator)
{
    ui::ViewController::viewWillTransitionToSize(size, coordinator);
    if (isIpad())
        return;
    writeHeight();
    reloadCollectionView();
}

ui::InterfaceOrientationMask FilterViewController::supportedInterfaceOrientations() const
{
    return mydata::orientationMaskForBookOrientationMode(bookOrientationMode);
}

void FilterViewController::reloadCollectionView()
{
    std::weak_ptr<FilterViewController> weak = self();
    base::RunLoop::main().post([weak] {
        if (auto filter = weak.lock(); filter && filter->m_collectionView)
            filter->m_collectionView->reloadData();
    });
}

void FilterViewController::updateApplyButtonStatus()
{
    if (m_rules)
        enableApplyButton(m_rules->isApplyEnabled());
}

void FilterViewController::enableApplyButton(bool enabled)
{
    if (!m_applyButton)
        return;
    m_applyButton->setEnabled(enabled);
    auto theme = themeVO ? themeVO : std::make_shared<LXMVThemeVO>();
    if (isIpad()) {
        auto action = mydata::colour(theme->filterPopUp_action_text_color());
        m_applyButton->setBackgroundColor(
            enabled ? action : action.withAlpha(theme->mydata_disabled_icon_opacity()));
    } else {
        m_applyButton->setBackgroundColor(theme->filterPopUp_background());
    }
}

void FilterViewController::checkBoxTapped(const std::shared_ptr<FilterDataObject>& row)
{
    if (!m_rules || !row)
        return;
    m_rules->checkBoxTapped(*row);
    updateApplyButtonStatus();
    reloadCollectionView();
}

void FilterViewController::drowpDownBtnAction(const std::shared_ptr<FilterDataObject>& row)
{
    if (!m_rules || !row)
        return;
    if (auto heading = m_rules->drowpDownBtnAction(*row))
        setHeading(*heading);
    writeHeight();
    auto root = view();
    ui::View::animate(0.4, [root] {
        root->setNeedsLayout();
        root->layoutIfNeeded();
    });
    reloadCollectionView();
}

void FilterViewController::applyButtonAction()
{
    if (m_rules && m_applyButton && m_applyButton->isEnabled()) {
        if (m_rules->isHighlightFilter()) {
            auto choice = m_rules->highlightsChoice();
            if (filterHighlightsAction)
                filterHighlightsAction(choice.colors, choice.all, choice.shared);
        } else {
            auto choice = m_rules->notesChoice();
            if (filterNotesAction)
                filterNotesAction(choice.stickyColors, choice.contextualColors, choice.all,
                    choice.stickyShared, choice.contextualShared);
        }
    }
    dismissViewControllerAnimated(true);
}

void FilterViewController::singleTapOnFilter()
{
    if (m_rules)
        m_rules->restoreSnapshot();
    if (dissmisFilterController)
        dissmisFilterController();
    dismissViewControllerAnimated(true);
}

bool FilterViewController::shouldReceiveTouch(ui::GestureRecognizer& recognizer, ui::View* touchedView)
{
    if (!dynamic_cast<ui::TapGestureRecognizer*>(&recognizer))
        return true;
    return touchedView && (touchedView == viewIfLoaded().get() || touchedView == m_transaparentBackgroundView.get());
}

int FilterViewController::numberOfItemsInSection(ui::CollectionView&, int)
{
    return m_rules ? static_cast<int>(m_rules->shownRows().size()) : 0;
}

std::shared_ptr<ui::CollectionViewCell> FilterViewController::cellForItemAtIndexPath(
    ui::CollectionView& collection, const ui::IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<FilterCollectionCell>(
        collection.dequeueReusableCellWithReuseIdentifier(FilterCollectionCell::reuseIdentifier, indexPath));
    if (!cell)
        cell = FilterCollectionCell::create();
    const auto& rows = m_rules->shownRows();
    int item = indexPath.item();
    if (item < 0 || static_cast<size_t>(item) >= rows.size())
        return cell;
    const auto& row = rows[static_cast<size_t>(item)];
    auto theme = themeVO ? themeVO : std::make_shared<LXMVThemeVO>();
    double width = m_collectionView->bounds().width();
    bool colourRow = row->filterType == FilterTypeColor;
    bool rtl = isRTL();
    auto alignmentFor = [rtl](size_t column) {
        if (column == 1)
            return ui::ContentHorizontalAlignment::Center;
        bool left = (column == 0) != rtl;
        return left ? ui::ContentHorizontalAlignment::Left : ui::ContentHorizontalAlignment::Right;
    };
    cell->contentView()->setBackgroundColor(theme->filterPopUp_background());
    cell->checkBoxIconColor = theme->filterPopUp_all_box_border_color();
    cell->widthConstraintOfTitleBtn()->setConstant(width / 3 - 30);
    // Each row's parts are named by its index; the title button and the arrow are named
    // again once their accessibility entries are set, which name them after the entry.
    auto nameParts = [&cell, item] {
        const long index = static_cast<long>(item);
        cell->setAccessibilityIdentifier(base::format("filterCell%ld", index));
        cell->titleButton()->setAccessibilityIdentifier(base::format("filterCellTitleButton%ld", index));
        cell->checkBoxLbl()->setAccessibilityIdentifier(base::format("filterCellCheckBox%ld", index));
        cell->dropDownButton()->setAccessibilityIdentifier(base::format("filterCellDropDown%ld", index));
    };
    nameParts();
    std::weak_ptr<FilterViewController> weak = self();
    if (m_rules->isHighlightFilter()) {
        cell->seperatorView()->setBackgroundColor(ui::Color::clear());
        if (colourRow)
            cell->checkBoxIconColor = theme->filterPopUp_color_box_border_color();
        cell->titleButton()->setContentHorizontalAlignment(alignmentFor(static_cast<size_t>(item) % 3));
    } else {
        bool plain = row->filterType == FilterTypeAll || colourRow;
        cell->seperatorView()->setBackgroundColor(
            plain ? ui::Color::clear() : mydata::colour(theme->toc_divider_color()));
        cell->dropDownButton()->setTitleColor(
            mydata::colour(theme->filterPopUp_arrow_color()), ui::ControlState::Normal);
        cell->dropDownButton()->setTitleColor(
            mydata::colour(theme->filterPopUp_arrow_color()), ui::ControlState::Selected);
        cell->titleButton()->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Leading);
        if (!colourRow) {
            cell->widthConstraintOfTitleBtn()->setConstant(width - 50);
        } else {
            cell->checkBoxIconColor = theme->filterPopUp_color_box_border_color();
            const auto& notes = m_rules->subSectionNotesArray();
            const auto& contextual = m_rules->subSectionContextualArray();
            const FilterRows& positions = !m_rules->config().stickyNotesMode ? m_rules->noteDataArray()
                : std::find(notes.begin(), notes.end(), row) != notes.end()  ? notes
                                                                             : contextual;
            auto found = std::find(positions.begin(), positions.end(), row);
            size_t position = found == positions.end() ? 0 : static_cast<size_t>(found - positions.begin());
            cell->titleButton()->setContentHorizontalAlignment(alignmentFor(position % 3));
        }
        cell->dropDownAction = [weak](const std::shared_ptr<FilterDataObject>& tapped) {
            if (auto filter = weak.lock())
                filter->drowpDownBtnAction(tapped);
        };
    }
    cell->setDataForCell(row);
    addAccessibilityForTitleButton(*cell->titleButton(), indexPath);
    nameParts();
    cell->checkBoxAction = [weak](const std::shared_ptr<FilterDataObject>& tapped) {
        if (auto filter = weak.lock())
            filter->checkBoxTapped(tapped);
    };
    cell->setNeedsLayout();
    return cell;
}

void FilterViewController::addAccessibilityForTitleButton(ui::Button& button, const ui::IndexPath& indexPath)
{
    const auto& rows = m_rules->shownRows();
    auto item = static_cast<size_t>(indexPath.item());
    if (item >= rows.size())
        return;
    auto entry = filterTitleAccessibility(
        rows[item]->titleTextStr, m_rules->isHighlightFilter(), static_cast<long>(indexPath.item()));
    AccessibilityHelper::setAccessibilityForElementID(button, entry.elementID, "ReaderLectoroAccessibility", entry.argument);
}

std::optional<ui::Size> FilterViewController::sizeForItemAtIndexPath(
    ui::CollectionView& collection, ui::CollectionViewLayout&, const ui::IndexPath& indexPath)
{
    double width = collection.bounds().width();
    if (!m_rules || m_rules->isHighlightFilter() || !m_rules->config().stickyNotesMode)
        return ui::Size { width / 3, 52 };
    bool pad = isIpad();
    double lineHeight = pad ? 60 : (landscape() ? 37 : 50);
    const auto& rows = m_rules->shownRows();
    auto item = static_cast<size_t>(indexPath.item());
    if (item >= rows.size() || rows[item]->filterType != FilterTypeColor)
        return ui::Size { width, lineHeight };
    double colourHeight = pad ? 58 : (landscape() ? 37 : 50);
    auto open = m_rules->openSection();
    const auto& section = open && open->filterType == FilterTypeNotes ? m_rules->subSectionNotesArray()
                                                                      : m_rules->subSectionContextualArray();
    auto found = std::find(section.begin(), section.end(), rows[item]);
    if (found != section.end()) {
        auto position = static_cast<size_t>(found - section.begin());
        // The last row of a line left with one row fills the rest of its line.
        if ((position == 4 && section.size() == 5) || (position == 1 && section.size() == 2))
            return ui::Size { width - width / 3, colourHeight };
    }
    return ui::Size { width / 3, colourHeight };
}

std::optional<ui::EdgeInsets> FilterViewController::insetForSectionAtIndex(
    ui::CollectionView&, ui::CollectionViewLayout&, int)
{
    bool highlights = !m_rules || m_rules->isHighlightFilter();
    return ui::EdgeInsets { 0, 0, highlights ? 6.0 : 4.0, 0 };
}

} // namespace lectoro
