#include "LectoroSDKWithReader/mydata/MyDataCells.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/IconFontConstants.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace lectoro {

namespace {

std::shared_ptr<ui::Label> myDataLabel(const std::shared_ptr<ui::View>& parent)
{
    auto label = ui::Label::create();
    parent->addSubview(label);
    return label;
}

std::shared_ptr<ui::Button> myDataButton(const std::shared_ptr<ui::View>& parent)
{
    auto button = ui::Button::create();
    parent->addSubview(button);
    return button;
}

// The rows stack their parts under one another beside the colour glyph, mirrored in a
// right-to-left language. Constraints give only the heights that change with the record;
// the places are set here, so every part, buttons included, has a frame a finger can find.
constexpr double rowInset = 16;
constexpr double glyphSize = 20;
constexpr double textX = rowInset + glyphSize + 8;

class RowStack {
public:
    RowStack(double width, bool place)
        : m_width(width)
        , m_textWidth(std::max(0.0, width - textX - rowInset))
        , m_place(place)
    {
    }

    double textWidth() const { return m_textWidth; }
    double y() const { return m_y; }
    void skip(double height) { m_y += height; }

    void glyph(const std::shared_ptr<ui::Label>& label) const { put(label, { rowInset, 12, glyphSize, glyphSize }); }

    // A line of the text column: `height`, or what the label needs at the column's width.
    void line(const std::shared_ptr<ui::Label>& label, std::optional<double> height = std::nullopt)
    {
        double h = height ? *height : std::ceil(label->sizeThatFits({ m_textWidth, 0 }).height);
        put(label, { textX, m_y, m_textWidth, h });
        m_y += h;
    }

    // Buttons side by side in the text column, each `width` wide (the column's share when 0).
    void buttons(const std::vector<std::pair<std::shared_ptr<ui::Button>, double>>& row, double width, double gap)
    {
        double lineHeight = 0;
        double x = textX;
        double each = width > 0 ? width : (m_textWidth - gap * double(row.size() - 1)) / double(row.size());
        for (const auto& [button, height] : row) {
            put(button, { x, m_y, each, height });
            x += each + gap;
            lineHeight = std::max(lineHeight, height);
        }
        m_y += lineHeight;
    }

private:
    void put(const std::shared_ptr<ui::View>& view, ui::Rect frame) const
    {
        if (!m_place)
            return;
        if (isRTL())
            frame.origin.x = m_width - frame.origin.x - frame.size.width;
        view->setFrame(frame);
    }

    double m_width;
    double m_textWidth;
    bool m_place;
    double m_y = 10;
};

} // namespace

std::string myDataChapterLine(const std::string& chapterName)
{
    return base::format("%@ : %@", LocalizationHelper::localizedStringWithKey("CHAPTER_KEY"), chapterName);
}

base::AttributedString myDataTitleWithIcon(
    const std::string& glyph, const std::string& text, const ui::Color& color)
{
    bool pad = isIpad();
    base::TextAttributes iconAttributes;
    iconAttributes.font = base::FontAttr { MVIconFontConstants::getFontName(), pad ? 16.0 : 15.0, 400 };
    iconAttributes.foregroundColor = IconFontConstants::colorAttr(color);
    iconAttributes.baselineOffset = -1.5;
    base::TextAttributes textAttributes;
    if (auto font = getCustomFont(pad ? 15 : 14))
        textAttributes.font = IconFontConstants::fontAttr(*font);
    textAttributes.foregroundColor = IconFontConstants::colorAttr(color);
    base::AttributedString title;
    if (isRTL()) {
        title.append("\u200E" + text + "  ", textAttributes);
        title.append(glyph, iconAttributes);
    } else {
        title.append(glyph, iconAttributes);
        title.append(text, textAttributes);
    }
    return title;
}

// MARK: - Highlight row

std::shared_ptr<LXMyDataHighlightCell> LXMyDataHighlightCell::create(
    ui::TableViewCellStyle style, std::string id)
{
    std::shared_ptr<LXMyDataHighlightCell> cell(new LXMyDataHighlightCell(style, std::move(id)));
    const auto& content = cell->contentView();
    cell->m_iconLabel = myDataLabel(content);
    cell->m_chapterTitleLabel = myDataLabel(content);
    cell->m_dateLabel = myDataLabel(content);
    cell->m_noteTextLabel = myDataLabel(content);
    cell->m_noteTextLabel->setNumberOfLines(0);
    return cell;
}

void LXMyDataHighlightCell::updateCellWithChapterName(
    const std::string& chapterName, const std::string& date, const std::string& text, const ui::Color& color)
{
    m_chapterTitleLabel->setText(myDataChapterLine(chapterName));
    m_dateLabel->setText(date);
    m_noteTextLabel->setText(text);
    m_iconLabel->setTextColor(color);
}

double LXMyDataHighlightCell::arrange(double width, bool place) const
{
    RowStack stack(width, place);
    stack.glyph(m_iconLabel);
    stack.line(m_chapterTitleLabel, 20);
    stack.line(m_dateLabel, 18);
    stack.skip(6);
    stack.line(m_noteTextLabel);
    return stack.y() + 10;
}

ui::Size LXMyDataHighlightCell::sizeThatFits(const ui::Size& size) const
{
    return { size.width, arrange(size.width, false) };
}

void LXMyDataHighlightCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    arrange(contentView()->bounds().width(), true);
}

// MARK: - Note row

std::shared_ptr<LXMyDataNoteCell> LXMyDataNoteCell::create(ui::TableViewCellStyle style, std::string id)
{
    std::shared_ptr<LXMyDataNoteCell> cell(new LXMyDataNoteCell(style, std::move(id)));
    cell->build();
    return cell;
}

void LXMyDataNoteCell::build()
{
    const auto& content = contentView();
    m_iconLabel = myDataLabel(content);
    m_chapterNameLabel = myDataLabel(content);
    m_dateLabel = myDataLabel(content);
    m_highlightLabel = myDataLabel(content);
    m_noteTextLabel = myDataLabel(content);
    m_noteTextLabel->setNumberOfLines(0);
    m_commentLine = ui::View::create();
    content->addSubview(m_commentLine);
    m_commentButton = myDataButton(content);
    m_shareButton = myDataButton(content);
    for (const std::shared_ptr<ui::View>& each : std::vector<std::shared_ptr<ui::View>> { m_iconLabel,
             m_chapterNameLabel, m_dateLabel, m_highlightLabel, m_noteTextLabel, m_commentLine, m_commentButton,
             m_shareButton })
        each->setTranslatesAutoresizingMaskIntoConstraints(false);

    // The heights a fill and the button switches change.
    m_highlightLabelHeight = m_highlightLabel->heightAnchor().constraintEqualToConstant(34);
    m_highlightTextBottom = m_noteTextLabel->topAnchor().constraintEqualTo(m_highlightLabel->bottomAnchor(), 6);
    m_commentLineHeight = m_commentLine->heightAnchor().constraintEqualToConstant(30);
    m_commentButtonHeight = m_commentButton->heightAnchor().constraintEqualToConstant(30);
    m_shareButtonHeight = m_shareButton->heightAnchor().constraintEqualToConstant(30);
    m_noteBottom = m_commentLine->topAnchor().constraintEqualTo(m_noteTextLabel->bottomAnchor(), 8);

    // The colour glyph at the leading edge; the texts in a column beside it, one under
    // another; the comment and share buttons side by side on the last line, each half of
    // the column. The row is as tall as its column; just below required, so the table's
    // estimate before it measured the row never contradicts it.
    auto columnSides = [&](const std::shared_ptr<ui::View>& view) {
        return std::vector<ui::ConstraintPtr> {
            view->leadingAnchor().constraintEqualTo(content->leadingAnchor(), textX),
            view->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -rowInset),
        };
    };
    std::vector<ui::ConstraintPtr> constraints {
        m_iconLabel->leadingAnchor().constraintEqualTo(content->leadingAnchor(), rowInset),
        m_iconLabel->topAnchor().constraintEqualTo(content->topAnchor(), 12),
        m_iconLabel->widthAnchor().constraintEqualToConstant(glyphSize),
        m_iconLabel->heightAnchor().constraintEqualToConstant(glyphSize),
        m_chapterNameLabel->topAnchor().constraintEqualTo(content->topAnchor(), 10),
        m_chapterNameLabel->heightAnchor().constraintEqualToConstant(20),
        m_dateLabel->topAnchor().constraintEqualTo(m_chapterNameLabel->bottomAnchor()),
        m_dateLabel->heightAnchor().constraintEqualToConstant(18),
        m_highlightLabel->topAnchor().constraintEqualTo(m_dateLabel->bottomAnchor(), 4),
        m_highlightLabelHeight,
        m_highlightTextBottom,
        m_noteBottom,
        m_commentLineHeight,
        m_commentButton->leadingAnchor().constraintEqualTo(content->leadingAnchor(), textX),
        m_commentButton->topAnchor().constraintEqualTo(m_commentLine->topAnchor()),
        m_commentButtonHeight,
        m_shareButton->leadingAnchor().constraintEqualTo(m_commentButton->trailingAnchor(), 8),
        m_shareButton->trailingAnchor().constraintEqualTo(content->trailingAnchor(), -rowInset),
        m_shareButton->widthAnchor().constraintEqualTo(m_commentButton->widthAnchor()),
        m_shareButton->topAnchor().constraintEqualTo(m_commentLine->topAnchor()),
        m_shareButtonHeight,
    };
    for (const std::shared_ptr<ui::View>& each : std::vector<std::shared_ptr<ui::View>> {
             m_chapterNameLabel, m_dateLabel, m_highlightLabel, m_noteTextLabel, m_commentLine }) {
        auto sides = columnSides(each);
        constraints.insert(constraints.end(), sides.begin(), sides.end());
    }
    for (const std::shared_ptr<ui::View>& each :
        std::vector<std::shared_ptr<ui::View>> { m_commentLine, m_commentButton, m_shareButton }) {
        auto below = content->bottomAnchor().constraintGreaterThanOrEqualTo(each->bottomAnchor(), 10);
        below->setPriority(ui::LayoutPriority::required - 1);
        constraints.push_back(below);
    }
    ui::Constraint::activate(constraints);

    std::weak_ptr<LXMyDataNoteCell> weak = std::static_pointer_cast<LXMyDataNoteCell>(shared_from_this());
    m_commentButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto cell = weak.lock())
            cell->commentButtonAction();
    });
    m_shareButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto cell = weak.lock())
            cell->shareNoteTapped();
    });
}

void LXMyDataNoteCell::updateCellWithChapterName(const std::string& chapterName, const std::string& date,
    const std::string& text, const std::string& noteText, const ui::Color& color, int64_t commentsCount,
    const std::string& commentsText, const std::string& shareText, const ui::Color& buttonColor)
{
    m_chapterNameLabel->setText(myDataChapterLine(chapterName));
    m_dateLabel->setText(date);
    m_noteTextLabel->setText(noteText);
    bool hasText = !text.empty();
    m_highlightTextBottom->setConstant(hasText ? 6 : 0);
    m_highlightLabelHeight->setConstant(hasText ? 34 : 0);
    m_highlightLabel->setText(text);
    m_iconLabel->setTextColor(color);

    std::string comments = isRTL()
        ? base::format(
            "  %@ %@", LocalizationHelper::localizedStringWithKey("MY_DATA_COMMENTS"), commentsText)
        : base::format(LocalizationHelper::localizedStringWithKey("MY_DATA_COMMENTS"), commentsText);
    m_commentButton->setAttributedTitle(myDataTitleWithIcon(ICON_COMMENT, comments, buttonColor));
    m_commentButton->setTitleColor(buttonColor);
    bool anyComment = commentsCount != 0;
    m_commentButton->setAlpha(anyComment ? 1.0 : 0.4);
    m_commentButton->setUserInteractionEnabled(anyComment);

    std::string share
        = base::format("  %@ %@", LocalizationHelper::localizedStringWithKey("SHARE"), shareText);
    m_shareButton->setAttributedTitle(myDataTitleWithIcon(ICON_SHARE, share, buttonColor));
    m_shareButton->setTitleColor(buttonColor);
    m_commentLineHeight->setConstant(30);
    layoutIfNeeded();
}

void LXMyDataNoteCell::showShareButton(bool show)
{
    m_shareButton->setHidden(!show);
    m_shareButtonHeight->setConstant(show ? 30 : 0);
    if (show)
        m_shareButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Leading);
}

void LXMyDataNoteCell::showCommentButton(bool show)
{
    m_commentButton->setHidden(!show);
    m_commentButtonHeight->setConstant(show ? 30 : 0);
    if (show)
        m_commentButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Leading);
}

void LXMyDataNoteCell::disableCommentAndShareSection()
{
    m_commentButtonHeight->setConstant(0);
    m_shareButtonHeight->setConstant(0);
    m_noteBottom->setConstant(2);
}

void LXMyDataNoteCell::commentButtonAction()
{
    if (auto delegate = m_delegate.lock())
        delegate->showCommentsViewForIndex(index, localId);
}

void LXMyDataNoteCell::shareNoteTapped()
{
    if (auto delegate = m_delegate.lock())
        delegate->showShareViewForIndex(index, localId);
}

// MARK: - Received-note row

std::shared_ptr<LXMyDataNoteAnswerCell> LXMyDataNoteAnswerCell::create(
    ui::TableViewCellStyle style, std::string id)
{
    std::shared_ptr<LXMyDataNoteAnswerCell> cell(new LXMyDataNoteAnswerCell(style, std::move(id)));
    cell->build();
    return cell;
}

void LXMyDataNoteAnswerCell::build()
{
    const auto& content = contentView();
    m_creatorNameLabel = myDataLabel(content);
    m_creatorNameLabel->setNumberOfLines(0);
    m_iconLabel = myDataLabel(content);
    m_acceptButton = myDataButton(content);
    m_rejectButton = myDataButton(content);
    m_rejectButton->layer()->setBorderWidth(1);
    m_rejectButton->layer()->setBorderColor(ui::Color::fromRGB255(0x80, 0x80, 0x80));
    m_acceptButton->setTitle(LocalizationHelper::localizedStringWithKey("MY_DATA_ACCEPT"));
    m_rejectButton->setTitle(LocalizationHelper::localizedStringWithKey("MY_DATA_DECLINE"));
    std::weak_ptr<LXMyDataNoteAnswerCell> weak
        = std::static_pointer_cast<LXMyDataNoteAnswerCell>(shared_from_this());
    m_acceptButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto cell = weak.lock())
            cell->acceptButtonTapped();
    });
    m_rejectButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto cell = weak.lock())
            cell->rejectButtonTapped();
    });
}

double LXMyDataNoteAnswerCell::arrange(double width, bool place) const
{
    RowStack stack(width, place);
    stack.glyph(m_iconLabel);
    stack.line(m_creatorNameLabel);
    stack.skip(8);
    stack.buttons({ { m_acceptButton, 34 }, { m_rejectButton, 34 } }, std::min(120.0, stack.textWidth() / 2 - 4), 8);
    return stack.y() + 10;
}

ui::Size LXMyDataNoteAnswerCell::sizeThatFits(const ui::Size& size) const
{
    return { size.width, arrange(size.width, false) };
}

void LXMyDataNoteAnswerCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    arrange(contentView()->bounds().width(), true);
}

void LXMyDataNoteAnswerCell::setAnswered(bool answered)
{
    for (const auto& button : { m_acceptButton, m_rejectButton }) {
        button->setEnabled(!answered);
        button->setAlpha(answered ? 0.5 : 1.0);
    }
}

void LXMyDataNoteAnswerCell::acceptButtonTapped()
{
    if (!m_acceptButton->isEnabled())
        return;
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnAcceptButton(ugcId);
}

void LXMyDataNoteAnswerCell::rejectButtonTapped()
{
    if (!m_rejectButton->isEnabled())
        return;
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnRejectButton(ugcId);
}

} // namespace lectoro
