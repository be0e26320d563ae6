#pragma once

// The reader's bottom toolbar for page books: one row of glyph items chosen from the
// settings model's switches, the book's layout code, the device, the orientation builder
// called and the user's role. It only composes; taps reach the bar's delegate through the
// base. The owner creates a new bar for each composition, sets the three properties, tag
// and delegate, and calls exactly one row builder.
//
// Layout codes (isEpub): 0 page book, 1 fixed-layout EPUB, 2 reflowable EPUB. Every item is
// appended centred and tappable: 98 points wide on a tablet; on a phone the screen width
// divided by 6, or, for most landscape items, by the number of items the page book's full
// row would hold.

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

#include <memory>
#include <string>

namespace lectoro {

class LXMVThemeVO;
class MVReaderSettingModel;

class PlayerActionBottomBar : public PlayerActionBar {
public:
    static std::shared_ptr<PlayerActionBottomBar> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "PlayerActionBottomBar"; }

    // No model reads every switch as off.
    const std::shared_ptr<MVReaderSettingModel>& userSettingsModel() const { return m_userSettingsModel; }
    void setUserSettingsModel(std::shared_ptr<MVReaderSettingModel> model)
    {
        m_userSettingsModel = std::move(model);
    }
    // The user belongs to a class: decides between the teacher-review and submit items.
    bool hasClassAssociation() const { return m_hasClassAssociation; }
    void setHasClassAssociation(bool value) { m_hasClassAssociation = value; }
    // The book can jump to the furthest page read: adds that item.
    bool isFurthestPageEnabled() const { return m_isFurthestPageEnabled; }
    void setIsFurthestPageEnabled(bool value) { m_isFurthestPageEnabled = value; }

    // Rows that hold more than fit show a "more" item instead of the rest.
    void addPlayerBottomBarForPortraitMode(const LXMVThemeVO&, int isEpub, bool isTeacherAnnotationEnable);
    // Every enabled item, no "more" item.
    void addPlayerBottomBarForLandscapeMode(const LXMVThemeVO&, int isEpub, bool isTeacherAnnotationEnable);
    // A reflowable book's thumbnail item, appended to the centred group.
    void addThumbnailIconToReflow(const LXMVThemeVO&);

    // A glyph item in the bottom bar's icon colour; numberOfitems is not used.
    std::shared_ptr<PlayerActionBarItem> getPlayerItemWithIcon(
        const std::string& icon, int actionTag, const LXMVThemeVO&, int numberOfitems = 0);
    // Button trait, then the element id on the item and the identifier on its label, by tag.
    // Also applied by the reader to its other bars' items.
    static void setAccessibilityForPlayerActionBottomBarItem(PlayerActionBarItem&);

    // How many items a page book's full row holds, with the teacher flag.
    int getTotalNumberOfItems(bool isTeacherAnnotationEnable) const;
    // How many items a fixed-layout EPUB's row holds, the thumbnail item not counted.
    int getTotalNumberOfItemsForFixedEpub() const;

    // Glyphs of the items that have no named constant.
    static constexpr const char* submitIcon = ":";
    static constexpr const char* phoneMoreIcon = "\xe1\xb8\xa0"; // U+1E20
    static constexpr const char* tabletMoreIcon = "\xc4\xbe"; // U+013E
    // The user-defaults switch that gives the read-aloud item the plain audio glyph.
    static constexpr const char* vemClientDefaultsKey = "isVEMClient";

protected:
    explicit PlayerActionBottomBar(const ui::Rect& frame);

private:
    struct Switches;
    Switches switches() const;
    // The class-work item's tag (13 submit, 12 teacher review), or 0 for none.
    int classWorkItemTag(bool isTeacherAnnotationEnable) const;
    void append(const std::shared_ptr<PlayerActionBarItem>&, double width);

    std::shared_ptr<MVReaderSettingModel> m_userSettingsModel;
    bool m_hasClassAssociation = false;
    bool m_isFurthestPageEnabled = false;
};

} // namespace lectoro
