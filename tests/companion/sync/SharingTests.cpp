// Sharing between users of one class, end to end: device store → sync client → in-process
// service → the other user's device.

#include "companion/sync/ClassroomFixture.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/testing/Settle.h"

namespace {

using companiontest::ClassroomTest;
using companiontest::Device;
using Lines = std::vector<std::string>;

class SharingTest : public ClassroomTest {
protected:
    // A note of `owner`, saved on the owner's device and uploaded.
    std::shared_ptr<lectoro::SDKHighlightVO> postNote(Device& owner, const std::string& text,
        base::Value sharedUsers = base::Value::List {})
    {
        auto note = std::make_shared<lectoro::SDKHighlightVO>();
        note->pageIdentifier = "12";
        note->displayNum = "3";
        note->text = "the cell wall";
        note->noteText = text;
        note->backgroundColor = "#FFFF00";
        note->isShare = sharedUsers.count() > 0;
        note->sharedUsers = std::move(sharedUsers);
        owner.store->saveHighlight(note, book(), owner.userID);
        sync(owner);
        EXPECT_EQ(lastLine(owner), "didUGCSynchCompletedSuccessfully");
        return note;
    }

    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> notesOf(Device& user)
    {
        return user.store->highlightBookID(book(), user.userID);
    }

    std::shared_ptr<lectoro::SDKHighlightVO> receivedBy(Device& user)
    {
        for (auto& note : notesOf(user)) {
            if (note->isReceived)
                return note;
        }
        return nullptr;
    }

    static base::Value comment(int64_t userID, const char* name, const char* date, const char* text)
    {
        return base::Value::Dictionary {
            { "Text", text }, { "UserID", std::to_string(userID) }, { "DisplayName", name }, { "Date", date }
        };
    }
};

TEST_F(SharingTest, ANoteSharedWithAClassmateArrivesAndItsAcceptanceReachesTheSharer)
{
    Device& ada = device(adaID);
    Device& ben = device(benID);
    Device& cara = device(caraID);
    fetch(ben);
    fetch(cara);
    postNote(ada, "look at this", base::Value::List { benID });

    fetch(ben);
    auto received = receivedBy(ben);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->noteText, "look at this");
    EXPECT_FALSE(received->isAnswered);
    EXPECT_EQ(received->creatorName, "Ada Fennick");
    EXPECT_EQ(received->ugcID, notesOf(ada)[0]->ugcID);
    fetch(cara);
    EXPECT_FALSE(receivedBy(cara)) << "shared with Ben only";

    ben.client->acceptOrRejectCollab(received->ugcID, true, ben.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ben), "didAcceptOrRejectDataSuccessfully");
    ben.store->updateAnsweredUGC(received->ugcID, true, std::to_string(benID));

    fetch(ben);
    ASSERT_TRUE(receivedBy(ben));
    EXPECT_TRUE(receivedBy(ben)->isAnswered);
    fetch(ada);
    auto own = notesOf(ada);
    ASSERT_EQ(own.size(), 1u) << "the sharer does not receive her own note";
    EXPECT_EQ(own[0]->acceptedUsers, (base::Value(base::Value::List { benID })));
    EXPECT_EQ(own[0]->declinedUsers.count(), 0u);
}

TEST_F(SharingTest, ADeclinedNoteLeavesTheReceiverAndIsNotSentAgain)
{
    Device& ada = device(adaID);
    Device& ben = device(benID);
    fetch(ben);
    postNote(ada, "for you", base::Value::List { benID });
    fetch(ben);
    auto received = receivedBy(ben);
    ASSERT_TRUE(received);

    ben.client->acceptOrRejectCollab(received->ugcID, false, ben.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ben), "didAcceptOrRejectDataSuccessfully");
    fetch(ben);
    EXPECT_FALSE(receivedBy(ben)) << "the service answers a declined note as deleted";
    fetch(ada);
    EXPECT_EQ(notesOf(ada)[0]->declinedUsers, (base::Value(base::Value::List { benID })));
}

TEST_F(SharingTest, AnswersAreRefusedForNotesNotSharedWithTheUser)
{
    Device& ada = device(adaID);
    Device& cara = device(caraID);
    fetch(cara);
    postNote(ada, "private");
    cara.client->acceptOrRejectCollab(notesOf(ada)[0]->ugcID, true, cara.token);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(cara).rfind("didAcceptOrRejectDataFailedWithError:404", 0), 0u) << lastLine(cara);

    // A token the service has never seen names nobody.
    cara.client->acceptOrRejectCollab(notesOf(ada)[0]->ugcID, true, "unknown-token");
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(cara).rfind("didAcceptOrRejectDataFailedWithError:401", 0), 0u) << lastLine(cara);
}

TEST_F(SharingTest, CommentsTravelWithTheNoteBothWays)
{
    Device& ada = device(adaID);
    Device& ben = device(benID);
    fetch(ben);
    postNote(ada, "what do you think?", base::Value::List { benID });
    fetch(ben);
    auto received = receivedBy(ben);
    ASSERT_TRUE(received);

    received->noteComments = base::Value::List { comment(benID, "Ben Ostrowe", "2024-03-01 10:00:00.000", "agreed") };
    ben.store->saveHighlight(received, book(), benID);
    sync(ben);
    EXPECT_EQ(lastLine(ben), "didUGCSynchCompletedSuccessfully");
    EXPECT_EQ(service->ugcFor(benID, bookID).count(), 0u) << "a reply is not a note of Ben's own";

    fetch(ada);
    auto own = notesOf(ada);
    ASSERT_EQ(own.size(), 1u);
    ASSERT_EQ(own[0]->noteComments.count(), 1u);
    EXPECT_EQ(*own[0]->noteComments.at(0)["Text"].asString(), "agreed");

    // Ada answers from a copy of the thread that lacks Ben's comment: comments are never
    // removed, so the thread becomes the union of both.
    own[0]->noteComments = base::Value::List { comment(adaID, "Ada Fennick", "2024-03-01 10:05:00.000", "thanks") };
    ada.store->saveHighlight(own[0], book(), adaID);
    sync(ada);
    fetch(ben);
    received = receivedBy(ben);
    ASSERT_TRUE(received);
    ASSERT_EQ(received->noteComments.count(), 2u);
    EXPECT_EQ(*received->noteComments.at(1)["Text"].asString(), "thanks");
}

TEST_F(SharingTest, ClassShareListsUploadStoreAndDecideWhoReceives)
{
    Device& ada = device(adaID);
    Device& ben = device(benID);
    fetch(ada);
    fetch(ben);
    postNote(ada, "my whole book");

    base::Value payload = base::Value::Dictionary { { "shareList", base::Value::List { std::to_string(benID) } },
        { "recieveList", base::Value::List {} } };
    ada.client->saveHighlightData(payload, bookID, ada.token);
    ada.store->saveSharedReceivedInfo(payload, book(), adaID);
    uitest::runUntilSettled();
    EXPECT_EQ(lastLine(ada), "didSaveHighlightDataSuccessfully");
    EXPECT_EQ(service->shareListsFor(adaID, bookID)["shareList"], (base::Value(base::Value::List { benID })))
        << "ids are kept as numbers";

    fetch(ben);
    ASSERT_TRUE(receivedBy(ben)) << "Ben has chosen nothing, so he receives from those who share with him";

    // Ben now receives only from Cara.
    ben.client->saveHighlightData(base::Value::Dictionary { { "shareList", base::Value::List {} },
                                      { "recieveList", base::Value::List { caraID } } },
        bookID, ben.token);
    uitest::runUntilSettled();
    fetch(ben);
    EXPECT_FALSE(receivedBy(ben));

    // The sharer's classes carry her lists on her next fetch.
    fetch(ada);
    auto classes = ada.store->bookClassInfoArrayForBookID(book(), adaID);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0]->userId, adaID);
    EXPECT_EQ(classes[0]->roleID, "LEARNER");
    ASSERT_EQ(classes[0]->shareList.count(), 1u);
    EXPECT_EQ(lectoro::coding::readId(classes[0]->shareList.at(0)), benID);
}

TEST_F(SharingTest, MalformedShareListsAreRefusedWithThePayloadToRetry)
{
    Device& ada = device(adaID);
    fetch(ada);
    const base::Value payloads[] = {
        base::Value::Dictionary { { "shareList", base::Value::List {} }, { "receiveList", base::Value::List {} } },
        base::Value::Dictionary { { "shareList", base::Value::List { "ben" } }, { "recieveList", base::Value::List {} } },
        base::Value::Dictionary { { "shareList", "everyone" }, { "recieveList", base::Value::List {} } },
    };
    for (const auto& payload : payloads) {
        SCOPED_TRACE(payload.description());
        ada.client->saveHighlightData(payload, bookID, ada.token);
        uitest::runUntilSettled();
        EXPECT_EQ(lastLine(ada).rfind("didSaveHighlightDataFailedWithError:400", 0), 0u) << lastLine(ada);
    }
    EXPECT_TRUE(service->shareListsFor(adaID, bookID).isNull());
}

TEST_F(SharingTest, OnlyUsersOfOneClassShare)
{
    Device& ada = device(adaID);
    Device& outsider = device(outsiderID);
    fetch(outsider);
    postNote(ada, "class only", base::Value::List { outsiderID });
    fetch(outsider);
    EXPECT_TRUE(notesOf(outsider).empty());
    EXPECT_TRUE(outsider.store->bookClassInfoArrayForBookID(book(), outsiderID).empty())
        << "a user sees only the classes they are in";
}

} // namespace
