#include "LectoroSDKWithReader/readingaids/ReaderReadingAids.h"

namespace lectoro {

ReaderReadingAids::ReaderReadingAids(ReaderContext& context)
    : m_context(context)
{
    static_cast<void>(m_context);
}

void ReaderReadingAids::removeTranslationController() { }

} // namespace lectoro
