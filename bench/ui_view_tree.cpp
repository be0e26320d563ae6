// The headless view tree's hot paths: building and tearing down trees, hit testing,
// coordinate conversion, constraint lookup and the text metric.

#include "platform/ui/Constraint.h"
#include "platform/ui/TextMetrics.h"
#include "platform/ui/View.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A tree `depth` levels deep with `fanOut` children per view, each child inset a little.
std::shared_ptr<ui::View> makeTree(int depth, int fanOut)
{
    auto root = ui::View::create({ 0, 0, 1000, 1000 });
    std::vector<std::shared_ptr<ui::View>> level { root };
    for (int d = 0; d < depth; ++d) {
        std::vector<std::shared_ptr<ui::View>> next;
        for (auto& parent : level) {
            ui::Size size = parent->bounds().size;
            for (int i = 0; i < fanOut; ++i) {
                double width = size.width / fanOut;
                auto child = ui::View::create({ i * width, 1, width, size.height - 2 });
                child->setTag(d * 100 + i);
                parent->addSubview(child);
                next.push_back(child);
            }
        }
        level = std::move(next);
    }
    return root;
}

std::shared_ptr<ui::View> deepestFirst(const std::shared_ptr<ui::View>& root)
{
    auto view = root;
    while (!view->subviews().empty())
        view = view->subviews().front();
    return view;
}

void BM_BuildAndTearDownTree(benchmark::State& state)
{
    for (auto _ : state) {
        auto root = makeTree(static_cast<int>(state.range(0)), 4);
        benchmark::DoNotOptimize(root.get());
    }
}
BENCHMARK(BM_BuildAndTearDownTree)->Arg(3)->Arg(5);

void BM_HitTest(benchmark::State& state)
{
    auto root = makeTree(static_cast<int>(state.range(0)), 4);
    for (auto _ : state)
        benchmark::DoNotOptimize(root->hitTest({ 3, 500 }));
}
BENCHMARK(BM_HitTest)->Arg(3)->Arg(5);

void BM_ConvertRectToRoot(benchmark::State& state)
{
    auto root = makeTree(static_cast<int>(state.range(0)), 2);
    auto leaf = deepestFirst(root);
    for (auto _ : state)
        benchmark::DoNotOptimize(leaf->convertRectTo({ 0, 0, 10, 10 }, nullptr));
}
BENCHMARK(BM_ConvertRectToRoot)->Arg(4)->Arg(10);

void BM_ViewWithTag(benchmark::State& state)
{
    auto root = makeTree(4, 4);
    for (auto _ : state)
        benchmark::DoNotOptimize(root->viewWithTag(303));
}
BENCHMARK(BM_ViewWithTag);

void BM_ConstraintLookup(benchmark::State& state)
{
    auto root = makeTree(2, 4);
    std::vector<ui::ConstraintPtr> constraints;
    for (const auto& child : root->subviews()) {
        for (const auto& grandChild : child->subviews()) {
            constraints.push_back(grandChild->topAnchor().constraintEqualTo(root->topAnchor(), 1));
            constraints.push_back(grandChild->widthAnchor().constraintEqualToConstant(10));
        }
    }
    for (int i = 0; i < state.range(0); ++i)
        constraints.push_back(root->subviews()[0]->heightAnchor().constraintEqualToConstant(i));
    ui::Constraint::activate(constraints);
    auto target = root->subviews()[3]->subviews()[3];
    for (auto _ : state)
        benchmark::DoNotOptimize(target->constraintAffecting(ui::LayoutAttribute::Top));
}
BENCHMARK(BM_ConstraintLookup)->Arg(10)->Arg(1000);

void BM_WrapText(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += "Reading aloud highlights every word, ";
    ui::Font font = ui::Font::systemFont(17);
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::TextMetrics::boundingHeight(text, font, 300));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrapText)->Arg(1)->Arg(100);

} // namespace

BENCHMARK_MAIN();
