#pragma once

// Decides which items the vertical "more" bar holds, in which order, and appends them.
// Each filler answers how many items it added; the bar's owner sizes the bar from that.
// Every item is appended with alignment 3 (an even share of the bar), tappable, with a
// width value of one third of the bar's current frame height.
//
// The reviewer-or-student rule: a non-learner with review switched on and a class gets
// the teacher-review item; without a class everyone gets the submit item; with a class a
// learner gets the submit item only while the pen tool is switched on.

#include <functional>
#include <initializer_list>
#include <memory>

namespace lectoro {

class LXMVThemeVO;
class MVReaderSettingModel;
class PlayerActionBar;
class PlayerActionBarItem;

struct VerticalBarFillerInputs {
    bool isLearner = false;
    // No model reads every switch as off.
    std::shared_ptr<MVReaderSettingModel> settings;
    bool hasClassAssociation = false;
    bool isFurthestPageEnabled = false;
    // The page on screen holds learner content (teacher review).
    bool currentPageHasActiveUGC = false;
    // Sets the enabled state of the clear-all-answers items once the item is on the bar.
    std::function<void()> updateClearAllFIBsButtonStatus;
    // The pen-tool item with the tag, from the bars that hold the pen tools; null for none.
    std::function<std::shared_ptr<PlayerActionBarItem>(int tag)> getPenToolItemWithTag;
};

class PlayerActionVerticalBarFiller {
public:
    explicit PlayerActionVerticalBarFiller(VerticalBarFillerInputs inputs)
        : m_inputs(std::move(inputs))
    {
    }

    int addItemsOnPlayerActionVerticalBarForIPhone(const LXMVThemeVO&, PlayerActionBar&) const;
    int addItemsOnPlayerActionVerticalBarForIPad(const LXMVThemeVO&, PlayerActionBar&) const;
    int addItemsOnPlayerActionVerticalBarForFixedEpubForIPhone(const LXMVThemeVO&, PlayerActionBar&) const;
    int addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPhone(const LXMVThemeVO&, PlayerActionBar&) const;
    int addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPad(const LXMVThemeVO&, PlayerActionBar&) const;

    // The filler the device, book and mode call for, run on the bar.
    int fillVerticalBar(const LXMVThemeVO&, PlayerActionBar&, bool isTeacherReviewActive, bool isEPUBBook) const;

    // 12 (teacher review), 13 (submit) or 0 (neither).
    int reviewerOrStudentItemTag() const;

private:
    // The places of the phone and tablet bars; each is skipped while its switch is off.
    enum class Slot { TextAnnotation, ReviewerOrStudent, Protractor, Thumbnail, FurthestPage, ClearAllFIBs };

    // Appends the items of the slots in order and answers how many it appended.
    int appendSlots(const LXMVThemeVO&, PlayerActionBar&, std::initializer_list<Slot>) const;
    int teacherAnnotationItems(const LXMVThemeVO&, PlayerActionBar&) const;

    VerticalBarFillerInputs m_inputs;
};

} // namespace lectoro
