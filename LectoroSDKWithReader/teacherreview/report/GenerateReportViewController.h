#pragma once

// The markup report's choice screen: a Chapters tab and a Students tab, each a list of
// rows the teacher ticks, and Next once at least one chapter and one learner are ticked.
// Cancel and Back ask the owner to close it.
//
// The owner fills it through setData, which gives the rows of the tab on screen: the
// parsed chapters ({"chapterID", "title"}, GenerateReportParser.h) while Chapters shows,
// the class's learner records while Students shows (the owner answers the switch to
// Students with the learners, then setStatusData: learner id text to "1" for those who
// handed in work). Ticks are kept by id across tab switches and new data; an id that is
// no longer listed is no longer ticked. Next reports {"chapterID": [...], "studentID":
// [...]}, the ids as the rows carry them, in list order.

#include "platform/base/Value.h"
#include "platform/ui/Color.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace ui {
class Button;
class Label;
class SegmentedControl;
} // namespace ui

namespace lectoro {

class GenerateReportViewControllerDelegate {
public:
    virtual ~GenerateReportViewControllerDelegate() = default;
    virtual void didTapOnCancelForGenerateReport() = 0;
    virtual void didTapOnBackForGenerateReport() = 0;
    virtual void didTapOnNextToSendMailWithReportData(const base::Value& reportData) = 0;
    virtual void didSelectChapterSegmentForGenerateReport() = 0;
    virtual void didSelectStudentSegmentForGenerateReport() = 0;
};

class GenerateReportViewController : public ui::ViewController,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate {
public:
    enum Segment { ChapterSegment = 0, StudentSegment = 1 };
    static constexpr const char* chapterIDKey = "chapterID";
    static constexpr const char* studentIDKey = "studentID";
    static constexpr const char* rowReuseIdentifier = "GenerateReportRow";

    // initWithThemeColor: - the colour of the tab selection, the ticks and Next.
    static std::shared_ptr<GenerateReportViewController> create(std::optional<ui::Color> themeColor);
    std::string_view className() const override { return "GenerateReportViewController"; }

    std::shared_ptr<GenerateReportViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<GenerateReportViewControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    void setData(const base::Value& rows);
    void setStatusData(const base::Value& status);

    Segment selectedSegment() const { return m_segment; }
    const base::Value::List& chapters() const { return m_chapters; }
    const base::Value::List& learners() const { return m_learners; }
    // The ticked ids, as text.
    const std::set<std::string>& selectedChapterIDs() const { return m_selectedChapters; }
    const std::set<std::string>& selectedStudentIDs() const { return m_selectedLearners; }
    bool hasSubmittedWork(const std::string& learnerID) const;
    // What Next would report.
    base::Value reportData() const;

    // --- Taps, as a finger gives them ---
    void selectSegment(Segment);
    // Ticks or unticks the row of the tab on screen.
    void toggleRow(size_t row);
    // Ticks every row of the tab on screen, or unticks them all when all are ticked.
    void toggleAll();
    void cancelTapped();
    void backTapped();
    void nextTapped();

    const std::shared_ptr<ui::SegmentedControl>& segmentedControl() const { return m_segmentedControl; }
    const std::shared_ptr<ui::TableView>& tableView() const { return m_tableView; }
    const std::shared_ptr<ui::Button>& nextButton() const { return m_nextButton; }
    const std::shared_ptr<ui::Button>& selectAllButton() const { return m_selectAllButton; }
    const std::shared_ptr<ui::Label>& emptyLabel() const { return m_emptyLabel; }

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

protected:
    explicit GenerateReportViewController(std::optional<ui::Color> themeColor);

private:
    const base::Value::List& rowsOnScreen() const;
    std::set<std::string>& ticksOnScreen();
    static std::string rowID(const base::Value& row, Segment);
    void keepListedTicks();
    void refresh();

    std::optional<ui::Color> m_themeColor;
    std::weak_ptr<GenerateReportViewControllerDelegate> m_delegate;
    Segment m_segment = ChapterSegment;
    base::Value::List m_chapters;
    base::Value::List m_learners;
    base::Value::Dictionary m_status;
    std::set<std::string> m_selectedChapters;
    std::set<std::string> m_selectedLearners;

    std::shared_ptr<ui::View> m_header;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Button> m_cancelButton;
    std::shared_ptr<ui::SegmentedControl> m_segmentedControl;
    std::shared_ptr<ui::Button> m_selectAllButton;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::Label> m_emptyLabel;
    std::shared_ptr<ui::Button> m_nextButton;
};

} // namespace lectoro
