#include "LectoroSDKWithReader/readersdk/widgets/LectoroScormWebPlayer.h"

#include "platform/base/RunLoop.h"
#include "platform/web/WebView.h"

namespace lectoro {

std::shared_ptr<LectoroScormWebPlayer> LectoroScormWebPlayer::create(
    base::URL url, std::string scormID, std::optional<std::string> scormData, std::string pageID)
{
    return std::shared_ptr<LectoroScormWebPlayer>(new LectoroScormWebPlayer(
        std::move(url), std::move(scormID), std::move(scormData), std::move(pageID)));
}

LectoroScormWebPlayer::LectoroScormWebPlayer(
    base::URL url, std::string scormID, std::optional<std::string> scormData, std::string pageID)
    : LectoroWebPlayer(std::move(url), nullptr, nullptr)
    , m_scormID(std::move(scormID))
    , m_initialData(scormData.value_or(""))
    , m_lastData(m_initialData)
    , m_pageID(std::move(pageID))
{
}

void LectoroScormWebPlayer::getScormActivityData(ActivityDataHandler handler)
{
    if (!handler)
        return;
    std::weak_ptr<LectoroScormWebPlayer> weak
        = std::static_pointer_cast<LectoroScormWebPlayer>(shared_from_this());
    auto answer = [weak, handler](const base::Value& result, const std::optional<base::Error>& error) {
        auto player = weak.lock();
        if (!player)
            return;
        if (!error) {
            if (auto text = result.asString()) {
                player->m_lastData = *text;
            } else if (auto data = result["data"].asString()) {
                player->m_lastData = *data;
                if (auto name = result["activityName"].asString())
                    player->m_activityName = *name;
            }
        }
        handler(player->m_lastData,
            base::Value::Dictionary { { "ScormID", player->m_scormID }, { "PageID", player->m_pageID },
                { "ActivityName", player->m_activityName } });
    };
    const auto& view = webView();
    if (!view) {
        base::RunLoop::main().post([answer] { answer(base::Value {}, base::Error {}); });
        return;
    }
    view->evaluateJavaScript(activityDataScript, answer);
}

void LectoroScormWebPlayer::close()
{
    if (m_closing)
        return;
    m_closing = true;
    std::weak_ptr<LectoroScormWebPlayer> weak
        = std::static_pointer_cast<LectoroScormWebPlayer>(shared_from_this());
    getScormActivityData([weak](const std::string& data, const base::Value& information) {
        auto player = weak.lock();
        if (!player)
            return;
        if (auto delegate = player->delegate())
            delegate->webPlayerWillCloseWithScormData(data,
                information["ActivityName"].asString().value_or(""), player->m_scormID, player->m_pageID);
        player->reportClosed();
    });
}

} // namespace lectoro
