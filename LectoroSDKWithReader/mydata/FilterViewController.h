#pragma once

// The filter pop-over of the My Data lists: a grid of check boxes (the highlight colours,
// or the note kinds and colours), a heading and Apply. The panel makes it once and
// presents the same instance each time, so the ticks persist between openings; a tap
// on the see-through area around the box cancels and brings back the ticks it showed when
// it came on screen; a tap anywhere inside the box (its heading, its panel, a row) does not.
// The rules of the rows are FilterRules; this is the screen.

#include "LectoroSDKWithReader/mydata/FilterRules.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
} // namespace ui

namespace lectoro {

class LXMVThemeVO;
class MVReaderSettingModel;

class FilterViewController : public ui::ViewController,
                             public ui::CollectionViewDataSource,
                             public ui::CollectionViewDelegateFlowLayout,
                             public ui::GestureRecognizerDelegate {
public:
    static std::shared_ptr<FilterViewController> create();
    ~FilterViewController() override;
    std::string_view className() const override { return "FilterViewController"; }

    // Set by the panel before setColorsForFilter.
    bool isSharingEnabled = false;
    bool isStickyNotesEnabled = false;
    int32_t bookOrientationMode = 0;
    std::shared_ptr<LXMVThemeVO> themeVO;
    std::shared_ptr<MVReaderSettingModel> userSettingsModel;
    std::function<void()> dissmisFilterController;
    std::function<void(const std::vector<std::string>& colors, bool all, bool shared)> filterHighlightsAction;
    std::function<void(const std::vector<std::string>& stickyColors,
        const std::vector<std::string>& contextualColors, bool all, bool stickyShared, bool contextualShared)>
        filterNotesAction;

    // Builds the rows for these colours and loads the view.
    void setColorsForFilter(const std::vector<std::string>& colors);
    void setIsHighlightFilter(bool);
    FilterRules& rules() { return *m_rules; }
    const FilterRules& rules() const { return *m_rules; }

    void applyButtonAction();
    void singleTapOnFilter();
    void updateApplyButtonStatus();
    void enableApplyButton(bool);
    void reloadCollectionView();
    double popoverHeight() const;

    // Called by a row after it flipped its record.
    void checkBoxTapped(const std::shared_ptr<FilterDataObject>&);
    void drowpDownBtnAction(const std::shared_ptr<FilterDataObject>&);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidLayoutSubviews() override;
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    ui::InterfaceOrientationMask supportedInterfaceOrientations() const override;

    int numberOfItemsInSection(ui::CollectionView&, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItemAtIndexPath(
        ui::CollectionView&, const ui::IndexPath&) override;
    std::optional<ui::Size> sizeForItemAtIndexPath(
        ui::CollectionView&, ui::CollectionViewLayout&, const ui::IndexPath&) override;
    std::optional<ui::EdgeInsets> insetForSectionAtIndex(
        ui::CollectionView&, ui::CollectionViewLayout&, int section) override;

    // The cancelling tap takes only touches on the controller's own view or the
    // see-through background; every other recogniser takes any touch.
    bool shouldBegin(ui::GestureRecognizer&) override { return true; }
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touchedView) override;
    bool shouldRecognizeSimultaneously(ui::GestureRecognizer&, ui::GestureRecognizer&) override { return false; }

    const std::shared_ptr<ui::View>& viewContainer() const { return m_viewContainer; }
    const std::shared_ptr<ui::Label>& filterByLabel() const { return m_filterByLabel; }
    const std::shared_ptr<ui::View>& collectionContainerView() const { return m_collectionContainerView; }
    const std::shared_ptr<ui::CollectionView>& collectionView() const { return m_collectionView; }
    const std::shared_ptr<ui::Button>& applyButton() const { return m_applyButton; }
    const std::shared_ptr<ui::View>& transaparentBackgroundView() const
    {
        return m_transaparentBackgroundView;
    }
    const ui::ConstraintPtr& heightConstraintOfView() const { return m_heightConstraintOfView; }

protected:
    FilterViewController();

private:
    std::shared_ptr<FilterViewController> self();
    void updateView();
    // The title button's accessibility entry, by the glyph of its title.
    void addAccessibilityForTitleButton(ui::Button&, const ui::IndexPath&);
    void setHeading(const std::string& key);
    void writeHeight();
    bool landscape() const;

    std::unique_ptr<FilterRules> m_rules;
    std::shared_ptr<ui::View> m_viewContainer;
    std::shared_ptr<ui::Label> m_filterByLabel;
    std::shared_ptr<ui::View> m_collectionContainerView;
    std::shared_ptr<ui::CollectionView> m_collectionView;
    std::shared_ptr<ui::Button> m_applyButton;
    std::shared_ptr<ui::View> m_transaparentBackgroundView;
    ui::ConstraintPtr m_heightConstraintOfView;
};

} // namespace lectoro
