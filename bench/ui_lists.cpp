// Tables, collections and presentation: loading, scrolling with cell reuse, flow layout,
// and presenting/dismissing through the run loop.

#include "platform/base/RunLoop.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class Rows : public ui::TableViewDataSource {
public:
    explicit Rows(int count)
        : m_count(count)
    {
    }
    int numberOfRowsInSection(ui::TableView&, int) override { return m_count; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(
        ui::TableView& table, const ui::IndexPath& indexPath) override
    {
        auto cell = table.dequeueReusableCellWithIdentifier("row", indexPath);
        cell->textLabel()->setText(std::to_string(indexPath.row));
        return cell;
    }

private:
    int m_count;
};

std::shared_ptr<ui::TableView> makeTable(const std::shared_ptr<Rows>& rows)
{
    auto table = ui::TableView::create({ 0, 0, 375, 667 });
    table->registerCellClass<ui::TableViewCell>("row");
    table->setDataSource(rows);
    table->reloadData();
    return table;
}

void tableReload(benchmark::State& state)
{
    auto rows = std::make_shared<Rows>(static_cast<int>(state.range(0)));
    auto table = makeTable(rows);
    for (auto _ : state) {
        table->reloadData();
        benchmark::DoNotOptimize(table->visibleCells().size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(tableReload)->Range(100, 100000)->Complexity();

// One screen-sized step per iteration, wrapping at the end: cells leave and are reused.
void tableScroll(benchmark::State& state)
{
    auto rows = std::make_shared<Rows>(static_cast<int>(state.range(0)));
    auto table = makeTable(rows);
    double maximum = table->contentSize().height - 667;
    double offset = 0;
    for (auto _ : state) {
        offset += 600;
        if (offset > maximum)
            offset = 0;
        table->setContentOffset({ 0, offset });
        benchmark::DoNotOptimize(table->indexPathsForVisibleRows().size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(tableScroll)->Range(100, 100000)->Complexity();

class Items : public ui::CollectionViewDataSource {
public:
    explicit Items(int count)
        : m_count(count)
    {
    }
    int numberOfItemsInSection(ui::CollectionView&, int) override { return m_count; }
    std::shared_ptr<ui::CollectionViewCell> cellForItemAtIndexPath(
        ui::CollectionView& view, const ui::IndexPath& indexPath) override
    {
        return view.dequeueReusableCellWithReuseIdentifier("item", indexPath);
    }

private:
    int m_count;
};

void flowLayoutPrepare(benchmark::State& state)
{
    auto items = std::make_shared<Items>(static_cast<int>(state.range(0)));
    auto layout = ui::CollectionViewFlowLayout::create();
    layout->setItemSize({ 90, 120 });
    auto view = ui::CollectionView::create({ 0, 0, 375, 667 }, layout);
    view->registerCellClass(
        "item", [](const std::string& identifier) { return ui::CollectionViewCell::create(identifier); });
    view->setDataSource(items);
    view->reloadData();
    for (auto _ : state) {
        layout->prepare();
        benchmark::DoNotOptimize(layout->collectionViewContentSize());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(flowLayoutPrepare)->Range(100, 100000)->Complexity();

void presentAndDismiss(benchmark::State& state)
{
    auto& loop = base::RunLoop::main();
    loop.reset();
    ui::Environment::current().makeKeyWindow();
    auto root = ui::ViewController::create();
    ui::setKeyWindowRootViewController(root);
    for (auto _ : state) {
        root->presentViewController(ui::ViewController::create(), false);
        root->dismissViewControllerAnimated(false);
        loop.runUntilIdle();
    }
    ui::setKeyWindowRootViewController(nullptr);
}
BENCHMARK(presentAndDismiss);

} // namespace

BENCHMARK_MAIN();
