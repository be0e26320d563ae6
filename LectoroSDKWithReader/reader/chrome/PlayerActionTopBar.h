#pragma once

// The reader's horizontal action bar. It only composes items: each building operation
// appends tagged PlayerActionBarItem views to the bar; taps go through the base to the
// bar's delegate, which dispatches on bar tag and item tag. One class serves the reader
// top bar, the SCORM bar, the pen-tool bar and the teacher bars; the owner creates it
// with a zero frame, sets its tag, delegate and the properties below, calls one building
// operation, and places and styles the bar itself.
//
// Item widths are in points; alignment 0 is the leading group, 1 the trailing group and
// 2 the centred group of the base.
//
// The operations are grouped by the bar they build: PlayerActionTopBar.cpp (reader top and
// SCORM bars, icon items, accessibility), PlayerActionTopBarPenTool.cpp (pen-tool bar,
// swatches, selection, remembered pen settings), PlayerActionTopBarProfile.cpp (profile
// pictures) and PlayerActionTopBarTeacher.cpp (teacher bars).

#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Label;
}

namespace lectoro {

class LXMVThemeVO;
class LectoroBookVO;
class LectoroUser;
class MVReaderSettingModel;

class PlayerActionTopBar : public PlayerActionBar {
public:
    static std::shared_ptr<PlayerActionTopBar> create(const ui::Rect& frame = {});

    std::string_view className() const override { return "PlayerActionTopBar"; }

    // Signed-in user; its profilePicURL feeds the user profile button.
    const std::shared_ptr<LectoroUser>& user() const { return m_user; }
    void setUser(std::shared_ptr<LectoroUser> user) { m_user = std::move(user); }
    // Open book; its kind and flags choose the top bar's optional items.
    const std::shared_ptr<LectoroBookVO>& bookVO() const { return m_bookVO; }
    void setBookVO(std::shared_ptr<LectoroBookVO> book) { m_bookVO = std::move(book); }
    const std::shared_ptr<MVReaderSettingModel>& userSettingsModel() const { return m_userSettingsModel; }
    void setUserSettingsModel(std::shared_ptr<MVReaderSettingModel> model)
    {
        m_userSettingsModel = std::move(model);
    }
    // The item showing the chapter title; null until first requested.
    const std::shared_ptr<PlayerActionBarItem>& chapterNameItem() const { return m_chapterNameItem; }
    // The pen colour chosen last, kept for the owner; the bar never reads it.
    const std::string& selectedPenColor() const { return m_selectedPenColor; }
    void setSelectedPenColor(std::string color) { m_selectedPenColor = std::move(color); }
    // Leaves the user profile button out of the reader top bar.
    bool hideProfileSettingsButton() const { return m_hideProfileSettingsButton; }
    void setHideProfileSettingsButton(bool hide) { m_hideProfileSettingsButton = hide; }

    // --- Reader top bar and SCORM bar ---

    // isEpub chooses the number of width slots on a phone: 3 for 1, 5 for 2, else 6.
    void addPlayerTopBarForIPhoneWithTheme(const LXMVThemeVO&, int isEpub);
    void addPlayerTopBarForScormPackage(const LXMVThemeVO&);
    // Made on first call; later calls answer the same item and ignore the theme.
    std::shared_ptr<PlayerActionBarItem> initialiseChapterNameItemwithThemeVO(const LXMVThemeVO&);
    // A glyph item: the glyph in the icon font at itemSize, coloured for a top bar (bar
    // tag 2) or for the other bars. numberOfItems is not used.
    std::shared_ptr<PlayerActionBarItem> getPlayerItemWithIcon(
        const std::string& icon, int actionTag, const LXMVThemeVO&, double itemSize, int numberOfItems = 0);
    // The first tappable item with the tag gets the glyph in its first label.
    void changeIcon(const std::string& icon, int forItemType);
    // Button trait for every item; identifier and spoken label by tag.
    void setAccessibilityForPlayerActionTopBarItem(PlayerActionBarItem&);

    // --- Pen-tool bar ---

    void updatedPlayerForPenTool(const LXMVThemeVO&, const std::vector<std::string>& penToolColors);
    // The draw item: a glyph with the current pen colour as a bar under it, as high as
    // the current thickness.
    std::shared_ptr<PlayerActionBarItem> pentoolPallerItemWithIcon(
        const std::string& icon, int actionTag, const LXMVThemeVO&, double itemSize);
    // One colour swatch (tag 18), ringed when the colour text equals the selected one
    // exactly (letter case included).
    std::shared_ptr<PlayerActionBarItem> getPenToolColorPalleteItemForColor(
        const std::string& color, const LXMVThemeVO&, const std::string& selectedPenColor);
    // Rings the swatch of the colour (tag 18); picking the ringed colour again clears its
    // ring; a colour no swatch has leaves every ring clear.
    void updateSelectedPenColor(const std::string& color, const LXMVThemeVO&);
    // The same for the read-aloud colour items (tag 32).
    void updateSelectedAudioSyncColor(const std::string& color, const LXMVThemeVO&);
    // Thickness always; colour when given. No draw item: nothing changes.
    void updateColorSelectedView(const std::optional<ui::Color>& color, double withColorThickness);
    // Repaints every item and highlights the selected tool (tags 0 to 3 only).
    void updatePlayerSelectedItem(const LXMVThemeVO&);
    // The colour bar under the draw item and its height constraint (null before one is built).
    const std::shared_ptr<ui::View>& selectedColorView() const { return m_selectedColorView; }
    const ui::ConstraintPtr& viewThicknessConstraint() const { return m_viewThicknessConstraint; }

    // The remembered pen settings of the application (user defaults "PenColor" and
    // "PenThickness"); a missing value is written with its default first.
    static std::string getLastUpdatedPenColor();
    static double getLastUpdatedPenThickness();
    static constexpr const char* penColorDefaultsKey = "PenColor";
    static constexpr const char* penThicknessDefaultsKey = "PenThickness";
    static constexpr const char* defaultPenColor = "#000000";
    static constexpr double defaultPenThickness = 4.0;

    // Spoken label of a pen tool, "selected" when it is the bar's selected item.
    void setAccessibilityForPenToolItem(PlayerActionBarItem&);
    // Spoken labels of the swatches, numbered from 1 in bar order.
    void updateAccessibilityForPentoolColors();

    // --- Profile pictures (tag 16) ---

    std::shared_ptr<PlayerActionBarItem> getTopBarPlayerButtonForProfilewithThemeVO(const LXMVThemeVO&);
    std::shared_ptr<PlayerActionBarItem> getTopBarPlayerButtonForStudentProfilewithThemeVO(
        const LXMVThemeVO&, const std::string& studentImageUrl);
    // Picture, "<LEARNER> <index> / <count>", name and a drop-down glyph in a bordered box.
    std::shared_ptr<PlayerActionBarItem> getTopBarPlayerButtonForStudentProfileViewWithThemeVO(
        const LXMVThemeVO&, const std::string& studentImageUrl, const std::string& studentName,
        int studentCount, int studentIndex);

    // --- Teacher bars ---

    // The page item reads "Page " and the first page label, or "Page" without labels.
    void addPlayerTopBarForTeacherAnnotationForIPhone(const LXMVThemeVO&, const std::string& studentName,
        const std::string& andImageUrl,
        const std::optional<std::vector<std::string>>& withAllTeacherAnnotationPages);
    // Colours are hex digits without "#". Only the last and the first colour get a swatch,
    // last first; an empty list gets none.
    void addPlayerBottomBarForTeacherAnnotationForIPhone(const LXMVThemeVO&,
        const std::vector<std::string>& withPenColors, const std::string& withSelectedPenColor);
    void addPlayerTopBarForTeacherAnnotationForIPad(const LXMVThemeVO&,
        const std::vector<std::string>& withPenColors, const std::string& studentName,
        const std::string& andImageUrl, const std::string& withSelectedPenColor,
        const std::string& withCurrentPageNumber);
    void addPlayerTopBarForTeacherReviewAnnotation(const LXMVThemeVO&, const std::string& studentName,
        const std::string& imageUrl, int studentCount, int studentIndex);
    void addPlayerTopBarWithoutGenerateReportForTeacherReviewAnnotation(const LXMVThemeVO&,
        const std::string& studentName, const std::string& imageUrl, int studentCount, int studentIndex);
    void addPlayerBottomBarForTeacherReviewAnnotation(const LXMVThemeVO&);

    // A glyph item whose glyph keeps to one edge: trailing - 3 for the previous-page
    // glyph, leading + 5 for the download glyph.
    std::shared_ptr<PlayerActionBarItem> getPrevStudentItemWithIcon(
        const std::string& icon, int actionTag, const LXMVThemeVO&, double itemSize, int numberOfItems = 0);
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForStudentNameWithTheme(
        const LXMVThemeVO&, const std::string& studentName);
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForPageNumberWithTheme(
        const LXMVThemeVO&, const std::string& pageNumber);
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForDoneWithTheme(const LXMVThemeVO&);
    std::shared_ptr<PlayerActionBarItem> getPlayerItemForTeacherReviewDoneWithTheme(const LXMVThemeVO&);
    std::shared_ptr<PlayerActionBarItem> getTeacherReviewDoneWithTheme(const LXMVThemeVO&);

protected:
    explicit PlayerActionTopBar(const ui::Rect& frame);

private:
    std::shared_ptr<PlayerActionBarItem> makeGlyphItem(const std::string& icon, int actionTag,
        const LXMVThemeVO&, double itemSize, std::shared_ptr<ui::Label>* labelOut);
    void updateSelectedColor(int swatchTag, const std::string& color, const LXMVThemeVO&);
    std::shared_ptr<PlayerActionBarItem> makeDoneItem(
        const LXMVThemeVO&, double fontSize, bool bordered, double verticalInset, double horizontalInset);
    void addTeacherReviewTopItems(const LXMVThemeVO&, const std::string& studentName,
        const std::string& imageUrl, int studentCount, int studentIndex);

    std::shared_ptr<LectoroUser> m_user;
    std::shared_ptr<LectoroBookVO> m_bookVO;
    std::shared_ptr<MVReaderSettingModel> m_userSettingsModel;
    std::shared_ptr<PlayerActionBarItem> m_chapterNameItem;
    std::string m_selectedPenColor;
    bool m_hideProfileSettingsButton = false;
    std::shared_ptr<ui::View> m_selectedColorView;
    ui::ConstraintPtr m_viewThicknessConstraint;
};

} // namespace lectoro
