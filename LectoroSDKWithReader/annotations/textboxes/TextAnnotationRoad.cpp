#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"

#include "LectoroSDKWithReader/annotations/AnnotationsHost.h"
#include "LectoroSDKWithReader/annotations/PageAnnotationsDrawer.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRules.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationViewSupport.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Strings.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

namespace lectoro {

namespace {

constexpr const char* textBoxLogName = "ReaderViewController";
constexpr double textBoxPageAnimation = 0.3;

bool drawsTextBoxes(const std::shared_ptr<LectoroBookVO>& book)
{
    if (std::dynamic_pointer_cast<PXBookVO>(book))
        return true;
    auto epub = std::dynamic_pointer_cast<EPUBBookVO>(book);
    return epub && epub->isFixedLayout();
}

} // namespace

TextAnnotationRoad::TextAnnotationRoad(
    ReaderContext& context, AnnotationsHost& host, PageAnnotationsDrawer& pages)
    : m_context(context)
    , m_host(host)
    , m_pages(pages)
    , m_alive(std::make_shared<TextAnnotationRoad*>(this))
{
}

TextAnnotationRoad::~TextAnnotationRoad()
{
    *m_alive = nullptr;
    if (m_bar)
        m_bar->removeFromSuperview();
    if (m_colorPopup)
        m_colorPopup->removeFromSuperview();
    if (m_alignmentPopup)
        m_alignmentPopup->removeFromSuperview();
}

std::string TextAnnotationRoad::storeBookID() const
{
    return std::to_string(m_context.bookID);
}

int64_t TextAnnotationRoad::storeUserID() const
{
    // The whole 64-bit id: a narrower read would merge users whose ids differ above it.
    return m_context.user ? m_context.user->numericUserID() : 0;
}

// MARK: - Starting and the renderer's callbacks

void TextAnnotationRoad::actionForTextAnnotation()
{
    const auto renderer = m_context.renderer;
    if (renderer)
        renderer->resetZoomScaleToDefault();
    m_host.moveTopAndBottomOffScreen(false);
    if (renderer) {
        if (auto record = renderer->getTextAnnotationVOWithDefaultPosition())
            renderer->addTextAnnotation(record);
    }
    updateSaveItem();
    if (m_textAnnotationView)
        m_textAnnotationView->setAccessibilityIdentifier("textAnnotationTextView");
}

bool TextAnnotationRoad::textAnnotationShouldBeginEditing() const
{
    return textboxes::textBoxMayBeginEditingInMode(m_context.activeMode);
}

void TextAnnotationRoad::didTextAnnotationBeginEditing(const std::shared_ptr<ui::TextView>& textView)
{
    m_textAnnotationView = textView;
    m_context.activeMode = ReaderActiveModeTextAnnotation;
    m_host.moveTopAndBottomOffScreen(false);
    updateSaveItem();
}

void TextAnnotationRoad::didTextAnnotationValueChanged(const std::shared_ptr<ui::TextView>& textView)
{
    m_textAnnotationView = textView;
    updateSaveItem();
}

void TextAnnotationRoad::didTextAnnotationCompleteWithTextAnnotation(
    const std::shared_ptr<SDKTextAnnotationVO>& textAnnotation, const std::shared_ptr<SDKTextAnnotationVO>&)
{
    // The record that is stored is the one that carries the book version; the renderer's
    // own copy is left as it came.
    if (textAnnotation && m_context.dbManager) {
        base::Result<void> written = base::Result<void>::success();
        if (textAnnotation->isDeleted()) {
            written = m_context.dbManager->deleteTextAnnotation(textAnnotation, storeBookID(), storeUserID());
        } else {
            textAnnotation->bookVersion = m_context.bookVersion;
            written = m_context.dbManager->saveTextAnnotation(textAnnotation, storeBookID(), storeUserID());
        }
        if (!written.ok())
            LectoroDebugLog::logWithType(
                1, textBoxLogName, "Text box not stored", written.error().description());
    }
    removeTextAnnotationView();
}

// MARK: - Pages

void TextAnnotationRoad::drawTextAnnotationsOnPageNumber(
    const std::string& pageNumber, const std::string& displayNumber)
{
    if (!m_context.settings || !m_context.settings->isTextAnnotationEnabled())
        return;
    if (!drawsTextBoxes(m_context.currentBook) || !m_context.dbManager || !m_context.renderer)
        return;
    auto records = m_context.dbManager->textAnnotationVOForPageID(
        pageNumber, displayNumber, storeBookID(), storeUserID());
    m_context.renderer->drawTextAnnotation(records, base::integerValue(pageNumber));
}

// MARK: - The bar and the keyboard

bool TextAnnotationRoad::visiblePagesHoldStoredBoxes() const
{
    const auto pages = m_pages.getActivePageIDs();
    if (pages.empty() || pages.size() > 2 || !m_context.dbManager)
        return false;
    for (const auto& page : pages) {
        const std::string display = m_host.displayNumberForPageID(page).value_or(std::string());
        if (!m_context.dbManager->textAnnotationVOForPageID(page, display, storeBookID(), storeUserID())
                 .empty())
            return true;
    }
    return false;
}

void TextAnnotationRoad::addPlayerBottomBarForTextAnnotation()
{
    auto bar = TextAnnotationActionView::create();
    m_bar = bar;
    bar->setDelegate(m_host.playerActionDelegate());
    bar->setIsTextAnnotationAvailable(visiblePagesHoldStoredBoxes());
    bar->addPlayerBottomBarForTextAnnotationWithParentView(
        readerView(), themeOf(m_context), m_context.currentBook, m_context.renderer);
    updateSaveItem();
}

void TextAnnotationRoad::updateSaveItem()
{
    if (!m_bar)
        return;
    const bool hasText = m_textAnnotationView && !m_textAnnotationView->text().empty();
    m_bar->updateTextAnnotationSaveItemWithIsTextAvailable(hasText, themeOf(m_context));
}

void TextAnnotationRoad::updatePlayerBottomBarPositionWithKeyboardSize(const ui::Rect& keyboardFrame)
{
    if (m_context.activeMode != ReaderActiveModeTextAnnotation)
        return;
    if (!m_bar)
        addPlayerBottomBarForTextAnnotation();
    auto bar = m_bar;
    const auto& bottom = bar->textAnnotationBottomMarginConstraint();
    const bool keyboardGoingDown = keyboardFrame == ui::Rect {};
    if (keyboardGoingDown) {
        if (bottom && bottom->constant() != 0)
            bottom->setConstant(0);
    } else if (bottom) {
        bottom->setConstant(textboxes::barBottomConstantForKeyboard(
            keyboardFrame.size.height, textboxes::TextBoxDevice::current()));
    }
    bar->placeByConstraints();
    if (m_colorPopup)
        m_colorPopup->placeByConstraints();
    if (m_alignmentPopup)
        m_alignmentPopup->placeByConstraints();
    updateReaderViewPositionWithTextAnnotation(keyboardGoingDown ? ui::Rect {} : keyboardFrame);
    bar->setIsTextAnnotationKeyboardAvailable(!keyboardGoingDown);
    actionForTextAnnotationKeyBoard();
}

void TextAnnotationRoad::updateReaderViewPositionWithTextAnnotation(const ui::Rect& keyboardFrame)
{
    auto page = m_context.renderer ? m_context.renderer->viewIfLoaded() : nullptr;
    if (!page)
        return;
    if (keyboardFrame == ui::Rect {}) {
        // The page goes back to the place its own constraints give it: where it stood
        // before the keyboard moved it.
        const ui::Rect frame = m_pageFrameBeforeShift.value_or(page->frame());
        m_pageFrameBeforeShift.reset();
        ui::View::animate(textBoxPageAnimation, [page, frame] { page->setFrame(frame); });
        page->setTranslatesAutoresizingMaskIntoConstraints(false);
        return;
    }
    if (m_context.activeMode != ReaderActiveModeTextAnnotation || !m_textAnnotationView)
        return;
    auto box = m_textAnnotationView->superview();
    auto boxParent = box ? box->superview() : nullptr;
    if (!box || !boxParent)
        return;
    const ui::Rect boxFrame = boxParent->convertRectTo(box->frame(), page.get());
    const double keyboardHeight = page->convertRectTo(keyboardFrame, nullptr).size.height;

    ui::Rect frame = page->frame();
    if (!m_pageFrameBeforeShift)
        m_pageFrameBeforeShift = frame;
    frame.origin.y = 0;
    page->setFrame(frame);
    const ui::Rect keyboardArea { { 0, frame.size.height - keyboardHeight },
        { frame.size.width, keyboardHeight } };
    const auto shift
        = textboxes::pageShiftForTextBox(boxFrame, keyboardArea, textboxes::TextBoxDevice::current());
    if (!shift)
        return;
    page->setTranslatesAutoresizingMaskIntoConstraints(true);
    frame.origin.y -= *shift;
    ui::View::animate(textBoxPageAnimation, [page, frame] { page->setFrame(frame); });
}

void TextAnnotationRoad::actionForTextAnnotationKeyBoard()
{
    if (!m_bar)
        return;
    const bool keyboardDown = !m_bar->isTextAnnotationKeyboardAvailable();
    m_bar->setIsTextAnnotationKeyboardAvailable(keyboardDown);
    auto item = m_bar->getTextAnnotationViewItemWithTag(PlayerItemTextKeyboard);
    if (!item)
        return;
    auto textView = m_textAnnotationView;
    textboxes::forEachLabel(*item, [&](ui::Label& label) {
        label.setText(keyboardDown ? ICON_KEYBOARD_UP : ICON_KEYBOARD_DOWN);
        if (!textView)
            return;
        if (keyboardDown)
            textView->resignFirstResponder();
        else
            textView->becomeFirstResponder();
    });
}

// MARK: - The pop-ups

void TextAnnotationRoad::markBarItem(int tag, bool marked)
{
    if (!m_bar)
        return;
    const auto& theme = themeOf(m_context);
    if (auto item = m_bar->getTextAnnotationViewItemWithTag(tag))
        item->setBackgroundColor(
            marked ? theme.textAnnotation_selected_icon_bg() : theme.textAnnotation_background());
    m_bar->updateSelectedLabelItemWithIsSelected(marked, theme, tag);
}

void TextAnnotationRoad::preparePopup(const std::shared_ptr<PlayerActionBar>& popup, int barItemTag)
{
    ui::Environment::current().postAccessibilityScreenChanged(popup);
    popup->setAccessibilityViewIsModal(true);
    popup->setDelegate(m_host.playerActionDelegate());
    markBarItem(barItemTag, true);
}

std::shared_ptr<ui::View> TextAnnotationRoad::readerView() const
{
    auto presenter = m_host.presentingController();
    return presenter ? presenter->view() : nullptr;
}

void TextAnnotationRoad::addTextAnnotationAlignmentView()
{
    if (m_alignmentPopup)
        return;
    auto popup = TextAnnotationAlignmentActionView::create();
    m_alignmentPopup = popup;
    popup->setNumberOfItems(m_bar ? m_bar->numberOfItems() : 0);
    popup->setSelectedAlignment(
        m_textAnnotationView ? static_cast<int64_t>(m_textAnnotationView->textAlignment()) : 0);
    preparePopup(popup, PlayerItemTextAlignment);
    popup->addTextAnnotationAlignmentViewWithMvThemeVO(
        themeOf(m_context), m_context.currentBook, readerView(), m_bar);
}

void TextAnnotationRoad::addTextAnnotationTextColorView()
{
    if (m_colorPopup)
        return;
    auto popup = TextAnnotationPalleteActionView::create();
    m_colorPopup = popup;
    if (m_textAnnotationView)
        popup->setSelectedColor(m_textAnnotationView->backgroundColor().value_or(ui::Color::clear()));
    preparePopup(popup, PlayerItemTextColor);
    popup->addTextAnnotationTextColorViewWithMvThemeVO(
        themeOf(m_context), m_context.currentBook, readerView(), m_bar);
}

void TextAnnotationRoad::removeTextAnnotationAlignmentView()
{
    if (!m_alignmentPopup)
        return;
    markBarItem(PlayerItemTextAlignment, false);
    m_alignmentPopup->removeFromSuperview();
    m_alignmentPopup.reset();
}

void TextAnnotationRoad::removeTextAnnotationColorView()
{
    if (!m_colorPopup)
        return;
    markBarItem(PlayerItemTextColor, false);
    m_colorPopup->removeFromSuperview();
    m_colorPopup.reset();
}

void TextAnnotationRoad::setTextAnnotationSelectedColor(const std::string& hexColor)
{
    if (m_colorPopup)
        m_colorPopup->setSelectedColor(
            UIColorExpanded::colorWithHexString(hexColor).value_or(ui::Color::clear()));
}

// MARK: - Leaving

void TextAnnotationRoad::dismissConfirmation(bool animated)
{
    // Only the confirmation itself: once it has gone, dismissing from the reader would
    // take the reader's own presenter down with it.
    auto presenter = m_host.presentingController();
    if (presenter && m_actionSheet && presenter->presentedViewController() == m_actionSheet)
        presenter->dismissViewControllerAnimated(animated);
}

void TextAnnotationRoad::actionForDeleteTextAnnotation()
{
    const bool pad = textboxes::TextBoxDevice::current().pad;
    auto sheet = ui::AlertController::create(std::string(),
        LocalizationHelper::localizedStringWithKey("DELETE_TEXT_ANNOTATION_MESSAGE"),
        pad ? ui::AlertControllerStyle::Alert : ui::AlertControllerStyle::ActionSheet);
    std::weak_ptr<TextAnnotationRoad*> alive = m_alive;
    sheet->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("CANCEL"),
        pad ? ui::AlertActionStyle::Default : ui::AlertActionStyle::Cancel, [alive](ui::AlertAction&) {
            auto road = alive.lock();
            if (road && *road)
                (*road)->dismissConfirmation(true);
        }));
    sheet->addAction(ui::AlertAction::create(LocalizationHelper::localizedStringWithKey("DELETE"),
        pad ? ui::AlertActionStyle::Default : ui::AlertActionStyle::Destructive,
        [alive, pad](ui::AlertAction&) {
            auto road = alive.lock();
            if (!road || !*road)
                return;
            TextAnnotationRoad& self = **road;
            if (auto renderer = self.m_context.renderer)
                renderer->deleteTextAnnotation();
            self.removeTextAnnotationView();
            if (!pad)
                self.dismissConfirmation(true);
        }));
    m_actionSheet = sheet;
    if (auto presenter = m_host.presentingController())
        presenter->presentViewController(sheet, true);
    removeTextAnnotationColorView();
    removeTextAnnotationAlignmentView();
}

void TextAnnotationRoad::removeTextAnnotationView()
{
    m_context.activeMode = ReaderActiveModeNone;
    if (m_bar)
        m_bar->removeFromSuperview();
    removeTextAnnotationAlignmentView();
    removeTextAnnotationColorView();
    m_bar.reset();
    m_textAnnotationView.reset();
    dismissConfirmation(false);
    // Once the mode is left the keyboard's going down is no longer followed, so a page
    // the keyboard moved up goes back now.
    if (m_pageFrameBeforeShift)
        updateReaderViewPositionWithTextAnnotation(ui::Rect {});
}

} // namespace lectoro
