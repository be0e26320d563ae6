#pragma once

// One page of the page-thumbnail browser, on the iPad grid and the iPhone strip alike:
// an optional chapter title over a framed page image, the page's display number on the
// image's top-left corner, and a second number label over the same corner shown instead
// when the page is the current one. The browser fills texts, image, colours and
// visibility; the cell builds and places its views.
//
// Views are placed by frames in layoutSubviews from the constants the constraints carry.

#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/Constraint.h"

#include <memory>

namespace ui {
class ImageView;
class Label;
} // namespace ui

namespace lectoro {

class LectoroThumbnailCollectionViewCell : public ui::CollectionViewCell {
public:
    static constexpr const char* reuseIdentifier = "cell";
    static std::shared_ptr<LectoroThumbnailCollectionViewCell> create(std::string identifier = reuseIdentifier);
    std::string_view className() const override { return "LectoroThumbnailCollectionViewCell"; }

    const std::shared_ptr<ui::Label>& pageNumLabel() const { return m_pageNumLabel; }
    const std::shared_ptr<ui::ImageView>& pageImageview() const { return m_pageImageview; }
    const std::shared_ptr<ui::Label>& pageNumLabelForHighlightedSection() const
    {
        return m_pageNumLabelForHighlightedSection;
    }
    const std::shared_ptr<ui::Label>& chapterTitleLabel() const { return m_chapterTitleLabel; }
    const std::shared_ptr<ui::View>& pageSuperView() const { return m_pageSuperView; }

    // Sizes by idiom: iPhone, or iPad when the device reports that idiom.
    struct Metrics {
        double numberFontSize;
        double titleFontSize;
        double numberHeight;
        double numberMinimumWidth;
        double titleHeight;
        double titleTopInset;
        double titleGap;
    };
    static Metrics metrics();

    void layoutSubviews() override;

protected:
    using CollectionViewCell::CollectionViewCell;

private:
    void constructUI();

    std::shared_ptr<ui::Label> m_pageNumLabel;
    std::shared_ptr<ui::ImageView> m_pageImageview;
    std::shared_ptr<ui::Label> m_pageNumLabelForHighlightedSection;
    std::shared_ptr<ui::Label> m_chapterTitleLabel;
    std::shared_ptr<ui::View> m_pageSuperView;
};

} // namespace lectoro
