#pragma once

// The pages a renderer shows, painted into a picture of the screen: what the view tree does
// not hold as views. Each page on screen is drawn into its page view as the renderer lays it
// out (PageTextLayout.h): the page picture or the reading mode's paper, the read-aloud
// sentence and word, search hits, highlights, the selection, the text in its faces, pen
// ink and text boxes. The views placed on a page (note icons, markups, the text box being
// edited, answer fields) are subviews of the page view and are painted with the tree.
//
// The example host's --snapshot and --pictures and the journeys' pictures all paint through it.

#include "platform/base/Error.h"
#include "platform/print/ViewPainter.h"

#include "platform/ui/Color.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
class ViewController;
}

namespace companion {

class BookRenderer;

class PagePainter {
public:
    // Reads what the renderer shows now; later changes need a new painter.
    explicit PagePainter(BookRenderer&);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    // Paints the page whose view this is, in the view's bounds; false for any other view.
    bool paint(const ui::View&, print::Canvas&) const;
    // The painter as a picture's content hook (it must outlive the picture's writing).
    print::ViewPainter::ContentHook hook() const;
    // Whether these are that renderer's pages.
    bool paints(const BookRenderer& renderer) const { return m_renderer == &renderer; }

private:
    struct Page;
    const BookRenderer* m_renderer = nullptr;
    std::vector<std::unique_ptr<Page>> m_pages;
};

// The views a screen shows, bottom first: the screen's view and the views of the
// controllers presented over it (and over `more`, when given), once each.
std::vector<std::shared_ptr<ui::View>> screenLayers(const ui::ViewController& screen, const ui::ViewController* more = nullptr);

// Writes a PNG of the screen at the environment's size and scale, with the controllers
// presented over it and the pages of every renderer shown in the layers (and of the one
// given) painted: the same picture writeWindowPicture paints of a window showing them.
base::Result<void> writeScreenPicture(const std::vector<std::shared_ptr<ui::View>>& layers, BookRenderer* renderer,
    const std::string& path);

// Writes a PNG of a window (everything shown in it, presented controllers included) at the
// environment's scale, with the pages of every renderer whose view is in it painted.
base::Result<void> writeWindowPicture(const ui::View& window, const std::string& path,
    std::optional<ui::Color> background = ui::Color::white());

} // namespace companion
