// Text boxes while they are edited: the box's view and text view on its page, the
// delegate's say before editing starts, typing reported as it happens, and the finished
// record handed back.

#include "companion/renderer/BookRenderer.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "companion/renderer/RendererSupport.h"
#include "platform/ui/TextView.h"

#include <algorithm>

namespace companion {

using namespace renderer_detail;

namespace {

// Tells the renderer's delegate of every edit made in the box's text view.
class TextBoxEditor final : public ui::TextViewDelegate {
public:
    TextBoxEditor(std::weak_ptr<lectoro::SDKTextAnnotationVO> record,
        std::weak_ptr<lectoro::RendererViewControllerDelegate> delegate)
        : m_record(std::move(record))
        , m_delegate(std::move(delegate))
    {
    }

    void didChange(ui::TextView& textView) override
    {
        if (auto record = m_record.lock())
            record->text = textView.text();
        if (auto delegate = m_delegate.lock())
            delegate->didTextAnnotationValueChanged(
                std::static_pointer_cast<ui::TextView>(textView.shared_from_this()));
    }

private:
    std::weak_ptr<lectoro::SDKTextAnnotationVO> m_record;
    std::weak_ptr<lectoro::RendererViewControllerDelegate> m_delegate;
};

std::optional<ui::Color> textBoxColor(const std::string& hex)
{
    if (hex.empty())
        return std::nullopt;
    return lectoro::UIColorExpanded::colorWithHexString(hex);
}

} // namespace

bool BookRenderer::beginTextBoxEditing(
    const std::shared_ptr<lectoro::SDKTextAnnotationVO>& record, bool stored)
{
    const int64_t page = pageNumberOfRecord(*record);
    auto container = pageView(page);
    auto delegate = liveDelegate();
    if (!container || !isOnScreen(page) || (delegate && !delegate->textAnnotationShouldBeginEditing()))
        return false;
    auto protect = shared_from_this();

    m_editingTextAnnotation = record;
    m_textBoxWasStored = stored;
    m_settings.textAnnotationMode = true;

    // The box sits where the record says on the page, scaled as the page is shown.
    ui::Rect frame = pageRectToView(page, record->rect);
    frame.origin.x -= container->frame().origin.x;
    frame.origin.y -= container->frame().origin.y;
    m_textBoxView = ui::View::create(frame);
    m_textBoxView->setAccessibilityIdentifier("rendererTextBox");
    m_textBoxTextView = ui::TextView::create(ui::Rect { {}, frame.size });
    m_textBoxTextView->setAutoresizingMask(
        ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_textBoxTextView->setText(record->text);
    m_textBoxTextView->setFont(ui::Font::systemFont(record->fontSize));
    m_textBoxEditor = std::make_shared<TextBoxEditor>(record, delegate);
    m_textBoxTextView->setDelegate(m_textBoxEditor);
    applyTextBoxLook();
    m_textBoxView->addSubview(m_textBoxTextView);
    container->addSubview(m_textBoxView);

    m_textBoxTextView->becomeFirstResponder();
    if (delegate)
        delegate->didTextAnnotationBeginEditing(m_textBoxTextView);
    return true;
}

void BookRenderer::applyTextBoxLook()
{
    if (!m_editingTextAnnotation || !m_textBoxTextView)
        return;
    const auto& record = *m_editingTextAnnotation;
    if (auto color = textBoxColor(record.textColor))
        m_textBoxTextView->setTextColor(*color);
    std::string background;
    if (const auto* value
        = record.metaData.asDictionary() ? record.metaData.asDictionary()->find("backgroundColor") : nullptr)
        background = value->asString().value_or(std::string());
    m_textBoxTextView->setBackgroundColor(textBoxColor(background).value_or(ui::Color::clear()));
    const int alignment = std::clamp(record.textAlignment, 0, 2);
    m_textBoxTextView->setTextAlignment(static_cast<ui::TextAlignment>(alignment));
}

void BookRenderer::endTextBoxEditing()
{
    if (m_textBoxTextView) {
        m_textBoxTextView->resignFirstResponder();
        m_textBoxTextView->setDelegate({});
    }
    if (m_textBoxView)
        m_textBoxView->removeFromSuperview();
    m_textBoxView = nullptr;
    m_textBoxTextView = nullptr;
    m_textBoxEditor = nullptr;
    m_editingTextAnnotation = nullptr;
    m_textBoxWasStored = false;
    m_settings.textAnnotationMode = false;
}

bool BookRenderer::tapTextBox(int64_t pageNumber, const ui::Point& point)
{
    if (m_editingTextAnnotation)
        return false;
    auto found = m_overlays.find(pageNumber);
    if (found == m_overlays.end())
        return false;
    for (const auto& existing : found->second.textAnnotations) {
        if (existing && existing->rect.contains(point)) {
            // The edit works on a copy: the page keeps the stored box until it is saved.
            auto copy = std::make_shared<lectoro::SDKTextAnnotationVO>(*existing);
            return beginTextBoxEditing(copy, true);
        }
    }
    return false;
}

void BookRenderer::keepTextBoxOnPage(const std::shared_ptr<lectoro::SDKTextAnnotationVO>& record)
{
    const int64_t page = pageNumberOfRecord(*record);
    if (!isOnScreen(page))
        return;
    auto& list = m_overlays[page].textAnnotations;
    for (auto& existing : list) {
        if (sameRecord(*existing, *record)) {
            existing = record;
            return;
        }
    }
    list.push_back(record);
}

void BookRenderer::dropTextBoxFromPage(const std::shared_ptr<lectoro::SDKTextAnnotationVO>& record)
{
    auto found = m_overlays.find(pageNumberOfRecord(*record));
    if (found == m_overlays.end())
        return;
    auto& list = found->second.textAnnotations;
    list.erase(std::remove_if(list.begin(), list.end(),
                   [&](const auto& existing) { return sameRecord(*existing, *record); }),
        list.end());
}

void BookRenderer::reportTextBoxFinished(const std::shared_ptr<lectoro::SDKTextAnnotationVO>& record)
{
    auto delegate = liveDelegate();
    if (!delegate)
        return;
    auto protect = shared_from_this();
    delegate->didTextAnnotationCompleteWithTextAnnotation(
        record, std::make_shared<lectoro::SDKTextAnnotationVO>(*record));
}

} // namespace companion
