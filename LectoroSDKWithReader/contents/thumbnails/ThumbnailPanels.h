#pragma once

// What the two thumbnail panels share beyond their data: the go-to alerts and the
// keyboard's height from its notification.

#include "platform/base/NotificationCenter.h"

#include <string>

namespace ui {
class ViewController;
}

namespace lectoro::thumbnails {

// "ERROR_ALERT_TITLE" with the message of that key and one "OK" that only closes it,
// presented by the panel, animated.
void presentGoToAlert(ui::ViewController& panel, const std::string& messageKey);

// The height of the keyboard's end frame; 0 when the notification carries none.
double keyboardEndHeight(const base::Notification&);

} // namespace lectoro::thumbnails
