#pragma once

// Records, a recording panel delegate and a switchable network for the My Data tests.

#include "LectoroSDKWithReader/foundation/LectoroNetworkManager.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/Reachability.h"
#include "LectoroSDKWithReader/mydata/LXMyDataViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro::mydatatest {

struct RecordSpec {
    std::string localID {};
    std::string ugcID {};
    std::string noteText {};
    std::string text = "highlighted words";
    std::string color = "#FFFF00";
    bool received = false;
    bool answered = true;
    int16_t status = UGCStatusNew;
};

inline std::shared_ptr<SDKHighlightVO> record(const RecordSpec& spec)
{
    auto r = std::make_shared<SDKHighlightVO>();
    r->localID = spec.localID;
    r->ugcID = spec.ugcID.empty() ? "u" + spec.localID : spec.ugcID;
    r->noteText = spec.noteText;
    r->text = spec.text;
    r->backgroundColor = spec.color;
    r->isReceived = spec.received;
    r->isAnswered = spec.answered;
    r->status = spec.status;
    r->chapterName = "Rain";
    r->displayNum = "12";
    r->pageIdentifier = "112";
    r->createdDate = "2024-03-05 14:07:00.000";
    return r;
}

// Highlights, both note kinds, sharing and both print switches on.
inline void enableMyDataSettings(MVReaderSettingModel& settings)
{
    settings.setIsHighLightEnabled(true);
    settings.setIsStickyNotesEnabled(true);
    settings.setIsContextualNoteEnabled(true);
    settings.setIsSharingEnabled(true);
    settings.setIsPrintEnabled(true);
    settings.setIsMyDataPrintEnabled(true);
}

inline std::vector<std::string> localIDs(const std::vector<std::shared_ptr<SDKHighlightVO>>& records)
{
    std::vector<std::string> ids;
    for (const auto& r : records)
        ids.push_back(r->localID);
    return ids;
}

class RecordingMyDataDelegate : public LXMyDataControllerDelegate {
public:
    void navigateTopage(const std::string& page) override { events.push_back("page:" + page); }
    void didTapOnShareSettings() override { events.push_back("shareSettings"); }
    void didTapOnNoteShareSettings(const std::shared_ptr<SDKHighlightVO>& r) override
    {
        events.push_back("noteShare:" + r->localID);
    }
    void didTapOnNotesComment(const std::shared_ptr<SDKHighlightVO>& r) override
    {
        events.push_back("comments:" + r->localID);
    }
    void didSelectActionToCloseMyData() override { events.push_back("close"); }
    void didAnsweredHighlight(const std::shared_ptr<SDKHighlightVO>& r, bool accepted) override
    {
        events.push_back(std::string(accepted ? "accept:" : "decline:") + r->ugcID);
    }
    void didTapOnPrint() override { events.push_back("print"); }
    std::vector<std::string> events;
};

class MyDataSwitchableNetwork final : public ReachabilitySource {
public:
    explicit MyDataSwitchableNetwork(std::shared_ptr<bool> online)
        : m_online(std::move(online))
    {
    }
    std::optional<uint32_t> flags() override
    {
        return *m_online ? std::optional<uint32_t>(ReachabilityFlags::Reachable) : std::optional<uint32_t>(0);
    }
    bool start(std::function<void()>) override { return true; }
    void stop() override { }

private:
    std::shared_ptr<bool> m_online;
};

// Puts the process's network monitor on a switch for the scope's life.
class MyDataNetworkScope {
public:
    MyDataNetworkScope()
    {
        Reachability::setSourceFactory([online = online](ReachabilitySource::Target, const std::string&) {
            return std::make_shared<MyDataSwitchableNetwork>(online);
        });
        LectoroNetworkManager::getInstance().setInternetReachability(
            Reachability::reachabilityForInternetConnection());
    }
    ~MyDataNetworkScope()
    {
        Reachability::setSourceFactory(nullptr);
        LectoroNetworkManager::getInstance().setInternetReachability(nullptr);
    }
    void setOnline(bool value) { *online = value; }
    std::shared_ptr<bool> online = std::make_shared<bool>(true);
};

} // namespace lectoro::mydatatest
