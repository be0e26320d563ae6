#include "LectoroSDKWithReader/reader/help/HelpDescriptor.h"

#include "platform/ui/View.h"

namespace lectoro {

std::shared_ptr<HelpDescriptor> HelpDescriptor::create(std::shared_ptr<ui::View> icon,
    const std::optional<std::string>& helpTitle, const std::optional<std::string>& helpText,
    const std::optional<std::string>& tagName)
{
    std::shared_ptr<HelpDescriptor> descriptor(new HelpDescriptor);
    descriptor->m_icon = std::move(icon);
    descriptor->m_helpTitle = helpTitle.value_or(std::string());
    descriptor->m_helpText = helpText.value_or(std::string());
    descriptor->m_combinedTagName = tagName.value_or(std::string());
    return descriptor;
}

} // namespace lectoro
