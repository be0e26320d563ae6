#pragma once

// The class picker: a small white card over the dimmed reader listing the book's classes
// by title. Choosing a class hands its title and learner list to the owner, which closes
// the picker; closing it (its close button or a tap on the dimmed area) tells the owner
// that nothing was chosen.
//
// Classes are listed one row per distinct title, in the order the class records give
// them; a later class with a title already listed gives that row its learners.

#include "platform/base/Value.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class ProgressView;
} // namespace ui

namespace lectoro {

class SDKBookClassInfoVO;

// One class row: a rounded card holding the class title (and a progress bar nobody fills).
class TeacherReviewClassListTableViewCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifierName = "TeacherReviewClassListTableViewCell";

    static std::shared_ptr<TeacherReviewClassListTableViewCell> create(
        ui::TableViewCellStyle, const std::string& reuseIdentifier);
    std::string_view className() const override { return "TeacherReviewClassListTableViewCell"; }

    const std::shared_ptr<ui::View>& mainContentView() const { return m_mainContentView; }
    std::shared_ptr<ui::Label> classNameLabel() const { return m_classNameLabel.lock(); }
    std::shared_ptr<ui::ProgressView> studentSubmitProgressView() const { return m_studentSubmitProgressView.lock(); }

    void layoutSubviews() override;

protected:
    TeacherReviewClassListTableViewCell(ui::TableViewCellStyle, std::string reuseIdentifier);

private:
    void awakeFromNib();

    std::shared_ptr<ui::View> m_mainContentView;
    std::weak_ptr<ui::Label> m_classNameLabel;
    std::weak_ptr<ui::ProgressView> m_studentSubmitProgressView;
};

class TeacherReviewClassListViewController : public ui::ViewController,
                                             public ui::TableViewDataSource,
                                             public ui::TableViewDelegate {
public:
    static constexpr double rowHeight = 60;

    static std::shared_ptr<TeacherReviewClassListViewController> create();
    std::string_view className() const override { return "TeacherReviewClassListViewController"; }

    const std::optional<std::vector<std::string>>& classesInfoArray() const { return m_classesInfoArray; }
    const std::optional<std::map<std::string, base::Value>>& learnersDict() const { return m_learnersDict; }

    std::function<void()> RemoveAnnotataionController;
    // (class title, its learner list).
    std::function<void(const std::string& classTitle, const base::Value& learners)> DidSelectClassName;

    // Null records are skipped.
    void setClassesWithClassesInfoArray(const std::vector<std::shared_ptr<SDKBookClassInfoVO>>&);

    void viewDidLoad() override;
    void setUpClassListViews();
    void setUpClassTableView();
    void closeTapAction();
    // Dismisses the navigation controller holding the picker, animated; the completion runs
    // once it is gone (at once when the picker is not presented).
    void closeViewController(std::function<void()> completion = {});
    // Only a touch on the dimmed area itself closes the picker.
    bool gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView) const;

    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return rowHeight; }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    const std::shared_ptr<ui::View>& mainView() const { return m_mainView; }
    const std::shared_ptr<ui::TableView>& classListTableView() const { return m_classListTableView; }
    const std::shared_ptr<ui::Button>& closeButton() const { return m_closeButton; }

protected:
    TeacherReviewClassListViewController();

private:
    std::shared_ptr<ui::View> m_mainView;
    std::shared_ptr<ui::TableView> m_classListTableView;
    std::optional<std::vector<std::string>> m_classesInfoArray;
    std::optional<std::map<std::string, base::Value>> m_learnersDict;
    std::shared_ptr<ui::View> m_header;
    std::shared_ptr<ui::View> m_listContainer;
    std::shared_ptr<ui::Button> m_closeButton;
    std::shared_ptr<ui::GestureRecognizerDelegate> m_touchFilter;
};

} // namespace lectoro
