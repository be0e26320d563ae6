#pragma once

// An end-to-end reader test as a host runs the reader: the companion framework itself (its
// in-process service over the real store in the test's folder) and the public launcher,
// shown in a window, with a recording host as its delegate.

#include "reader/LauncherTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>

namespace lectoro::testing {

// A member of a class roster, as the service answers it.
inline base::Value classMember(int64_t id, const char* first, const char* last)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", last } } } };
}

class CompanionEndToEndTest : public ReaderTest {
protected:
    void SetUp() override
    {
        ReaderTest::SetUp();
        setUpHost();
        m_companion = companion::makeFramework(companion::FrameworkOptions { m_storage.string(), nullptr });
        setCompanionFramework(m_companion);
        m_launcher = LectoroReaderViewController::create();
        m_launcher->setDelegate(m_host);
        if (showsLauncherAtSetUp())
            uitest::showInWindow(m_launcher);
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        // The window lets go of the launcher too, so no reader outlives its test (and hears
        // the next test's notifications).
        ui::setKeyWindowRootViewController(nullptr);
        m_launcher.reset();
        m_companion.reset();
        ReaderTest::TearDown();
    }

    // What the host has in place before the framework starts (a theme of its own).
    virtual void setUpHost() { }
    // A host that configures the reader before it first appears shows the launcher itself.
    virtual bool showsLauncherAtSetUp() const { return true; }

    companion::InProcessService& inProcessService() { return *m_companion->inProcessService(); }

    static std::shared_ptr<LectoroBookPackage> samplePageBook(const std::string& bookID)
    {
        return std::make_shared<LectoroBookPackage>(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", bookID, "978-0");
    }

    static std::shared_ptr<LectoroServiceConfiguration> serviceConfiguration()
    {
        return std::make_shared<LectoroServiceConfiguration>("https://service", "client", std::string("https://micro"));
    }

    // Lets background work, presentations and a second of timers run out.
    static void settle()
    {
        base::waitForBackgroundWork();
        uitest::completePresentations();
        base::RunLoop::main().advanceBy(1);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
    }

    std::shared_ptr<companion::Framework> m_companion;
    std::shared_ptr<RecordingHost> m_host = std::make_shared<RecordingHost>();
    std::shared_ptr<LectoroReaderViewController> m_launcher;
};

} // namespace lectoro::testing
