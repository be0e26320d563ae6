// Interactive content through the in-process service: SCORM learner data, protractors and
// answers between two devices of one user, and the video session address.

#include "companion/sync/ClassroomFixture.h"

#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKProtractorVO.h"
#include "companion/service/ServiceErrors.h"
#include "platform/testing/Settle.h"

namespace {

using companion::ServiceAnswer;
using companiontest::ClassroomTest;
using companiontest::Device;

class InteractiveContentSyncTest : public ClassroomTest {
protected:
    // A second device of the same user.
    Device otherDevice(const Device& user)
    {
        Device other;
        other.userID = user.userID;
        other.token = user.token;
        other.store = companion::SqliteDatabaseManager::openInMemory().value();
        other.client = companion::DataSyncingManager::create("https://api.example", "client-1", service,
            std::make_shared<companion::StoreSyncAdapter>(other.store));
        return other;
    }
};

TEST_F(InteractiveContentSyncTest, ScormLearnerDataUploadsAndComesBackOnAnotherDevice)
{
    Device& ada = device(adaID);
    ada.store->saveSCORMdataToDB(book(), adaID, "scorm-1", "{\"cmi.score\":80}", "class-1", 12, "Quiz", false);
    ada.client->saveSormDataForUserID(adaID, bookID, "class-1", ada.delegate, ada.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ada), "didSavedScormDataSuccessfully");
    ASSERT_EQ(service->scormDataFor(adaID, bookID).count(), 1u);

    Device tablet = otherDevice(ada);
    tablet.client->fetchAndSaveSormDataForUserID(adaID, bookID, "class-1", tablet.delegate, tablet.token);
    uitest::runUntilSettled();
    EXPECT_EQ(tablet.delegate->lines().back(), "didFetchScormDataSuccessfully");
    EXPECT_EQ(tablet.store->fetchScormDataWithBookID(book(), adaID, "scorm-1"), "{\"cmi.score\":80}");

    // Another class's fetch does not see it.
    Device phone = otherDevice(ada);
    phone.client->fetchAndSaveSormDataForUserID(adaID, bookID, "class-2", phone.delegate, phone.token);
    uitest::runUntilSettled();
    EXPECT_FALSE(phone.store->fetchScormDataWithBookID(book(), adaID, "scorm-1"));

    // Each scripted answer reaches the delegate once.
    const std::pair<ServiceAnswer, std::string> failures[] = {
        { ServiceAnswer::expiredToken(), "didFailedToSaveScormWithError:103" },
        { ServiceAnswer::unauthorized(), "didFailedToSaveScormWithError:401" },
        { ServiceAnswer::offline().onWorkerThread(), "didFailedToSaveScormWithError:-1009" },
    };
    for (const auto& [answer, line] : failures) {
        ada.store->saveSCORMdataToDB(book(), adaID, "scorm-2", "{}", "class-1", 13, "Poll", false);
        service->scriptNext(companion::op::scormSave, answer);
        ada.client->saveSormDataForUserID(adaID, bookID, "class-1", ada.delegate, ada.token);
        uitest::runUntilSettled();
        EXPECT_EQ(lastLine(ada).rfind(line, 0), 0u) << lastLine(ada);
    }
}

TEST_F(InteractiveContentSyncTest, ProtractorsAndAnswersReachTheUsersOtherDevice)
{
    Device& ada = device(adaID);
    auto protractor = std::make_shared<lectoro::SDKProtractorVO>();
    protractor->pageIdentifier = "20";
    protractor->displayNum = "20";
    protractor->frame = ui::Rect(10, 20, 200, 100);
    protractor->measuredAngle = 37.5;
    ada.store->saveProtractor(protractor, book(), adaID);
    auto answer = std::make_shared<lectoro::SDKFIBVO>();
    answer->pageIdentifier = "20";
    answer->displayNum = "20";
    answer->linkID = 88;
    answer->text = "right angle";
    answer->isEquation = true;
    ada.store->saveFIB(answer, book(), adaID);
    sync(ada);
    EXPECT_EQ(lastLine(ada), "didUGCSynchCompletedSuccessfully");

    Device tablet = otherDevice(ada);
    fetch(tablet);
    auto protractors = tablet.store->protractorForPageID("20", "20", book(), adaID);
    ASSERT_EQ(protractors.size(), 1u);
    EXPECT_DOUBLE_EQ(protractors[0]->measuredAngle, 37.5);
    EXPECT_EQ(protractors[0]->frame, ui::Rect(10, 20, 200, 100));
    auto openBook = std::make_shared<lectoro::PXBookVO>();
    openBook->bookID = book();
    tablet.store->setBook(openBook);
    auto fetched = tablet.store->getFIBObjectWithLinkId(88, adaID);
    ASSERT_TRUE(fetched);
    EXPECT_EQ(fetched->text, "right angle");
    EXPECT_TRUE(fetched->isEquation);
}

TEST_F(InteractiveContentSyncTest, TheVideoSessionAddressAnswersEveryScriptedShape)
{
    Device& ada = device(adaID);
    fetch(ada);
    auto ask = [&](const std::string& entry) {
        std::optional<std::string> address;
        std::optional<base::Error> failure;
        serviceClient()->getKalturaSessionURL(ada.token, entry, 1,
            [&](const base::Value& answer) { address = answer["responseMsg"].asString(); },
            [&](const base::Error& error) { failure = error; });
        uitest::runUntilSettled();
        return std::make_pair(address, failure);
    };
    auto [address, none] = ask("1_abc def");
    ASSERT_TRUE(address);
    EXPECT_NE(address->find("1_abc%20def"), std::string::npos) << *address;

    service->scriptNext(companion::op::kalturaSession, ServiceAnswer::expiredToken().onWorkerThread());
    auto [noAddress, expired] = ask("1_abc");
    ASSERT_TRUE(expired);
    EXPECT_EQ(expired->userInfo["invalidFields"]["usertoken"].description(), "103");
    EXPECT_EQ(*expired->userInfo["expiredToken"].asString(), ada.token);

    auto [nothing, malformed] = ask("");
    ASSERT_TRUE(malformed);
    EXPECT_EQ(malformed->code, 400);
}

} // namespace
