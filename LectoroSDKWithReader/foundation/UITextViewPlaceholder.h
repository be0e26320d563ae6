#pragma once

#include "platform/base/AttributedString.h"
#include "platform/ui/Color.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Label;
class TextView;
}

namespace lectoro {

// A placeholder for multi-line text views: a label behind the text, shown while the view
// is empty. The label is made on first use and lives as long as its text view; it follows
// the view's text, font, alignment, insets and size by itself.
namespace UITextViewPlaceholder {

std::shared_ptr<ui::Label> placeholderLabel(ui::TextView&);
// Without a label yet, the getters answer nothing (and make none).
std::optional<std::string> placeholder(const ui::TextView&);
void setPlaceholder(ui::TextView&, const std::string&);
std::optional<base::AttributedString> attributedPlaceholder(const ui::TextView&);
void setAttributedPlaceholder(ui::TextView&, const base::AttributedString&);
std::optional<ui::Color> placeholderColor(const ui::TextView&);
void setPlaceholderColor(ui::TextView&, const ui::Color&);
void updatePlaceholderLabel(ui::TextView&);

const std::vector<std::string>& observingKeys();
ui::Color defaultPlaceholderColor();

// Test support: text views that still have a placeholder label attached.
size_t attachedCount();

} // namespace UITextViewPlaceholder

} // namespace lectoro
