#include "LectoroSDKWithReader/foundation/UITextViewPlaceholder.h"

#include "platform/base/NotificationCenter.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

#include <limits>
#include <map>

namespace lectoro::UITextViewPlaceholder {

namespace {

struct Attachment {
    std::weak_ptr<ui::View> textView;
    std::shared_ptr<ui::Label> label;
    base::ObserverToken textChanged;
};

// The text views with a label. A text view's property observers go with it; its entry here
// (and so its notification observer) is dropped the next time the table is touched after
// the view is gone.
std::map<const ui::TextView*, Attachment>& attachments()
{
    static std::map<const ui::TextView*, Attachment> table;
    return table;
}

void prune()
{
    auto& table = attachments();
    for (auto it = table.begin(); it != table.end();) {
        if (it->second.textView.expired())
            it = table.erase(it);
        else
            ++it;
    }
}

const Attachment* find(const ui::TextView& textView)
{
    prune();
    auto it = attachments().find(&textView);
    return it == attachments().end() ? nullptr : &it->second;
}

} // namespace

const std::vector<std::string>& observingKeys()
{
    static const std::vector<std::string> keys = { "attributedText", "bounds", "font", "frame", "text", "textAlignment", "textContainerInset" };
    return keys;
}

ui::Color defaultPlaceholderColor()
{
    // The grey single-line fields use for their placeholders.
    static const ui::Color color = ui::Color::fromRGBA(0, 0, 0.0980392, 0.22);
    return color;
}

std::shared_ptr<ui::Label> placeholderLabel(ui::TextView& textView)
{
    if (auto* existing = find(textView))
        return existing->label;

    auto label = ui::Label::create();
    label->setTextColor(defaultPlaceholderColor());
    label->setNumberOfLines(0);
    label->setUserInteractionEnabled(false);

    Attachment attachment;
    attachment.textView = textView.shared_from_this();
    attachment.label = label;
    std::weak_ptr<ui::View> weakView = attachment.textView;
    auto update = [weakView] {
        if (auto view = weakView.lock())
            updatePlaceholderLabel(static_cast<ui::TextView&>(*view));
    };
    attachment.textChanged = base::NotificationCenter::defaultCenter().addObserver(ui::TextViewTextDidChangeNotification,
        &textView, [update](const base::Notification&) { update(); });
    for (auto& key : observingKeys())
        textView.addPropertyObserver(key, [update](ui::View&, const std::string&) { update(); });
    attachments().emplace(&textView, std::move(attachment));
    return label;
}

std::optional<std::string> placeholder(const ui::TextView& textView)
{
    auto* attachment = find(textView);
    if (!attachment)
        return std::nullopt;
    return attachment->label->text();
}

void setPlaceholder(ui::TextView& textView, const std::string& text)
{
    placeholderLabel(textView)->setText(text);
    updatePlaceholderLabel(textView);
}

std::optional<base::AttributedString> attributedPlaceholder(const ui::TextView& textView)
{
    auto* attachment = find(textView);
    if (!attachment)
        return std::nullopt;
    return attachment->label->attributedText();
}

void setAttributedPlaceholder(ui::TextView& textView, const base::AttributedString& text)
{
    placeholderLabel(textView)->setAttributedText(text);
    updatePlaceholderLabel(textView);
}

std::optional<ui::Color> placeholderColor(const ui::TextView& textView)
{
    auto* attachment = find(textView);
    if (!attachment)
        return std::nullopt;
    return attachment->label->textColor();
}

void setPlaceholderColor(ui::TextView& textView, const ui::Color& color)
{
    placeholderLabel(textView)->setTextColor(color);
}

void updatePlaceholderLabel(ui::TextView& textView)
{
    auto label = placeholderLabel(textView);
    if (!textView.text().empty()) {
        label->removeFromSuperview();
        return;
    }
    textView.insertSubview(label, 0);
    label->setFont(textView.font());
    label->setTextAlignment(textView.textAlignment());

    double padding = textView.lineFragmentPadding();
    auto inset = textView.textContainerInset();
    double x = inset.left + padding;
    double width = textView.bounds().size.width - x - padding - inset.right;
    double height = label->sizeThatFits(ui::Size(width, std::numeric_limits<double>::max())).height;
    label->setFrame(ui::Rect(x, inset.top, width, height));
}

size_t attachedCount()
{
    prune();
    return attachments().size();
}

} // namespace lectoro::UITextViewPlaceholder
