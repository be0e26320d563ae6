#pragma once

// The rows of the My Data list: a highlight, one of the user's notes (with its comment and
// share buttons), and a received note waiting for an answer (accept, decline). The panel
// fills each row afresh on every reuse; a row keeps only what its taps report.

#include "platform/base/AttributedString.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <string>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

// "CHAPTER_KEY : <name>".
std::string myDataChapterLine(const std::string& chapterName);
// An icon glyph and a text as one button title: glyph first; in a right-to-left interface a
// left-to-right mark, the text and two spaces, then the glyph.
base::AttributedString myDataTitleWithIcon(
    const std::string& glyph, const std::string& text, const ui::Color&);

class LXMyDataHighlightCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "MyDataHighlightCell";
    static std::shared_ptr<LXMyDataHighlightCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "LXMyDataHighlightCell"; }

    void updateCellWithChapterName(const std::string& chapterName, const std::string& date,
        const std::string& text, const ui::Color& color);

    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }
    const std::shared_ptr<ui::Label>& chapterTitleLabel() const { return m_chapterTitleLabel; }
    const std::shared_ptr<ui::Label>& dateLabel() const { return m_dateLabel; }
    const std::shared_ptr<ui::Label>& noteTextLabel() const { return m_noteTextLabel; }

    ui::Size sizeThatFits(const ui::Size&) const override;
    // Placed by hand (its constraints only carry heights), so measured by hand too.
    double fittingHeight(double width) override { return sizeThatFits({ width, 0 }).height; }
    void layoutSubviews() override;

protected:
    using ui::TableViewCell::TableViewCell;

private:
    // Places the row's parts for a width (when `place`) and answers the row's height.
    double arrange(double width, bool place) const;

    std::shared_ptr<ui::Label> m_iconLabel;
    std::shared_ptr<ui::Label> m_chapterTitleLabel;
    std::shared_ptr<ui::Label> m_dateLabel;
    std::shared_ptr<ui::Label> m_noteTextLabel;
};

class MyDataNoteCellDelegate {
public:
    virtual ~MyDataNoteCellDelegate() = default;
    // The local id lets the list refuse an index that a reload has moved to another record.
    virtual void showCommentsViewForIndex(int64_t index, const std::string& localId) = 0;
    virtual void showShareViewForIndex(int64_t index, const std::string& localId) = 0;
};

class LXMyDataNoteCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "MyDataNoteCell";
    static std::shared_ptr<LXMyDataNoteCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "LXMyDataNoteCell"; }

    void setDelegate(std::weak_ptr<MyDataNoteCellDelegate> delegate) { m_delegate = std::move(delegate); }
    std::string localId;
    int64_t index = 0;

    // Counts come as localised texts for the titles and as numbers for the comment
    // button's state.
    void updateCellWithChapterName(const std::string& chapterName, const std::string& date,
        const std::string& text, const std::string& noteText, const ui::Color& color, int64_t commentsCount,
        const std::string& commentsText, const std::string& shareText, const ui::Color& buttonColor);
    void showShareButton(bool show);
    void showCommentButton(bool show);
    void disableCommentAndShareSection();

    void commentButtonAction();
    void shareNoteTapped();

    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }
    const std::shared_ptr<ui::Label>& chapterNameLabel() const { return m_chapterNameLabel; }
    const std::shared_ptr<ui::Label>& dateLabel() const { return m_dateLabel; }
    const std::shared_ptr<ui::Label>& highlightLabel() const { return m_highlightLabel; }
    const std::shared_ptr<ui::Label>& noteTextLabel() const { return m_noteTextLabel; }
    const std::shared_ptr<ui::Button>& commentButton() const { return m_commentButton; }
    const std::shared_ptr<ui::Button>& shareButton() const { return m_shareButton; }
    const ui::ConstraintPtr& highlightLabelHeightConstraint() const { return m_highlightLabelHeight; }
    const ui::ConstraintPtr& hightlightTextBottomConstraint() const { return m_highlightTextBottom; }
    const ui::ConstraintPtr& heightConstraintOfComment() const { return m_commentLineHeight; }
    const ui::ConstraintPtr& heightConstraintOfCommentButton() const { return m_commentButtonHeight; }
    const ui::ConstraintPtr& shareButtonHeightConstraint() const { return m_shareButtonHeight; }
    const ui::ConstraintPtr& bottomConstraintOfNoteLbl() const { return m_noteBottom; }

protected:
    using ui::TableViewCell::TableViewCell;

private:
    void build();

    std::weak_ptr<MyDataNoteCellDelegate> m_delegate;
    std::shared_ptr<ui::Label> m_iconLabel;
    std::shared_ptr<ui::Label> m_chapterNameLabel;
    std::shared_ptr<ui::Label> m_dateLabel;
    std::shared_ptr<ui::Label> m_highlightLabel;
    std::shared_ptr<ui::Label> m_noteTextLabel;
    // The comment and share line (its height is the line's, whatever the buttons show).
    std::shared_ptr<ui::View> m_commentLine;
    std::shared_ptr<ui::Button> m_commentButton;
    std::shared_ptr<ui::Button> m_shareButton;
    ui::ConstraintPtr m_highlightLabelHeight;
    ui::ConstraintPtr m_highlightTextBottom;
    ui::ConstraintPtr m_commentLineHeight;
    ui::ConstraintPtr m_commentButtonHeight;
    ui::ConstraintPtr m_shareButtonHeight;
    ui::ConstraintPtr m_noteBottom;
};

class MyDataNoteAnswerCellDelegate {
public:
    virtual ~MyDataNoteAnswerCellDelegate() = default;
    virtual void didTapOnAcceptButton(const std::string& ugcId) = 0;
    virtual void didTapOnRejectButton(const std::string& ugcId) = 0;
};

class LXMyDataNoteAnswerCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "MyDataNoteAnswerCell";
    static std::shared_ptr<LXMyDataNoteAnswerCell> create(
        ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "LXMyDataNoteAnswerCell"; }

    void setDelegate(std::weak_ptr<MyDataNoteAnswerCellDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    std::string ugcId;

    // An answered row takes no second answer while the list waits for the refreshed records.
    void setAnswered(bool answered);

    void acceptButtonTapped();
    void rejectButtonTapped();

    const std::shared_ptr<ui::Label>& creatorNameLabel() const { return m_creatorNameLabel; }
    const std::shared_ptr<ui::Label>& iconLabel() const { return m_iconLabel; }
    const std::shared_ptr<ui::Button>& acceptButton() const { return m_acceptButton; }
    const std::shared_ptr<ui::Button>& rejectButton() const { return m_rejectButton; }

    ui::Size sizeThatFits(const ui::Size&) const override;
    // Placed by hand (its constraints only carry heights), so measured by hand too.
    double fittingHeight(double width) override { return sizeThatFits({ width, 0 }).height; }
    void layoutSubviews() override;

protected:
    using ui::TableViewCell::TableViewCell;

private:
    void build();
    double arrange(double width, bool place) const;

    std::weak_ptr<MyDataNoteAnswerCellDelegate> m_delegate;
    std::shared_ptr<ui::Label> m_creatorNameLabel;
    std::shared_ptr<ui::Label> m_iconLabel;
    std::shared_ptr<ui::Button> m_acceptButton;
    std::shared_ptr<ui::Button> m_rejectButton;
};

} // namespace lectoro
