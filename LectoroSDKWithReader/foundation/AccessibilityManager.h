#pragma once

#include <string>

namespace ui {
class View;
}

namespace lectoro {

inline constexpr const char* readerAccessibilityTable = "ReaderLectoroAccessibility";

// Points the companion framework's accessibility texts at the reader's own table.
class AccessibilityManager {
public:
    static AccessibilityManager& sharedObject();

    // The library's bundle, unless the host chose another one first.
    void setAccessibilityBundle();
    void setAccessibilityLanguage(const std::string& language);

private:
    AccessibilityManager() = default;
};

// Labels a control from the "ReaderLectoroAccessibility" table: the element id becomes its
// identifier, the entry (with the argument) its label.
void addReaderAccessibilityOn(ui::View&, const std::string& elementID, const std::string& argument);

} // namespace lectoro
