#pragma once

#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"

#include <string>

namespace ui {
class View;
}

namespace lectoro {

// Accessibility texts of the reader's controls, read from a string table of the
// accessibility bundle in the accessibility language.
class AccessibilityHelper {
public:
    static BundleRef readerAccessibilityBundle();
    static void setReaderAccessibilityBundle(BundleRef);
    // Empty: the bundle's own language.
    static std::string language();
    static void setLanguage(std::string);

    // The label of an element: the table's entry for the element id, whose "%@" takes the
    // argument (an entry without "%@" gets a non-empty argument after a space). An element the
    // table lacks is labelled by its id.
    static std::string accessibilityLabelForElementID(const std::string& elementID, const std::string& file, const std::string& argument);

    // Gives the view the element id as its accessibility identifier and the label above.
    static void setAccessibilityForElementID(ui::View&, const std::string& elementID, const std::string& file, const std::string& argument);
};

} // namespace lectoro
