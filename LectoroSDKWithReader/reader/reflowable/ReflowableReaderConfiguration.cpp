#include "LectoroSDKWithReader/reader/reflowable/ReflowableReaderConfiguration.h"

namespace lectoro {

std::shared_ptr<ReflowableReaderConfiguration> ReflowableReaderConfiguration::sharedInstance()
{
    static const std::shared_ptr<ReflowableReaderConfiguration> instance
        = std::make_shared<ReflowableReaderConfiguration>();
    return instance;
}

void ReflowableReaderConfiguration::reflowableReaderDefaultConfiguration()
{
    *this = ReflowableReaderConfiguration();
}

} // namespace lectoro
