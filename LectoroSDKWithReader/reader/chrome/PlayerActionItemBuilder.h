#pragma once

// The one-glyph items the reader adds to its vertical "more" bar (and offers to any other
// bar that wants them): each is a zero-frame PlayerActionBarItem with its item tag and one
// centred label pinned inside it by constraints (top + T, bottom - T, centred, width W).
// T is 15 on a tablet and 12 elsewhere. Items with a bottom-bar accessibility entry get it
// through PlayerActionBottomBar::setAccessibilityForPlayerActionBottomBarItem.
//
// Glyph sizes: "rule S" is the top bar's (23 tablet, 16 on a 320-point phone, else 20.8),
// "rule D" is 22 on a tablet and 18 elsewhere.

#include <memory>

namespace ui {
class Label;
}

namespace lectoro {

class LXMVThemeVO;
class PlayerActionBarItem;

class PlayerActionItemBuilder {
public:
    // The theme must outlive the builder.
    explicit PlayerActionItemBuilder(const LXMVThemeVO& theme)
        : m_theme(theme)
    {
    }

    std::shared_ptr<PlayerActionBarItem> getPlayerItemForProtractor() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForFurthestPage() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForClearAllFIBs() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForTextAnnotation() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForThumbnail() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForAudioSync() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForTeacherReview() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForStudentAnnotation() const;
    // Dimmed below 1.0; only an item of alpha exactly 1.0 takes touches.
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForDeleteWithAlpha(double alpha) const;
    // The localised "DONE" in the reader's text face.
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForDoneText() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForSound() const;
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForPlay() const;
    // A 1-point separator line (item tag 0), 5 points short of either end.
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForVerticalBar() const;

    // Label geometry of the glyph items.
    static double labelInset();
    static double narrowLabelWidth();
    static double ruleS();
    static double ruleD();

private:
    const LXMVThemeVO& m_theme;
};

} // namespace lectoro
