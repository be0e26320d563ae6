#include "platform/ui/IndexPathSelection.h"

#include "platform/base/Thread.h"
#include "platform/ui/View.h"

#include <utility>

namespace ui {

IndexPathSelection::IndexPathSelection(PathExists pathExists, ShowSelected showSelected)
    : m_pathExists(std::move(pathExists))
    , m_showSelected(std::move(showSelected))
{
}

void IndexPathSelection::setAllowsSelection(bool allows)
{
    m_allowsSelection = allows;
    if (!allows)
        select(std::nullopt);
}

void IndexPathSelection::setAllowsMultipleSelection(bool allows)
{
    m_allowsMultipleSelection = allows;
    if (allows)
        m_allowsSelection = true;
}

void IndexPathSelection::apply(const IndexPath& indexPath, bool selected)
{
    if (selected)
        m_indexPaths.insert(indexPath);
    else
        m_indexPaths.erase(indexPath);
    m_showSelected(indexPath, selected);
}

bool IndexPathSelection::select(const std::optional<IndexPath>& indexPath)
{
    BASE_ASSERT_MAIN_THREAD();
    auto deselect = [this](const IndexPath& path) { apply(path, false); };
    if (!indexPath) {
        deselectAllExcept(std::nullopt, deselect);
        return false;
    }
    if (!m_allowsSelection || !m_pathExists(*indexPath))
        return false;
    if (!m_allowsMultipleSelection)
        deselectAllExcept(indexPath, deselect);
    apply(*indexPath, true);
    return true;
}

void IndexPathSelection::deselect(const IndexPath& indexPath)
{
    BASE_ASSERT_MAIN_THREAD();
    apply(indexPath, false);
}

bool IndexPathSelection::tap(const IndexPath& indexPath, const View& view, IndexPathTapAnswers& answers)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_allowsSelection || !m_pathExists(indexPath) || view.isHidden() || !view.isUserInteractionEnabled())
        return false;
    if (!answers.shouldHighlight(indexPath))
        return false;
    if (m_allowsMultipleSelection && contains(indexPath)) {
        auto target = answers.willDeselect(indexPath);
        if (!target)
            return false;
        apply(*target, false);
        answers.didDeselect(*target);
        return true;
    }
    auto target = answers.willSelect(indexPath);
    if (!target)
        return false;
    if (!m_allowsMultipleSelection) {
        deselectAllExcept(target, [&](const IndexPath& path) {
            auto givenUp = answers.willGiveUp(path);
            if (!givenUp)
                return;
            apply(*givenUp, false);
            answers.didDeselect(*givenUp);
        });
    }
    apply(*target, true);
    answers.didSelect(*target);
    return true;
}

std::optional<IndexPath> IndexPathSelection::first() const
{
    if (m_indexPaths.empty())
        return std::nullopt;
    return *m_indexPaths.begin();
}

} // namespace ui
