// A UI call from a worker thread must stop a debug build at once, whether it goes through a
// setter written in a header or one in a source file, so product code that touches views
// off the main thread fails its tests instead of racing.

#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <thread>

namespace ui {
namespace {

#ifndef NDEBUG

struct OffMainCase {
    const char* name;
    // Runs on the main thread and answers the call to make from a worker.
    std::function<std::function<void()>()> prepare;
};

void PrintTo(const OffMainCase& c, std::ostream* out)
{
    *out << c.name;
}

const OffMainCase offMainCases[] = {
    { "createView", [] { return std::function<void()>([] { View::create(); }); } },
    { "createViewController", [] { return std::function<void()>([] { ViewController::create(); }); } },
    { "viewSetFrame",
        [] {
            auto view = View::create();
            return std::function<void()>([view] { view->setFrame({ 0, 0, 10, 10 }); });
        } },
    { "labelSetText",
        [] {
            auto label = Label::create();
            return std::function<void()>([label] { label->setText("x"); });
        } },
    { "labelSetHighlighted",
        [] {
            auto label = Label::create();
            return std::function<void()>([label] { label->setHighlighted(true); });
        } },
    { "textFieldSetReturnKeyType",
        [] {
            auto field = TextField::create();
            return std::function<void()>([field] { field->setReturnKeyType(ReturnKeyType::Done); });
        } },
    { "scrollViewSetScrollEnabled",
        [] {
            auto scroll = ScrollView::create();
            return std::function<void()>([scroll] { scroll->setScrollEnabled(false); });
        } },
    { "sliderSetContinuous",
        [] {
            auto slider = Slider::create();
            return std::function<void()>([slider] { slider->setContinuous(false); });
        } },
    { "tapSetNumberOfTaps",
        [] {
            auto tap = TapGestureRecognizer::create();
            return std::function<void()>([tap] { tap->setNumberOfTapsRequired(2); });
        } },
    { "tableReloadData",
        [] {
            auto table = TableView::create({ 0, 0, 100, 100 });
            return std::function<void()>([table] { table->reloadData(); });
        } },
    { "controllerSetTitle",
        [] {
            auto controller = ViewController::create();
            return std::function<void()>([controller] { controller->setTitle("t"); });
        } },
    { "environmentSetIdiom",
        [] {
            return std::function<void()>(
                [] { Environment::current().setIdiom(Environment::current().idiom()); });
        } },
    { "animate", [] { return std::function<void()>([] { View::animate(0.3, [] {}, {}); }); } },
};

class UIOffMainThreadDeathTest : public testing::TestWithParam<OffMainCase> { };

TEST_P(UIOffMainThreadDeathTest, Aborts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto offMain = [] {
        auto call = GetParam().prepare();
        call(); // fine on the main thread
        std::thread(call).join();
    };
    EXPECT_DEATH(offMain(), "must be called on the main thread");
}

INSTANTIATE_TEST_SUITE_P(Calls, UIOffMainThreadDeathTest, testing::ValuesIn(offMainCases),
    [](const auto& info) { return std::string(info.param.name); });

#endif

} // namespace
} // namespace ui
