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
#include <cctype>
#include <charconv>
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
    // Where the view's drawing ends: the views in [its index, end) are it and what it holds.
    size_t end = 0;
    // The nearest visible ancestor's index, none for the root.
    std::optional<size_t> parent;
};

// Whether the view at `outer` holds the one at `inner` (itself included).
bool contains(const std::vector<Seen>& seen, size_t outer, size_t inner)
{
    return outer <= inner && inner < seen[outer].end;
}

// The background the view paints, with what shows of it (its alpha through the view's and
// its ancestors' alpha); none when nothing shows.
std::optional<std::pair<ui::Color, double>> paintedBackground(const Seen& item)
{
    auto color = item.view->backgroundColor();
    if (!color)
        return std::nullopt;
    double alpha = color->alpha() * item.opacity;
    if (alpha <= 0.01)
        return std::nullopt;
    return std::make_pair(color->withAlpha(1), alpha);
}

bool containsPoint(const ui::Rect& rect, ui::Point point)
{
    return point.x >= rect.origin.x && point.y >= rect.origin.y && point.x <= rect.origin.x + rect.size.width
        && point.y <= rect.origin.y + rect.size.height;
}

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

// The visible views in drawing order (a view before its subviews, subviews by their layers'
// zPosition as the painter draws them).
void collect(const ui::View& view, const ui::View& root, double opacity, const ui::Rect& clip,
    std::optional<size_t> parent, std::vector<Seen>& seen)
{
    if (view.isHidden() || view.alpha() <= 0.01)
        return;
    opacity *= view.alpha();
    ui::Rect frame = view.convertRectTo(view.bounds(), &root);
    ui::Rect visible = frame.intersection(clip);
    size_t index = seen.size();
    seen.push_back({ &view, frame, visible, opacity, 0, parent });
    bool clips = view.clipsToBounds() || dynamic_cast<const ui::ScrollView*>(&view);
    std::vector<const ui::View*> subviews;
    subviews.reserve(view.subviews().size());
    for (const auto& subview : view.subviews())
        subviews.push_back(subview.get());
    std::stable_sort(subviews.begin(), subviews.end(), [](const ui::View* a, const ui::View* b) {
        return a->layer()->zPosition() < b->layer()->zPosition();
    });
    for (const auto* subview : subviews)
        collect(*subview, root, opacity, clips ? visible : clip, index, seen);
    seen[index].end = seen.size();
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

// Whether the views at `lower` and `upper` (drawn later) lie in different layers, so that a
// person sees the upper one over the lower one and not the two meeting: a view with a
// background that holds the upper one and not the lower one (a sheet, a pop-over, a dimming
// overlay, however translucent) covers the shared place, or an opaque view drawn between
// them does.
bool inDifferentLayers(const std::vector<Seen>& seen, size_t lower, size_t upper, const ui::Rect& shared)
{
    for (auto layer = seen[upper].parent; layer && !contains(seen, *layer, lower); layer = seen[*layer].parent) {
        if (paintedBackground(seen[*layer]) && holds(seen[*layer].visible, shared))
            return true;
    }
    // What the lower view holds is part of it; the views after it are drawn over it.
    for (size_t between = seen[lower].end; between < upper; ++between) {
        const Seen& cover = seen[between];
        auto background = paintedBackground(cover);
        if (background && background->second >= 0.99 && holds(cover.visible, shared))
            return true;
    }
    return false;
}

void checkOverlaps(const std::vector<Seen>& seen, std::vector<ScreenFinding>& findings)
{
    // The controls and the labels outside controls (a control's title is its own part): two
    // controls that meet are one finding, not one for each of their parts.
    std::vector<size_t> judged;
    for (size_t index = 0; index < seen.size(); ++index) {
        const ui::View& view = *seen[index].view;
        if (seen[index].visible.size.width <= 0 || seen[index].visible.size.height <= 0)
            continue;
        if (const auto* label = dynamic_cast<const ui::Label*>(&view)) {
            // Text that shows nothing covers nothing.
            bool inControl = label->text().empty();
            for (auto parent = seen[index].parent; parent && !inControl; parent = seen[*parent].parent)
                inControl = isControl(*seen[*parent].view);
            if (!inControl)
                judged.push_back(index);
        } else if (isControl(view)) {
            judged.push_back(index);
        }
    }
    for (size_t i = 0; i < judged.size(); ++i) {
        const Seen& first = seen[judged[i]];
        for (size_t j = i + 1; j < judged.size(); ++j) {
            const Seen& second = seen[judged[j]];
            ui::Rect shared = first.visible.intersection(second.visible);
            if (shared.size.width <= slack || shared.size.height <= slack)
                continue;
            // A label inside a view it is judged with is part of it.
            if (contains(seen, judged[i], judged[j]))
                continue;
            if (!inDifferentLayers(seen, judged[i], judged[j], shared))
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

std::string contrastDetail(double ratio, double needed, const ui::Color& text, const ui::Color& under)
{
    std::ostringstream detail;
    detail.precision(3);
    detail << "contrast " << ratio << ":1 (needs " << needed << ":1), text " << text.toDebugString() << " on "
           << under.toDebugString();
    return detail.str();
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
    // The colours drawn at the text's centre before it, composited bottom up.
    std::optional<ui::Color> under = base;
    for (size_t index = 0; index <= labelIndex; ++index) {
        const Seen& behind = seen[index];
        if (!containsPoint(behind.visible, centre)) {
            // Nothing the view holds is drawn outside it when it clips.
            if (behind.view->clipsToBounds())
                index = behind.end - 1;
            continue;
        }
        if (auto background = paintedBackground(behind))
            under = background->second >= 0.99 ? background->first
                : under ? std::optional(over(background->first, background->second, *under)) : std::nullopt;
        if (index != labelIndex && drawsPicture(*behind.view))
            under.reset();
    }
    if (!under)
        return;
    // What is drawn over the text: a layer that covers all of it (a sheet, a dimming
    // overlay) puts the text under another screen, where it is not read; a translucent
    // view over part of it tints the text and what is under it alike.
    std::vector<std::pair<ui::Color, double>> tints;
    for (size_t index = item.end; index < seen.size(); ++index) {
        const Seen& above = seen[index];
        auto background = paintedBackground(above);
        if (!background || !containsPoint(above.visible, centre))
            continue;
        // Covered all over, or an opaque panel over its middle (a sheet sliding over the
        // page's corner): the text is hidden there, not drawn in a poor colour.
        if (holds(above.visible, item.visible) || background->second >= 0.99)
            return;
        tints.push_back(*background);
    }
    ui::Color ground = *under;
    for (const auto& [colour, alpha] : tints)
        ground = over(colour, alpha, ground);
    const ScreenCheckConfig& config = screenCheckConfig();
    // An icon is large type: its strokes are as broad as a heading's.
    bool icon = !config.iconFontName.empty() && label.font().name() == config.iconFontName;
    double needed = label.font().pointSize() >= 18 || icon ? 3.0 : 4.5;
    // Attributed text is drawn in its runs' colours, not the label's; the least readable
    // run is what a reader stumbles on.
    std::vector<ui::Color> inks;
    if (const auto& attributed = label.attributedText(); attributed && !attributed->string().empty()) {
        for (const auto& run : attributed->runs()) {
            const auto& colour = run.attributes.foregroundColor;
            inks.push_back(colour ? ui::Color::fromRGBA(colour->red, colour->green, colour->blue, colour->alpha) : label.textColor());
        }
    }
    if (inks.empty())
        inks.push_back(label.textColor());
    for (const auto& ink : inks) {
        ui::Color text = over(ink, ink.alpha() * item.opacity, *under);
        for (const auto& [colour, alpha] : tints)
            text = over(colour, alpha, text);
        double lighter = std::max(luminance(text), luminance(ground));
        double darker = std::min(luminance(text), luminance(ground));
        double ratio = (lighter + 0.05) / (darker + 0.05);
        if (ratio + 1e-9 < needed) {
            findings.push_back({ "contrast", nameOf(label), contrastDetail(ratio, needed, ink, ground) });
            return;
        }
    }
}

void checkIconFont(const ui::Label& label, std::vector<ScreenFinding>& findings)
{
    const ScreenCheckConfig& config = screenCheckConfig();
    auto icon = config.iconGlyphs.find(label.text());
    if (icon == config.iconGlyphs.end() || label.font().name() == config.iconFontName)
        return;
    // A digit in a text face reads as the number it is (a speed "2", a page folio), whatever
    // the icon font draws for it.
    if (label.text().size() == 1 && std::isdigit(static_cast<unsigned char>(label.text().front())))
        return;
    // An icon is a control's picture; the same letter as a label's own text (a folio "i",
    // the "A" a text colour is shown on) is text.
    bool inControl = false;
    for (auto parent = label.superview(); parent && !inControl; parent = parent->superview())
        inControl = isControl(*parent);
    if (!inControl)
        return;
    std::string named = icon->second.empty() ? std::string() : " (" + icon->second + ")";
    findings.push_back({ "icon-font", nameOf(label),
        "icon glyph " + quotedText(label.text()) + named + " drawn in " + label.font().toDebugString()
            + " shows as a letter" });
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

std::map<std::string, std::string> iconGlyphsFromTable(const std::string& text)
{
    std::map<std::string, std::string> glyphs;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("U+", 0) != 0)
            continue;
        std::istringstream fields(line.substr(2));
        std::string hex;
        std::string name;
        fields >> hex >> name;
        uint32_t codePoint = 0;
        auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), codePoint, 16);
        if (error != std::errc() || end != hex.data() + hex.size() || codePoint == 0 || codePoint > 0x10FFFF)
            continue;
        std::string glyph;
        base::appendUtf8(glyph, static_cast<char32_t>(codePoint));
        glyphs.emplace(glyph, name);
    }
    return glyphs;
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
    collect(root, root, 1, root.bounds(), std::nullopt, seen);
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

namespace {

bool paintsPanel(const ui::View& view)
{
    return dynamic_cast<const ui::VisualEffectView*>(&view) || (view.backgroundColor() && view.backgroundColor()->alpha() >= 0.5);
}

// Whether every visible text and control under `view` lies on a panel of its own: a
// painted view between it and `view` (an alert's card over its dimmed screen).
bool contentLiesOnPanels(const ui::View& view, bool onPanel)
{
    for (const auto& subview : view.subviews()) {
        if (subview->isHidden() || subview->alpha() <= 0)
            continue;
        bool panel = onPanel || paintsPanel(*subview);
        bool draws = dynamic_cast<const ui::Label*>(subview.get()) || dynamic_cast<const ui::Control*>(subview.get())
            || dynamic_cast<const ui::ImageView*>(subview.get());
        if (draws && !panel)
            return false;
        if (!contentLiesOnPanels(*subview, panel))
            return false;
    }
    return true;
}

} // namespace

std::vector<ScreenFinding> checkPresentedBackgrounds(const ui::ViewController& presenter)
{
    std::vector<ScreenFinding> findings;
    for (auto presented = presenter.presentedViewController(); presented;
         presented = presented->presentedViewController()) {
        auto view = presented->viewIfLoaded();
        if (!view || view->isHidden())
            continue;
        bool painted = paintsPanel(*view);
        bool anyPanel = false;
        for (const auto& subview : view->subviews()) {
            if (subview->isHidden())
                continue;
            if (paintsPanel(*subview)) {
                anyPanel = true;
                if (holds(subview->frame(), view->bounds()))
                    painted = true;
            }
        }
        // A card over a dimmed or clear screen is a background when all it shows lies on it.
        if (!painted && anyPanel && contentLiesOnPanels(*view, false))
            painted = true;
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
