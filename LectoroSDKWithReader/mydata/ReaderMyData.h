#pragma once

// My Data, sharing and printing as the reader shell calls them. The panel and the print
// buttons arrive with the My Data subsystem; until then pages carry no print button.

#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class EPUBChapterVO;
struct ReaderContext;

class ReaderMyData {
public:
    explicit ReaderMyData(ReaderContext&);

    void addPrintPageViewOnPageNumber(const std::string& pageNumber, const std::string& displayNumber);
    void didTapOnPrintPageWithWatermark(std::optional<int64_t> pageNumber);
    bool isMyDataOpen() const { return false; }

    // Toolbar action: the My Data panel opens here once its subsystem builds it.
    void showMyData() { }

private:
    ReaderContext& m_context;
};

} // namespace lectoro
