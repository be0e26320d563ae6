#include "platform/testing/UIScope.h"

#include "platform/base/RunLoop.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/ViewController.h"

namespace uitest {

UIScope::UIScope()
    : m_environment(true)
{
    clear();
    ui::Environment::current().makeKeyWindow();
}

UIScope::~UIScope()
{
    ui::setKeyWindowRootViewController(nullptr);
    clear();
    ui::Environment::current().setKeyWindow(nullptr);
}

void UIScope::clear()
{
    base::RunLoop::main().reset();
    ui::Presenter::shared().reset();
    ui::AnimationLog::shared().clear();
}

} // namespace uitest
