#pragma once

// The companion framework's document of a user's highlights and notes, as My Data prints
// it: one page per record, in the order given. Created through
// CompanionFramework::makePDFCreator (initWithHighlights:).

#include <functional>
#include <optional>
#include <string>

namespace lectoro {

class MVPDFCreator {
public:
    virtual ~MVPDFCreator() = default;

    // Writes the PDF, then calls the completion on the main run loop with its path (a file
    // the platform's print dialog prints as it is), or nothing when it could not be written.
    // The completion may outlive the creator.
    virtual void createPDFWithCompletion(std::function<void(std::optional<std::string> pdfPath)>) = 0;
};

} // namespace lectoro
