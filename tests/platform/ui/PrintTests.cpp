#include "platform/ui/Print.h"

#include "platform/base/RunLoop.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

struct Result {
    int calls = 0;
    bool completed = false;
    std::optional<base::Error> error;
};

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::RunLoop::main().reset();
        PrintInteractionController::shared().reset();
    }
    void TearDown() override
    {
        base::RunLoop::main().reset();
        PrintInteractionController::shared().reset();
    }

    PrintInteractionController::Completion recordInto(Result& result)
    {
        return [&result](PrintInteractionController&, bool completed, std::optional<base::Error> error) {
            ++result.calls;
            result.completed = completed;
            result.error = std::move(error);
        };
    }

    PrintInteractionController& m_printer = PrintInteractionController::shared();
};

TEST_F(PrintTest, AJobIsRecordedAndCompletesOnTheRunLoop)
{
    m_printer.setPrintInfo(
        { PrintOutputType::Grayscale, PrintOrientation::Landscape, PrintDuplex::None, "Page 12" });
    m_printer.setPrintingItem(PrintItem::fromImage(Image::make("page", { 768, 1024 })));
    Result result;
    EXPECT_TRUE(m_printer.present(true, recordInto(result)));
    EXPECT_TRUE(m_printer.isPresenting());
    EXPECT_EQ(result.calls, 0);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(result.calls, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_FALSE(result.error);
    ASSERT_EQ(m_printer.jobs().size(), 1u);
    const PrintJob& job = m_printer.jobs()[0];
    EXPECT_EQ(job.info.jobName, "Page 12");
    EXPECT_EQ(job.info.outputType, PrintOutputType::Grayscale);
    EXPECT_EQ(job.items.at(0).kind, PrintItem::Kind::Image);
    EXPECT_TRUE(job.animated);
}

TEST_F(PrintTest, OutcomesChosenByTheTest)
{
    struct Case {
        PrintOutcome outcome;
        bool completed;
        bool error;
    };
    for (Case c : { Case { PrintOutcome::Completed, true, false },
             Case { PrintOutcome::Cancelled, false, false }, Case { PrintOutcome::Failed, false, true } }) {
        m_printer.setNextOutcome(c.outcome);
        m_printer.setPrintingItems({ PrintItem::fromText("a"), PrintItem::fromText("b") });
        Result result;
        ASSERT_TRUE(m_printer.present(false, recordInto(result)));
        base::RunLoop::main().runUntilIdle();
        EXPECT_EQ(result.completed, c.completed);
        EXPECT_EQ(result.error.has_value(), c.error);
        EXPECT_EQ(m_printer.jobs().back().outcome, c.outcome);
    }
}

TEST_F(PrintTest, RefusalsAreReportedNotPassedOffAsPrinted)
{
    Result nothing;
    EXPECT_FALSE(m_printer.present(true, recordInto(nothing)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(nothing.calls, 1);
    EXPECT_FALSE(nothing.completed);
    ASSERT_TRUE(nothing.error);
    EXPECT_EQ(nothing.error->code, PrintInteractionController::errorNothingToPrint);
    EXPECT_TRUE(m_printer.jobs().empty());

    m_printer.setPrintingItem(PrintItem::file("/tmp/x.pdf"));
    Result first, second;
    EXPECT_TRUE(m_printer.present(true, recordInto(first)));
    EXPECT_FALSE(m_printer.present(true, recordInto(second)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(first.completed);
    EXPECT_EQ(second.error->code, PrintInteractionController::errorBusy);

    m_printer.setPrintingAvailable(false);
    EXPECT_FALSE(PrintInteractionController::isPrintingAvailable());
    Result unavailable;
    EXPECT_FALSE(m_printer.present(true, recordInto(unavailable)));
    base::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(unavailable.completed);
}

TEST_F(PrintTest, DismissingCancelsOnceAndResetForgetsTheQueuedFinish)
{
    m_printer.setPrintingItem(PrintItem::fromText("x"));
    Result result;
    m_printer.present(true, recordInto(result));
    m_printer.dismiss(true);
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(result.calls, 1);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(m_printer.jobs().back().outcome, PrintOutcome::Cancelled);

    // A job queued before a reset must not complete the next job early.
    Result stale;
    m_printer.present(true, recordInto(stale));
    m_printer.reset();
    m_printer.setPrintingItem(PrintItem::fromText("y"));
    m_printer.setNextOutcome(PrintOutcome::Failed);
    Result fresh;
    m_printer.present(true, recordInto(fresh));
    base::RunLoop::main().runUntilIdle();
    EXPECT_EQ(stale.calls, 0);
    EXPECT_EQ(fresh.calls, 1);
    EXPECT_TRUE(fresh.error);
}

TEST_F(PrintTest, CanPrintOnlyReadableFiles)
{
    EXPECT_FALSE(PrintInteractionController::canPrintPath(""));
    EXPECT_FALSE(PrintInteractionController::canPrintPath("/definitely/not/here.pdf"));
    EXPECT_FALSE(PrintInteractionController::canPrintPath("/tmp"));
    EXPECT_TRUE(PrintInteractionController::canPrintPath(LECTORO_SOURCE_DIR "/CMakeLists.txt"));
}

} // namespace
} // namespace ui
