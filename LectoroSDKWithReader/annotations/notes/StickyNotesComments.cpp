// The comment thread inside the note editor: the cell, filling a row (own or other
// bubble, name, text, time), the comment field's 250-unit limit, and posting.

#include "LectoroSDKWithReader/annotations/notes/StickyNotesSeat.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>

namespace lectoro {

namespace {

ui::Font commentFont(double size, bool light = false)
{
    auto font = light ? getCustomFontForWeight(size, ui::FontWeight::Light) : getCustomFont(size);
    return font ? *font : ui::Font::systemFont(size);
}

} // namespace

// MARK: - The cell

std::shared_ptr<StickyNoteCommentCell> StickyNoteCommentCell::create(
    ui::TableViewCellStyle style, const std::string& identifier)
{
    auto cell = std::shared_ptr<StickyNoteCommentCell>(new StickyNoteCommentCell(style, identifier));
    cell->build();
    return cell;
}

StickyNoteCommentCell::StickyNoteCommentCell(ui::TableViewCellStyle style, std::string identifier)
    : ui::TableViewCell(style, std::move(identifier))
{
}

void StickyNoteCommentCell::build()
{
    auto makeBubble = [this](std::shared_ptr<ui::View>& bubble, std::shared_ptr<ui::Label>& name,
                          std::shared_ptr<ui::Label>& text, std::shared_ptr<ui::Label>& time) {
        bubble = ui::View::create();
        name = ui::Label::create();
        text = ui::Label::create();
        text->setNumberOfLines(0);
        time = ui::Label::create();
        bubble->addSubview(name);
        bubble->addSubview(text);
        bubble->addSubview(time);
        contentView()->addSubview(bubble);
    };
    makeBubble(m_containerView, m_createdBy, m_comment, m_dateTime);
    makeBubble(m_myContainerView, m_myName, m_myComment, m_myTime);
}

ui::Size StickyNoteCommentCell::sizeThatFits(const ui::Size& size) const
{
    const bool mine = !m_myContainerView->isHidden();
    const auto& text = mine ? m_myComment : m_comment;
    double width = std::max(0.0, size.width - 40.0);
    double textHeight = text->sizeThatFits(ui::Size { width, 0 }).height;
    return ui::Size { size.width, textHeight + 56.0 };
}

void StickyNoteCommentCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    const double width = bounds().size.width;
    const double height = bounds().size.height;
    for (const auto& [bubble, name, text, time] :
        { std::tuple { m_containerView, m_createdBy, m_comment, m_dateTime },
            std::tuple { m_myContainerView, m_myName, m_myComment, m_myTime } }) {
        bubble->setFrame(ui::Rect { { 10, 4 }, { std::max(0.0, width - 20), std::max(0.0, height - 8) } });
        double inner = std::max(0.0, width - 40);
        name->setFrame(ui::Rect { { 10, 4 }, { inner, 18 } });
        time->setFrame(ui::Rect { { 10, std::max(22.0, height - 30) }, { inner, 14 } });
        text->setFrame(ui::Rect { { 10, 22 }, { inner, std::max(0.0, height - 56) } });
    }
}

// MARK: - The seat's thread and field

int StickyNotesViewController::Seat::numberOfRowsInSection(ui::TableView&, int)
{
    return m_editor ? static_cast<int>(m_editor->m_commentsArray.size()) : 0;
}

std::shared_ptr<ui::TableViewCell> StickyNotesViewController::Seat::cellForRowAtIndexPath(
    ui::TableView& table, const ui::IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<StickyNoteCommentCell>(
        table.dequeueReusableCellWithIdentifier(StickyNoteCommentCell::reuseIdentifier, indexPath));
    if (!cell)
        cell = StickyNoteCommentCell::create(
            ui::TableViewCellStyle::Default, StickyNoteCommentCell::reuseIdentifier);
    if (!m_editor || indexPath.row < 0
        || static_cast<size_t>(indexPath.row) >= m_editor->m_commentsArray.size())
        return cell;
    const auto& editor = *m_editor;
    const base::Value& comment = editor.m_commentsArray[static_cast<size_t>(indexPath.row)];
    const LXMVThemeVO* theme = editor.m_theme.get();
    if (theme && theme->note_popup_background())
        cell->contentView()->setBackgroundColor(*theme->note_popup_background());
    for (const auto& bubble : { cell->containerView(), cell->containerViewForMyComment() }) {
        bubble->layer()->setBorderWidth(0.6);
        bubble->layer()->setCornerRadius(8.0);
        if (auto border = UIColorExpanded::colorWithHexString("#DFDFDF"))
            bubble->layer()->setBorderColor(*border);
    }
    cell->stickyCommentCreatedBy()->setFont(commentFont(15.0));
    cell->stickyCommentLbl()->setFont(commentFont(18.0, true));
    cell->stickyCommentDateTimeLbl()->setFont(commentFont(10.0));
    cell->nameLablForMyComment()->setFont(commentFont(15.0));
    cell->myCommentLbl()->setFont(commentFont(18.0, true));
    cell->timeLblOfMyComments()->setFont(commentFont(10.0));
    if (theme && theme->comments_my_message_description_color())
        cell->myCommentLbl()->setTextColor(*theme->comments_my_message_description_color());
    if (theme && theme->comments_my_message_time_text_color())
        cell->timeLblOfMyComments()->setTextColor(*theme->comments_my_message_time_text_color());

    if (auto text = comment["Text"].asString()) {
        cell->stickyCommentLbl()->setText(*text);
        cell->myCommentLbl()->setText(*text);
    }
    std::string time = StickyNoteRules::commentTimeText(comment);
    cell->stickyCommentDateTimeLbl()->setText(time);
    cell->timeLblOfMyComments()->setText(time);

    const std::string userID = editor.m_user ? editor.m_user->userID : std::string();
    const bool mine = StickyNoteRules::isOwnComment(userID, comment["UserID"]);
    cell->containerViewForMyComment()->setHidden(!mine);
    cell->containerView()->setHidden(mine);
    if (mine) {
        cell->nameLablForMyComment()->setText(LocalizationHelper::localizedStringWithKey("Me"));
        if (theme && theme->comments_my_message_name_color())
            cell->nameLablForMyComment()->setTextColor(*theme->comments_my_message_name_color());
        if (theme && theme->comments_my_message_background())
            cell->containerViewForMyComment()->setBackgroundColor(*theme->comments_my_message_background());
    } else {
        cell->stickyCommentCreatedBy()->setText(comment["DisplayName"].description());
        cell->stickyCommentCreatedBy()->setTextColor(ui::Color::black());
        if (theme && theme->comments_other_message_background())
            cell->containerView()->setBackgroundColor(*theme->comments_other_message_background());
    }
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    return cell;
}

bool StickyNotesViewController::Seat::shouldChangeCharactersInRange(
    ui::TextField&, base::Range range, const std::string& replacement)
{
    return m_editor && m_editor->shouldChangeCommentText(range, replacement);
}

bool StickyNotesViewController::Seat::shouldReturn(ui::TextField& field)
{
    // Return only puts the keyboard away; the send button posts.
    field.resignFirstResponder();
    return true;
}

bool StickyNotesViewController::Seat::shouldChangeTextInRange(
    ui::TextView&, base::Range range, const std::string& replacement)
{
    return m_editor && m_editor->shouldChangeNoteText(range, replacement);
}

bool StickyNotesViewController::Seat::shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched)
{
    return m_editor && m_editor->shouldReceiveTouch(touched);
}

// MARK: - The editor's thread

bool StickyNotesViewController::shouldChangeCommentText(base::Range range, const std::string& replacement)
{
    const std::string& current = m_commentField->text();
    m_commnetTextFieldText = StickyNoteRules::applyEdit(current, range, replacement);
    return shouldChangeTextForTextField(StickyNoteRules::proposedCommentCount(current, range, replacement));
}

bool StickyNotesViewController::shouldChangeTextForTextField(size_t count)
{
    setEnabled(*m_commentPostButton, count != 0, 0.5);
    return StickyNoteRules::acceptsCommentCount(count);
}

void StickyNotesViewController::commentPostButton()
{
    view()->endEditing(true);
    if (base::trimWhitespaceAndNewlines(m_commentField->text()).empty())
        return;
    onMain([](StickyNotesViewController& self) {
        if (!self.m_record || !self.m_user)
            return;
        base::Value::List comments;
        if (const auto* existing = self.m_record->noteComments.asList())
            comments = *existing;
        comments.push_back(
            StickyNoteRules::makeComment(self.m_commentField->text(), *self.m_user, base::Clock::now()));
        self.m_record->noteComments = base::Value(comments);
        if (self.m_postCommentAction)
            self.m_postCommentAction(self.m_record);
        self.m_commentsArray = std::move(comments);
        self.m_tableview->setHidden(false);
        self.reloadTable();
        self.m_commentField->setText(std::string());
        self.m_commnetTextFieldText.clear();
        self.setEnabled(*self.m_commentPostButton, false, 0.5);
        self.m_cardBottom->setConstant(0.0);
        self.heightOfViewsForNoteWithComments();
        self.m_tableview->setContentOffset(ui::Point {});
        self.m_tableview->setContentInset(ui::EdgeInsets {});
        self.view()->setNeedsLayout();
    });
}

void StickyNotesViewController::reloadTable()
{
    onMain([](StickyNotesViewController& self) {
        std::weak_ptr<ui::ViewController> weak = self.weak_from_this();
        ui::View::animate(
            0.2,
            [weak] {
                if (auto editor = weak.lock())
                    static_cast<StickyNotesViewController&>(*editor).m_tableview->reloadData();
            },
            [weak](bool) {
                auto editor = weak.lock();
                if (!editor)
                    return;
                auto& self = static_cast<StickyNotesViewController&>(*editor);
                if (self.m_commentsArray.empty())
                    return;
                self.m_tableview->scrollToRowAtIndexPath(
                    ui::IndexPath::forRow(static_cast<int>(self.m_commentsArray.size()) - 1, 0),
                    ui::TableViewScrollPosition::Bottom, false);
            });
    });
}

} // namespace lectoro
