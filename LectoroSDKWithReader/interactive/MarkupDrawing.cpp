// Drawing a fixed-layout page's markups: one view per link, handed to the renderer.

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/Strings.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <algorithm>
#include <set>

namespace lectoro {

namespace {

constexpr const char* iconBackground = "#3b3b3b";
constexpr const char* iconBorder = "#ffffff";

ui::Color hex(const char* text) { return UIColorExpanded::colorWithHexString(text).value_or(ui::Color::black()); }

// A markup icon's glyph is half the icon's height; an icon not laid out yet still gets a font.
ui::Font markupIconFont(double size)
{
    if (auto font = ui::Font::fromName(MVIconFontConstants::getFontName(), size))
        return *font;
    return ui::Font::systemFont(size > 0 ? size : 1);
}

void removeLink(std::vector<std::shared_ptr<PXLinkVO>>& links, const PXLinkVO* link)
{
    links.erase(std::remove_if(links.begin(), links.end(), [&](const auto& each) { return each.get() == link; }),
        links.end());
}

} // namespace

std::shared_ptr<MarkupView> ReaderInteractiveContent::makeIcon(int64_t pageID, int64_t linkID, bool tappable)
{
    auto icon = MarkupView::create();
    icon->pageID = pageID;
    icon->linkID = linkID;
    if (tappable) {
        std::weak_ptr<Delegates> weak = m_delegates;
        icon->addTarget(ui::ControlEvent::TouchUpInside, [this, weak](ui::Control& control) {
            if (weak.lock())
                didTapOnLink(static_cast<MarkupView&>(control));
        });
    }
    return icon;
}

void ReaderInteractiveContent::applyIconLook(MarkupView& icon, const std::string& title, const ui::Rect& frame, bool bordered)
{
    icon.setFrame(frame);
    icon.setTitle(title);
    icon.setTitleColor(ui::Color::white());
    icon.setBackgroundColor(hex(iconBackground));
    icon.titleLabel()->setFont(markupIconFont(frame.size.height / 2));
    icon.setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Center);
    icon.layer()->setCornerRadius(frame.size.height / 2);
    icon.setGlyphFollowsHeight(true);
    if (bordered) {
        icon.layer()->setBorderColor(hex(iconBorder));
        icon.layer()->setBorderWidth(markupIconBorderWidth(device()));
    }
}

void ReaderInteractiveContent::drawMarkupsOnPageNumber(const std::string& pageNumber, const std::string&)
{
    auto book = pageBook();
    if (!book)
        return;
    int64_t pageID = base::integerValue(pageNumber);
    const auto& links = book->getLinksForForPagenumber(pageID);
    m_multiLinksArray.assign(links.begin(), links.end());
    std::vector<std::shared_ptr<ui::View>> answerViews;
    std::set<std::string> groupKeys;
    MarkupDevice dev = device();
    auto user = m_context.user;
    int64_t userID = user ? user->numericUserID() : 0;
    bool isLearner = user && user->isLearner();
    auto& hold = holdViewsOfPage(pageID);

    for (const auto& link : links) {
        if (!link)
            continue;
        if (link->linkType == 26) {
            removeLink(m_multiLinksArray, link.get());
            continue;
        }
        if (link->isMultiLinkMember) {
            std::string key = multiLinkGroupKey(*link);
            if (groupKeys.insert(key).second) {
                auto group = std::make_shared<PXLinkVO>();
                group->linkType = 1;
                group->pageID = std::to_string(pageID);
                group->xCoordinate = link->xCoordinate;
                group->yCoordinate = link->yCoordinate;
                group->transformedRect = link->transformedRect;
                group->boxTansformedRect = link->boxTansformedRect;
                auto icon = makeIcon(pageID, 0, true);
                icon->xCordinate = link->xCoordinate;
                icon->yCordinate = link->yCoordinate;
                applyIconLook(*icon, MULTIFILE_ICON, get220PercentScaleRectForLinkMarkups(group.get(), dev), true);
                auto area = MarkupHitAreaLabel::create(
                    ui::Rect { icon->frame().origin, link->boxTansformedRect.size });
                area->pageID = pageID;
                area->iconView = icon;
                area->setDelegate(hitAreaDelegate());
                group->iconView = icon;
                group->iconHitAreaLabel = area;
                hold.push_back(icon);
                hold.push_back(area);
                hold.push_back(group);
                m_multiLinksArray.push_back(group);
            }
            auto member = makeIcon(pageID, link->linkID, false);
            member->xCordinate = link->xCoordinate;
            member->yCordinate = link->yCoordinate;
            ui::Rect frame = getRectForLinkMarkups(link.get(), dev);
            applyIconLook(*member, getIconForLinkType(link.get()).value_or(""), frame, true);
            member->layer()->setCornerRadius(link->transformedRect.size.width / 2);
            link->iconView = member;
            hold.push_back(member);
            removeLink(m_multiLinksArray, link.get());
        } else if (link->linkType == 20) {
            auto icon = makeIcon(pageID, link->linkID, true);
            icon->setFrame(link->boxTansformedRect);
            auto underline = ui::View::create(glossaryUnderlineRect(link->boxTansformedRect.size));
            underline->setBackgroundColor(m_context.theme ? m_context.theme->glossary_underline_color() : std::nullopt);
            icon->addSubview(underline);
            link->iconView = icon;
            hold.push_back(icon);
        } else if (link->linkType == 5) {
            auto saved = m_context.dbManager ? m_context.dbManager->getFIBObjectWithLinkId(link->linkID, userID) : nullptr;
            auto field = MVFIB::create(link, saved, !isLearner);
            m_answers->adoptField(*field);
            answerViews.push_back(field);
            if (saved && saved->isEquation && m_answers->isMathKeyboardEnabled(*link)) {
                auto equation = FIBMathEquationView::create(link, saved, field->frame(), m_context.isUsingDefaultMathIcon);
                m_answers->adoptEquationView(*equation, *field);
                field->hideTextForSubmitedMath();
                answerViews.push_back(equation);
            }
            removeLink(m_multiLinksArray, link.get());
        } else if (link->linkType == 13) {
            auto icon = makeIcon(pageID, link->linkID, true);
            icon->setFrame(link->boxTansformedRect);
            auto saved = m_context.dbManager ? m_context.dbManager->getFIBObjectWithLinkId(link->linkID, userID) : nullptr;
            icon->sdkFIBVO = saved;
            std::string text = saved && !saved->text.empty() ? saved->text : LocalizationHelper::localizedStringWithKey("SELECT_KEY");
            icon->updateForDropDownWithInputText(text, link->properties);
            if (saved && saved->isSubmitted && isLearner) {
                // A learner's handed-in answer no longer opens the list; its tap shows feedback.
                icon->removeTargets(ui::ControlEvent::AllEvents);
                std::weak_ptr<Delegates> weak = m_delegates;
                icon->addTarget(ui::ControlEvent::TouchUpInside, [this, weak, id = link->linkID](ui::Control& control) {
                    if (!weak.lock())
                        return;
                    report("didTapOnSubmittedDropDown", {}, id);
                    m_answers->didTapOnSubmittedDropDown(
                        std::static_pointer_cast<MarkupView>(control.shared_from_this()));
                });
            }
            link->iconView = icon;
            if (saved)
                m_answers->compareAndShowInstantFeedbackForDropDownLink(*link, *saved, false);
            hold.push_back(icon);
        } else {
            auto icon = makeIcon(pageID, link->linkID, true);
            auto area = MarkupHitAreaLabel::create();
            area->pageID = pageID;
            area->linkID = link->linkID;
            area->iconView = icon;
            area->setDelegate(hitAreaDelegate());
            bool inlineVideo = link->isInLine
                && (link->linkType == 3 || link->linkType == 17 || link->linkType == 18 || link->linkType == 24);
            std::string title;
            if (inlineVideo) {
                title = ICON_MEDIA_PLAY;
                applyIconLook(*icon, title, getRectForInlineVideoMarkup(link.get(), dev), false);
                area->setFrame(ui::Rect { icon->frame().origin, link->boxTansformedRect.size });
            } else {
                title = getIconForLinkType(link.get()).value_or("");
                applyIconLook(*icon, title, get220PercentScaleRectForLinkMarkups(link.get(), dev), true);
                area->setFrame(link->boxTansformedRect);
            }
            if (title.empty())
                removeLink(m_multiLinksArray, link.get());
            if (!link->isVisible)
                icon->setAsInvisibleMarkup();
            link->iconView = icon;
            link->iconHitAreaLabel = area;
            hold.push_back(icon);
            hold.push_back(area);
        }
        addAccessibilityOnMarkups(*link);
    }

    checkInvisibleMultiLinkMarkup(pageID);
    if (m_context.renderer && !m_multiLinksArray.empty())
        m_context.renderer->drawMarkups(m_multiLinksArray, pageID);
    if (!answerViews.empty()) {
        if (m_context.renderer)
            m_context.renderer->drawFIBs(answerViews, pageID);
        m_fibArrayForAccessibility = answerViews;
        setAccessibilityOnFIBs();
    }
}

std::vector<std::shared_ptr<const void>>& ReaderInteractiveContent::holdViewsOfPage(int64_t pageID)
{
    // Links keep their views weakly and member icons never reach the renderer, so the views
    // of the pages on screen are kept here; a page drawn again gets fresh ones.
    std::set<int64_t> onScreen { pageID };
    if (m_context.renderer) {
        for (const auto& page : m_context.renderer->getActivePages())
            onScreen.insert(page.pageID);
    }
    std::erase_if(m_pageViews, [&](const auto& entry) { return !onScreen.count(entry.first); });
    auto& hold = m_pageViews[pageID];
    hold.clear();
    return hold;
}

void ReaderInteractiveContent::checkInvisibleMultiLinkMarkup(int64_t pageID)
{
    auto book = pageBook();
    if (!book)
        return;
    const auto& pageLinks = book->getLinksForForPagenumber(pageID);
    for (const auto& record : m_multiLinksArray) {
        if (!record || record->linkType != 1)
            continue;
        auto icon = std::dynamic_pointer_cast<MarkupView>(record->iconView.lock());
        if (!icon)
            continue;
        bool visible = std::any_of(pageLinks.begin(), pageLinks.end(), [&](const auto& link) {
            return link && link->isVisible && link->xCoordinate.integerValue() == icon->xCordinate.integerValue()
                && link->yCoordinate.integerValue() == icon->yCordinate.integerValue();
        });
        if (!visible)
            icon->setAsInvisibleMarkup();
    }
}

void ReaderInteractiveContent::addAccessibilityOnMarkups(const PXLinkVO& link)
{
    auto icon = std::dynamic_pointer_cast<MarkupView>(link.iconView.lock());
    if (!icon)
        return;
    std::string argument = link.toolTip;
    if (link.linkType == 13)
        argument = link.toolTip + "," + icon->currentTitle();
    AccessibilityHelper::setAccessibilityForElementID(*icon, "ReaderMarkupButton", "ReaderLectoroAccessibility", argument);
}

void ReaderInteractiveContent::setAccessibilityOnFIBs()
{
    for (const auto& view : m_fibArrayForAccessibility) {
        if (!view)
            continue;
        for (const auto& sub : view->subviews()) {
            if (std::dynamic_pointer_cast<ui::TextField>(sub) || std::dynamic_pointer_cast<ui::TextView>(sub))
                AccessibilityHelper::setAccessibilityForElementID(*sub, "ReaderFIBTF", "ReaderLectoroAccessibility", "");
        }
    }
}

void ReaderInteractiveContent::drawProtractorOnPageNumber(const std::string&, const std::string&) { }

} // namespace lectoro
