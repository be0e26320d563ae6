// The pop-up vertical tool bar: its layer over the reader, its place, size and look by
// device and mode, and closing by a tap outside it.

#include "reader/bars/BarsTestSupport.h"

#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/ReaderVerticalBar.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/ui/Constraint.h"

namespace lectoro {
namespace {

using barstest::Device;
using chrometest::constantOf;

class VerticalToolBarTest : public barstest::BarsTest {
protected:
    ReaderVerticalBar& verticalBar() { return m_reader->verticalBar(); }
};

TEST_F(VerticalToolBarTest, PlaceSizeAndLookFollowDeviceAndMode)
{
    context().currentBook = std::make_shared<PXBookVO>();
    struct Case {
        const char* name;
        Device device;
        uint64_t mode;
        int barTag;
        double trailing, width;
        ui::LayoutAttribute vertical;
        double verticalConstant;
        double itemExtent;
        bool outlined;
    };
    const Case cases[] = {
        { "tablet in review", Device::Pad, ReaderActiveModeTeacherReview, TeacherBar, -45, 60, ui::LayoutAttribute::Top, 5, 50, true },
        { "tablet reading", Device::Pad, ReaderActiveModeNone, BottomBar, -45, 60, ui::LayoutAttribute::Bottom, -12, 50, false },
        { "phone reading", Device::Phone, ReaderActiveModeNone, BottomBar, -15, 50, ui::LayoutAttribute::Bottom, -7, 45, false },
        { "phone in review", Device::Phone, ReaderActiveModeTeacherReview, TeacherBar, -15, 50, ui::LayoutAttribute::Bottom, -7, 45, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDevice(c.device);
        readerView()->setFrame({ 0, 0, ui::Environment::current().screenSize().width,
            ui::Environment::current().screenSize().height });
        context().activeMode = c.mode;
        verticalBar().addPlayerVerticalBarForTeacherView();
        auto layer = verticalBar().viewForVerticalPlayerActionBar();
        auto bar = verticalBar().playerActionVerticalBar();
        ASSERT_TRUE(layer && bar);
        EXPECT_EQ(layer->superview(), readerView());
        EXPECT_EQ(layer->backgroundColor(), std::optional<ui::Color>(ui::Color::clear()));
        EXPECT_EQ(constantOf(*layer, ui::LayoutAttribute::Width), readerView()->frame().width());
        EXPECT_EQ(constantOf(*layer, ui::LayoutAttribute::Height), readerView()->frame().height());
        EXPECT_EQ(layer->constraintWithFirstAttribute(ui::LayoutAttribute::CenterX)->constant(), 0);
        EXPECT_EQ(bar->tag(), c.barTag);
        EXPECT_EQ(constantOf(*bar, ui::LayoutAttribute::Trailing), c.trailing);
        EXPECT_EQ(constantOf(*bar, ui::LayoutAttribute::Width), c.width);
        EXPECT_EQ(constantOf(*bar, c.vertical), c.verticalConstant);
        ASSERT_FALSE(bar->items().empty());
        EXPECT_EQ(constantOf(*bar, ui::LayoutAttribute::Height), static_cast<double>(bar->items().size()) * c.itemExtent);
        // Frames from the same numbers.
        EXPECT_DOUBLE_EQ(bar->frame().maxX(), layer->bounds().width() + c.trailing);
        if (c.vertical == ui::LayoutAttribute::Top)
            EXPECT_DOUBLE_EQ(bar->frame().minY(), c.verticalConstant);
        else
            EXPECT_DOUBLE_EQ(bar->frame().maxY(), layer->bounds().height() + c.verticalConstant);
        const auto& look = *bar->layer();
        if (c.outlined) {
            EXPECT_EQ(look.borderWidth(), 1.0);
            EXPECT_EQ(look.cornerRadius(), 5.0);
            EXPECT_EQ(look.borderColor(), chrometest::ThemeColors::penIcons());
        } else {
            EXPECT_EQ(look.shadowRadius(), 2.0);
            EXPECT_EQ(look.shadowOpacity(), 0.8);
            EXPECT_EQ(look.shadowOffset(), ui::Size(0, -1));
        }
        // Any tap on the layer closes it; the bar stays known until the next opening.
        ASSERT_TRUE(uitest::tap(*layer));
        EXPECT_FALSE(verticalBar().viewForVerticalPlayerActionBar());
        EXPECT_FALSE(layer->superview());
        EXPECT_EQ(verticalBar().playerActionVerticalBar(), bar);
    }
}

TEST_F(VerticalToolBarTest, APhoneWithAnEPUBNeverOffersTheReviewTools)
{
    useDevice(Device::Phone);
    context().currentBook = std::make_shared<EPUBBookVO>();
    context().activeMode = ReaderActiveModeTeacherReview;
    verticalBar().addPlayerVerticalBarForTeacherView();
    auto bar = verticalBar().playerActionVerticalBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->tag(), TeacherBar);
    EXPECT_FALSE(bar->itemWithTag(PlayerItemTeacherDelete));
    EXPECT_TRUE(bar->itemWithTag(PlayerItemThumbnail));
}

} // namespace
} // namespace lectoro
