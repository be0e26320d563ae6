#pragma once

// The working builder of My Data's document (MVPDFCreator.h): one page per record, in the
// order given, each a card with the record's chapter, page and date, the highlighted text
// on its highlight colour and the note, written as a PDF with Cairo (print::writePrintPDF).
// The text stays text, so the document can be searched.
//
// Documents are written into one folder; writing a new one removes the ones written before
// (a document lives until the next is asked for, long enough to be printed).

#include "LectoroSDKWithReader/readersdk/MVPDFCreator.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {
class SDKHighlightVO;
}

namespace ui {
class View;
}

namespace companion {

class MyDataPDFCreator final : public lectoro::MVPDFCreator {
public:
    // initWithHighlights: — the documents go into `folder` (created when missing).
    MyDataPDFCreator(std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlights, std::string folder);

    void createPDFWithCompletion(std::function<void(std::optional<std::string> pdfPath)>) override;

    // A record's page as it is printed (the printable area of an A4 sheet).
    static std::shared_ptr<ui::View> pageViewForRecord(const lectoro::SDKHighlightVO&);
    // The colour a record is marked with: received notes "#8fd5e1", a teacher's review
    // notes "#ffc000", records without a colour "#FFFF00", the others their own.
    static std::string markColorForRecord(const lectoro::SDKHighlightVO&);

private:
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> m_highlights;
    std::string m_folder;
};

} // namespace companion
