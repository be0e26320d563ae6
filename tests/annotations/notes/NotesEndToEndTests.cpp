// Notes through the companion framework itself: a contextual note written from the
// highlight pop-up's Note tool on a passage of the sample page book, stored and drawn; a
// comment posted on it; and a class's share lists saved while the session has expired,
// sent again once with the renewed token.

#include "annotations/HighlightToolButton.h"
#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "platform/base/Json.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "companion/service/InProcessService.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro {
namespace {

constexpr int64_t notesBookID = 1001;
constexpr int64_t notesUserID = 6000000001;

class NotesEndToEnd : public testing::CompanionEndToEndTest {
protected:
    void SetUp() override
    {
        CompanionEndToEndTest::SetUp();
        inProcessService().setClassInfo(notesBookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "Teach") } },
                { "learners", base::Value::List { testing::classMember(notesUserID, "Ada", "Fennick") } },
            } });
    }

    std::shared_ptr<ReaderViewController> open()
    {
        auto user = makeUser(std::to_string(notesUserID), "ada-token");
        user->firstName = "Ada";
        user->lastName = "Fennick";
        auto settings = std::make_shared<MVReaderSettingModel>();
        settings->setIsHighLightEnabled(true);
        settings->setIsContextualNoteEnabled(true);
        m_launcher->launchBook(
            samplePageBook(std::to_string(notesBookID)), user, serviceConfiguration(), settings, false);
        // The launch made the settings model the switch lives in.
        m_launcher->enableAutologin(true);
        settle();
        auto reader = m_launcher->reader();
        if (reader) {
            testing::closeHelpIfShown(*reader);
            testing::closeOfferedReadAloud(*reader);
        }
        return reader;
    }

    std::vector<companion::ServiceRequest> requestsNamed(const std::string& operation) const
    {
        std::vector<companion::ServiceRequest> found;
        for (auto& request : m_companion->inProcessService()->requests())
            if (request.operation == operation)
                found.push_back(request);
        return found;
    }
};

TEST_F(NotesEndToEnd, AContextualNoteIsWrittenStoredDrawnAndCommentedOn)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    ASSERT_TRUE(renderer && renderer->isBookLoaded());
    int64_t page = renderer->getActivePages().at(0).pageID;
    ASSERT_TRUE(renderer->selectWords(page, 1, 2));

    auto noteTool = testing::highlightToolButton(*reader, HighlightItemType::Note);
    ASSERT_TRUE(noteTool);
    ASSERT_TRUE(uitest::tap(*noteTool));
    settle();
    auto editor = reader->noteRoad().noteController();
    ASSERT_TRUE(editor);
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNoteView);
    EXPECT_TRUE(editor->presentingViewController());
    EXPECT_FALSE(editor->selectedTextTextView()->text().empty());
    ASSERT_TRUE(editor->noteTextView()->insertText("Remember this passage"));
    ASSERT_TRUE(uitest::tap(*editor->postButton()));
    settle();

    auto stored = reader->context().dbManager->highlightBookID(std::to_string(notesBookID), notesUserID);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->noteText, "Remember this passage");
    EXPECT_FALSE(stored[0]->isSynced);
    EXPECT_EQ(renderer->overlayForPage(page).highlights.size(), 1u);
    EXPECT_FALSE(editor->presentingViewController());
    EXPECT_EQ(reader->activeMode(), ReaderActiveModeNone);

    // The user's own note gets no comment box; a shared one opened by a teacher would.
    reader->noteRoad().showNotesForHighlight(stored[0], false);
    settle();
    auto second = reader->noteRoad().noteController();
    ASSERT_NE(second, editor);
    EXPECT_FALSE(second->noteTextView()->isEditable() && second->commentViewHtConstraint()->constant() > 0);
    ASSERT_TRUE(uitest::tap(*second->noteCancelButton()));
    settle();
    EXPECT_FALSE(second->presentingViewController());
}

TEST_F(NotesEndToEnd, ClassListsAreStoredAtOnceAndSentAgainOnceAfterTheExpiredSessionIsRenewed)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    auto& service = inProcessService();
    service.expireToken("ada-token");

    reader->noteRoad().didTapOnShareSettings();
    settle();
    auto panel = reader->noteRoad().shareSettingsController();
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->classes().size(), 1u);
    panel->saveClassSettings({ base::Value(int64_t(9000000001)) }, { base::Value(int64_t(9000000001)) });

    // The local copy is there before the service has answered anything.
    auto classes
        = reader->context().dbManager->bookClassInfoArrayForBookID(std::to_string(notesBookID), notesUserID);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(base::toJson(classes[0]->shareList), "[9000000001]");
    settle();
    settle();

    auto shares = requestsNamed(companion::op::highlightShare);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].userToken, "ada-token");
    EXPECT_NE(shares[1].userToken, "ada-token");
    EXPECT_EQ(reader->user()->userToken, shares[1].userToken);
    EXPECT_EQ(
        base::toJson(shares[1].body["share"]), R"({"shareList":[9000000001],"recieveList":[9000000001]})");
    EXPECT_EQ(base::toJson(service.shareListsFor(notesUserID, notesBookID)),
        R"({"shareList":[9000000001],"recieveList":[9000000001]})");
    EXPECT_EQ(requestsNamed(companion::op::tokenRefresh).size(), 1u);
}

} // namespace
} // namespace lectoro
