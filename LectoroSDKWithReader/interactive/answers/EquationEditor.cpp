// The equation button beside the keyboard, the equation keyboard that takes the system
// keyboard's place, and the protractor records the renderer reports.

#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswersDelegates.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/MarkupGeometry.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerReview.h"
#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"
#include "LectoroSDKWithReader/reader/LectoroReaderEventConstant.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "platform/base/Strings.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro {

namespace {

ui::Color equationHex(const char* text)
{
    return UIColorExpanded::colorWithHexString(text).value_or(ui::Color::black());
}

// The text views and fields directly inside a field's view.
std::vector<std::shared_ptr<ui::View>> typingViews(const ui::View& field)
{
    std::vector<std::shared_ptr<ui::View>> found;
    for (const auto& sub : field.subviews()) {
        if (std::dynamic_pointer_cast<ui::TextField>(sub) || std::dynamic_pointer_cast<ui::TextView>(sub))
            found.push_back(sub);
    }
    return found;
}

std::string typedText(const ui::View& field)
{
    std::string text;
    for (const auto& view : typingViews(field)) {
        if (auto textField = std::dynamic_pointer_cast<ui::TextField>(view))
            text = textField->text();
        else if (auto textView = std::dynamic_pointer_cast<ui::TextView>(view))
            text = textView->text();
    }
    return text;
}

// Switching keyboards throws typed text away: asked first.
std::shared_ptr<ui::AlertController> makeDeleteDataAlert()
{
    return ui::AlertController::create(LocalizationHelper::localizedStringWithKey("EE_DATA_DELETE_TITLE"),
        LocalizationHelper::localizedStringWithKey("EE_DATA_DELETE_MESSAGE"),
        ui::AlertControllerStyle::Alert);
}

} // namespace

// --- The equation button ---

void InteractiveAnswers::addEquationEditorButton(const ui::Rect& keyboardFrame, double offset)
{
    removeEquationEditorButton();
    auto view = rendererView();
    if (!view)
        return;
    bool isPad = MarkupDevice::current().isPad;
    double side = answers::equationButtonSide(isPad);
    auto button = ui::Button::create();
    std::weak_ptr<Delegates> weak = m_delegates;
    button->addTarget(ui::ControlEvent::TouchUpInside, [this, weak](ui::Control&) {
        if (weak.lock())
            didTapOnEquationEditorButton();
    });
    double fontSize = isPad ? 35.0 : 18.0;
    button->titleLabel()->setFont(ui::Font::fromName(MVIconFontConstants::getFontName(), fontSize)
                                      .value_or(ui::Font::systemFont(fontSize)));
    button->setTitle(m_context.isUsingDefaultMathIcon ? ICON_EQUATION_EDITOR : ICON_EQUATION_EDITOR_NEW);
    button->setTitleColor(equationHex("#095e8e"));
    button->setBackgroundColor(equationHex("#e7e7e8"));
    auto layer = button->layer();
    layer->setBorderColor(equationHex("#babbbe"));
    layer->setShadowColor(answers::systemGray());
    layer->setShadowOpacity(0.5);
    layer->setBorderWidth(side / 9.0);
    layer->setCornerRadius(side / 3.5);
    layer->setShadowRadius(isPad ? 5.0 : 2.5);
    button->setHidden(false);
    button->setFrame(
        answers::equationButtonFrame(view->frame().size, keyboardFrame.size.height, offset, isPad));
    view->addSubview(button);
    m_equationButton = button;
}

void InteractiveAnswers::removeEquationEditorButton()
{
    if (m_equationButton)
        m_equationButton->removeFromSuperview();
    m_equationButton = nullptr;
}

void InteractiveAnswers::didTapOnEquationEditorButton()
{
    auto launch = [this] {
        if (m_pendingEquationLaunch)
            base::RunLoop::main().cancel(*m_pendingEquationLaunch);
        std::weak_ptr<Delegates> weak = m_delegates;
        m_pendingEquationLaunch = base::RunLoop::main().postDelayed(0.3, [this, weak] {
            if (!weak.lock())
                return;
            m_pendingEquationLaunch.reset();
            dismissFIBAndLaunchEquationEditor();
        });
    };
    std::string text = m_mvFIB ? typedText(*m_mvFIB) : std::string {};
    if (text.empty()) {
        launch();
        return;
    }
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto alert = makeDeleteDataAlert();
    alert->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("CANCEL")));
    std::weak_ptr<Delegates> weak = m_delegates;
    alert->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("OK"),
        ui::AlertActionStyle::Default, [weak, launch](ui::AlertAction&) {
            if (weak.lock())
                launch();
        }));
    presenter->presentViewController(alert, true);
}

void InteractiveAnswers::dismissFIBAndLaunchEquationEditor()
{
    auto field = std::move(m_mvFIB);
    m_mvFIB = nullptr;
    if (!field)
        return;
    field->isDefaultKeyboardDisabled = isDefaultKeyboardDisabled(*field);
    auto link = field->linkVo();
    if (!link)
        return;
    clearTextOnSwitchingKeyBoardFromNormalToEquationEditorForLinkID(link->linkID);
    showEquationEditorKeyboardForLink(link, equationRecordForLink(*link));
}

void InteractiveAnswers::clearTextOnSwitchingKeyBoardFromNormalToEquationEditorForLinkID(int64_t linkID)
{
    auto field = m_context.renderer ? m_context.renderer->getFIBViewForLinkId(linkID) : nullptr;
    if (!field)
        return;
    for (const auto& view : typingViews(*field)) {
        if (!view->isFirstResponder())
            view->becomeFirstResponder();
        if (auto textField = std::dynamic_pointer_cast<ui::TextField>(view))
            textField->setText("");
        else if (auto textView = std::dynamic_pointer_cast<ui::TextView>(view))
            textView->setText("");
        view->resignFirstResponder();
    }
}

// --- The equation keyboard ---

std::shared_ptr<SDKFIBVO> InteractiveAnswers::equationRecordForLink(const PXLinkVO& link) const
{
    if (inTeacherReview()) {
        auto panel = review();
        return panel ? panel->getSDKFIBVOForLinkID(link.linkID) : nullptr;
    }
    return m_context.dbManager ? m_context.dbManager->getEquationFIBObjectForText("", link, userID())
                               : nullptr;
}

void InteractiveAnswers::showEquationEditorKeyboardForLink(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib)
{
    notifyEvent(LectoroReaderEventConstant::equationEditorEventName(), "");
    if (m_context.activeMode == ReaderActiveModeBookmark)
        m_reader.removeBookmarkVC();
    hideTopAndBottomBarForIphoneTeacherReview();
    if (m_context.activeMode == ReaderActiveModeFillInBlank)
        m_context.activeMode = ReaderActiveModeNone;
    endRendererEditing();
    resetRendererZoom();
    m_reader.moveTopAndBottomOffScreen();
    auto renderer = m_context.renderer;
    if (!renderer)
        return;
    removeEquationEditorKeyboard();
    auto keyboard = EquationEditorKeyboardViewController::create(fib);
    keyboard->setLink(link);
    keyboard->view()->setFrame(renderer->view()->bounds());
    keyboard->setDelegate(m_delegates);
    if (link)
        keyboard->setPosY(answers::equationKeyboardPosY(*link, MarkupDevice::current().isPad));
    m_equationKeyboard = keyboard;
    renderer->addChildViewController(keyboard);
    renderer->view()->addSubview(keyboard->view());
    renderer->view()->bringSubviewToFront(keyboard->view().get());
}

void InteractiveAnswers::saveEquationEditorForLink(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, const std::string& text)
{
    showTopAndBottomBarForIphoneTeacherReview();
    removeEquationEditorKeyboard();
    saveEquationWithText(text, std::move(link), std::move(fib));
}

void InteractiveAnswers::saveEquationWithText(
    const std::string& text, std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib)
{
    if (!inTeacherReview()) {
        if (!link || !m_context.dbManager)
            return;
        auto record = m_context.dbManager->getEquationFIBObjectForText(text, *link, userID());
        if (!record)
            return;
        record->review = 0;
        didUpdateSDKFIBVO(record);
        reloadFIB();
        return;
    }
    if (!fib)
        return;
    fib->review = 1;
    didUpdateSDKFIBVO(fib);
    if (auto panel = review())
        panel->drawTeacherReviewFIBOnPageNumber(base::integerValue(fib->pageIdentifier));
}

void InteractiveAnswers::changeEquationKeyboardToNormalForLink(std::shared_ptr<PXLinkVO> link,
    std::shared_ptr<SDKFIBVO> fib, const std::optional<std::string>& enteredText)
{
    if (enteredText && enteredText->empty()) {
        removeEquationEditorKeyboard();
        changeEquationTypeToNormalTypeForLink(std::move(link), std::move(fib));
        return;
    }
    auto presenter = m_reader.presentingController();
    if (!presenter)
        return;
    auto alert = makeDeleteDataAlert();
    std::weak_ptr<Delegates> weak = m_delegates;
    alert->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("CANCEL"),
        ui::AlertActionStyle::Default, [this, weak](ui::AlertAction&) {
            if (!weak.lock() || !m_equationKeyboard || !m_context.renderer)
                return;
            // The keyboard comes back as it was, with what was typed in it.
            auto renderer = m_context.renderer;
            m_equationKeyboard->view()->setFrame(renderer->view()->bounds());
            renderer->addChildViewController(m_equationKeyboard);
            renderer->view()->addSubview(m_equationKeyboard->view());
        }));
    bool present = enteredText.has_value();
    alert->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("OK"),
        ui::AlertActionStyle::Default, [this, weak, link, fib, present](ui::AlertAction&) {
            if (!weak.lock() || !present)
                return;
            removeEquationEditorKeyboard();
            changeEquationTypeToNormalTypeForLink(link, fib);
        }));
    presenter->presentViewController(alert, true);
}

void InteractiveAnswers::changeEquationTypeToNormalTypeForLink(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib)
{
    showTopAndBottomBarForIphoneTeacherReview();
    saveEquationWithText("", link, fib);
    if (!link || !m_context.renderer)
        return;
    auto field = m_context.renderer->getFIBViewForLinkId(link->linkID);
    if (!field)
        return;
    if (auto answerField = std::dynamic_pointer_cast<MVFIB>(field))
        answerField->isDefaultKeyboardDisabled = false;
    for (const auto& view : typingViews(*field))
        view->becomeFirstResponder();
}

void InteractiveAnswers::closeEquationEditor()
{
    removeEquationEditorKeyboard();
    if (inTeacherReview())
        showTopAndBottomBarForIphoneTeacherReview();
}

void InteractiveAnswers::removeEquationEditorKeyboard()
{
    auto keyboard = std::move(m_equationKeyboard);
    m_equationKeyboard = nullptr;
    if (!keyboard)
        return;
    if (keyboard->isViewLoaded())
        keyboard->view()->removeFromSuperview();
    keyboard->removeFromParentViewController();
}

void InteractiveAnswers::setTeacherReviewPenBarsHidden(bool hidden)
{
    // A phone hides both pen bars, a pad only the top one.
    if (!inTeacherReview())
        return;
    if (m_context.penToolActionBarView)
        m_context.penToolActionBarView->setHidden(hidden);
    if (!MarkupDevice::current().isPad && m_context.penToolActionBottomBarView)
        m_context.penToolActionBottomBarView->setHidden(hidden);
}

void InteractiveAnswers::hideTopAndBottomBarForIphoneTeacherReview()
{
    setTeacherReviewPenBarsHidden(true);
}

void InteractiveAnswers::showTopAndBottomBarForIphoneTeacherReview()
{
    setTeacherReviewPenBarsHidden(false);
}

// --- Protractor records ---

void InteractiveAnswers::didCloseProtractorWithProtractorVO(
    const std::shared_ptr<SDKProtractorVO>& protractor)
{
    m_content.removeProtractorView();
    if (!protractor)
        return;
    protractor->bookVersion = m_context.bookVersion;
    if (m_context.dbManager)
        (void)m_context.dbManager->saveProtractor(protractor, bookID(), userID());
    m_content.drawProtractorOnPageNumber(protractor->pageIdentifier, protractor->displayNum);
}

void InteractiveAnswers::deleteProtractorWithProtractorVO(const std::shared_ptr<SDKProtractorVO>& protractor)
{
    if (!protractor)
        return;
    if (m_context.dbManager)
        (void)m_context.dbManager->deleteProtractorDrawing(protractor, bookID(), userID());
    m_content.drawProtractorOnPageNumber(protractor->pageIdentifier, protractor->displayNum);
}

void InteractiveAnswers::didSelectProtractorWithProtractorVO(const std::shared_ptr<SDKProtractorVO>&)
{
    m_reader.moveTopAndBottomOffScreenAnimated();
}

} // namespace lectoro
