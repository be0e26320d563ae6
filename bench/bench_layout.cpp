// The layout engine: solving from scratch, a pass after one constant changed, and the
// assembled reading screen.
//
// - FromScratch/N: N views in rows of a list, each tied to its neighbours and its container
//   by four constraints (4·N in all), laid out in a new tree every iteration.
// - OneConstant/N: the same tree laid out once; then each iteration moves one constraint's
//   constant (a slider's value, a bar shown) and runs the pass.
// - ReadingScreen: the reader opened on a page book through the companion framework, its
//   bars, strip and page; each iteration turns the window (a full layout of everything the
//   constraints place), and ReadingScreenBarShown moves the bottom bar's constant.

#include "BenchBooks.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReadingSession.h"
#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "companion/Framework.h"
#include "platform/base/Dispatch.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Environment.h"
#include "platform/ui/LayoutEngine.h"
#include "platform/ui/View.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct List {
    std::shared_ptr<ui::View> root;
    std::vector<ui::ConstraintPtr> heights;
};

// Rows stacked under each other, full width, each with its own height.
List makeList(int rows)
{
    List list;
    list.root = ui::View::create({ 0, 0, 768, 1024 });
    std::vector<ui::ConstraintPtr> constraints;
    std::shared_ptr<ui::View> previous;
    for (int row = 0; row < rows; ++row) {
        auto view = ui::View::create();
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        list.root->addSubview(view);
        auto height = view->heightAnchor().constraintEqualToConstant(20 + row % 7);
        list.heights.push_back(height);
        constraints.push_back(height);
        constraints.push_back(view->leadingAnchor().constraintEqualTo(list.root->leadingAnchor(), 8));
        constraints.push_back(view->trailingAnchor().constraintEqualTo(list.root->trailingAnchor(), -8));
        constraints.push_back(previous ? view->topAnchor().constraintEqualTo(previous->bottomAnchor(), 2)
                                       : view->topAnchor().constraintEqualTo(list.root->topAnchor()));
        previous = view;
    }
    ui::Constraint::activate(constraints);
    return list;
}

void FromScratch(benchmark::State& state)
{
    ui::EnvironmentScope environment;
    for (auto _ : state) {
        state.PauseTiming();
        auto list = makeList(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        list.root->layoutIfNeeded();
        benchmark::DoNotOptimize(list.root->subviews().back()->frame());
        state.PauseTiming();
        list = {};
        state.ResumeTiming();
    }
    state.counters["constraints"] = static_cast<double>(state.range(0) * 4);
}
BENCHMARK(FromScratch)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void OneConstant(benchmark::State& state)
{
    ui::EnvironmentScope environment;
    auto list = makeList(static_cast<int>(state.range(0)));
    list.root->layoutIfNeeded();
    size_t index = 0;
    double value = 30;
    for (auto _ : state) {
        // One row in the middle grows or shrinks: every row below it moves.
        list.heights[list.heights.size() / 2 + index % 3]->setConstant(value);
        value = value == 30 ? 31 : 30;
        ++index;
        list.root->layoutIfNeeded();
        benchmark::DoNotOptimize(list.root->subviews().back()->frame());
    }
}
BENCHMARK(OneConstant)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMicrosecond);

struct Reader {
    Reader()
    {
        benchbooks::writePageBook(book.path(), 40, 10);
        base::RunLoop::main().reset();
        base::UserDefaults::setStandardForTesting(std::make_shared<base::UserDefaults>());
        lectoro::setCompanionFramework(companion::makeFramework({ store.path().string(), nullptr }));
        ui::Environment::current().setIdiom(ui::UserInterfaceIdiom::Pad);
        ui::Environment::current().setScreenSize({ 768, 1024 });
        window = ui::Environment::current().makeKeyWindow();
        auto user = lectoro::LectoroUser::create();
        user->userID = "7";
        reader = lectoro::ReaderViewController::create(book.path().string(), 42, user, "978", "https://api", "client",
            std::make_shared<lectoro::MVReaderSettingModel>(), "1.0");
        reader->view()->setFrame(window->bounds());
        window->addSubview(reader->view());
        base::RunLoop::main().advanceBy(0.5);
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        reader->moveTopAndBottomOnScreenWithIsAnimate(false);
        window->layoutIfNeeded();
    }
    ~Reader()
    {
        base::waitForBackgroundWork();
        base::RunLoop::main().runUntilIdle();
        reader->readingSession().stopAnalyticsScheduledTimer();
        reader->uninitializeReader();
        reader.reset();
        base::waitForBackgroundWork();
        base::RunLoop::main().reset();
    }
    ui::EnvironmentScope environment;
    benchbooks::ScratchFolder book { "lectoro-bench-layout-book" };
    benchbooks::ScratchFolder store { "lectoro-bench-layout-store" };
    std::shared_ptr<ui::View> window;
    std::shared_ptr<lectoro::ReaderViewController> reader;
};

// A turn of the tablet: every constraint-placed view of the reading screen moves.
void ReadingScreen(benchmark::State& state)
{
    Reader screen;
    bool turned = false;
    for (auto _ : state) {
        turned = !turned;
        ui::Size size = turned ? ui::Size { 1024, 768 } : ui::Size { 768, 1024 };
        screen.window->setFrame({ {}, size });
        screen.reader->view()->setFrame({ {}, size });
        screen.window->layoutIfNeeded();
        benchmark::DoNotOptimize(screen.reader->view()->frame());
    }
}
BENCHMARK(ReadingScreen)->Unit(benchmark::kMicrosecond);

// One constant on the reading screen (a view moved by a constraint of the window's tree).
void ReadingScreenOneConstant(benchmark::State& state)
{
    Reader screen;
    ui::ConstraintPtr moved;
    for (const auto& view : { screen.reader->view() }) {
        for (const auto& constraint : view->constraints()) {
            if (constraint->firstAttribute() == ui::LayoutAttribute::Bottom
                || constraint->firstAttribute() == ui::LayoutAttribute::Top) {
                moved = constraint;
                break;
            }
        }
    }
    if (!moved) {
        state.SkipWithError("the reader's view holds no top or bottom constraint");
        return;
    }
    const double start = moved->constant();
    bool away = false;
    for (auto _ : state) {
        away = !away;
        moved->setConstant(away ? start + 1 : start);
        screen.window->layoutIfNeeded();
        benchmark::DoNotOptimize(screen.reader->view()->frame());
    }
    moved->setConstant(start);
}
BENCHMARK(ReadingScreenOneConstant)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
