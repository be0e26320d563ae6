#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"

#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"

namespace lectoro {

std::shared_ptr<MVFIB> MVFIB::create(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, bool isTeacher)
{
    auto view = std::shared_ptr<MVFIB>(new MVFIB(std::move(link), std::move(fib), isTeacher));
    // A subview takes its superview weakly, so it joins once the field is owned.
    view->addSubview(view->m_textField);
    return view;
}

MVFIB::MVFIB(std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, bool isTeacher)
    : ui::View(link ? link->boxTansformedRect : ui::Rect {})
    , m_link(std::move(link))
    , m_fib(std::move(fib))
    , m_isTeacher(isTeacher)
    , m_textField(ui::TextField::create(ui::Rect { { 0, 0 }, frame().size }))
{
    if (m_link)
        setTag(static_cast<int>(m_link->linkID));
    if (m_fib)
        m_textField->setText(m_fib->text);
    m_textField->setBorderStyle(ui::TextBorderStyle::Line);
}

bool MVFIB::isLockedForLearner() const
{
    return m_fib && m_fib->isSubmitted && !m_isTeacher;
}

void MVFIB::hideTextForSubmitedMath()
{
    m_textField->setTextColor(ui::Color::clear());
}

bool MVFIB::beginEditing()
{
    auto protect = shared_from_this();
    auto delegate = m_delegate.lock();
    if (isLockedForLearner()) {
        if (delegate)
            delegate->didSelectSubmittedFIB(m_fib, m_link, shared_from_this());
        return false;
    }
    if (delegate && !delegate->shouldAllowEditingForLinkVO(m_link))
        return false;
    m_editing = true;
    if (delegate)
        delegate->fibDidBeginEditing(*this);
    return true;
}

void MVFIB::endEditingWithText(const std::string& typed)
{
    if (!m_editing || !m_link)
        return;
    m_editing = false;
    auto protect = shared_from_this();
    m_textField->setText(typed);
    std::string text = base::trimWhitespace(typed);
    std::shared_ptr<SDKFIBVO> changed;
    if (!m_fib) {
        if (!text.empty()) {
            m_fib = std::make_shared<SDKFIBVO>();
            m_fib->localID = base::makeUuid();
            m_fib->linkID = m_link->linkID;
            m_fib->pageIdentifier = m_link->pageID;
            m_fib->displayNum = m_link->folioNumber;
            m_fib->text = text;
            m_fib->status = UGCStatusNew;
            m_fib->createdDate = currentUGCDateString();
            m_fib->review = m_isTeacher ? 1 : 0;
            changed = m_fib;
        }
    } else if (text != m_fib->text || m_fib->isDeleted()) {
        if (text.empty()) {
            m_fib->status = UGCStatusDeleted;
        } else {
            m_fib->text = text;
            m_fib->status = m_fib->isUploaded() ? UGCStatusUpdated : UGCStatusNew;
        }
        m_fib->modifiedDate = currentUGCDateString();
        changed = m_fib;
    }
    auto delegate = m_delegate.lock();
    if (changed) {
        changed->isSynced = false;
        if (delegate)
            delegate->didUpdateSDKFIBVO(changed);
    }
    if (delegate)
        delegate->fibDidEndEditing(*this);
}

std::shared_ptr<FIBMathEquationView> FIBMathEquationView::create(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, const ui::Rect& frame, bool useDefaultIcon)
{
    auto view = std::shared_ptr<FIBMathEquationView>(
        new FIBMathEquationView(std::move(link), std::move(fib), frame, useDefaultIcon));
    view->addSubview(view->m_label);
    std::weak_ptr<FIBMathEquationView> weakView = view;
    view->addGestureRecognizer(ui::TapGestureRecognizer::create([weakView](ui::GestureRecognizer&) {
        if (auto strong = weakView.lock())
            strong->tap();
    }));
    return view;
}

FIBMathEquationView::FIBMathEquationView(
    std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, const ui::Rect& frame, bool useDefaultIcon)
    : ui::View(frame)
    , m_link(std::move(link))
    , m_fib(std::move(fib))
    , m_useDefaultIcon(useDefaultIcon)
    , m_label(ui::Label::create(ui::Rect { { 0, 0 }, frame.size }))
{
    if (m_link)
        setTag(static_cast<int>(m_link->linkID));
    m_label->setText(m_fib ? m_fib->text : std::string());
}

void FIBMathEquationView::setThemeColor(const ui::Color& color)
{
    m_themeColor = color;
    m_label->setTextColor(color);
    layer()->setBorderColor(color);
    layer()->setBorderWidth(1);
}

void FIBMathEquationView::tap()
{
    auto protect = shared_from_this();
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    if (m_fib && m_fib->isSubmitted)
        delegate->didSelectSubmittedEquation(*this, m_link, shared_from_this());
    else
        delegate->showEquationEditorKeyboardForLink(m_link, m_fib);
}

} // namespace lectoro
