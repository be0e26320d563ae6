#include "companion/controllers/PenToolDrawingController.h"

#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"
#include "companion/Framework.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/RunLoop.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

namespace {

using lectoro::SDKPentoolVO;

// Writes each report as a line ("created:<page>:<status>", "updated:<page>:<status>",
// "undoable:<yes|no>") and keeps the records.
class RecordingPenDelegate : public lectoro::PenToolControllerDelegate {
public:
    void didCreatePenDrawing(std::shared_ptr<SDKPentoolVO> record) override
    {
        log.push_back("created:" + record->pageIdentifier + ":" + std::to_string(record->status));
        records.push_back(record);
    }
    void didUpdatePenDrawing(std::shared_ptr<SDKPentoolVO> record) override
    {
        log.push_back("updated:" + record->pageIdentifier + ":" + std::to_string(record->status));
        records.push_back(record);
    }
    void didChangeUndoableStatus() override
    {
        log.push_back(std::string("undoable:") + (controller->isUndoable() ? "yes" : "no"));
    }

    lectoro::PenToolController* controller = nullptr;
    std::vector<std::string> log;
    std::vector<std::shared_ptr<SDKPentoolVO>> records;
};

using Lines = std::vector<std::string>;

class PenToolControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Environment::current().setScreenSize({ 768, 1024 });
        ui::Environment::current().setInterfaceOrientation(ui::Orientation::Portrait);
    }

    void open(ui::Orientation orientation = ui::Orientation::Portrait)
    {
        ui::Environment::current().setInterfaceOrientation(orientation);
        renderer = companion::BookRenderer::create(
            std::string(LECTORO_SAMPLES_DIR) + "/books/sample-pagebook", {});
        ui::Size size
            = orientation == ui::Orientation::Portrait ? ui::Size { 768, 1024 } : ui::Size { 1024, 768 };
        renderer->view()->setFrame({ { 0, 0 }, size });
        base::RunLoop::main().runUntilIdle();
        renderer->setPenDrawingModeEnabled(true);
        pen->setDelegate(delegate);
        pen->setPenDrawingCanvas(renderer->getPenDrawingCanvas());
        pen->setPenColor("#FF0000");
        pen->setPenStrokeThickness(4);
        delegate->controller = pen.get();
    }

    std::vector<std::shared_ptr<SDKPentoolVO>> strokesOn(int64_t page) const
    {
        return renderer->overlayForPage(page).penDrawings;
    }

    // A horizontal line across the page at height y.
    static std::vector<ui::Point> line(double y, double fromX = 100, double toX = 500)
    {
        std::vector<ui::Point> points;
        for (double x = fromX; x <= toX; x += 20)
            points.push_back({ x, y });
        return points;
    }

    uitest::UIScope scope;
    std::shared_ptr<companion::BookRenderer> renderer;
    std::shared_ptr<companion::PenToolDrawingController> pen
        = std::make_shared<companion::PenToolDrawingController>();
    std::shared_ptr<RecordingPenDelegate> delegate = std::make_shared<RecordingPenDelegate>();
};

TEST_F(PenToolControllerTest, DrawUndoDrawLeavesOneStrokeAndEraseRemovesIt)
{
    open();
    pen->drawStroke(line(300));
    ASSERT_EQ(strokesOn(101).size(), 1u);
    auto first = strokesOn(101)[0];
    EXPECT_EQ(first->penColor, "#FF0000");
    EXPECT_DOUBLE_EQ(first->thickness, 4);
    EXPECT_EQ(first->points.size(), 21u);
    EXPECT_EQ(first->displayNum, "i");

    pen->undoDrawing();
    EXPECT_TRUE(strokesOn(101).empty());
    pen->drawStroke(line(320));
    ASSERT_EQ(strokesOn(101).size(), 1u);
    EXPECT_NE(strokesOn(101)[0], first);

    pen->setDeleteOnSelectionEnabled(true);
    pen->setPenMode(lectoro::PenToolModeErase);
    pen->drawStroke({ { 300, 200 }, { 300, 400 } });
    EXPECT_TRUE(strokesOn(101).empty());

    EXPECT_EQ(delegate->log,
        (Lines { "created:101:1", "undoable:yes", "updated:101:3", "undoable:no", "created:101:1",
            "undoable:yes", "updated:101:3" }));
    EXPECT_TRUE(delegate->records[1]->isDeleted()) << "the undone stroke comes back with status 3";
    EXPECT_TRUE(delegate->records[3]->isDeleted());
}

TEST_F(PenToolControllerTest, TheEraserCutsAStrokeAndUndoPutsItBack)
{
    open();
    pen->drawStroke(line(300));
    auto stroke = strokesOn(101)[0];
    auto original = stroke->points;
    delegate->log.clear();

    // Without delete-on-selection the eraser takes only what it passes over.
    pen->setPenMode(lectoro::PenToolModeErase);
    pen->drawStroke({ { 300, 250 }, { 300, 350 } });
    ASSERT_EQ(strokesOn(101).size(), 2u);
    EXPECT_EQ(delegate->log, (Lines { "updated:101:1", "created:101:1" }));
    for (const auto& piece : strokesOn(101)) {
        for (const auto& point : piece->points)
            EXPECT_GT(std::abs(point.x - 300), companion::PenToolDrawingController::eraserRadius);
    }
    EXPECT_LT(stroke->points.size(), original.size());

    // An eraser that misses changes nothing and makes no undo step.
    pen->drawStroke({ { 100, 800 }, { 500, 800 } });
    EXPECT_EQ(strokesOn(101).size(), 2u);

    delegate->log.clear();
    pen->undoDrawing();
    ASSERT_EQ(strokesOn(101).size(), 1u);
    EXPECT_EQ(strokesOn(101)[0], stroke);
    EXPECT_EQ(stroke->points, original);
    EXPECT_EQ(delegate->log, (Lines { "updated:101:3", "updated:101:1" }));
}

TEST_F(PenToolControllerTest, DeleteAllTakesEveryStrokeOfTheSpreadInOneStep)
{
    open(ui::Orientation::LandscapeLeft);
    ASSERT_EQ(renderer->getActivePages().size(), 2u);
    pen->drawStroke(line(300, 50, 400));
    pen->drawStroke(line(300, 600, 900));
    ASSERT_EQ(strokesOn(101).size(), 1u);
    ASSERT_EQ(strokesOn(102).size(), 1u);
    // Points are kept in the coordinates of the page the stroke began on.
    EXPECT_LT(strokesOn(102)[0]->points.front().x, 300);
    EXPECT_EQ(strokesOn(102)[0]->pageIdentifier, "102");

    delegate->log.clear();
    pen->deleteActivePagePenDrawings();
    EXPECT_TRUE(strokesOn(101).empty());
    EXPECT_TRUE(strokesOn(102).empty());
    EXPECT_EQ(delegate->log, (Lines { "updated:101:3", "updated:102:3" }));

    pen->undoDrawing();
    EXPECT_EQ(strokesOn(101).size(), 1u);
    EXPECT_EQ(strokesOn(102).size(), 1u);
}

TEST_F(PenToolControllerTest, ModesDecideWhatATouchDoes)
{
    open();
    pen->setPenMode(lectoro::PenToolModeNone);
    pen->drawStroke(line(300));
    EXPECT_TRUE(strokesOn(101).empty());
    pen->setPenMode(7);
    EXPECT_EQ(pen->getPenMode(), lectoro::PenToolModeNone) << "an unknown mode is refused";

    pen->setPenMode(lectoro::PenToolModeDraw);
    pen->setDrawingMode(lectoro::PenToolDrawingModeReview);
    pen->setPenColor("#82F675");
    pen->drawStroke(line(300));
    ASSERT_EQ(strokesOn(101).size(), 1u);
    EXPECT_TRUE(strokesOn(101)[0]->isTeacherReview);
    EXPECT_EQ(strokesOn(101)[0]->penColor, "#82F675");

    // A touch outside every page, or one cancelled, draws nothing.
    pen->drawStroke({ { -10, -10 }, { 50, 50 } });
    pen->touchesBegan({ 100, 100 });
    pen->touchesMoved({ 200, 100 });
    pen->touchesCancelled();
    pen->touchesEnded();
    EXPECT_EQ(strokesOn(101).size(), 1u);

    // Without a canvas of the renderer the controller draws nothing.
    auto lone = companion::Framework({}).makePenToolController();
    ASSERT_TRUE(lone);
    lone->setPenDrawingCanvas(ui::View::create({ { 0, 0 }, { 768, 1024 } }));
    lone->drawStroke(line(300));
    EXPECT_FALSE(lone->isUndoable());
}

} // namespace
