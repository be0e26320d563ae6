#pragma once

#include "platform/base/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class AlertController;
class ViewController;
}

namespace lectoro {

// The one alert helper of the reader: an alert with a title, a message and one default
// button per title, presented on a controller; a tap reports the button's index and title.
//
// Each alert keeps its own completion: with two alerts waiting, a tap on the first runs the
// first one's completion. completionBlock() only remembers the last one given.
class AlertView {
public:
    using Completion = std::function<void(int64_t buttonIndex, const std::string& buttonTitle)>;

    static AlertView& sharedManager();

    // An empty list, or one whose first title is not text, logs
    // "AlertView ERROR ==> Invalid button title!" and shows nothing. Answers the alert shown.
    std::shared_ptr<ui::AlertController> presentAlertWithTitle(const std::string& title, const std::string& message,
        const base::Value::List& buttonTitles, const std::shared_ptr<ui::ViewController>& controller, Completion);
    std::shared_ptr<ui::AlertController> presentAlertWithTitle(const std::string& title, const std::string& message,
        const std::vector<std::string>& buttonTitles, const std::shared_ptr<ui::ViewController>& controller, Completion);

    // From any thread: on the main queue, an alert with the localised "OK" that does nothing
    // more when tapped.
    void displayInformativeAlertwithTitle(const std::string& title, const std::string& message,
        const std::shared_ptr<ui::ViewController>& controller);

    const Completion& completionBlock() const { return m_completionBlock; }

private:
    AlertView() = default;

    Completion m_completionBlock;
};

} // namespace lectoro
