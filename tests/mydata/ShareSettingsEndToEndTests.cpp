// The class share settings through the companion framework itself: opened from My Data
// over the sample page book, a student ticked, saved; the lists reach the store and the
// in-process service.

#include "mydata/MyDataTestSupport.h"
#include "reader/CompanionEndToEndSupport.h"

#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/ReaderMyData.h"
#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/LectoroServiceConfiguration.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/Json.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"

namespace lectoro {
namespace {

constexpr int64_t shareE2EBookID = 1001;
constexpr int64_t shareE2EUserID = 6000000001;

class ShareSettingsEndToEnd : public testing::CompanionEndToEndTest {
protected:
    void SetUp() override
    {
        CompanionEndToEndTest::SetUp();
        inProcessService().setClassInfo(shareE2EBookID,
            base::Value::List { base::Value::Dictionary {
                { "classId", "class-1" },
                { "classTitle", "Biology" },
                { "shareHighlightConfiguration",
                    base::Value::Dictionary {
                        { "isSharingEnable", true },
                        { "isTeacherSharingEnable", true },
                        { "isStudentSharingEnable", true } } },
                { "teachers", base::Value::List { testing::classMember(9000000001, "Tess", "X") } },
                { "learners",
                    base::Value::List {
                        testing::classMember(shareE2EUserID, "Ada", "X"), testing::classMember(6000000002, "Bo", "X") } },
            } });
    }

    std::shared_ptr<ReaderViewController> open()
    {
        m_launcher->launchBook(samplePageBook(std::to_string(shareE2EBookID)),
            makeUser(std::to_string(shareE2EUserID), "ada-token"), serviceConfiguration());
        settle();
        return m_launcher->reader();
    }

    mydatatest::MyDataNetworkScope m_network;
};

TEST_F(ShareSettingsEndToEnd, TickedStudentsAreStoredAndSentAsTheClassLists)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    reader->myData().showMyData();
    settle();
    // My Data's request reaches the notes feature, which owns the dialog.
    reader->myData().didTapOnShareSettings();
    settle();
    auto dialog = reader->noteRoad().shareSettingsController();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->isViewLoaded());
    auto& table = *dialog->shareUserListTable();
    table.layoutIfNeeded();
    ASSERT_EQ(table.numberOfSections(), 2);
    // The signed-in user is not offered to themself.
    ASSERT_EQ(table.numberOfRowsInSection(1), 1);
    auto bo = std::dynamic_pointer_cast<LXShareSettingsCell>(table.cellForRowAtIndexPath(ui::IndexPath { 1, 0 }));
    ASSERT_TRUE(bo);
    EXPECT_EQ(bo->shareUserId, 6000000002);
    ASSERT_TRUE(uitest::tap(*bo->shareButton()));
    ASSERT_TRUE(uitest::tap(*dialog->doneButton()));
    settle();

    auto classes = reader->context().dbManager->bookClassInfoArrayForBookID(
        std::to_string(shareE2EBookID), shareE2EUserID);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(base::toJson(classes[0]->shareList), "[9000000001,6000000002]");
    EXPECT_EQ(base::toJson(classes[0]->receiveList), "[9000000001]");
    EXPECT_EQ(base::toJson(inProcessService().shareListsFor(shareE2EUserID, shareE2EBookID)),
        R"({"shareList":[9000000001,6000000002],"recieveList":[9000000001]})");
}

TEST_F(ShareSettingsEndToEnd, TheReaderPassesOnPrintablePagesAndMyDataOpensANoteThroughTheNotesFeature)
{
    auto reader = open();
    ASSERT_TRUE(reader);
    reader->setPrintEnabledPageArray(std::string("iv,1"));
    reader->setPrintEnabledPageArray(std::nullopt);
    EXPECT_EQ(reader->myData().printEnabledPageArray(), (std::vector<std::string> { "iv", "1" }));

    auto note = std::make_shared<SDKHighlightVO>();
    note->localID = "share-e2e-note";
    note->noteText = "a thought";
    reader->myData().didTapOnNotesComment(note);
    settle();
    ASSERT_TRUE(reader->noteRoad().noteController());
    EXPECT_EQ(reader->noteRoad().noteController()->currentHighlightVO(), note);
}

} // namespace
} // namespace lectoro
