#pragma once

// What the renderer was asked to draw on one page, kept as data so tests and the example
// host can read it. A page's overlay is emptied when the page leaves the screen: its owner
// draws it again when the page comes back.

#include "platform/ui/Geometry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
class ViewController;
}

namespace lectoro {
class PXLinkVO;
class SDKBookmarkVO;
class SDKFIBVO;
class SDKHighlightVO;
class SDKPentoolVO;
class SDKTextAnnotationVO;
class SDKUGCVO;
}

namespace companion {

struct SearchMark {
    std::string word;
    std::optional<std::string> color;
    std::optional<std::string> paragraph;
    // Set by the form that marks a selected hit.
    std::optional<std::string> selectedWordColor;
    size_t hitCount = 0;
};

struct PlacedView {
    std::shared_ptr<ui::View> view;
    ui::Rect rect;
};

struct PlacedController {
    std::shared_ptr<ui::ViewController> controller;
    std::shared_ptr<ui::View> sourceView;
};

// The icon shown at a note: the owner's view (noteIconViewForHighlight) or the renderer's
// own UGCLabel, placed at the note's rectangle.
struct NoteIcon {
    std::shared_ptr<lectoro::SDKHighlightVO> highlight;
    std::shared_ptr<ui::View> view;
};

struct PageOverlay {
    std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> highlights;
    std::vector<NoteIcon> noteIcons;
    std::vector<std::shared_ptr<lectoro::SDKUGCVO>> reviewUGC;
    std::shared_ptr<ui::View> bookmarkView;
    std::shared_ptr<lectoro::SDKBookmarkVO> bookmark;
    std::vector<std::shared_ptr<lectoro::SDKPentoolVO>> penDrawings;
    std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>> textAnnotations;
    std::vector<std::shared_ptr<lectoro::PXLinkVO>> markups;
    // The views of the markups placed on the page: each link's icon and tap area.
    std::vector<std::shared_ptr<ui::View>> markupViews;
    std::vector<std::shared_ptr<ui::View>> fibViews;
    std::vector<std::shared_ptr<lectoro::SDKFIBVO>> reviewFIBs;
    std::shared_ptr<ui::View> printView;
    std::vector<PlacedView> inlineVideos;
    std::vector<PlacedController> multiLinkControllers;
    std::vector<PlacedController> instructionPopups;
    std::vector<SearchMark> searchMarks;
    // Read aloud.
    std::optional<ui::Rect> wordFrame;
    std::string wordFrameColor;
    std::vector<ui::Rect> sentenceFrames;
    std::string sentenceColor;
    std::string wordId;
    std::string wordIdColor;

    bool isEmpty() const;
};

} // namespace companion
