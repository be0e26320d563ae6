// The drawing half of the help overlay: where the button and page indicator go, where
// each bar item is on screen, and the call-outs (icon copy, line, dot, title, text).

#include "LectoroSDKWithReader/reader/help/HelpScreen.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/UIButtonExpanded.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderFont.h"
#include "platform/ui/BezierPath.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PageControl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lectoro {

namespace {

constexpr const char* penColorTagName = "PenColor";
constexpr const char* arrowTagName = "Arrow";

// Items whose icon reports no size still get a call-out of a bar item's usual size.
constexpr double fallbackIconWidth = 23;
constexpr double fallbackIconHeight = 58;

bool isSharedCallOut(const HelpDescriptor& descriptor)
{
    return descriptor.combinedTagName() == penColorTagName || descriptor.combinedTagName() == arrowTagName;
}

double centerX(const ui::Rect& frame)
{
    return frame.origin.x + frame.size.width / 2;
}

ui::Rect frameOf(const HelpDescriptor& descriptor)
{
    return descriptor.frameUsed().value_or(ui::Rect());
}

std::optional<ui::Color> hexColor(const std::string& text)
{
    return UIColorExpanded::colorWithHexString(text);
}

// Where the item sits on screen: the icon's frame in the key window, less the top inset.
ui::Rect screenFrameOfIcon(const ui::View& icon, double topInset)
{
    ui::Rect frame = icon.frame();
    if (auto superview = icon.superview()) {
        auto window = ui::Environment::current().keyWindow();
        frame = superview->convertRectTo(frame, window.get());
    }
    frame.origin.y -= topInset;
    return frame;
}

double descriptionWidth(bool shared)
{
    if (isIpad())
        return 150;
    return shared ? 80 : 100;
}

} // namespace

void HelpScreen::addLabel(const std::shared_ptr<ui::Label>& label)
{
    view()->addSubview(label);
    m_labels.push_back(label);
}

void HelpScreen::addLayer(const std::shared_ptr<ui::Layer>& layer)
{
    view()->layer()->addSublayer(layer);
    m_layers.push_back(layer);
}

void HelpScreen::addIconCopy(const HelpDescriptor& descriptor)
{
    auto icon = std::dynamic_pointer_cast<ui::Label>(descriptor.icon());
    if (!icon)
        return;
    auto copy = ui::Button::create(ui::ButtonType::Custom);
    copy->setIsAccessibilityElement(false);
    copy->setTitleColor(hexColor(m_iconColor), ui::ControlState::Normal);
    copy->setFont(icon->font());
    UIButtonExpanded::setTitleForAllState(*copy, icon->text());
    copy->setFrame(frameOf(descriptor));
    view()->addSubview(copy);
    m_images.push_back(copy);
}

void HelpScreen::addLine(const ui::Point& from, const ui::Point& to)
{
    ui::BezierPath path;
    path.moveTo(from);
    path.lineTo(to);
    path.closePath();
    auto layer = ui::ShapeLayer::create();
    layer->setPath(path);
    layer->setStrokeColor(hexColor(m_lineColor));
    layer->setFillColor(hexColor(m_lineColor));
    layer->setLineWidth(2);
    addLayer(layer);
}

void HelpScreen::addDot(const ui::Point& center)
{
    auto layer = ui::ShapeLayer::create();
    layer->setPath(ui::BezierPath::arc(center, 3, 0, 2 * std::numbers::pi, true));
    layer->setFillColor(hexColor(m_ellipseColor));
    layer->setStrokeColor(hexColor(m_ellipseColor));
    layer->setLineWidth(3);
    addLayer(layer);
}

std::shared_ptr<ui::Label> HelpScreen::makeTitleLabel(const std::string& text) const
{
    auto label = ui::Label::create();
    label->setText(text);
    if (auto color = hexColor(m_titleTextColor))
        label->setTextColor(*color);
    label->setNumberOfLines(0);
    label->setFont(readerFont(isIpad() ? 16 : 12, ui::FontWeight::Bold));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setLineBreakMode(ui::LineBreakMode::ByWordWrapping);
    return label;
}

std::shared_ptr<ui::Label> HelpScreen::makeDescriptionLabel(const std::string& text) const
{
    auto label = ui::Label::create();
    label->setText(text);
    if (auto color = hexColor(m_descriptionTextColor))
        label->setTextColor(*color);
    label->setNumberOfLines(0);
    label->setFont(readerFont(isIpad() ? 12 : 9));
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setLineBreakMode(ui::LineBreakMode::ByWordWrapping);
    return label;
}

std::vector<ui::Rect> HelpScreen::itemPlaces() const
{
    std::vector<ui::Rect> places { viewIfLoaded() ? viewIfLoaded()->bounds() : ui::Rect() };
    auto window = ui::Environment::current().keyWindow();
    for (const auto& descriptor : m_helpDescriptors) {
        const auto icon = descriptor ? descriptor->icon() : nullptr;
        auto superview = icon ? icon->superview() : nullptr;
        places.push_back(superview && icon->window() ? superview->convertRectTo(icon->frame(), window.get()) : ui::Rect());
    }
    return places;
}

void HelpScreen::viewDidLayoutSubviews()
{
    ui::ViewController::viewDidLayoutSubviews();
    // The call-outs stand on the items where this pass has put them: the bars are placed by
    // constraints, so their items' places are only known once the pass has solved them.
    const auto places = itemPlaces();
    const bool same = places.size() == m_placesUsed.size()
        && std::equal(places.begin(), places.end(), m_placesUsed.begin(), [](const ui::Rect& a, const ui::Rect& b) {
               return a.origin == b.origin && a.size == b.size;
           });
    // While the device turns the overlay stays empty; the turn's end draws it again.
    if (!m_buttonActionInstalled || m_turning || same)
        return;
    setUpViews();
}

void HelpScreen::setUpViews()
{
    m_placesUsed = itemPlaces();
    removeViews();
    auto overlayView = view();
    const double width = overlayView->frame().size.width;
    const double height = overlayView->frame().size.height;
    const bool pad = isIpad();
    const bool rightToLeft = isRTL();
    const auto& environment = ui::Environment::current();

    // The button and the page indicator.
    if (m_isForTeacherReview && pad) {
        double x = rightToLeft ? 30 : width - 130;
        m_button->setFrame({ x, height - 70, 100, 40 });
        if (!m_isForBookShelf) {
            m_pageControl->setFrame({ width / 2 - 50, height - 150, 100, 50 });
            overlayView->addSubview(m_pageControl);
        }
    } else if (m_isForBookShelf) {
        m_button->setFrame(pad ? ui::Rect { width - 130, 30, 100, 40 } : ui::Rect { width - 90, 30, 70, 30 });
    } else {
        m_button->setFrame(
            pad ? ui::Rect { width / 2 - 50, 30, 100, 40 } : ui::Rect { width / 2 - 35, 30, 80, 30 });
        m_pageControl->setFrame({ width / 2 - 100, m_button->frame().size.height + 40, 200, 50 });
        overlayView->addSubview(m_pageControl);
    }

    double topInset = environment.safeAreaInsets().top;
    if (m_isForBookShelf)
        topInset += environment.safeAreaInsets().bottom;

    // The descriptors of the screen shown, where their items are, left to right.
    const bool secondScreen = m_showSecondScreen && m_pageControl->currentPage() == 1;
    std::vector<std::shared_ptr<HelpDescriptor>> selected;
    for (const auto& descriptor : m_helpDescriptors) {
        if (descriptor && descriptor->onSecondScreen() == secondScreen)
            selected.push_back(descriptor);
    }
    for (const auto& descriptor : selected) {
        if (const auto& icon = descriptor->icon())
            descriptor->setFrameUsed(screenFrameOfIcon(*icon, topInset));
        else
            descriptor->setFrameUsed(ui::Rect());
    }
    std::stable_sort(selected.begin(), selected.end(),
        [](const auto& a, const auto& b) { return frameOf(*a).origin.x < frameOf(*b).origin.x; });

    const double count = static_cast<double>(selected.size());
    const double halfHeight = height / 2;
    double lowerCount = 0;
    for (const auto& descriptor : selected) {
        if (descriptor->combinedTagName().empty() && frameOf(*descriptor).origin.y > halfHeight)
            ++lowerCount;
    }

    // Successive call-outs of one half stand at different heights.
    double upperFirst = -2;
    double upperSecond = 0;
    double lowerFirst = -1;
    double lowerSecond = lowerCount > 1 ? (lowerCount - 1) * 5 / lowerCount : 0;
    const double step = count > 0 ? 5 / count : 0;

    std::vector<std::shared_ptr<HelpDescriptor>> drawingOrder = selected;
    if (rightToLeft)
        std::reverse(drawingOrder.begin(), drawingOrder.end());

    const bool phoneInLandscape = !pad && ui::isLandscape(environment.deviceOrientation());
    const double singleDescriptionWidth = descriptionWidth(false);

    for (const auto& descriptor : drawingOrder) {
        ui::Rect frame = frameOf(*descriptor);
        if (frame.size.width == 0 || frame.size.height == 0) {
            frame.size = { fallbackIconWidth, fallbackIconHeight };
            descriptor->setFrameUsed(frame);
        }
        if (isSharedCallOut(*descriptor))
            continue;

        const double x = frame.origin.x;
        const double y = frame.origin.y;
        const double cx = centerX(frame);
        const bool upper = y < halfHeight;
        const bool onSecond = descriptor->onSecondScreen();

        double textHeight = 0;
        if (upper && !onSecond) {
            textHeight = std::max(70.0, (upperFirst + 5) * height / 10);
            upperFirst -= step;
        } else if (upper) {
            textHeight = std::max(70.0, (upperSecond + 5) * halfHeight / 10);
            upperSecond += step;
        } else if (!onSecond) {
            textHeight = (lowerFirst + 5) * height / 10;
            if (phoneInLandscape && descriptor->helpTitle() == localizedText("SEARCH"))
                textHeight += 16;
            lowerFirst += step;
        } else {
            textHeight = (lowerSecond + 5) * y / 10;
            lowerSecond -= step;
        }

        addIconCopy(*descriptor);
        addLine({ cx, textHeight }, { cx, upper ? y + frame.size.height + 5 : y - 3 });
        addDot({ cx, textHeight });

        auto title = makeTitleLabel(descriptor->helpTitle());
        const double titleWidth = title->intrinsicContentSize().width;
        bool titleOnLeft = false;
        if (!rightToLeft)
            titleOnLeft = onSecond || x + frame.size.width + titleWidth + 40 > width;
        else
            titleOnLeft = !onSecond && !(x - titleWidth < 0);
        title->setFrame({ titleOnLeft ? cx - titleWidth - 10 : cx + 10, textHeight - 5, 0, 0 });
        title->sizeToFit();
        addLabel(title);

        auto description = makeDescriptionLabel(descriptor->helpText());
        const ui::Size intrinsic = description->intrinsicContentSize();
        const double descriptionHeight = intrinsic.height;
        const double descriptionIntrinsicWidth = rightToLeft ? singleDescriptionWidth : intrinsic.width;
        const double descriptionY = textHeight + title->frame().size.height - 5;
        bool descriptionOnLeft = false;
        if (!rightToLeft)
            descriptionOnLeft
                = onSecond || (x + frame.size.width + descriptionIntrinsicWidth > width && upper);
        else
            descriptionOnLeft = !onSecond && !(x - descriptionIntrinsicWidth < 0);
        if (descriptionOnLeft) {
            description->setFrame({ cx - descriptionIntrinsicWidth - 10, descriptionY, singleDescriptionWidth,
                descriptionHeight });
            description->sizeToFit();
            ui::Rect fitted = description->frame();
            description->setFrame(
                { cx - fitted.size.width - 10, fitted.origin.y, fitted.size.width, fitted.size.height });
            description->setTextAlignment(ui::TextAlignment::Right);
            description->sizeToFit();
        } else {
            description->setFrame({ cx + 10, descriptionY, singleDescriptionWidth, descriptionHeight });
            description->sizeToFit();
        }
        addLabel(description);
    }

    m_combLineDecrementVal = 4;
    m_combLineIncrementVal = 1;

    for (const char* tagName : { penColorTagName, arrowTagName }) {
        std::vector<std::shared_ptr<HelpDescriptor>> members;
        for (const auto& descriptor : selected) {
            if (descriptor->combinedTagName() == tagName)
                members.push_back(descriptor);
        }
        if (members.size() >= 2)
            setUpCombinedViews(*members[0], *members[1]);
    }
}

void HelpScreen::setUpCombinedViews(HelpDescriptor& first, HelpDescriptor& second)
{
    const double height = view()->frame().size.height;
    const bool rightToLeft = isRTL();
    const ui::Rect a = frameOf(first);
    const ui::Rect b = frameOf(second);
    const bool upper = a.origin.y < height / 2;

    double textHeight = 0;
    double stemEnd = 0;
    if (upper) {
        textHeight = height * m_combLineDecrementVal / 10;
        m_combLineDecrementVal -= 1;
        stemEnd = b.origin.y + b.size.height + 15;
    } else {
        textHeight = height * (m_combLineIncrementVal + 5) / 10;
        m_combLineIncrementVal += 1;
        stemEnd = b.origin.y - 15;
    }

    const double ax = centerX(a);
    const double bx = centerX(b);
    ui::BezierPath bracket;
    if (upper) {
        const double bottom = a.origin.y + a.size.height;
        bracket.moveTo({ ax, bottom - 3 });
        bracket.lineTo({ ax, bottom + 13 });
        bracket.lineTo({ bx, bottom + 13 });
        bracket.lineTo({ bx, b.origin.y + b.size.height - 3 });
    } else {
        bracket.moveTo({ ax, a.origin.y + 3 });
        bracket.lineTo({ ax, a.origin.y - 13 });
        bracket.lineTo({ bx, a.origin.y - 13 });
        bracket.lineTo({ bx, b.origin.y + 3 });
    }
    auto bracketLayer = ui::ShapeLayer::create();
    bracketLayer->setPath(bracket);
    bracketLayer->setStrokeColor(hexColor(m_lineColor));
    bracketLayer->setFillColor(ui::Color::clear());
    bracketLayer->setLineWidth(2);
    addLayer(bracketLayer);

    addIconCopy(first);
    addIconCopy(second);

    const double middle = (a.origin.x + b.origin.x + b.size.width) / 2;
    addLine({ middle, textHeight }, { middle, stemEnd });
    addDot({ middle, textHeight });

    auto title = makeTitleLabel(first.helpTitle());
    title->setFrame({ middle + 10, textHeight - 22, 0, 0 });
    title->sizeToFit();
    if (rightToLeft) {
        ui::Rect frame = title->frame();
        title->setFrame(
            { middle - frame.size.width - 10, frame.origin.y, frame.size.width, frame.size.height });
    }
    addLabel(title);

    auto description = makeDescriptionLabel(first.helpText());
    const double descriptionHeight = description->intrinsicContentSize().height;
    description->setFrame({ middle + 10, textHeight + title->frame().size.height - 22, descriptionWidth(true),
        descriptionHeight });
    description->sizeToFit();
    if (rightToLeft) {
        ui::Rect frame = description->frame();
        description->setFrame(
            { middle - frame.size.width - 10, frame.origin.y, frame.size.width, frame.size.height });
    }
    addLabel(description);
}

} // namespace lectoro
