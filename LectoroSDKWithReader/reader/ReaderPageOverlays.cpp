#include "LectoroSDKWithReader/reader/ReaderPageOverlays.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"

namespace lectoro {

namespace {

class FeaturePainter final : public ReaderPageOverlays {
public:
    explicit FeaturePainter(ReaderViewController& reader)
        : m_reader(reader)
    {
    }

    void drawHighlightsOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.annotations().drawHighlightsOnPageNumber(page, display);
    }
    void addBookmarkOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.annotations().addBookmarkOnPageNumber(page, display);
    }
    void addPrintPageViewOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.myData().addPrintPageViewOnPageNumber(page, display);
    }
    void drawPenDrawingsOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.annotations().drawPenDrawingsOnPageNumber(page, display);
    }
    void drawMarkupsOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.interactiveContent().drawMarkupsOnPageNumber(page, display);
    }
    void drawTextAnnotationsOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.annotations().drawTextAnnotationsOnPageNumber(page, display);
    }
    void drawProtractorOnPageNumber(const std::string& page, const std::string& display) override
    {
        m_reader.interactiveContent().drawProtractorOnPageNumber(page, display);
    }

private:
    ReaderViewController& m_reader;
};

} // namespace

std::unique_ptr<ReaderPageOverlays> ReaderPageOverlays::makeFeaturePainter(ReaderViewController& reader)
{
    return std::make_unique<FeaturePainter>(reader);
}

} // namespace lectoro
