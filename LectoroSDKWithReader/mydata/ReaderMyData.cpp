#include "LectoroSDKWithReader/mydata/ReaderMyData.h"

namespace lectoro {

ReaderMyData::ReaderMyData(ReaderContext& context)
    : m_context(context)
{
    static_cast<void>(m_context);
}

void ReaderMyData::addPrintPageViewOnPageNumber(const std::string&, const std::string&)
{
    // Print buttons come with the My Data subsystem.
}

void ReaderMyData::didTapOnPrintPageWithWatermark(std::optional<int64_t>) { }

} // namespace lectoro
