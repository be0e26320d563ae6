#include "platform/testing/ScreenCheck.h"

#include "platform/base/Strings.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/VisualEffectView.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

namespace uitest {

namespace {

constexpr double slack = 0.5;

struct Seen {
    const ui::View* view = nullptr;
    ui::Rect frame;
    // The part not clipped away by a scroll view or a clipping ancestor.
    ui::Rect visible;
    // The view's alpha times its ancestors'.
    double opacity = 1;
};

bool isLabel(const ui::View& view)
{
    return dynamic_cast<const ui::Label*>(&view) != nullptr;
}

bool isControl(const ui::View& view)
{
    return dynamic_cast<const ui::Control*>(&view) != nullptr;
}

bool isImageView(const ui::View& view)
{
    return dynamic_cast<const ui::ImageView*>(&view) != nullptr;
}

bool draws(const ui::View& view)
{
    return isLabel(view) || isControl(view) || isImageView(view);
}

std::string quotedText(const std::string& text)
{
    std::string shown = text.size() > 40 ? text.substr(0, 40) + "…" : text;
    return "\"" + shown + "\"";
}

std::string ownName(const ui::View& view)
{
    std::string name(view.className());
    if (!view.accessibilityIdentifier().empty())
        name += "#" + view.accessibilityIdentifier();
    if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && !label->text().empty())
        name += " " + quotedText(label->text());
    else if (const auto* button = dynamic_cast<const ui::Button*>(&view); button && !button->currentTitle().empty())
        name += " " + quotedText(button->currentTitle());
    else if (std::string spoken = view.accessibilityLabel(); !spoken.empty())
        name += " [" + spoken + "]";
    return name;
}

// The view with the ancestors that tell where it is (up to three).
std::string nameOf(const ui::View& view)
{
    std::string path = ownName(view);
    auto parent = view.superview();
    for (int depth = 0; parent && depth < 3; ++depth, parent = parent->superview())
        path = ownName(*parent) + " > " + path;
    return path;
}

bool holds(const ui::Rect& outer, const ui::Rect& inner)
{
    return inner.origin.x >= outer.origin.x - slack && inner.origin.y >= outer.origin.y - slack
        && inner.origin.x + inner.size.width <= outer.origin.x + outer.size.width + slack
        && inner.origin.y + inner.size.height <= outer.origin.y + outer.size.height + slack;
}

std::string rectDescription(const ui::Rect& rect)
{
    std::ostringstream text;
    text << "(" << rect.origin.x << ", " << rect.origin.y << ", " << rect.size.width << ", " << rect.size.height << ")";
    return text.str();
}

// The visible views in drawing order (a view before its subviews).
void collect(const ui::View& view, const ui::View& root, double opacity, const ui::Rect& clip, std::vector<Seen>& seen)
{
    if (view.isHidden() || view.alpha() <= 0.01)
        return;
    opacity *= view.alpha();
    ui::Rect frame = view.convertRectTo(view.bounds(), &root);
    ui::Rect visible = frame.intersection(clip);
    seen.push_back({ &view, frame, visible, opacity });
    bool clips = view.clipsToBounds() || dynamic_cast<const ui::ScrollView*>(&view);
    for (const auto& subview : view.subviews())
        collect(*subview, root, opacity, clips ? visible : clip, seen);
}

void checkOutside(const Seen& item, const ui::View& root, std::vector<ScreenFinding>& findings)
{
    const ui::View& view = *item.view;
    if (!draws(view) || item.frame.size.width <= 0 || item.frame.size.height <= 0)
        return;
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        ui::Rect inAncestor = view.convertRectTo(view.bounds(), ancestor.get());
        if (const auto* scroll = dynamic_cast<const ui::ScrollView*>(ancestor.get())) {
            ui::Size content = scroll->contentSize();
            ui::Rect limit { { 0, 0 }, { std::max(content.width, scroll->bounds().size.width),
                                           std::max(content.height, scroll->bounds().size.height) } };
            if (!holds(limit, inAncestor))
                findings.push_back({ "outside", nameOf(view),
                    "at " + rectDescription(inAncestor) + " past its scroll view's content " + rectDescription(limit) });
            return;
        }
        if (!holds(ancestor->bounds(), inAncestor)) {
            findings.push_back({ "outside", nameOf(view),
                "at " + rectDescription(inAncestor) + " outside " + ownName(*ancestor) + " " + rectDescription(ancestor->bounds()) });
            return;
        }
        if (ancestor.get() == &root)
            return;
    }
}

bool isAncestor(const ui::View& ancestor, const ui::View& view)
{
    return view.isDescendantOf(&ancestor);
}

bool hasOpaqueBackground(const Seen& item)
{
    auto color = item.view->backgroundColor();
    return color && color->alpha() * item.opacity >= 0.99;
}

void checkOverlaps(const std::vector<Seen>& seen, std::vector<ScreenFinding>& findings)
{
    std::vector<size_t> judged;
    for (size_t index = 0; index < seen.size(); ++index) {
        const ui::View& view = *seen[index].view;
        if ((isLabel(view) || isControl(view)) && seen[index].visible.size.width > 0 && seen[index].visible.size.height > 0) {
            // Text that shows nothing covers nothing.
            if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && label->text().empty())
                continue;
            judged.push_back(index);
        }
    }
    for (size_t i = 0; i < judged.size(); ++i) {
        const Seen& first = seen[judged[i]];
        for (size_t j = i + 1; j < judged.size(); ++j) {
            const Seen& second = seen[judged[j]];
            if (isAncestor(*first.view, *second.view) || isAncestor(*second.view, *first.view))
                continue;
            ui::Rect shared = first.visible.intersection(second.visible);
            if (shared.size.width <= slack || shared.size.height <= slack)
                continue;
            // A label and a control that share one container and the same place are one
            // control's parts (a label on its button) only when nested; otherwise they
            // cover each other unless an opaque view drawn between them hides the place.
            bool hidden = false;
            for (size_t between = judged[i] + 1; between < judged[j] && !hidden; ++between) {
                const Seen& cover = seen[between];
                hidden = hasOpaqueBackground(cover) && !isAncestor(*first.view, *cover.view)
                    && holds(cover.frame, shared);
            }
            if (!hidden)
                findings.push_back({ "overlap", nameOf(*first.view) + " and " + nameOf(*second.view),
                    "share " + rectDescription(shared) });
        }
    }
}

bool truncates(ui::LineBreakMode mode)
{
    return mode == ui::LineBreakMode::ByTruncatingHead || mode == ui::LineBreakMode::ByTruncatingTail
        || mode == ui::LineBreakMode::ByTruncatingMiddle;
}

void checkTextFits(const ui::Label& label, std::vector<ScreenFinding>& findings)
{
    const std::string& text = label.text();
    ui::Size room = label.bounds().size;
    if (text.empty() || room.width <= 0 || room.height <= 0 || truncates(label.lineBreakMode()))
        return;
    const ui::Font& font = label.font();
    int maxLines = label.numberOfLines();
    ui::Size needed;
    if (maxLines == 1 || label.lineBreakMode() == ui::LineBreakMode::ByClipping) {
        needed = ui::TextMetrics::sizeOfText(text, font);
    } else {
        auto lines = ui::TextMetrics::wrapLines(text, font, room.width, label.lineBreakMode());
        double widest = 0;
        for (const auto& line : lines)
            widest = std::max(widest, ui::TextMetrics::widthOfLine(line, font));
        size_t shown = lines.size();
        if (maxLines > 0 && shown > static_cast<size_t>(maxLines)) {
            findings.push_back({ "text-fits", nameOf(label),
                std::to_string(shown) + " lines at " + font.toDebugString() + " in " + std::to_string(maxLines)
                    + " without truncation" });
            return;
        }
        needed = { widest, static_cast<double>(shown) * ui::TextMetrics::lineHeight(font) };
    }
    if (needed.width > room.width + slack || needed.height > room.height + slack) {
        std::ostringstream detail;
        detail << "needs " << needed.width << " x " << needed.height << " at " << font.toDebugString() << ", has "
               << room.width << " x " << room.height;
        findings.push_back({ "text-fits", nameOf(label), detail.str() });
    }
}

double linearChannel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const ui::Color& color)
{
    return 0.2126 * linearChannel(color.redComponent()) + 0.7152 * linearChannel(color.greenComponent())
        + 0.0722 * linearChannel(color.blueComponent());
}

ui::Color over(const ui::Color& top, double alpha, const ui::Color& under)
{
    auto mix = [&](double a, double b) { return a * alpha + b * (1 - alpha); };
    return ui::Color::fromRGBA(mix(top.redComponent(), under.redComponent()),
        mix(top.greenComponent(), under.greenComponent()), mix(top.blueComponent(), under.blueComponent()));
}

bool drawsPicture(const ui::View& view)
{
    if (const auto* image = dynamic_cast<const ui::ImageView*>(&view); image && image->image())
        return true;
    const auto& layer = view.layer();
    if (!layer)
        return false;
    if (layer->contents() || std::string_view(layer->className()) == "GradientLayer")
        return true;
    for (const auto& sublayer : layer->sublayers()) {
        if (std::string_view(sublayer->className()) == "GradientLayer")
            return true;
    }
    return false;
}

void checkContrast(const std::vector<Seen>& seen, size_t labelIndex, const ui::Color& base,
    std::vector<ScreenFinding>& findings)
{
    const Seen& item = seen[labelIndex];
    const auto& label = dynamic_cast<const ui::Label&>(*item.view);
    // A disabled control's faded title is meant to recede.
    for (auto parent = label.superview(); parent; parent = parent->superview()) {
        if (const auto* control = dynamic_cast<const ui::Control*>(parent.get()); control && !control->isEnabled())
            return;
    }
    // Text scrolled or clipped out of sight is not read.
    if (base::trimWhitespaceAndNewlines(label.text()).empty() || item.visible.size.width <= 0 || item.visible.size.height <= 0)
        return;
    ui::Point centre { item.visible.origin.x + item.visible.size.width / 2, item.visible.origin.y + item.visible.size.height / 2 };
    std::optional<ui::Color> under = base;
    for (size_t index = 0; index <= labelIndex; ++index) {
        const Seen& behind = seen[index];
        const ui::Rect& frame = behind.frame;
        if (centre.x < frame.origin.x || centre.y < frame.origin.y || centre.x > frame.origin.x + frame.size.width
            || centre.y > frame.origin.y + frame.size.height)
            continue;
        if (auto color = behind.view->backgroundColor()) {
            double alpha = color->alpha() * behind.opacity;
            if (alpha >= 0.99)
                under = color->withAlpha(1);
            else if (alpha > 0 && under)
                under = over(*color, alpha, *under);
        }
        if (index != labelIndex && drawsPicture(*behind.view))
            under.reset();
    }
    if (!under)
        return;
    ui::Color text = over(label.textColor(), label.textColor().alpha() * item.opacity, *under);
    double lighter = std::max(luminance(text), luminance(*under));
    double darker = std::min(luminance(text), luminance(*under));
    double ratio = (lighter + 0.05) / (darker + 0.05);
    bool icon = screenCheckConfig().iconGlyphs.count(label.text()) > 0;
    double needed = label.font().pointSize() >= 18 || icon ? 3.0 : 4.5;
    if (ratio + 1e-9 < needed) {
        std::ostringstream detail;
        detail.precision(3);
        detail << "contrast " << ratio << ":1 (needs " << needed << ":1), text " << label.textColor().toDebugString()
               << " on " << under->toDebugString();
        findings.push_back({ "contrast", nameOf(label), detail.str() });
    }
}

void checkIconFont(const ui::Label& label, std::vector<ScreenFinding>& findings)
{
    const ScreenCheckConfig& config = screenCheckConfig();
    if (config.iconGlyphs.empty() || !config.iconGlyphs.count(label.text()))
        return;
    if (label.font().name() == config.iconFontName)
        return;
    // An icon is a control's picture; the same character as a label's plain text (a page
    // folio "2") is not one.
    bool inControl = false;
    for (auto parent = label.superview(); parent && !inControl; parent = parent->superview())
        inControl = isControl(*parent);
    if (!inControl)
        return;
    findings.push_back({ "icon-font", nameOf(label),
        "icon glyph " + quotedText(label.text()) + " drawn in " + label.font().toDebugString() + " shows as a letter" });
}

void checkImage(const ui::ImageView& view, std::vector<ScreenFinding>& findings)
{
    if (view.bounds().size.width <= 0 || view.bounds().size.height <= 0)
        return;
    if (auto parent = view.superview(); parent && dynamic_cast<const ui::Button*>(parent.get()))
        return;
    if (!view.image())
        findings.push_back({ "image", nameOf(view), "shows no image" });
}

std::string trimmed(const std::string& text)
{
    return base::trimWhitespaceAndNewlines(text);
}

} // namespace

std::string ScreenFinding::description() const
{
    return rule + ": " + views + ": " + detail;
}

ScreenCheckConfig& screenCheckConfig()
{
    static ScreenCheckConfig config;
    return config;
}

ScreenCheckAllowList ScreenCheckAllowList::parse(const std::string& text)
{
    ScreenCheckAllowList list;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::string content = trimmed(line);
        if (content.empty() || content.front() == '#')
            continue;
        auto fields = base::split(content, "|");
        if (fields.size() != 4 || trimmed(fields[0]).empty() || trimmed(fields[3]).empty()) {
            list.m_errors.push_back("line " + std::to_string(number) + ": wants \"rule | screen | views | reason\"");
            continue;
        }
        list.m_entries.push_back({ trimmed(fields[0]), trimmed(fields[1]), trimmed(fields[2]), trimmed(fields[3]) });
    }
    return list;
}

ScreenCheckAllowList ScreenCheckAllowList::fromFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        ScreenCheckAllowList list;
        list.m_errors.push_back("cannot read " + path);
        return list;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

bool ScreenCheckAllowList::allows(const std::string& screen, const ScreenFinding& finding) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        return entry.rule == finding.rule && screen.find(entry.screen) != std::string::npos
            && finding.views.find(entry.views) != std::string::npos;
    });
}

std::vector<ScreenFinding> checkScreen(const ui::View& root)
{
    std::vector<Seen> seen;
    collect(root, root, 1, root.bounds(), seen);
    std::vector<ScreenFinding> findings;
    // Under everything, the window's own colour, or white.
    ui::Color base = root.backgroundColor().value_or(ui::Color::white()).withAlpha(1);
    for (size_t index = 0; index < seen.size(); ++index) {
        const Seen& item = seen[index];
        if (item.frame.size.width <= 0 || item.frame.size.height <= 0)
            continue;
        checkOutside(item, root, findings);
        if (const auto* label = dynamic_cast<const ui::Label*>(item.view)) {
            checkTextFits(*label, findings);
            checkContrast(seen, index, base, findings);
            checkIconFont(*label, findings);
        }
        if (const auto* image = dynamic_cast<const ui::ImageView*>(item.view))
            checkImage(*image, findings);
    }
    checkOverlaps(seen, findings);
    return findings;
}

std::vector<ScreenFinding> checkPresentedBackgrounds(const ui::ViewController& presenter)
{
    std::vector<ScreenFinding> findings;
    for (auto presented = presenter.presentedViewController(); presented;
         presented = presented->presentedViewController()) {
        auto view = presented->viewIfLoaded();
        if (!view || view->isHidden())
            continue;
        auto color = view->backgroundColor();
        bool painted = color && color->alpha() >= 0.5;
        for (const auto& subview : view->subviews()) {
            bool fills = holds(subview->frame(), view->bounds()) && !subview->isHidden();
            if (fills && (dynamic_cast<const ui::VisualEffectView*>(subview.get())
                             || (subview->backgroundColor() && subview->backgroundColor()->alpha() >= 0.5)))
                painted = true;
        }
        if (!painted)
            findings.push_back({ "background", std::string(presented->className()) + " > " + ownName(*view),
                "presented without a background" });
    }
    return findings;
}

std::vector<ScreenFinding> unallowedFindings(const ui::View& root, const std::string& screenName,
    const ScreenCheckAllowList& allowList, const ui::ViewController* presenter)
{
    auto findings = checkScreen(root);
    if (presenter) {
        auto more = checkPresentedBackgrounds(*presenter);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    std::erase_if(findings, [&](const ScreenFinding& finding) { return allowList.allows(screenName, finding); });
    return findings;
}

} // namespace uitest
