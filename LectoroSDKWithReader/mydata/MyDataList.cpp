// The list side of the My Data panel: the list of each segment, the filters, the rows, a
// row tap, and the answers to received notes.

#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"

#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/mydata/FilterViewController.h"
#include "LectoroSDKWithReader/mydata/MyDataStyle.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace lectoro {

namespace {

constexpr const char* myDataListAccessibilityTable = "ReaderLectoroAccessibility";

std::string localizedCount(size_t count)
{
    return NumberLocalizationHandler::localizeNumberWithNumber(base::Value(static_cast<int64_t>(count)));
}

} // namespace

bool LXMyDataViewController::isPageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_book) != nullptr;
}

void LXMyDataViewController::setCountLabel(const std::shared_ptr<ui::Label>& label, size_t count)
{
    label->setText(localizedCount(count));
    label->setHidden(false);
}

void LXMyDataViewController::highlightsSegmantWithMyHighlights()
{
    if (m_filter.highlightWithFilter) {
        m_dataArray = filteredHighlights(m_ugcArray, m_filter);
        m_filterIcon->setHidden(false);
        return;
    }
    m_dataArray = myHighlights(m_ugcArray);
    m_filterButton->setEnabled(!m_dataArray.empty() || m_selectedSegment != MyDataSegmentHighlights);
    m_filterIcon->setHidden(true);
}

MyDataRecords LXMyDataViewController::notesSegmantWithMyNotes()
{
    if (m_filter.notesWithFilter) {
        m_filterIcon->setHidden(false);
        return filteredNotes(m_ugcArray, m_filter);
    }
    auto notes = myNotes(m_ugcArray);
    m_myNoteArray = notes;
    m_filterButton->setEnabled(!notes.empty() || m_selectedSegment != MyDataSegmentNotes);
    m_filterIcon->setHidden(true);
    return notes;
}

void LXMyDataViewController::filterData()
{
    if (!m_tableView)
        return;
    if (m_selectedSegment == MyDataSegmentHighlights) {
        m_highlightButton->setSelected(true);
        m_notesButton->setSelected(false);
        m_noDataIconLbl->setText(ICON_HighlightNew);
        highlightsSegmantWithMyHighlights();
        m_noDataLabel->setText(mydata::text(m_filter.highlightWithFilter
                ? "NO_HIGHLIGHTS_KEY"
                : "Highlight_text_to_add_a_note_or_mark them_as_important"));
        if (!m_dataArray.empty())
            setCountLabel(m_highlightCountLbl, m_dataArray.size());
        else
            m_highlightCountLbl->setHidden(true);
    } else if (m_selectedSegment == MyDataSegmentNotes) {
        m_notesButton->setSelected(true);
        m_highlightButton->setSelected(false);
        m_noDataIconLbl->setText(ICON_TAPPABLE_STICKY_NOTE);
        m_dataArray = notesSegmantWithMyNotes();
        m_noDataLabel->setText(mydata::text(m_filter.notesWithFilter
                ? "NO_NOTES_KEY"
                : "Notes_added/shared_with_will_appear_color_coded_on_the_basis_of_recently_create/shared"));
        if (!m_dataArray.empty()) {
            m_noteCount = m_dataArray.size();
            setCountLabel(m_noteCountLbl, m_dataArray.size());
        } else {
            m_noteCountLbl->setHidden(true);
        }
    }
    if (m_isMyDataNotificationController) {
        m_noDataContainerView->setHidden(true);
    } else {
        bool rows = !m_dataArray.empty();
        m_tableView->setHidden(!rows);
        m_printButton->setAlpha(rows ? 1.0 : 0.5);
        m_printButton->setUserInteractionEnabled(rows);
        m_noDataContainerView->setHidden(rows);
    }
    reloadMyDataTableView();
}

void LXMyDataViewController::segmentbuttonAction(ui::Button& sender)
{
    m_selectedSegment = sender.tag();
    placeUnderline();
    updateHeaderTitle();
    filterData();
}

void LXMyDataViewController::filterButtonAction()
{
    if (!m_filterViewController)
        return;
    m_filterViewController->setIsHighlightFilter(m_selectedSegment == MyDataSegmentHighlights);
    if (auto navigation = navigationController())
        navigation->presentViewController(m_filterViewController, true, [] {});
}

void LXMyDataViewController::notificationButtonAction()
{
    if (dataWithAllRequest().empty())
        return;
    if (isIpad())
        updateViewForMyNotification();
    else
        presentMyDataForNotification();
}

void LXMyDataViewController::printButtonTapped()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnPrint();
}

void LXMyDataViewController::shareSettingsButtonTapped()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnShareSettings();
}

void LXMyDataViewController::backButtonTapped()
{
    if (m_isMyDataNotificationController) {
        if (auto navigation = navigationController())
            navigation->popViewControllerAnimated(true);
        return;
    }
    dismissMyDataController();
}

void LXMyDataViewController::inilializeFilterViewController()
{
    auto filter = FilterViewController::create();
    m_filterViewController = filter;
    filter->isSharingEnabled = true;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(m_book);
    if (isPageBook() || (epub && epub->meta.layout == 1))
        filter->isStickyNotesEnabled = true;
    if (isIpad()) {
        filter->setModalPresentationStyle(ui::ModalPresentationStyle::OverCurrentContext);
        filter->setModalTransitionStyle(ui::ModalTransitionStyle::CrossDissolve);
    } else {
        filter->setModalPresentationStyle(ui::ModalPresentationStyle::OverFullScreen);
    }
    filter->bookOrientationMode = m_bookOrientationMode;
    filter->themeVO = m_themeVO;
    filter->userSettingsModel = m_userSettingsModel;
    std::weak_ptr<LXMyDataViewController> weak = self();
    filter->dissmisFilterController = [weak] {
        if (auto panel = weak.lock()) {
            panel->view()->setAlpha(1);
            panel->reloadMyDataTableView();
        }
    };
    filter->filterNotesAction
        = [weak](const std::vector<std::string>& sticky, const std::vector<std::string>& contextual, bool all,
              bool stickyShared, bool contextualShared) {
              if (auto panel = weak.lock()) {
                  panel->view()->setAlpha(1);
                  panel->m_filter.applyNotesFilter(sticky, contextual, all, stickyShared, contextualShared);
                  panel->filterData();
              }
          };
    filter->filterHighlightsAction = [weak](const std::vector<std::string>& colours, bool all, bool shared) {
        if (auto panel = weak.lock()) {
            panel->view()->setAlpha(1);
            panel->m_filter.applyHighlightFilter(colours, all, shared);
            panel->filterData();
        }
    };
    if (!(sharingEnabled() && !m_isShareSettingsDisabled && !m_isShareWithMeDisabled))
        filter->isSharingEnabled = false;
    filter->setColorsForFilter(
        mydata::colourTexts(m_themeVO ? m_themeVO->highlight_Color_Array() : std::nullopt));
}

void LXMyDataViewController::unableNotificationSetup(bool on)
{
    m_segmentHeightConstraint->setConstant(on ? 0 : 60);
    m_notificationTopHeightConstraint->setConstant(on ? 40 : 0);
    m_acceptButton->setHidden(!on);
    m_declineButton->setHidden(!on);
    m_segmentView->setHidden(on);
}

// MARK: - Answers

void LXMyDataViewController::didTapOnAcceptButton(const std::string& ugcId)
{
    answerReceived(ugcId, true);
}

void LXMyDataViewController::didTapOnRejectButton(const std::string& ugcId)
{
    answerReceived(ugcId, false);
}

void LXMyDataViewController::answerReceived(const std::string& ugcId, bool accepted)
{
    if (!LectoroNetworkManager::getInstance().isInternetAvailable()) {
        auto root
            = std::static_pointer_cast<ui::ViewController>(ui::Environment::current().rootViewController());
        std::shared_ptr<ui::ViewController> presenter = root ? root->presentedViewController() : nullptr;
        AlertView::sharedManager().presentAlertWithTitle("", mydata::text("INTERNET_UNAVAILABLE_MESSAGE"),
            std::vector<std::string> { mydata::text("OK") }, presenter ? presenter : root,
            [](int64_t, const std::string&) {});
        return;
    }
    didHighlight(ugcId, accepted);
}

void LXMyDataViewController::didHighlight(const std::string& ugcID, bool accepted)
{
    // One answer per note: the row stays listed until the refreshed records come.
    if (m_answeredIDs.count(ugcID))
        return;
    for (const auto& record : m_dataArray) {
        if (record && record->ugcID == ugcID) {
            m_answeredIDs.insert(ugcID);
            record->setIsCollabSubmitted(false);
            if (auto delegate = m_delegate.lock())
                delegate->didAnsweredHighlight(record, accepted);
            break;
        }
    }
    auto pending = dataWithAllRequest();
    std::erase_if(pending, [this](const auto& record) { return m_answeredIDs.count(record->ugcID) != 0; });
    if (!pending.empty()) {
        m_dataArray = dataWithAllRequest();
        if (accepted && m_noteCountLbl) {
            ++m_noteCount;
            setCountLabel(m_noteCountLbl, m_noteCount);
        }
        if (m_tableView)
            reloadMyDataTableView();
        return;
    }
    if (isIpad()) {
        m_selectedSegment = MyDataSegmentNotes;
        if (!m_tableView)
            return;
        unableNotificationSetup(false);
        m_notificationIcon->setHidden(true);
        m_notificationButton->setEnabled(false);
        filterData();
    } else if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

// MARK: - Rows

int LXMyDataViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(m_dataArray.size());
}

ui::Color LXMyDataViewController::rowColor(const SDKHighlightVO& record) const
{
    return UIColorExpanded::colorWithHexString(myDataRowColorHex(record))
        .value_or(ui::Color::fromRGB255(0xFF, 0xFF, 0));
}

std::shared_ptr<ui::TableViewCell> LXMyDataViewController::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto row = indexPath.row;
    if (row < 0 || static_cast<size_t>(row) >= m_dataArray.size() || !m_dataArray[row])
        return ui::TableViewCell::create(ui::TableViewCellStyle::Default, "MyDataEmptyCell");
    const auto& record = *m_dataArray[row];
    bool pad = isIpad();
    ui::Color colour = rowColor(record);
    std::string date = myDataDateText(record, isPageBook());
    auto theme = m_themeVO ? m_themeVO : std::make_shared<LXMVThemeVO>();
    auto clearBackgrounds = [](ui::TableViewCell& cell) {
        cell.contentView()->setBackgroundColor(ui::Color::clear());
        cell.setBackgroundColor(ui::Color::clear());
    };

    if (m_selectedSegment == MyDataSegmentHighlights) {
        auto cell = std::dynamic_pointer_cast<LXMyDataHighlightCell>(
            table.dequeueReusableCellWithIdentifier(LXMyDataHighlightCell::reuseIdentifier));
        if (!cell)
            cell = LXMyDataHighlightCell::create(
                ui::TableViewCellStyle::Default, LXMyDataHighlightCell::reuseIdentifier);
        cell->setAccessibilityIdentifier(base::format("highlightCell%ld", static_cast<long>(row)));
        cell->chapterTitleLabel()->setTextColor(mydata::colour(theme->mydata_chpater_text_color()));
        cell->dateLabel()->setTextColor(mydata::colour(theme->mydata_page_date_text_color()));
        cell->noteTextLabel()->setTextColor(mydata::colour(theme->mydata_note_text_color()));
        clearBackgrounds(*cell);
        cell->updateCellWithChapterName(myDataChapterName(m_book.get(), record), date, record.text, colour);
        cell->iconLabel()->setText(ICON_HIGHLIGHTER_K12);
        AccessibilityHelper::setAccessibilityForElementID(
            *cell->iconLabel(), "MyDataHighlightIcon", myDataListAccessibilityTable, "");
        cell->iconLabel()->setFont(mydata::iconFont(pad ? 30 : 26));
        cell->chapterTitleLabel()->setFont(mydata::customFont(pad ? 16 : 15));
        cell->dateLabel()->setFont(mydata::customFont(13));
        return cell;
    }

    if (m_selectedSegment == MyDataSegmentNotes) {
        auto cell = std::dynamic_pointer_cast<LXMyDataNoteCell>(
            table.dequeueReusableCellWithIdentifier(LXMyDataNoteCell::reuseIdentifier));
        if (!cell)
            cell = LXMyDataNoteCell::create(
                ui::TableViewCellStyle::Default, LXMyDataNoteCell::reuseIdentifier);
        cell->setAccessibilityIdentifier(base::format("noteCell%ld", static_cast<long>(row)));
        cell->commentButton()->setAccessibilityIdentifier(
            base::format("noteCellCommentBtn%ld", static_cast<long>(row)));
        cell->shareButton()->setAccessibilityIdentifier(
            base::format("noteCellShareBtn%ld", static_cast<long>(row)));
        cell->chapterNameLabel()->setTextColor(mydata::colour(theme->mydata_chpater_text_color()));
        cell->dateLabel()->setTextColor(mydata::colour(theme->mydata_page_date_text_color()));
        cell->noteTextLabel()->setTextColor(mydata::colour(theme->mydata_note_text_color()));
        cell->highlightLabel()->setTextColor(mydata::colour(theme->mydata_note_text_color()));
        clearBackgrounds(*cell);
        cell->localId = record.localID;
        cell->setDelegate(std::weak_ptr<MyDataNoteCellDelegate>(self()));
        cell->index = row;
        bool contextual = !record.text.empty();
        cell->iconLabel()->setText(contextual ? NOTE_TEXT_ICON : ICON_TAPPABLE_STICKY_NOTE);
        if (record.isTeacherReviewNote) {
            cell->iconLabel()->setText(ICON_TEACHER_COMMENT);
            colour = *UIColorExpanded::colorWithHexString(MyDataTeacherNoteColor);
        }
        cell->iconLabel()->setFont(mydata::iconFont(pad ? 30 : 26));
        cell->chapterNameLabel()->setFont(mydata::customFont(pad ? 16 : 15));
        cell->dateLabel()->setFont(mydata::customFont(pad ? 13 : 12));
        cell->noteTextLabel()->setFont(mydata::customFont(pad ? 15 : 14));
        cell->commentButton()->setFont(mydata::customFont(pad ? 16 : 15));
        cell->shareButton()->setFont(mydata::customFont(pad ? 16 : 15));
        cell->showShareButton(true);
        const auto* comments = record.noteComments.asList();
        const auto* shared = record.sharedUsers.asList();
        size_t commentCount = comments ? comments->size() : 0;
        size_t shareCount = shared ? shared->size() : 0;
        cell->updateCellWithChapterName(myDataChapterName(m_book.get(), record), date, record.text, record.noteText, colour,
            static_cast<int64_t>(commentCount), localizedCount(commentCount), localizedCount(shareCount),
            mydata::colour(theme->mydata_commentShare_button_text_icon_color()));
        if (!sharingEnabled() || record.isTeacherReviewNote) {
            cell->showShareButton(false);
            cell->showCommentButton(false);
        } else if (record.isReceived) {
            // The comment thread stays open to a received note; a reused row must not
            // carry an earlier row's hidden comment button.
            cell->showShareButton(false);
            cell->showCommentButton(true);
        } else if (m_isShareSettingsDisabled) {
            cell->showShareButton(false);
            cell->showCommentButton(false);
        } else {
            cell->showShareButton(true);
            cell->showCommentButton(true);
        }
        AccessibilityHelper::setAccessibilityForElementID(*cell->iconLabel(),
            contextual ? "MyDataContextualNoteIcon" : "MyDataStickyNoteIcon", myDataListAccessibilityTable,
            "");
        return cell;
    }

    auto cell = std::dynamic_pointer_cast<LXMyDataNoteAnswerCell>(
        table.dequeueReusableCellWithIdentifier(LXMyDataNoteAnswerCell::reuseIdentifier));
    if (!cell)
        cell = LXMyDataNoteAnswerCell::create(
            ui::TableViewCellStyle::Default, LXMyDataNoteAnswerCell::reuseIdentifier);
    cell->setAccessibilityIdentifier(base::format("notificationCell%ld", static_cast<long>(row)));
    cell->acceptButton()->setAccessibilityIdentifier(
        base::format("notificationCellAcceptBtn%ld", static_cast<long>(row)));
    cell->rejectButton()->setAccessibilityIdentifier(
        base::format("notificationCellRejectBtn%ld", static_cast<long>(row)));
    cell->creatorNameLabel()->setTextColor(mydata::colour(theme->mydata_chpater_text_color()));
    cell->creatorNameLabel()->setText(
        base::format("%@ %@", record.creatorName, mydata::text("MY_DATA_STARTED_SHARING_DATA_WITH_YOU")));
    cell->acceptButton()->setBackgroundColor(theme->settings_done_button_background());
    cell->acceptButton()->setTitleColor(mydata::colour(theme->settings_done_button_text_color()));
    cell->rejectButton()->setTitleColor(mydata::colour(theme->settings_cancel_button_text_color()));
    cell->rejectButton()->layer()->setBorderColor(
        mydata::colour(theme->settings_cancel_button_border_color()));
    cell->setDelegate(std::weak_ptr<MyDataNoteAnswerCellDelegate>(self()));
    cell->ugcId = record.ugcID;
    cell->setAnswered(m_answeredIDs.count(record.ugcID) != 0);
    cell->iconLabel()->setText(record.isStickyNote ? ICON_TAPPABLE_STICKY_NOTE : NOTE_TEXT_ICON);
    cell->iconLabel()->setTextColor(colour);
    AccessibilityHelper::setAccessibilityForElementID(*cell->iconLabel(),
        record.isStickyNote ? "MyDataStickyNoteIcon" : "MyDataContextualNoteIcon",
        myDataListAccessibilityTable, "");
    cell->contentView()->setBackgroundColor(ui::Color::clear());
    cell->iconLabel()->setFont(mydata::iconFont(pad ? 32 : 26));
    cell->creatorNameLabel()->setFont(mydata::customFont(pad ? 15 : 14));
    cell->acceptButton()->setFont(mydata::customFont(pad ? 15 : 14));
    cell->rejectButton()->setFont(mydata::customFont(pad ? 15 : 14));
    return cell;
}

void LXMyDataViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    if (m_selectedSegment != MyDataSegmentHighlights && m_selectedSegment != MyDataSegmentNotes)
        return;
    auto row = indexPath.row;
    if (row < 0 || static_cast<size_t>(row) >= m_dataArray.size() || !m_dataArray[row])
        return;
    auto record = m_dataArray[row];
    if (record->isReceived && !record->isAnswered)
        return;
    if (auto delegate = m_delegate.lock()) {
        if (auto target = myDataPageTarget(*record))
            delegate->navigateTopage(*target);
    }
    dismissMyDataController();
}

std::shared_ptr<SDKHighlightVO> LXMyDataViewController::recordForRow(
    int64_t index, const std::string& localId) const
{
    // A row filled before the list was rebuilt reports an index that may now name another
    // record, or none.
    if (index < 0 || static_cast<size_t>(index) >= m_dataArray.size())
        return nullptr;
    auto record = m_dataArray[static_cast<size_t>(index)];
    if (!record || record->localID != localId)
        return nullptr;
    return record;
}

void LXMyDataViewController::showCommentsViewForIndex(int64_t index, const std::string& localId)
{
    auto record = recordForRow(index, localId);
    auto delegate = m_delegate.lock();
    if (record && delegate)
        delegate->didTapOnNotesComment(record);
}

void LXMyDataViewController::showShareViewForIndex(int64_t index, const std::string& localId)
{
    auto record = recordForRow(index, localId);
    auto delegate = m_delegate.lock();
    if (record && delegate)
        delegate->didTapOnNoteShareSettings(record);
}

} // namespace lectoro
