// The icon glyphs of My Data's rows sit off their text's baseline by the amounts the rows
// set (and the titles' lines are as tall as that makes them), and the share-settings dialog
// gives its text views their accessibility and keeps its column titles out of VoiceOver.

#include "mydata/MyDataTestSupport.h"
#include "reader/ReaderTestSupport.h"

#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/mydata/FilterCollectionCell.h"
#include "LectoroSDKWithReader/mydata/FilterRules.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsCell.h"
#include "LectoroSDKWithReader/mydata/LXShareSettingsController.h"
#include "LectoroSDKWithReader/mydata/MyDataCells.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/testing/Interaction.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lectoro {
namespace {

// The baseline offset of the run holding the glyph, and of every other run.
struct GlyphOffsets {
    std::optional<double> glyph;
    std::optional<double> text;
};

GlyphOffsets offsetsOf(const base::AttributedString& title, const std::string& glyph)
{
    GlyphOffsets found;
    for (const auto& run : title.runs()) {
        std::string piece = title.substring(run.range).string();
        if (piece.find(glyph) != std::string::npos)
            found.glyph = run.attributes.baselineOffset;
        else if (piece.find_first_not_of(" \u200E") != std::string::npos)
            found.text = run.attributes.baselineOffset;
    }
    return found;
}

TEST(MyDataGlyphOffsets, EachRowsGlyphSitsOffTheBaselineByItsAmountInBothDirections)
{
    for (auto direction : { ui::LayoutDirection::LeftToRight, ui::LayoutDirection::RightToLeft }) {
        ui::EnvironmentScope environment;
        ui::Environment::current().setLayoutDirection(direction);
        SCOPED_TRACE(direction == ui::LayoutDirection::RightToLeft ? "right to left" : "left to right");
        auto filterRow = FilterCollectionCell::create();
        auto font = ui::Font::systemFont(15);
        struct Case {
            const char* name;
            base::AttributedString title;
            std::string glyph;
            double offset;
        };
        const Case cases[] = {
            { "note row's comment button", myDataTitleWithIcon(ICON_COMMENT, "Comments 2", ui::Color::black()),
                ICON_COMMENT, -1.5 },
            { "filter text row",
                filterRow->getAttributtedTextWithIcon(ICON_CHECKEDBOX, "Notes", font, ui::Color::black(), false),
                ICON_CHECKEDBOX, -1.5 },
            { "filter colour row",
                filterRow->getAttributtedTextWithIcon(ICON_UNCHECKEDBOX, ICON_HighlightNew, font, ui::Color::red(), true),
                ICON_UNCHECKEDBOX, 2.2 },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            auto offsets = offsetsOf(c.title, c.glyph);
            ASSERT_TRUE(offsets.glyph);
            EXPECT_DOUBLE_EQ(*offsets.glyph, c.offset);
            EXPECT_FALSE(offsets.text) << "the text stays on the baseline";
        }
    }
}

TEST(MyDataGlyphOffsets, ANoteRowsButtonTitleIsTallEnoughForItsLoweredGlyph)
{
    ui::EnvironmentScope environment;
    auto cell = LXMyDataNoteCell::create(ui::TableViewCellStyle::Default, "MyDataNoteCell");
    cell->updateCellWithChapterName(
        "Rain", "Page: 12", "drops", "a note", ui::Color::black(), 2, "2", "1", ui::Color::black());
    auto title = cell->commentButton()->currentAttributedTitle();
    ASSERT_TRUE(title);
    auto label = cell->commentButton()->titleLabel();
    ASSERT_TRUE(label);
    // The glyph's line (15 points: 18 high) hangs 1.5 below the text's.
    base::AttributedString flat = *title;
    flat.removeAttribute({ 0, flat.length() }, base::TextAttributeKey::BaselineOffset);
    double lowered = ui::TextMetrics::sizeOfText(*title, label->font()).height;
    EXPECT_DOUBLE_EQ(lowered - ui::TextMetrics::sizeOfText(flat, label->font()).height, 1.5);
    EXPECT_EQ(label->intrinsicContentSize().height, std::ceil(lowered));
}

base::Value glyphDialogMember(int64_t id, const char* first)
{
    return base::Value::Dictionary { { "user",
        base::Value::Dictionary { { "id", id }, { "firstName", first }, { "lastName", "X" } } } };
}

class ShareDialogAccessibility : public testing::ReaderTest {
protected:
    void TearDown() override
    {
        uitest::showInWindow(nullptr);
        testing::ReaderTest::TearDown();
    }
};

class GlyphDialogDelegate : public LXShareSettingsControllerDelegate { };

TEST_F(ShareDialogAccessibility, TextViewsAreNamedTheColumnTitlesAreSilentAndNamesUseTheReadersFont)
{
    auto root = ui::ViewController::create();
    uitest::showInWindow(root);
    auto c = std::make_shared<SDKBookClassInfoVO>();
    c->classTitle = "Biology";
    c->userId = 100;
    c->shareHighlightConfiguration = { true, true, true };
    c->teachers = base::Value::List { glyphDialogMember(1, "Tea") };
    c->learners = base::Value::List { glyphDialogMember(2, "Stu") };
    auto note = std::make_shared<SDKHighlightVO>();
    note->text = "drops of water";
    note->noteText = "ask about rain";
    auto delegate = std::make_shared<GlyphDialogDelegate>();
    auto dialog = LXShareSettingsController::create();
    dialog->setDelegate(delegate);
    dialog->setSettingsType(LXShareSettingsController::noteSettings);
    dialog->setHighlightVO(note);
    dialog->setIsFromMydataController(true);
    dialog->setData({ c });
    root->presentViewController(dialog, true);
    base::RunLoop::main().advanceBy(1);

    struct Named {
        ui::View* view;
        const char* element;
        const char* label;
    };
    for (const auto& n : { Named { dialog->selectedTextTextView().get(), "ReaderStickyNotesSelectedTextTextView",
                               "Highlighted text" },
             Named { dialog->noteTextView().get(), "ReaderStickyNotesNoteTextView", "Note" } }) {
        SCOPED_TRACE(n.element);
        ASSERT_TRUE(n.view);
        EXPECT_EQ(n.view->accessibilityIdentifier(), n.element);
        EXPECT_EQ(n.view->accessibilityLabel(), n.label);
    }
    EXPECT_FALSE(dialog->topShareLabel()->isAccessibilityElement());
    EXPECT_FALSE(dialog->receiveLabel()->isAccessibilityElement());

    auto& table = *dialog->shareUserListTable();
    table.layoutIfNeeded();
    auto student = std::dynamic_pointer_cast<LXShareSettingsCell>(table.cellForRowAtIndexPath(ui::IndexPath { 1, 0 }));
    ASSERT_TRUE(student);
    auto readerFont = getCustomFont(18);
    ASSERT_TRUE(readerFont);
    EXPECT_EQ(student->shareUserNameLabel()->font(), *readerFont);
}

} // namespace
} // namespace lectoro
