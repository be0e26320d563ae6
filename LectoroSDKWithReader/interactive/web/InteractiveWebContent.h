#pragma once

// Web markups in the framework's web player, SCORM packages (their learner data stored
// every 10 seconds while open, once more on close, then uploaded), windows a page opens
// inside the player, and the instruction pop-over of instruction markups. Interactive
// content owns one.

#include "platform/base/Error.h"
#include "platform/base/URL.h"

#include <memory>
#include <optional>
#include <string>

namespace base {
class Timer;
}

namespace web {
class WebView;
struct NavigationAction;
struct WebViewConfiguration;
} // namespace web

namespace lectoro {

struct ReaderContext;
class InfomationPopOverContentViewController;
class InteractiveReader;
class LectoroWebPlayer;
class PXLinkVO;

class InteractiveWebContent {
public:
    InteractiveWebContent(ReaderContext&, InteractiveReader&);
    ~InteractiveWebContent();

    // A web or SCORM package address, with its link when a markup opened it.
    void webPlayer(const base::URL&, const std::shared_ptr<PXLinkVO>& link);
    // A book resource's address in a plain web player.
    void webPlayer(const base::URL&);
    // Whether the folder holds "imsmanifest.xml"; the folder is a path or a file address.
    static bool CheckIfSCORMType(const std::string& folder);
    // The timer's tick: asks the SCORM player for its data and stores it.
    void saveScormData();
    void removeInternalWebPlayer();

    void loadInstructionMarkup(const std::shared_ptr<PXLinkVO>&);
    // Closes the instruction pop-over; only an open one hands the screen back.
    void removeInstructionMarkupPopOver();

    // LectoroWebPlayerDelegate answers.
    void webPlayerWillCloseWithScormData(const std::string& data, const std::string& activityName,
        const std::string& scormID, const std::string& pageID);
    void webPLayerDidClosed();
    void webPlayerDidFailedWithError(const base::Error&);
    std::shared_ptr<web::WebView> createLectoroPlayerWebView(
        web::WebView&, const std::shared_ptr<web::WebViewConfiguration>&, const web::NavigationAction&);

    const std::shared_ptr<LectoroWebPlayer>& currentWebPlayer() const { return m_webPlayer; }
    const std::shared_ptr<LectoroWebPlayer>& internalWebPlayer() const { return m_internalWebPlayer; }
    bool isScormTimerRunning() const { return m_scormTimer != nullptr; }
    const std::shared_ptr<InfomationPopOverContentViewController>& instructionPopOver() const
    {
        return m_instruction;
    }

private:
    class Delegates;

    void attach(const std::shared_ptr<LectoroWebPlayer>&, bool pinned);
    void stopScormTimer();
    void storeScormData(const std::string& scormID, const std::string& data, const std::string& pageID,
        const std::string& activityName);
    void notifyMarkupEvent(const std::string& value);

    ReaderContext& m_context;
    InteractiveReader& m_reader;
    std::shared_ptr<Delegates> m_delegates;
    std::shared_ptr<LectoroWebPlayer> m_webPlayer;
    std::shared_ptr<LectoroWebPlayer> m_internalWebPlayer;
    std::shared_ptr<base::Timer> m_scormTimer;
    std::shared_ptr<InfomationPopOverContentViewController> m_instruction;
};

} // namespace lectoro
