#pragma once

// The picture of a page in the thumbnail browser: the book's own thumbnail file when it
// has one; otherwise a snapshot of the page made by the snapshot maker the reader
// installs for the open book (books without thumbnail files, such as EPUB books), kept
// per page address so each page is drawn once. Main thread only.

#include "platform/base/Value.h"
#include "platform/ui/Image.h"

#include <functional>
#include <map>
#include <string>

namespace lectoro {

class ThumbnailImages {
public:
    // Makes the picture of a page dictionary; null when it cannot.
    using SnapshotMaker = std::function<ui::ImagePtr(const base::Value& page)>;

    static ThumbnailImages& shared();

    // Null: pages without a thumbnail file stay empty. Replacing the maker forgets the
    // snapshots made so far.
    void setSnapshotMaker(SnapshotMaker);
    // The thumbnail file of "PageThumbnailPath", else a snapshot, else null (an unreadable
    // file leaves the cell empty).
    ui::ImagePtr imageForPage(const base::Value& page);

private:
    SnapshotMaker m_maker;
    std::map<std::string, ui::ImagePtr> m_snapshots;
};

} // namespace lectoro
