// The review bars over the page while a learner's work is shown, their rebuild on a turn
// of the device, and the saving overlay.

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/PenToolController.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/teacherreview/ReaderTeacherReview.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewReader.h"
#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace lectoro {

double ReaderTeacherReview::reviewBarHeight()
{
    return ui::Environment::current().isPad() ? 64 : 54;
}

void ReaderTeacherReview::addTeacherAnnotationTopBar()
{
    if (m_context.penToolActionBarView || m_context.penToolActionBottomBarView)
        return;
    addTeacherReviewTopBarView();
    addTeacherReviewBottomBarView();
    if (ui::Environment::current().isPad()) {
        if (m_context.penToolActionBarView)
            m_context.penToolActionBarView->resetPlayerActionBarSelection();
    } else {
        for (const auto& bar : { m_context.penToolActionBarView, m_context.penToolActionBottomBarView }) {
            if (bar)
                bar->resetPlayerActionBarSelection();
        }
    }
}

void ReaderTeacherReview::addTeacherReviewTopBarView()
{
    buildReviewBar(true);
}

void ReaderTeacherReview::addReviewPageItems(PlayerActionTopBar& bar, const LXMVThemeVO& theme)
{
    const double glyphSize = chrome::penToolGlyphSize();
    const bool pad = ui::Environment::current().isPad();
    const double pageItemsWidth = pad ? 200.0 : 160.0;
    // The page buttons and label only join a bar with room for them beside the learner,
    // report and Done items (not a phone held upright): squeezed in, they would push Done
    // off the screen and lie over the report item. Without them the page label stays
    // empty and the teacher pages with swipes and the thumbnails.
    double taken = 0;
    for (const auto& item : bar.items())
        taken += item->itemWidth();
    if (taken + pageItemsWidth > ui::Environment::current().screenSize().width)
        return;
    // The page buttons have no entry of the bars' own accessibility table.
    auto pageButton = [&](const char* glyph, int tag, const char* identifier, const char* labelKey) {
        auto item = bar.getPlayerItemWithIcon(glyph, tag, theme, glyphSize);
        item->setAccessibilityIdentifier(identifier);
        item->setAccessibilityLabel(teacherReviewLocalizedString(labelKey));
        return item;
    };
    bar.addActionBarItem(pageButton(ICON_PREV_PAGE_ICON, PlayerItemPreviousPage, "teacherReviewPreviousPage",
                             "ACCESSIBILITY_THUMBNAIL_PREV_PAGE"),
        pad ? 50.0 : 40.0, PlayerActionBarItemAlignmentLeading, true);
    bar.addActionBarItem(bar.getPlayerItemForPageNumberWithTheme(theme, std::string()), pad ? 100.0 : 80.0,
        PlayerActionBarItemAlignmentLeading, true);
    bar.addActionBarItem(
        pageButton(ICON_NEXT, PlayerItemNextPage, "teacherReviewNextPage", "ACCESSIBILITY_THUMBNAIL_NEXT_PAGE"),
        pad ? 50.0 : 40.0, PlayerActionBarItemAlignmentLeading, true);
}

void ReaderTeacherReview::addTeacherReviewBottomBarView()
{
    buildReviewBar(false);
}

std::shared_ptr<PlayerActionTopBar> ReaderTeacherReview::buildReviewBar(bool top)
{
    if (!top)
        // Nothing has been drawn yet, so there is nothing to undo.
        return buildReviewBar({ .top = false, .fillFirst = false, .borderWidth = 1.0, .dimmedItems = { PlayerItemTeacherUndo } },
            [](PlayerActionTopBar& bar, const LXMVThemeVO& theme) { bar.addPlayerBottomBarForTeacherReviewAnnotation(theme); });
    return buildReviewBar({ .top = true, .fillFirst = false, .borderWidth = 1.0, .dimmedItems = {} }, [this](PlayerActionTopBar& bar, const LXMVThemeVO& theme) {
        const auto& panel = m_teacherAnnotationController;
        bar.addPlayerTopBarForTeacherReviewAnnotation(theme,
            panel ? panel->selectedLearnerName.value_or(std::string()) : std::string(),
            panel ? panel->selectedLearnerImageUrl.value_or(std::string()) : std::string(),
            panel ? panel->getStudentCount() : -1, panel ? panel->getStudentIndex() : -1);
        addReviewPageItems(bar, theme);
        // A rebuilt bar (a turn of the device) shows the pages on screen at once.
        if (m_selectedLearnerID)
            updateTeacherReviewUI();
    });
}

std::shared_ptr<PlayerActionTopBar> ReaderTeacherReview::buildReviewBar(
    const ReviewBarLayout& layout, const std::function<void(PlayerActionTopBar&, const LXMVThemeVO&)>& fill)
{
    auto view = readerView();
    if (!view)
        return nullptr;
    const bool top = layout.top;
    const LXMVThemeVO& theme = themeOf(m_context);
    auto& slot = top ? m_context.penToolActionBarView : m_context.penToolActionBottomBarView;
    if (slot)
        slot->removeFromSuperview();
    auto bar = PlayerActionTopBar::create();
    slot = bar;
    bar->setDelegate(m_reader.playerActionDelegate());
    bar->setUser(m_context.user);
    bar->setBackgroundColor(theme.teacherSettings_popup_background());
    bar->setTag(TeacherBar);
    bar->updatePlayerSelectedItem(theme);
    if (layout.fillFirst)
        fill(*bar, theme);
    view->addSubview(bar);
    bar->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (!layout.fillFirst)
        fill(*bar, theme);

    const double height = reviewBarHeight();
    auto& vertical = top ? m_topConstOfTeacherReview : m_bottomConstOfTeacherReview;
    vertical = top ? bar->topAnchor().constraintEqualTo(view->topAnchor(), -height)
                   : bar->bottomAnchor().constraintEqualTo(view->bottomAnchor(), height);
    ui::Constraint::activate({
        bar->leftAnchor().constraintEqualTo(view->leftAnchor(), -reviewBarEdgeOutset),
        bar->rightAnchor().constraintEqualTo(view->rightAnchor(), reviewBarEdgeOutset),
        vertical,
        bar->heightAnchor().constraintEqualToConstant(height),
    });
    view->layoutIfNeeded();

    auto constraint = vertical;
    std::weak_ptr<int> alive = m_alive;
    ui::View::animate(reviewBarSlideInDuration, [this, alive, constraint, top] {
        if (alive.expired())
            return;
        constraint->setConstant(top ? -reviewBarShownOffset : reviewBarShownOffset);
        if (auto view = readerView())
            view->layoutIfNeeded();
    });

    auto& layer = *bar->layer();
    if (auto border = theme.teacherSettings_popup_border())
        layer.setBorderColor(*border);
    layer.setBorderWidth(layout.borderWidth);
    bar->setClipsToBounds(false);
    layer.setShadowOffset({ 0, -1 });
    layer.setShadowRadius(4.0);
    layer.setShadowOpacity(0.6);

    for (int tag : layout.dimmedItems) {
        if (auto item = m_reader.getPenToolItemWithTag(tag)) {
            item->setAlpha(0.5);
            item->setUserInteractionEnabled(false);
        }
    }
    bar->updatePlayerSelectedItem(theme);
    return bar;
}

// Previous page always; next page too when the learner's work is on one page only.
std::vector<int> ReaderTeacherReview::pageButtonsToDim() const
{
    std::vector<int> tags { PlayerItemPreviousPage };
    if (getSortedPageArrayOfStudentSubmitedUgc().size() == 1)
        tags.push_back(PlayerItemNextPage);
    return tags;
}

std::vector<std::string> ReaderTeacherReview::reviewPenColors() const
{
    const LXMVThemeVO& theme = themeOf(m_context);
    std::vector<std::string> colors;
    for (const auto& color : { theme.teacherSettings_pen1_color(), theme.teacherSettings_pen2_color() }) {
        if (color)
            colors.push_back(UIColorExpanded::hexStringFromColor(*color));
    }
    return colors;
}

void ReaderTeacherReview::addTeacherAnnotaionTopBarViewForIPhone()
{
    const auto& panel = m_teacherAnnotationController;
    const std::string name = panel ? panel->selectedLearnerName.value_or(std::string()) : std::string();
    const std::string picture = panel ? panel->selectedLearnerImageUrl.value_or(std::string()) : std::string();
    auto pages = getSortedPageArrayOfStudentSubmitedUgc();
    buildReviewBar({ .top = true, .fillFirst = false, .borderWidth = 1.0, .dimmedItems = pageButtonsToDim() },
        [&](PlayerActionTopBar& bar, const LXMVThemeVO& theme) {
            bar.addPlayerTopBarForTeacherAnnotationForIPhone(theme, name, picture, pages);
        });
}

void ReaderTeacherReview::addTeacherAnnotaionBottomBarViewForIPhone()
{
    const auto colors = reviewPenColors();
    const std::string selected = m_penToolController ? m_penToolController->getPenColor() : std::string();
    buildReviewBar({ .top = false, .fillFirst = false, .borderWidth = 1.0, .dimmedItems = { PlayerItemTeacherUndo } },
        [&](PlayerActionTopBar& bar, const LXMVThemeVO& theme) {
            bar.addPlayerBottomBarForTeacherAnnotationForIPhone(theme, colors, selected);
        });
}

void ReaderTeacherReview::addTeacherAnnotaionTopBarViewForIPad()
{
    const auto& panel = m_teacherAnnotationController;
    const std::string name = panel ? panel->selectedLearnerName.value_or(std::string()) : std::string();
    const std::string picture = panel ? panel->selectedLearnerImageUrl.value_or(std::string()) : std::string();
    const auto colors = reviewPenColors();
    const std::string selected = m_penToolController ? m_penToolController->getPenColor() : std::string();
    auto dimmed = pageButtonsToDim();
    dimmed.insert(dimmed.begin(), { PlayerItemTeacherUndo, PlayerItemTeacherThumbnail });
    buildReviewBar({ .top = true, .fillFirst = true, .borderWidth = 0.4, .dimmedItems = dimmed },
        [&](PlayerActionTopBar& bar, const LXMVThemeVO& theme) {
            bar.addPlayerTopBarForTeacherAnnotationForIPad(theme, colors, name, picture, selected, std::string());
        });
}

void ReaderTeacherReview::rebuildReviewBarsForOrientation(bool orientationChanged)
{
    if (m_context.activeMode != ReaderActiveModeTeacherReview)
        return;
    const LXMVThemeVO& theme = themeOf(m_context);
    if (orientationChanged && m_context.penToolActionBottomBarView) {
        auto selected = m_context.penToolActionBottomBarView->getSelectedItem();
        const int selectedTag = selected ? selected->tag() : -1;
        m_context.penToolActionBottomBarView->removeFromSuperview();
        m_context.penToolActionBottomBarView.reset();
        addTeacherReviewBottomBarView();
        if (selectedTag > 0) {
            if (auto item = m_reader.getPenToolItemWithTag(selectedTag)) {
                if (auto bar = m_context.penToolActionBottomBarView)
                    bar->setSelectedItem(item.get());
                item->setBackgroundColor(theme.top_toolbar_icons_color());
                for (const auto& subview : item->subviews()) {
                    if (auto label = std::dynamic_pointer_cast<ui::Label>(subview))
                        label->setTextColor(ui::Color::white());
                }
            }
        }
    }
    if (m_context.penToolActionBarView) {
        m_context.penToolActionBarView->removeFromSuperview();
        m_context.penToolActionBarView.reset();
        addTeacherReviewTopBarView();
    }
}

// MARK: - Saving overlay

void ReaderTeacherReview::addIndicatorViewForTeacherReview()
{
    auto view = readerView();
    if (!view || m_activityViewForTeacherReview)
        return;
    auto overlay = ui::View::create(view->bounds());
    overlay->setTranslatesAutoresizingMaskIntoConstraints(false);
    overlay->setBackgroundColor(ui::Color::fromWhite(0.0, 0.5));
    view->addSubview(overlay);
    ui::Constraint::activate({
        overlay->leadingAnchor().constraintEqualTo(view->leadingAnchor()),
        overlay->trailingAnchor().constraintEqualTo(view->trailingAnchor()),
        overlay->topAnchor().constraintEqualTo(view->topAnchor()),
        overlay->bottomAnchor().constraintEqualTo(view->bottomAnchor()),
    });
    // The overlay takes every touch meant for the reader below it.
    overlay->setUserInteractionEnabled(true);

    const auto bounds = view->bounds();
    auto indicator = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::WhiteLarge);
    indicator->setTranslatesAutoresizingMaskIntoConstraints(false);
    indicator->startAnimating();
    overlay->addSubview(indicator);
    ui::Constraint::activate({
        indicator->centerXAnchor().constraintEqualTo(overlay->centerXAnchor()),
        indicator->centerYAnchor().constraintEqualTo(overlay->centerYAnchor()),
    });
    const double indicatorSize = 37;
    indicator->setFrame({ (bounds.width() - indicatorSize) / 2, (bounds.height() - indicatorSize) / 2, indicatorSize,
        indicatorSize });

    auto label = ui::Label::create();
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    label->setText(teacherReviewLocalizedString("SAVING_THE_DATA"));
    label->setTextColor(ui::Color::white());
    label->setTextAlignment(ui::TextAlignment::Center);
    overlay->addSubview(label);
    ui::Constraint::activate({
        label->centerXAnchor().constraintEqualTo(view->centerXAnchor()),
        label->topAnchor().constraintEqualTo(indicator->bottomAnchor(), 10),
        label->heightAnchor().constraintEqualToConstant(50),
        label->widthAnchor().constraintGreaterThanOrEqualToConstant(100),
    });
    const double labelWidth = std::max(100.0, bounds.width() / 2);
    label->setFrame({ (bounds.width() - labelWidth) / 2, indicator->frame().maxY() + 10, labelWidth, 50 });
    m_activityViewForTeacherReview = overlay;
}

void ReaderTeacherReview::removeIndicatorViewForTeacherReview()
{
    if (!m_activityViewForTeacherReview)
        return;
    m_activityViewForTeacherReview->removeFromSuperview();
    m_activityViewForTeacherReview.reset();
}

} // namespace lectoro
