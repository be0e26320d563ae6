#pragma once

// The older review panel's rows: a learner row showing the learner's fetch state (a
// spinner while fetching, a coloured dot once fetched, "?" and a refresh button after a
// failure) and a class tab of the class strip.

#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/TableView.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class ActivityIndicatorView;
class Button;
class Label;
} // namespace ui

namespace lectoro {

class TeacherAnnotationTableViewCell : public ui::TableViewCell {
public:
    static std::shared_ptr<TeacherAnnotationTableViewCell> create(const std::string& reuseIdentifier);
    std::string_view className() const override { return "TeacherAnnotationTableViewCell"; }

    const std::shared_ptr<ui::Label>& checkMarkLabel() const { return m_checkMark; }
    const std::shared_ptr<ui::ActivityIndicatorView>& activityIndicatorView() const { return m_spinner; }
    const std::shared_ptr<ui::View>& dotView() const { return m_dot; }
    const std::shared_ptr<ui::Label>& dotViewLabel() const { return m_dotLabel; }
    const std::shared_ptr<ui::Label>& nameLabel() const { return m_name; }
    const std::shared_ptr<ui::Button>& refreshButton() const { return m_refresh; }

    std::string studenId;
    std::string studentName;
    ui::IndexPath indexpath;
    // (name, learner id, index path).
    std::function<void(const std::string&, const std::string&, const ui::IndexPath&)> refreshButtonAction;

    void didTapOnRefreshButton();

protected:
    explicit TeacherAnnotationTableViewCell(std::string reuseIdentifier);

private:
    void awakeFromNib();

    std::shared_ptr<ui::Label> m_checkMark;
    std::shared_ptr<ui::ActivityIndicatorView> m_spinner;
    std::shared_ptr<ui::View> m_dot;
    std::shared_ptr<ui::Label> m_dotLabel;
    std::shared_ptr<ui::Label> m_name;
    std::shared_ptr<ui::Button> m_refresh;
};

class TeacherAnnotationViewCell : public ui::CollectionViewCell {
public:
    static std::shared_ptr<TeacherAnnotationViewCell> create(const std::string& reuseIdentifier);
    std::string_view className() const override { return "TeacherAnnotationViewCell"; }
    const std::shared_ptr<ui::Label>& classButton() const { return m_classButton; }

protected:
    explicit TeacherAnnotationViewCell(std::string reuseIdentifier)
        : ui::CollectionViewCell(std::move(reuseIdentifier))
    {
    }

private:
    void constructUI();
    std::shared_ptr<ui::Label> m_classButton;
};

} // namespace lectoro
