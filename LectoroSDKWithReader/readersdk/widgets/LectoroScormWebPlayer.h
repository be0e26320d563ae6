#pragma once

// The web player for a SCORM package. The package's runtime keeps the learner data; the
// player asks the page for it with the script "lectoroScormActivityData()", whose answer
// is {"data": text, "activityName": text} (or the data text alone). A page that cannot
// answer leaves the data the player was opened with. Closing asks once more and hands the
// last data to the delegate (webPlayerWillCloseWithScormData) before the player goes.

#include "LectoroSDKWithReader/readersdk/widgets/LectoroWebPlayer.h"

#include "platform/base/Value.h"

#include <functional>

namespace lectoro {

class LectoroScormWebPlayer : public LectoroWebPlayer {
public:
    static constexpr const char* activityDataScript = "lectoroScormActivityData()";

    // initWithURL:withScormID:withScormData: — the page id is the link's, when known.
    static std::shared_ptr<LectoroScormWebPlayer> create(
        base::URL url, std::string scormID, std::optional<std::string> scormData, std::string pageID = {});
    std::string_view className() const override { return "LectoroScormWebPlayer"; }

    const std::string& scormID() const { return m_scormID; }
    const std::string& initialScormData() const { return m_initialData; }

    // The data text and {"ScormID", "PageID", "ActivityName"}, on the main run loop.
    using ActivityDataHandler = std::function<void(const std::string& data, const base::Value& information)>;
    void getScormActivityData(ActivityDataHandler);

    void close() override;

protected:
    LectoroScormWebPlayer(
        base::URL, std::string scormID, std::optional<std::string> scormData, std::string pageID);

private:
    std::string m_scormID;
    std::string m_initialData;
    std::string m_lastData;
    std::string m_activityName;
    std::string m_pageID;
    bool m_closing = false;
};

} // namespace lectoro
