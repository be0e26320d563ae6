#pragma once

// Bars and items as the reader shows them, for the help overlay tests: bar views that
// report the bar class names, items carrying a tag and a glyph label.

#include "../LibraryStringsTestSupport.h"

#include "LectoroSDKWithReader/reader/help/HelpScreen.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Bundle.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lectoro::helptest {

class NamedBar : public ui::View {
public:
    static std::shared_ptr<NamedBar> create(std::string name, const ui::Rect& frame)
    {
        return std::shared_ptr<NamedBar>(new NamedBar(std::move(name), frame));
    }
    std::string_view className() const override { return m_name; }

private:
    NamedBar(std::string name, const ui::Rect& frame)
        : ui::View(frame)
        , m_name(std::move(name))
    {
    }
    std::string m_name;
};

// An item with its glyph label filling it.
inline std::shared_ptr<PlayerActionBarItem> makeItem(
    int tag, const ui::Rect& frame, const std::string& glyph = "G")
{
    auto item = PlayerActionBarItem::createWithLabel(tag, glyph);
    item->setFrame(frame);
    item->firstLabel()->setFrame({ 0, 0, frame.size.width, frame.size.height });
    return item;
}

class HelpTest : public librarytest::LibraryStringsTest {
protected:
    void SetUp() override
    {
        LibraryStringsTest::SetUp();
        HelpScreen::resetTextBundleForTesting();
    }

    void TearDown() override
    {
        LibraryStringsTest::TearDown();
        HelpScreen::resetTextBundleForTesting();
    }
};

} // namespace lectoro::helptest
