#pragma once

// Several users of one class, each with a device store, against one in-process service.

#include "companion/service/InProcessService.h"
#include "companion/store/SqliteDatabaseManager.h"
#include "companion/sync/DataSyncingManager.h"
#include "companion/sync/RecordingSyncDelegate.h"
#include "companion/sync/ServiceInterface.h"
#include "companion/sync/StoreSyncAdapter.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/Settle.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace companiontest {

// One signed-in user on one device.
struct Device {
    int64_t userID = 0;
    std::string token;
    std::shared_ptr<companion::SqliteDatabaseManager> store;
    std::shared_ptr<companion::DataSyncingManager> client;
    std::shared_ptr<RecordingSyncDelegate> delegate = std::make_shared<RecordingSyncDelegate>();
};

class ClassroomTest : public ::testing::Test {
protected:
    static constexpr int64_t bookID = 4711;
    // Past 32 bits on purpose: ids travel as 64-bit numbers.
    static constexpr int64_t teacherID = 9000000001;
    static constexpr int64_t adaID = 9000000002;
    static constexpr int64_t benID = 9000000003;
    static constexpr int64_t caraID = 9000000004;
    // Not in the class.
    static constexpr int64_t outsiderID = 9000000099;

    void SetUp() override
    {
        base::RunLoop::main().reset();
        service = companion::InProcessService::create();
        service->setClassInfo(bookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "teachers", base::Value::List { member(teacherID, "Tess", "Teach") } },
                { "learners",
                    base::Value::List { member(adaID, "Ada", "Fennick"), member(benID, "Ben", "Ostrowe"),
                        member(caraID, "Cara", "Mia") } },
            } });
    }

    void TearDown() override
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }

    static base::Value member(int64_t id, const char* first, const char* last)
    {
        return base::Value::Dictionary {
            { "user", base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", last } } }
        };
    }

    // The user's device, made on first use; its first fetch tells the service whose token
    // it is.
    Device& device(int64_t userID)
    {
        auto& held = m_devices[userID];
        if (!held.client) {
            held.userID = userID;
            held.token = "token-" + std::to_string(userID);
            auto opened = companion::SqliteDatabaseManager::openInMemory();
            EXPECT_TRUE(opened.ok());
            held.store = opened.value();
            held.client = companion::DataSyncingManager::create("https://api.example", "client-1", service,
                std::make_shared<companion::StoreSyncAdapter>(held.store));
            held.client->setDelegate(held.delegate);
        }
        return held;
    }

    void fetch(Device& user)
    {
        user.client->fetchUGCOperationForBookID(bookID, user.userID, user.delegate, user.token, "v1");
        uitest::runUntilSettled();
    }

    void sync(Device& user)
    {
        user.client->synchUGCForBookID(bookID, user.userID, user.delegate, user.token, "v1");
        uitest::runUntilSettled();
    }

    std::string lastLine(Device& user)
    {
        auto lines = user.delegate->lines();
        return lines.empty() ? std::string() : lines.back();
    }

    std::shared_ptr<companion::ServiceInterface> serviceClient()
    {
        return companion::ServiceInterface::create("https://api.example", "client-1", service);
    }

    std::string book() const { return std::to_string(bookID); }

    std::shared_ptr<companion::InProcessService> service;

private:
    std::map<int64_t, Device> m_devices;
};

} // namespace companiontest
