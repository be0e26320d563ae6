#pragma once

// The selection of a list view (TableView, CollectionView): which index paths are
// selected, whether selecting is allowed at all, and the rules that code's calls and a
// user's taps follow. The view lends what only it knows: which paths exist, how the
// visible cell of a path shows a change, and how its delegate answers a tap.

#include "platform/ui/IndexPath.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace ui {

class View;

// A list view delegate's answers to a user's tap, in terms both views share: an empty
// answer cancels, another path redirects. The defaults are what a view without a delegate
// answers: every tap goes through as it is.
class IndexPathTapAnswers {
public:
    virtual ~IndexPathTapAnswers() = default;

    virtual bool shouldHighlight(const IndexPath&) { return true; }
    virtual std::optional<IndexPath> willSelect(const IndexPath& indexPath) { return indexPath; }
    // The tapped path, already selected, under multiple selection.
    virtual std::optional<IndexPath> willDeselect(const IndexPath& indexPath) { return indexPath; }
    // A path that a single selection gives up for the tapped one.
    virtual std::optional<IndexPath> willGiveUp(const IndexPath& indexPath) { return indexPath; }
    virtual void didSelect(const IndexPath&) { }
    virtual void didDeselect(const IndexPath&) { }
};

// A callback of a list view's delegate about one of the view's index paths.
template<typename ListView, typename Delegate, typename Result>
using IndexPathCallback = Result (Delegate::*)(ListView&, const IndexPath&);

// Puts a list view's delegate behind the common answers. The highlight question and the
// did-callbacks take the same form in both views' delegates and are named here; each view
// answers the will-questions, which differ, itself.
template<typename ListView, typename Delegate, IndexPathCallback<ListView, Delegate, bool> shouldHighlightAt,
    IndexPathCallback<ListView, Delegate, void> didSelectAt,
    IndexPathCallback<ListView, Delegate, void> didDeselectAt>
class DelegateTapAnswers : public IndexPathTapAnswers {
public:
    DelegateTapAnswers(ListView& view, Delegate& delegate)
        : m_view(view)
        , m_delegate(delegate)
    {
    }

    bool shouldHighlight(const IndexPath& indexPath) override
    {
        return (m_delegate.*shouldHighlightAt)(m_view, indexPath);
    }
    void didSelect(const IndexPath& indexPath) override { (m_delegate.*didSelectAt)(m_view, indexPath); }
    void didDeselect(const IndexPath& indexPath) override { (m_delegate.*didDeselectAt)(m_view, indexPath); }

protected:
    ListView& m_view;
    Delegate& m_delegate;
};

class IndexPathSelection {
public:
    using PathExists = std::function<bool(const IndexPath&)>;
    // Updates the visible cell of the path, if there is one.
    using ShowSelected = std::function<void(const IndexPath&, bool selected)>;

    IndexPathSelection(PathExists, ShowSelected);

    bool allowsSelection() const { return m_allowsSelection; }
    // Turning selection off deselects everything.
    void setAllowsSelection(bool);
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }
    // Turning multiple selection on turns selection on as well.
    void setAllowsMultipleSelection(bool);

    // Code's calls: they tell the delegate nothing. nullopt deselects everything. Answers
    // whether the path is selected by the call (so the view may scroll to it).
    bool select(const std::optional<IndexPath>&);
    void deselect(const IndexPath&);
    // A user's tap on an item of `view`, answered by its delegate through Answers (a
    // DelegateTapAnswers), or let through as it is when there is no delegate. Answers whether
    // a path ended up selected or deselected by it.
    template<typename Answers, typename ListView, typename Delegate>
    bool tap(const IndexPath& indexPath, ListView& view, const std::shared_ptr<Delegate>& delegate)
    {
        if (!delegate) {
            IndexPathTapAnswers throughAsItIs;
            return tap(indexPath, view, throughAsItIs);
        }
        Answers answers(view, *delegate);
        return tap(indexPath, view, answers);
    }

    bool contains(const IndexPath& indexPath) const { return m_indexPaths.count(indexPath) > 0; }
    // The first in index path order.
    std::optional<IndexPath> first() const;
    std::vector<IndexPath> indexPaths() const { return { m_indexPaths.begin(), m_indexPaths.end() }; }
    // The bare set, for the view's own bookkeeping (a reload, rows moving) where its cells
    // are dropped or moved along anyway.
    std::set<IndexPath>& rawIndexPaths() { return m_indexPaths; }

private:
    bool tap(const IndexPath&, const View&, IndexPathTapAnswers&);
    void apply(const IndexPath&, bool selected);
    // Deselecting changes the set, so this walks a copy.
    template<typename Deselect>
    void deselectAllExcept(const std::optional<IndexPath>& kept, Deselect deselect)
    {
        auto snapshot = m_indexPaths;
        for (auto& indexPath : snapshot) {
            if (!kept || indexPath != *kept)
                deselect(indexPath);
        }
    }

    PathExists m_pathExists;
    ShowSelected m_showSelected;
    std::set<IndexPath> m_indexPaths;
    bool m_allowsSelection = true;
    bool m_allowsMultipleSelection = false;
};

} // namespace ui
