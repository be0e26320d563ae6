#include "LectoroSDKWithReader/annotations/notes/LXShareSettingsController.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"

namespace lectoro {

std::shared_ptr<LXShareSettingsController> LXShareSettingsController::create()
{
    return std::shared_ptr<LXShareSettingsController>(new LXShareSettingsController());
}

void LXShareSettingsController::loadView()
{
    ui::ViewController::loadView();
    if (m_theme && m_theme->share_share_popup_background())
        view()->setBackgroundColor(*m_theme->share_share_popup_background());
    else
        view()->setBackgroundColor(ui::Color::white());
}

void LXShareSettingsController::setData(std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes)
{
    m_classes = std::move(classes);
    m_classIndex = 0;
}

std::shared_ptr<SDKBookClassInfoVO> LXShareSettingsController::currentClass() const
{
    return m_classIndex < m_classes.size() ? m_classes[m_classIndex] : nullptr;
}

void LXShareSettingsController::selectClassAtIndex(size_t index)
{
    if (index < m_classes.size())
        m_classIndex = index;
}

void LXShareSettingsController::saveClassSettings(
    const base::Value::List& shareList, const base::Value::List& receiveList)
{
    auto chosen = currentClass();
    if (!chosen)
        return;
    chosen->shareList = base::Value(shareList);
    chosen->receiveList = base::Value(receiveList);
    if (auto delegate = m_delegate.lock())
        delegate->didClickOnShareSettingsSaveButton(chosen);
}

void LXShareSettingsController::saveNoteSharing(const base::Value::List& sharedUsers)
{
    if (!m_highlightVO)
        return;
    m_highlightVO->sharedUsers = base::Value(sharedUsers);
    m_highlightVO->isShare = true;
    m_highlightVO->setIsSynced(false);
    m_highlightVO->setIsCollabSubmitted(false);
    if (!m_selectedColor.empty() && !base::trimWhitespaceAndNewlines(m_noteText).empty()) {
        m_highlightVO->backgroundColor = m_selectedColor;
        m_highlightVO->noteText = m_noteText;
    }
    if (auto delegate = m_delegate.lock())
        delegate->didClickOnNoteShareSettingsSaveButton(m_highlightVO);
}

void LXShareSettingsController::cancel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didClickOnShareSettingsCancelButton();
    if (ui::Environment::current().isPad() && presentingViewController())
        dismissViewControllerAnimated(true);
}

} // namespace lectoro
