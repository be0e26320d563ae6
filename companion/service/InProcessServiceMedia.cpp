// Streamed media books: where a book's media folder is.

#include "companion/service/InProcessService.h"
#include "companion/service/InProcessServiceSupport.h"

namespace companion {

using namespace inprocess;

void InProcessService::setMediaBook(int64_t bookID, std::string mediaFolder, base::Value cookies)
{
    std::lock_guard lock(m_mutex);
    m_mediaBooks[bookID] = { std::move(mediaFolder), std::move(cookies) };
}

ServiceResult InProcessService::handleHLSMediaBook(const ServiceRequest& request)
{
    const auto& body = request.body;
    auto bookID = idFrom(body["bookID"]);
    if (!bookID)
        return malformed("hls.mediaBook needs bookID");
    if (!body["timeStamp"].isNull() && !body["timeStamp"].asInteger())
        return malformed("hls.mediaBook wants an integer timeStamp");
    if (request.userToken.empty())
        return unauthorizedError();
    auto found = m_mediaBooks.find(*bookID);
    if (found == m_mediaBooks.end())
        return serviceError(404, "The specified key does not exist.");
    base::Value::Dictionary answer;
    answer.set("mediaPath", found->second.folder);
    if (body["enableCDNCookies"].boolValue() && found->second.cookies.isDictionary())
        answer.set("cookies", found->second.cookies);
    return base::Value(std::move(answer));
}

} // namespace companion
