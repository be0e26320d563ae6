#include "LectoroSDKWithReader/foundation/AlertView.h"

#include "LectoroSDKWithReader/foundation/FoundationLog.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/AlertController.h"

namespace lectoro {

AlertView& AlertView::sharedManager()
{
    static AlertView* instance = new AlertView;
    return *instance;
}

std::shared_ptr<ui::AlertController> AlertView::presentAlertWithTitle(const std::string& title, const std::string& message,
    const base::Value::List& buttonTitles, const std::shared_ptr<ui::ViewController>& controller, Completion completion)
{
    if (buttonTitles.empty() || !buttonTitles.front().isString()) {
        systemLog("AlertView ERROR ==> Invalid button title!");
        return nullptr;
    }
    m_completionBlock = completion;

    auto alert = ui::AlertController::create(title, message, ui::AlertControllerStyle::Alert);
    // Each action holds the completion of its own alert, so answering an older alert never
    // runs a newer alert's completion.
    auto shared = std::make_shared<Completion>(std::move(completion));
    for (size_t index = 0; index < buttonTitles.size(); ++index) {
        auto& entry = buttonTitles[index];
        std::string buttonTitle = entry.isString() ? *entry.asString() : entry.description();
        alert->addAction(ui::AlertAction::create(buttonTitle, ui::AlertActionStyle::Default,
            [shared, index](ui::AlertAction& action) {
                if (*shared)
                    (*shared)(static_cast<int64_t>(index), action.title());
            }));
    }
    if (controller)
        controller->presentViewController(alert, true);
    return alert;
}

std::shared_ptr<ui::AlertController> AlertView::presentAlertWithTitle(const std::string& title, const std::string& message,
    const std::vector<std::string>& buttonTitles, const std::shared_ptr<ui::ViewController>& controller, Completion completion)
{
    base::Value::List titles(buttonTitles.begin(), buttonTitles.end());
    return presentAlertWithTitle(title, message, titles, controller, std::move(completion));
}

void AlertView::displayInformativeAlertwithTitle(const std::string& title, const std::string& message,
    const std::shared_ptr<ui::ViewController>& controller)
{
    base::RunLoop::main().post([title, message, controller] {
        std::string ok = LocalizationHelper::localizedStringWithKey("OK");
        AlertView::sharedManager().presentAlertWithTitle(title, message, std::vector<std::string> { ok }, controller,
            [](int64_t, const std::string&) { });
    });
}

} // namespace lectoro
