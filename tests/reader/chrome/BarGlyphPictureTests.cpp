#include "ChromeTestSupport.h"

#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTopBar.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVLectoroFontManager.h"
#include "platform/print/PrintTestSupport.h"
#include "platform/print/ViewPainter.h"
#include "platform/ui/ConstraintFrames.h"

namespace lectoro::chrometest {
namespace {

using BarGlyphPictureTest = ChromeTest;

// The bar's glyphs in a picture come from the bundle's icon font: painted again in the text
// face at the same size, each item's picture changes.
TEST_F(BarGlyphPictureTest, TopBarGlyphsArePaintedFromTheIconFont)
{
    const std::string iconFont = LECTORO_BUNDLE_DIR "/" + MVLectoroFontManager::getFontName() + ".ttf";
    auto& registry = ui::FontRegistry::shared();
    ASSERT_TRUE(registry.registerFontFile(iconFont));
    ASSERT_TRUE(registry.registerFontFile(LECTORO_BUNDLE_DIR "/OpenSans-Regular.ttf"));

    auto bar = PlayerActionTopBar::create(ui::Rect(0, 0, 375, 50));
    bar->setTag(TopBar);
    auto book = std::make_shared<PXBookVO>();
    book->isReadAloudEnabled = true;
    bar->setBookVO(book);
    bar->addPlayerTopBarForIPhoneWithTheme(m_theme, 0);
    bar->layoutIfNeeded();
    ui::applyConstraintFrames(*bar);

    printtest::TemporaryFolder folder;
    auto paint = [&](const std::string& name) {
        print::ImageOptions options;
        options.background = ui::Color::white();
        EXPECT_TRUE(print::writePNG(*bar, folder.file(name), options));
        return printtest::PngImage(folder.file(name));
    };
    const std::vector<int> tags { PlayerItemBackToBookshelf, PlayerItemReadAloud };
    auto icons = paint("icons.png");
    for (int tag : tags) {
        auto label = glyphLabel(*bar->itemWithTag(tag));
        EXPECT_EQ(print::fontFileFor(label->font()), iconFont) << tag;
        label->setFont(ui::Font("OpenSans-Regular", label->font().pointSize()));
    }
    auto letters = paint("letters.png");
    ASSERT_TRUE(icons.ok() && letters.ok());

    for (int tag : tags) {
        auto item = bar->itemWithTag(tag);
        ui::Rect area = item->convertRectTo(item->bounds(), bar.get());
        int differing = 0;
        int iconInk = 0;
        for (int y = static_cast<int>(area.minY()); y < static_cast<int>(area.maxY()); ++y) {
            for (int x = static_cast<int>(area.minX()); x < static_cast<int>(area.maxX()); ++x) {
                differing += printtest::sameColor(icons.pixel(x, y), letters.pixel(x, y)) ? 0 : 1;
                iconInk += printtest::sameColor(icons.pixel(x, y), ui::Color::white()) ? 0 : 1;
            }
        }
        EXPECT_GT(iconInk, 40) << tag;
        EXPECT_GT(differing, 40) << tag;
    }
}

} // namespace
} // namespace lectoro::chrometest
