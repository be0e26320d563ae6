#pragma once

// The learner panel and the class picker on their own: the bar tests' clean world (a
// phone by default, in-memory user defaults, the library's strings, a distinct theme),
// learner records as the service sends them, and a panel that notes each table reload and
// each fetch it asks of its owner.

#include "../reader/chrome/ChromeTestSupport.h"

#include "LectoroSDKWithReader/teacherreview/TeacherReviewViewController.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Thread.h"
#include "platform/testing/Interaction.h"
#include "platform/testing/ViewQuery.h"

#include <mutex>
#include <string>
#include <vector>

namespace lectoro::reviewtest {

inline base::Value learner(base::Value id, const std::string& first, const std::string& last,
    const std::string& picture = "")
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary {
            { "id", std::move(id) }, { "firstName", first }, { "lastName", last }, { "profilePicURL", picture } } } };
}

// One page with one pen drawing (or with an empty "ugcList").
inline base::Value pageWithWork(int64_t pageId, bool withItem = true)
{
    base::Value::List items;
    if (withItem)
        items.push_back(base::Value::Dictionary { { "type", 3 }, { "folioID", std::to_string(pageId) } });
    return base::Value::Dictionary { { "pageId", pageId }, { "folioID", std::to_string(pageId) },
        { "ugcList", std::move(items) } };
}

inline base::Value workResult(const std::string& learnerID, base::Value::List pages)
{
    return base::Value::Dictionary { { learnerID, base::Value::Dictionary { { "pageUgc", std::move(pages) } } } };
}

struct Fetch {
    std::string name;
    std::string learnerID;
    bool onMainThread;
};

class RecordingPanel : public TeacherReviewViewController {
public:
    static std::shared_ptr<RecordingPanel> create() { return std::shared_ptr<RecordingPanel>(new RecordingPanel()); }
    // A fetch still running on a worker records into this panel: let it finish first.
    ~RecordingPanel() override { base::waitForBackgroundWork(); }

    int numberOfRowsInSection(ui::TableView& table, int section) override
    {
        ++reloads;
        return TeacherReviewViewController::numberOfRowsInSection(table, section);
    }

    // Fetches asked of the owner (they arrive on a worker thread).
    void listen()
    {
        FetchEachLearnerData = [this](const std::string& name, const std::string& learnerID) {
            std::lock_guard lock(m_mutex);
            m_fetches.push_back({ name, learnerID, base::isMainThread() });
        };
    }
    std::vector<Fetch> fetches()
    {
        base::waitForBackgroundWork();
        std::lock_guard lock(m_mutex);
        return m_fetches;
    }
    std::vector<std::string> fetchedIDs()
    {
        std::vector<std::string> ids;
        for (const auto& fetch : fetches())
            ids.push_back(fetch.learnerID);
        return ids;
    }

    int reloads = 0;

private:
    RecordingPanel() = default;
    std::mutex m_mutex;
    std::vector<Fetch> m_fetches;
};

class PanelTest : public chrometest::ChromeTest {
protected:
    void SetUp() override
    {
        ChromeTest::SetUp();
        base::RunLoop::main().reset();
    }
    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
        ChromeTest::TearDown();
    }

    std::shared_ptr<RecordingPanel> makePanel(const base::Value::List& learners, const std::string& title = "Biology")
    {
        auto panel = RecordingPanel::create();
        panel->themeVo = std::make_shared<LXMVThemeVO>(m_theme);
        panel->setDataWithClassName(title, learners);
        panel->listen();
        return panel;
    }

    static void settle()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }
};

} // namespace lectoro::reviewtest
