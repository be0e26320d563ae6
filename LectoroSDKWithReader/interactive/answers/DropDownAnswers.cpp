// Drop-down markups: the item list, the learner's choice stored as an answer record, and
// the feedback colours of a handed-in choice.

#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswersDelegates.h"

#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerReview.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/Date.h"
#include "platform/base/Strings.h"
#include "platform/ui/Presentation.h"

namespace lectoro {

std::optional<std::vector<std::string>> InteractiveAnswers::getDropDownItemsArrayForPropertyDictionary(
    const std::string& properties) const
{
    return answers::dropDownItems(properties, LocalizationHelper::localizedStringWithKey("SELECT_KEY"));
}

void InteractiveAnswers::didTapOnDropDownLink(const std::shared_ptr<PXLinkVO>& link)
{
    if (!link)
        return;
    if (m_context.activeMode == ReaderActiveModeFillInBlank) {
        // The tap only closes the keyboard of the field being edited.
        endRendererEditing();
        m_context.activeMode = ReaderActiveModeNone;
        return;
    }
    auto items = getDropDownItemsArrayForPropertyDictionary(link->properties);
    if (!items || items->empty())
        return;
    auto box = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock());
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    didSelectActionToCloseDropDown();
    auto list = LinkDropDownViewController::create(*items, box);
    list->setDelegate(m_delegates);
    m_dropDown = list;
    if (MarkupDevice::current().isPad) {
        list->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
        list->setPreferredContentSize({ 220, 220 });
        if (auto* popover = list->popoverPresentationController()) {
            popover->setDelegate(m_reader.readerPopoverDelegate());
            popover->setBackgroundColor(ui::Color::black());
            popover->setPermittedArrowDirections(ui::PopoverArrowDirection::Any);
            if (box) {
                popover->setSourceView(box);
                popover->setSourceRect(box->bounds());
            }
        }
        presenter->presentViewController(list, false);
        return;
    }
    presenter->addChildViewController(list);
    auto host = presenter->view();
    auto listView = list->view();
    host->addSubview(listView);
    // At its box, not wherever the list was made: the page's own controls stay uncovered.
    if (box && box->window()) {
        ui::Rect boxInHost = box->convertRectTo(box->bounds(), host.get());
        listView->setFrame(frameAtMarkup(boxInHost, listView->frame().size, host->bounds()));
    }
}

void InteractiveAnswers::didSelectDropDownItemWithText(
    const std::optional<std::string>& text, const std::shared_ptr<MarkupView>& box)
{
    if (!text || !box)
        return;
    auto link = storedLink(box->pageID, box->linkID);
    box->setTitle(*text, ui::ControlState::Normal);
    box->setTitle(*text, ui::ControlState::Highlighted);
    if (link)
        m_content.addAccessibilityOnMarkups(*link);
    if (!inTeacherReview()) {
        if (link)
            saveDropDownLink(
                *link, *text == LocalizationHelper::localizedStringWithKey("SELECT_KEY") ? "" : *text);
        return;
    }
    auto panel = review();
    if (!panel || !link)
        return;
    // The learner's newest answer of the link (greatest server id as a number); a learner
    // without one has nothing to mark.
    auto chosen
        = answers::reviewedAnswerForLink(panel->getFIBUGCForPageIdentifier(link->pageID), link->linkID);
    if (chosen) {
        chosen->text = *text;
        chosen->review = 1;
        panel->updateFIBData(chosen);
    }
    panel->drawTeacherReviewDropDownOnPageNumber(box->pageID);
}

void InteractiveAnswers::didSelectActionToCloseDropDown()
{
    auto list = std::move(m_dropDown);
    m_dropDown = nullptr;
    if (!list)
        return;
    if (list->presentingViewController()) {
        list->dismissViewControllerAnimated(false);
    } else {
        list->removeFromParentViewController();
        if (list->isViewLoaded())
            list->view()->removeFromSuperview();
    }
}

void InteractiveAnswers::saveDropDownLink(const PXLinkVO& link, const std::string& text)
{
    auto fib
        = m_context.dbManager ? m_context.dbManager->getFIBObjectWithLinkId(link.linkID, userID()) : nullptr;
    std::string now = currentUGCDateString();
    if (fib) {
        fib->status = UGCStatusUpdated;
    } else {
        fib = std::make_shared<SDKFIBVO>();
        fib->status = UGCStatusNew;
        fib->createdDate = now;
        fib->ugcID = UGCNotUploadedID;
        fib->localID = base::makeUuid();
    }
    fib->isDropDown = true;
    fib->modifiedDate = now;
    fib->isSubmitted = false;
    fib->review = 0;
    fib->setIsSynced(false);
    fib->text = text;
    fib->linkID = link.linkID;
    fib->pageIdentifier = link.pageID;
    fib->displayNum = link.folioNumber;
    if (text.empty())
        fib->status = UGCStatusDeleted;
    didUpdateSDKFIBVO(fib);
}

void InteractiveAnswers::compareAndShowInstantFeedbackForDropDownLink(
    const PXLinkVO& link, const SDKFIBVO& fib, bool forTeacherReview)
{
    auto box = std::dynamic_pointer_cast<MarkupView>(link.iconView.lock());
    if (!box)
        return;
    auto feedback = answers::dropDownFeedback(link, fib, forTeacherReview);
    if (!feedback)
        return;
    box->setTitleColor(feedback->titleColor, ui::ControlState::Normal);
    box->setTitleColor(feedback->titleColor, ui::ControlState::Highlighted);
    if (feedback->background)
        box->setBackgroundColor(*feedback->background);
}

void InteractiveAnswers::didTapOnSubmittedDropDown(const std::shared_ptr<MarkupView>& box)
{
    if (!box || !pageBook())
        return;
    if (inTeacherReview()) {
        if (box->sdkFIBVO && m_context.renderer)
            m_context.renderer->addReviewViewOnFib(box->sdkFIBVO);
        return;
    }
    auto link = storedLink(box->pageID, box->linkID);
    // The drawn box shows its choice with the list arrow after it; only the choice is judged.
    if (!link || !link->isInstantFeedback || answers::isAnswerCorrect(*link, box->dropDownText()))
        return;
    auto fib
        = m_context.dbManager ? m_context.dbManager->getFIBObjectWithLinkId(link->linkID, userID()) : nullptr;
    didSelectSubmittedFIB(fib, link, box);
}

} // namespace lectoro
