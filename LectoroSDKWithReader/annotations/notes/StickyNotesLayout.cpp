// How the note card shares its height between the passage, the note, the thread and the
// comment box, at rest and with the keyboard, on phones and iPads. The numbers are the
// rules of StickyNoteRules; this file applies them to the editor's constraints, and the
// frames follow the constraints.

#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"

#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <algorithm>

namespace lectoro {

namespace {

constexpr double noteLayoutAnimation = 0.4;

ui::Rect noteLayoutKeyboardFrame(const base::Notification& note)
{
    const auto& frame = note.userInfo[ui::KeyboardFrameEndUserInfoKey];
    if (!frame.isDictionary())
        return {};
    return { { frame["x"].doubleValue(), frame["y"].doubleValue() },
        { frame["width"].doubleValue(), frame["height"].doubleValue() } };
}

bool noteLayoutLandscape()
{
    return ui::Environment::current().isDeviceLandscape();
}

} // namespace

double StickyNotesViewController::cardHeight() const
{
    return m_containerView ? m_containerView->frame().size.height : 0;
}

double StickyNotesViewController::contentHeight(const ui::TextView& textView) const
{
    double width = textView.bounds().size.width;
    if (width <= 0 && m_containerView)
        width = m_containerView->bounds().size.width;
    return textView.textHeightForWidth(width);
}

void StickyNotesViewController::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    auto root = view();
    const ui::Rect bounds = root->bounds();
    // Header above the container, the footer (time, strip, post row) below it: the
    // container alone is the height the areas' rules share.
    const double postRow = m_postRow->isHidden() ? 0 : m_postRowHeight->constant();
    const double strip = m_colorStrip->isHidden() ? 0 : colorStripHeight;
    const double footer = timeLabelHeight + strip + postRow;
    ui::Rect card;
    double containerHeight;
    if (isPad()) {
        double width = std::min(padCardWidth, std::max(0.0, bounds.size.width - 40.0));
        containerHeight = m_cardHeight->constant();
        double height = headerHeight + containerHeight + footer;
        card = { { (bounds.size.width - width) / 2, std::max(20.0, (bounds.size.height - height) / 2) },
            { width, height } };
    } else {
        double top = ui::Environment::current().statusBarHeight();
        card = { { 0, top },
            { bounds.size.width, std::max(0.0, bounds.size.height - top - m_cardBottom->constant()) } };
        containerHeight = std::max(0.0, card.size.height - headerHeight - footer);
    }
    m_stickyNoteContainerView->setFrame(card);
    const double width = card.size.width;

    m_headerView->setFrame({ {}, { width, headerHeight } });
    m_headerView->subviews().front()->setFrame(m_headerView->bounds());
    m_backButton->setFrame({ { 0, 6 }, { 44, 44 } });
    double right = width;
    for (const auto& [button, constraint] : { std::pair { m_moreButton, m_moreWidth },
             std::pair { m_deleteButton, ui::ConstraintPtr() }, std::pair { m_shareButton, m_shareWidth } }) {
        double buttonWidth = constraint ? constraint->constant() : 50.0;
        right -= buttonWidth;
        button->setFrame({ { right, 6 }, { buttonWidth, 44 } });
        // A share button folded to no width (sharing off) must not show its glyph
        // spilling over its neighbours.
        if (button == m_shareButton)
            button->setHidden(buttonWidth <= 0);
    }
    m_titleButton->setFrame({ { 44, 6 }, { std::max(0.0, right - 44), 44 } });

    m_containerView->setFrame({ { 0, headerHeight }, { width, containerHeight } });
    m_backgroundView->setFrame(m_containerView->bounds());
    double y = 0;
    m_passageContainer->setFrame({ { 0, y }, { width, m_passageHeight->constant() } });
    m_selectedTextTextView->setFrame(
        { { 10, 0 }, { std::max(0.0, width - 20), m_passageHeight->constant() } });
    y += m_passageHeight->constant();
    m_separator->setFrame({ { 10, y }, { std::max(0.0, width - 20), m_separatorHeight->constant() } });
    y += m_separatorHeight->constant() + m_noteTopGap->constant();
    const double noteHeight = std::max(0.0, m_noteHeight->constant());
    m_noteContainer->setFrame({ { 0, y }, { width, noteHeight } });
    const double mic = m_micWidth->constant();
    m_noteTextView->setFrame({ { 10, 0 }, { std::max(0.0, width - 20 - mic), noteHeight } });
    m_micButton->setFrame({ { width - mic - 5, 0 }, { mic, 40 } });
    m_micAnimateButton->setFrame(m_micButton->frame());
    y += noteHeight;
    const double box = m_commentBar->isHidden() ? 0 : m_commentBoxHeight->constant();
    m_commentBar->setFrame({ { 8, containerHeight - box }, { std::max(0.0, width - 16), box } });
    const double commentMic = m_commentMicWidth->constant();
    m_commentField->setFrame({ { 8, 0 }, { std::max(0.0, width - 16 - 16 - commentMic - 44), box } });
    m_commentMicButton->setFrame({ { width - 16 - 44 - commentMic, 0 }, { commentMic, box } });
    m_commentMicAnimateButton->setFrame(m_commentMicButton->frame());
    m_commentPostButton->setFrame({ { width - 16 - 44, 0 }, { 44, box } });
    m_tableview->setFrame({ { 0, y }, { width, std::max(0.0, containerHeight - box - y) } });

    m_footerView->setFrame({ { 0, headerHeight + containerHeight }, { width, footer } });
    m_timeLabel->setFrame({ { 10, 0 }, { std::max(0.0, width - 20), timeLabelHeight } });
    m_colorStrip->setFrame({ { 10, timeLabelHeight }, { m_stripWidth->constant(), strip } });
    m_postRow->setFrame({ { 0, timeLabelHeight + strip }, { width, postRow } });
    m_noteCancelButton->setFrame({ { 0, 0 }, { width / 2, postRow } });
    m_postButton->setFrame({ { width / 2, 0 }, { width / 2, postRow } });
    if (m_popupView) {
        // Its bottom 2 points below the comment bar's, its trailing 12 inside the more button's.
        const double commentBarBottom = card.origin.y + headerHeight + containerHeight;
        m_popupView->setFrame({ { card.origin.x + width - 12 - 45, commentBarBottom + 2 - m_popupHeight->constant() },
            { 45, m_popupHeight->constant() } });
        layoutShareSavePopUp();
    }
}

void StickyNotesViewController::hideTableViewAndCommentsBoxHeight(double box)
{
    onMain([box](StickyNotesViewController& self) {
        self.view()->layoutIfNeeded();
        const bool passage = self.hasPassageText();
        auto areas = StickyNoteRules::boxLayout(
            box, passage, passage ? self.contentHeight(*self.m_selectedTextTextView) : 0, self.cardHeight());
        self.m_passageHeight->setConstant(areas.passage);
        if (areas.gapAboveNoteClosed)
            self.m_noteTopGap->setConstant(0.0);
        self.m_commentBoxHeight->setConstant(areas.commentBox);
        self.m_noteHeight->setConstant(areas.note);
        self.m_tableview->setHidden(true);
        self.m_commentPostButton->setHidden(box <= 0);
        self.m_commentBar->setHidden(box == 0);
        self.view()->setNeedsLayout();
        self.view()->layoutIfNeeded();
    });
}

void StickyNotesViewController::heightOfViewsForNoteWithComments()
{
    onMain([](StickyNotesViewController& self) {
        self.m_postRowHeight->setConstant(0.0);
        self.m_postRow->setHidden(true);
        const bool passage = self.hasPassageText();
        auto areas = StickyNoteRules::threadLayout(passage,
            passage ? self.contentHeight(*self.m_selectedTextTextView) : 0,
            self.contentHeight(*self.m_noteTextView));
        self.m_passageHeight->setConstant(areas.passage);
        self.m_noteHeight->setConstant(areas.note);
        self.view()->setNeedsLayout();
        self.view()->layoutIfNeeded();
    });
}

void StickyNotesViewController::keyboardWillShow(const base::Notification& note)
{
    if (m_isKeyboardOpen || !m_record || !isViewLoaded())
        return;
    m_isKeyboardOpen = true;
    const ui::Rect keyboard = noteLayoutKeyboardFrame(note);
    auto root = view();
    ui::Rect reduced = root->frame();
    reduced.size.height = std::max(0.0, reduced.size.height - keyboard.size.height);
    const bool landscape = noteLayoutLandscape();
    const bool recordHasComments = [&] {
        const auto* comments = m_record->noteComments.asList();
        return comments && !comments->empty();
    }();

    if (isPad()) {
        root->setFrame(reduced);
        if (!recordHasComments) {
            if (!m_noteTextView->isFirstResponder()) {
                std::weak_ptr<ui::View> weakRoot = root;
                ui::View::animate(noteLayoutAnimation, [weakRoot] {
                    if (auto view = weakRoot.lock())
                        view->layoutIfNeeded();
                });
                return;
            }
            m_cardHeight->setConstant(StickyNoteRules::padCardHeightWhileTyping);
            root->setNeedsLayout();
            root->layoutIfNeeded();
            auto layout = StickyNoteRules::padNoteKeyboardLayout(
                landscape, !m_selectedTextTextView->text().empty(), contentHeight(*m_selectedTextTextView));
            ui::View::animate(noteLayoutAnimation, [this, layout] {
                if (layout.passage)
                    m_passageHeight->setConstant(*layout.passage);
                if (layout.note)
                    m_noteHeight->setConstant(*layout.note);
                view()->setNeedsLayout();
                view()->layoutIfNeeded();
            });
            return;
        }
        root->setNeedsLayout();
        root->layoutIfNeeded();
        if (m_commentsArray.empty())
            return;
        const bool passage = hasPassageText();
        auto areas = StickyNoteRules::padThreadKeyboardLayout(
            passage, passage ? contentHeight(*m_selectedTextTextView) : 0, contentHeight(*m_noteTextView));
        if (passage)
            m_passageHeight->setConstant(areas.passage);
        m_noteHeight->setConstant(areas.note);
        reloadTable();
        return;
    }

    // The animation block only schedules the work: it runs once the block has returned.
    const double keyboardHeight = keyboard.size.height;
    const double screenHeight = ui::Environment::current().screenSize().height;
    ui::View::animate(noteLayoutAnimation, [this, keyboardHeight, screenHeight, landscape] {
        onMain([keyboardHeight, screenHeight, landscape](StickyNotesViewController& self) {
            const bool passage = self.hasPassageText();
            if (self.m_noteTextView->isFirstResponder()) {
                self.m_cardBottom->setConstant(
                    StickyNoteRules::phoneCardBottomDistance(keyboardHeight, screenHeight, landscape, false));
                self.view()->setNeedsLayout();
                self.view()->layoutIfNeeded();
                auto areas = StickyNoteRules::phoneNoteKeyboardLayout(landscape, passage,
                    passage ? self.contentHeight(*self.m_selectedTextTextView) : 0, self.cardHeight());
                self.m_passageHeight->setConstant(areas.passage);
                self.m_noteHeight->setConstant(areas.note);
            } else if (self.m_commentField->isFirstResponder()) {
                self.m_cardBottom->setConstant(
                    StickyNoteRules::phoneCardBottomDistance(keyboardHeight, screenHeight, landscape, true));
                self.view()->setNeedsLayout();
                self.view()->layoutIfNeeded();
                const bool threadEmpty = self.m_commentsArray.empty();
                if (!threadEmpty)
                    self.m_separator->setHidden(true);
                auto areas = StickyNoteRules::phoneCommentKeyboardLayout(landscape, passage, threadEmpty,
                    passage ? self.contentHeight(*self.m_selectedTextTextView) : 0,
                    self.contentHeight(*self.m_noteTextView), self.cardHeight());
                if (passage || threadEmpty)
                    self.m_passageHeight->setConstant(areas.passage);
                self.m_noteHeight->setConstant(areas.note);
                if (!threadEmpty)
                    self.reloadTable();
            }
            self.view()->setNeedsLayout();
            self.view()->layoutIfNeeded();
        });
    });
}

void StickyNotesViewController::keyboardWillHide(const base::Notification&)
{
    if (!isViewLoaded() || !m_record)
        return;
    m_isKeyboardOpen = false;
    auto root = view();
    if (isPad()) {
        root->setFrame(ui::Environment::current().screenBounds());
        root->setNeedsLayout();
        root->layoutIfNeeded();
        m_cardHeight->setConstant(StickyNoteRules::padCardHeightAtRest);
        m_cardBottom->setConstant(0.0);
        ui::View::animate(noteLayoutAnimation, [this] {
            if (m_commentsArray.empty()) {
                applyCommentBoxRuleAfterKeyboard();
            } else {
                heightOfViewsForNoteWithComments();
                reloadTable();
            }
        });
        return;
    }
    ui::View::animate(noteLayoutAnimation, [this] {
        m_cardBottom->setConstant(0.0);
        view()->setNeedsLayout();
        view()->layoutIfNeeded();
        if (m_commentsArray.empty()) {
            applyCommentBoxRuleAfterKeyboard();
        } else {
            m_separator->setHidden(false);
            heightOfViewsForNoteWithComments();
            reloadTable();
        }
    });
}

void StickyNotesViewController::applyCommentBoxRuleAfterKeyboard()
{
    if (!m_record->isReceived && !m_record->isShare) {
        hideTableViewAndCommentsBoxHeight(0.0);
        return;
    }
    if (isInstructor()) {
        hideTableViewAndCommentsBoxHeight(StickyNoteRules::commentBoxHeight);
        return;
    }
    hideTableViewAndCommentsBoxHeight(0.0);
    m_postRow->setHidden(m_record->isReceived);
}

} // namespace lectoro
