// Fill-in-the-blank fields: storing answers, the page above the keyboard, the
// correct-answer pop-up and rebuilding the fields of the pages on screen.

#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswersDelegates.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerReview.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/MVLectoroAnalyticsHandler.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/Strings.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/ViewController.h"

#include <algorithm>

namespace lectoro {

InteractiveAnswers::InteractiveAnswers(
    ReaderContext& context, InteractiveReader& reader, ReaderInteractiveContent& content)
    : m_context(context)
    , m_reader(reader)
    , m_content(content)
    , m_delegates(std::make_shared<Delegates>(*this))
{
}

InteractiveAnswers::~InteractiveAnswers()
{
    if (m_pendingEquationLaunch)
        base::RunLoop::main().cancel(*m_pendingEquationLaunch);
}

// --- Shared helpers ---

std::shared_ptr<PXBookVO> InteractiveAnswers::pageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
}

std::shared_ptr<PXLinkVO> InteractiveAnswers::storedLink(int64_t pageID, int64_t linkID) const
{
    auto book = pageBook();
    if (!book)
        return nullptr;
    auto page = book->pages.find(std::to_string(pageID));
    if (page == book->pages.end() || !page->second)
        return nullptr;
    auto link = page->second->links.find(std::to_string(linkID));
    return link == page->second->links.end() ? nullptr : link->second;
}

bool InteractiveAnswers::inTeacherReview() const
{
    return m_context.activeMode == ReaderActiveModeTeacherReview;
}

int64_t InteractiveAnswers::userID() const
{
    return m_context.user ? m_context.user->numericUserID() : 0;
}

std::string InteractiveAnswers::bookID() const
{
    return std::to_string(m_context.bookID);
}

std::shared_ptr<ui::View> InteractiveAnswers::rendererView() const
{
    return m_context.renderer ? m_context.renderer->view() : nullptr;
}

void InteractiveAnswers::endRendererEditing()
{
    if (auto view = rendererView())
        view->endEditing(true);
}

void InteractiveAnswers::resetRendererZoom()
{
    if (m_context.renderer)
        m_context.renderer->resetZoomScaleToDefault();
}

void InteractiveAnswers::notifyEvent(const std::string& name, const std::string& markupType)
{
    if (!m_context.analyticsHandler)
        return;
    if (markupType.empty())
        m_context.analyticsHandler->notifyEvent(name);
    else
        m_context.analyticsHandler->notifyEvent(name,
            base::Value::Dictionary {
                { LectoroReaderEventConstant::markupEventParameterKey(), markupType } });
}

// --- Saving ---

void InteractiveAnswers::didUpdateSDKFIBVO(std::shared_ptr<SDKFIBVO> fib)
{
    if (!fib)
        return;
    if (inTeacherReview()) {
        if (auto panel = review(); panel && panel->hasLearnerPanel())
            panel->updateFIBData(fib);
    } else if (auto db = m_context.dbManager) {
        base::Result<void> stored;
        if (fib->status == UGCStatusDeleted) {
            stored = db->deleteFIB(fib, bookID(), userID());
            reloadFIB();
        } else {
            fib->bookVersion = m_context.bookVersion;
            stored = fib->status == UGCStatusUpdated ? db->updateFIB(fib, bookID(), userID())
                                                     : db->saveFIB(fib, bookID(), userID());
        }
        // A failed write is reported by the store to its problem handler; the field keeps
        // the learner's text so nothing typed is lost from the screen.
        (void)stored;
    }
    m_reader.updateClearAllFIBsButtonStatus();
}

// --- Entry and the keyboard ---

void InteractiveAnswers::adoptField(MVFIB& field)
{
    field.setDelegate(m_delegates);
    field.isDefaultKeyboardDisabled = isDefaultKeyboardDisabled(field);
}

void InteractiveAnswers::adoptEquationView(FIBMathEquationView& view, const MVFIB& field)
{
    if (view.fibVO())
        setColorToMathKeyboard(view, *view.fibVO(), field);
    view.setDelegate(m_delegates);
}

void InteractiveAnswers::fibDidBeginEditing(MVFIB& field)
{
    notifyEvent(LectoroReaderEventConstant::markupEventName(),
        LectoroReaderEventConstant::markupEventFIBParameterValue());
    if (m_context.activeMode == ReaderActiveModeBookmark)
        m_reader.removeBookmarkVC();
    if (!inTeacherReview()) {
        resetRendererZoom();
        m_reader.moveTopAndBottomOffScreenAnimated();
        m_context.activeMode = ReaderActiveModeFillInBlank;
    }
    showMathKeyboardForFIB(field);
}

void InteractiveAnswers::keyboardDidShowForFIB(MVFIB& field, const ui::Rect& keyboardFrame)
{
    if (m_fibKeyBoardPresent)
        return;
    m_fibKeyBoardPresent = true;
    auto view = rendererView();
    if (view && (m_context.activeMode == ReaderActiveModeFillInBlank || inTeacherReview())) {
        // Moving the keyboard's rectangle into the window changes its origin, not its height.
        double keyboardHeight = keyboardFrame.size.height;
        ui::Rect frame = view->frame();
        frame.origin.y = 0;
        view->setFrame(frame);
        if (auto lift = answers::keyboardLift(frame.size, keyboardHeight, field.frame())) {
            std::weak_ptr<ui::View> weakView = view;
            ui::View::animate(0.3, [weakView, lift] {
                if (auto strong = weakView.lock()) {
                    ui::Rect moved = strong->frame();
                    moved.origin.y -= *lift;
                    strong->setFrame(moved);
                }
            });
        }
    }
    m_mvFIB = std::static_pointer_cast<MVFIB>(field.shared_from_this());
}

void InteractiveAnswers::keyboardDidHideForFIB(MVFIB&, const ui::Rect&)
{
    removeEquationEditorButton();
}

void InteractiveAnswers::fibDidEndEditing(MVFIB&)
{
    if (m_context.activeMode == ReaderActiveModeFillInBlank)
        m_context.activeMode = ReaderActiveModeNone;
    if (auto view = rendererView()) {
        std::weak_ptr<ui::View> weakView = view;
        ui::View::animate(
            0.3,
            [weakView] {
                if (auto strong = weakView.lock()) {
                    ui::Rect frame = strong->frame();
                    frame.origin.y = 0;
                    strong->setFrame(frame);
                }
            },
            [weakView](bool) {
                if (auto strong = weakView.lock())
                    strong->endEditing(true);
            });
    }
    removeEquationEditorButton();
    m_fibKeyBoardPresent = false;
}

bool InteractiveAnswers::shouldAllowEditingForLinkVO(const std::shared_ptr<PXLinkVO>&) const
{
    return !inTeacherReview();
}

// --- Submitted answers and the correct-answer pop-up ---

void InteractiveAnswers::didSelectSubmittedFIB(
    std::shared_ptr<SDKFIBVO> fib, std::shared_ptr<PXLinkVO> link, std::shared_ptr<ui::View> source)
{
    if (!link)
        return;
    bool mathKeyboard = isMathKeyboardEnabled(*link);
    if (!link->isInstantFeedback && !mathKeyboard && !inTeacherReview())
        return;
    if (m_context.activeMode == ReaderActiveModeFillInBlank) {
        endRendererEditing();
        m_context.activeMode = ReaderActiveModeNone;
        return;
    }
    if (inTeacherReview()) {
        if (fib && m_context.renderer)
            m_context.renderer->addReviewViewOnFib(fib);
        return;
    }
    m_context.activeMode = ReaderActiveModeFillInBlank;
    m_reader.moveTopAndBottomOffScreenAnimated();
    if (!mathKeyboard)
        showCorrectAnswerPopup(link->answer, std::move(source));
    else
        showFeedback(link, fib);
}

void InteractiveAnswers::showFeedback(std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib)
{
    showEquationEditorKeyboardForLink(std::move(link), std::move(fib));
}

void InteractiveAnswers::showCorrectAnswerPopup(
    const std::optional<std::string>& answer, std::shared_ptr<ui::View> source)
{
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto label = ui::Label::create();
    label->setText(answers::correctAnswerText(
        LocalizationHelper::localizedStringWithKey("INCORRECT_ANSWER_TEXT"), answer));
    label->setNumberOfLines(0);
    label->setLineBreakMode(ui::LineBreakMode::ByWordWrapping);
    label->setTextAlignment(ui::TextAlignment::Center);
    // The platform's system font size.
    label->setFont(ui::Font::italicSystemFont(17.0));
    m_fibAnswerViewController.reset();
    auto popup = ui::ViewController::create();
    m_fibAnswerViewController = popup;
    if (MarkupDevice::current().isPad) {
        const ui::Size size { 250, 90 };
        // As tall as its lines, centred 5 points above the middle, so it stays on the pop-over.
        double height = std::min(size.height, label->sizeThatFits(size).height);
        label->setFrame(ui::Rect { { 0, std::max(0.0, (size.height - height) / 2 - 5) }, { size.width, height } });
        popup->view()->setBackgroundColor(ui::Color::white());
        popup->view()->addSubview(label);
        popup->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
        popup->setPreferredContentSize(size);
        if (auto* popover = popup->popoverPresentationController()) {
            // Tapped away, the pop-over must end its mode, or the next page tap is lost.
            popover->setDelegate(m_reader.readerPopoverDelegate());
            if (source) {
                popover->setSourceView(source);
                popover->setSourceRect(source->bounds());
            }
        }
        presenter->presentViewController(popup, false);
        return;
    }
    ui::Rect bounds = presenter->view()->bounds();
    popup->view()->setFrame(bounds);
    popup->view()->setBackgroundColor(ui::Color::black().withAlpha(0.5));
    std::weak_ptr<Delegates> weak = m_delegates;
    popup->view()->addGestureRecognizer(
        ui::TapGestureRecognizer::create([this, weak](ui::GestureRecognizer&) {
            if (weak.lock())
                removeFIBPopOver();
        }));
    label->setBackgroundColor(ui::Color::white());
    label->setFrame(ui::Rect { { bounds.size.width / 2 - 125, bounds.size.height / 2 - 45 }, { 250, 90 } });
    popup->view()->addSubview(label);
    presenter->addChildViewController(popup);
    presenter->view()->addSubview(popup->view());
}

void InteractiveAnswers::removeFIBPopOver()
{
    if (!inTeacherReview())
        m_context.activeMode = ReaderActiveModeNone;
    auto popup = std::move(m_fibAnswerViewController);
    m_fibAnswerViewController = nullptr;
    if (!popup)
        return;
    if (popup->presentingViewController()) {
        popup->dismissViewControllerAnimated(false);
    } else {
        popup->removeFromParentViewController();
        if (popup->isViewLoaded())
            popup->view()->removeFromSuperview();
    }
}

void InteractiveAnswers::didTapOnInstantFeedBack(const std::shared_ptr<ui::View>& view)
{
    if (auto field = std::dynamic_pointer_cast<MVFIB>(view)) {
        auto link = field->linkVo();
        if (!link)
            return;
        if (isMathKeyboardEnabled(*link))
            showFeedback(link, field->sdkFIBVO());
        else
            showCorrectAnswerPopup(link->answer, field);
        return;
    }
    if (auto icon = std::dynamic_pointer_cast<MarkupView>(view)) {
        if (auto link = storedLink(icon->pageID, icon->linkID))
            showCorrectAnswerPopup(link->answer, icon);
    }
}

// --- Rebuilding the fields ---

void InteractiveAnswers::reloadFIB()
{
    auto book = pageBook();
    if (!book || !m_context.renderer)
        return;
    bool isTeacher = !(m_context.user && m_context.user->isLearner());
    for (const auto& page : m_context.renderer->getActivePages()) {
        std::vector<std::shared_ptr<ui::View>> views;
        for (const auto& link : book->getLinksForForPagenumber(page.pageID)) {
            if (!link || link->linkType != 5)
                continue;
            auto saved = m_context.dbManager
                ? m_context.dbManager->getFIBObjectWithLinkId(link->linkID, userID())
                : nullptr;
            auto field = MVFIB::create(link, saved, isTeacher);
            adoptField(*field);
            views.push_back(field);
            if (saved && saved->isEquation && isMathKeyboardEnabled(*link)) {
                auto equation = FIBMathEquationView::create(
                    link, saved, field->frame(), m_context.isUsingDefaultMathIcon);
                adoptEquationView(*equation, *field);
                field->hideTextForSubmitedMath();
                views.push_back(equation);
            }
        }
        if (!views.empty()) {
            m_context.renderer->drawFIB(views, page.pageID);
            m_content.setFibArrayForAccessibility(views);
        }
    }
}

// --- Teacher review ---

void InteractiveAnswers::didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
    if (fibs.empty() || !fibs.front())
        return;
    auto panel = review();
    if (panel && panel->hasLearnerPanel()) {
        for (const auto& fib : fibs)
            panel->updateFIBData(fib);
    }
    if (panel)
        panel->refreshTeacherReviewPage(base::integerValue(fibs.front()->pageIdentifier));
}

void InteractiveAnswers::didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>& fibs)
{
    if (fibs.empty())
        return;
    auto panel = review();
    if (!panel)
        return;
    if (panel->hasLearnerPanel())
        panel->setSelectedFibArray(fibs);
    panel->showNoteForTeacherCommentWithFib(fibs.front());
}

// --- Keyboard rules ---

bool InteractiveAnswers::isDefaultKeyboardDisabled(const MVFIB& field) const
{
    bool mathEditor = m_context.settings && m_context.settings->isMathEditorEnabled();
    return m_context.isFIBLevelKeyboardEnabled && mathEditor && field.linkVo()
        && field.linkVo()->isMathKeyboardEnabled;
}

bool InteractiveAnswers::isMathKeyboardEnabled(const PXLinkVO& link) const
{
    bool mathEditor = m_context.settings && m_context.settings->isMathEditorEnabled();
    if (!m_context.isFIBLevelKeyboardEnabled)
        return mathEditor;
    return mathEditor && link.isMathKeyboardEnabled;
}

void InteractiveAnswers::setColorToMathKeyboard(
    FIBMathEquationView& view, const SDKFIBVO& fib, const MVFIB& field) const
{
    ui::Color themed = ui::Color::gray();
    if (m_context.theme) {
        if (auto color = m_context.theme->share_icon_color())
            themed = *color;
    }
    const auto& link = field.linkVo() ? field.linkVo() : view.link();
    if (!link)
        return;
    view.setThemeColor(answers::equationColour(*link, fib, themed));
}

void InteractiveAnswers::showMathKeyboardForFIB(MVFIB& field)
{
    auto link = field.linkVo();
    if (!field.isDefaultKeyboardDisabled || !link || !isMathKeyboardEnabled(*link))
        return;
    showEquationEditorKeyboardForLink(link, equationRecordForLink(*link));
}

} // namespace lectoro
