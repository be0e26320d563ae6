#include "LectoroSDKWithReader/reader/chrome/PlayerActionVerticalBarFiller.h"

#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionItemBuilder.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBar.h"

namespace lectoro {

namespace {

constexpr double dimmedAlpha = 0.5;

void append(PlayerActionBar& bar, const std::shared_ptr<PlayerActionBarItem>& item)
{
    bar.addActionBarItem(item, bar.frame().height() / 3, PlayerActionBarItemAlignmentFill, true);
}

bool isOn(const std::shared_ptr<MVReaderSettingModel>& settings, bool (MVReaderSettingModel::*flag)() const)
{
    return settings && ((*settings).*flag)();
}

} // namespace

int PlayerActionVerticalBarFiller::reviewerOrStudentItemTag() const
{
    const auto& settings = m_inputs.settings;
    if (!m_inputs.isLearner && isOn(settings, &MVReaderSettingModel::isReviewEnabled) && m_inputs.hasClassAssociation)
        return PlayerItemTeacherReview;
    if (!m_inputs.hasClassAssociation)
        return PlayerItemSubmitAnnotation;
    if (m_inputs.isLearner && isOn(settings, &MVReaderSettingModel::isPenToolEnabled))
        return PlayerItemSubmitAnnotation;
    return 0;
}

int PlayerActionVerticalBarFiller::appendSlots(
    const LXMVThemeVO& theme, PlayerActionBar& bar, std::initializer_list<Slot> slots) const
{
    PlayerActionItemBuilder builder(theme);
    const auto& settings = m_inputs.settings;
    int count = 0;
    auto add = [&](const std::shared_ptr<PlayerActionBarItem>& item) {
        append(bar, item);
        ++count;
    };
    for (Slot slot : slots) {
        switch (slot) {
        case Slot::TextAnnotation:
            if (isOn(settings, &MVReaderSettingModel::isTextAnnotationEnabled))
                add(builder.getPlayerItemForTextAnnotation());
            break;
        case Slot::ReviewerOrStudent:
            if (int tag = reviewerOrStudentItemTag())
                add(tag == PlayerItemTeacherReview ? builder.getPlayerItemForTeacherReview()
                                                   : builder.getPlayerItemForStudentAnnotation());
            break;
        case Slot::Protractor:
            if (isOn(settings, &MVReaderSettingModel::isProtractorEnabled))
                add(builder.getPlayerItemForProtractor());
            break;
        case Slot::Thumbnail:
            add(builder.getPlayerItemForThumbnail());
            break;
        case Slot::FurthestPage:
            if (m_inputs.isFurthestPageEnabled)
                add(builder.getPlayerItemForFurthestPage());
            break;
        case Slot::ClearAllFIBs:
            if (isOn(settings, &MVReaderSettingModel::isClearAllFIBsEnabled)) {
                add(builder.getPlayerItemForClearAllFIBs());
                if (m_inputs.updateClearAllFIBsButtonStatus)
                    m_inputs.updateClearAllFIBsButtonStatus();
            }
            break;
        }
    }
    return count;
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForIPhone(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    return appendSlots(theme, bar,
        { Slot::TextAnnotation, Slot::ReviewerOrStudent, Slot::Protractor, Slot::Thumbnail, Slot::FurthestPage,
            Slot::ClearAllFIBs });
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForIPad(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    return appendSlots(theme, bar,
        { Slot::FurthestPage, Slot::TextAnnotation, Slot::ReviewerOrStudent, Slot::Protractor, Slot::ClearAllFIBs });
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForFixedEpubForIPhone(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    return appendSlots(theme, bar, { Slot::Thumbnail, Slot::TextAnnotation, Slot::FurthestPage });
}

int PlayerActionVerticalBarFiller::teacherAnnotationItems(const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    PlayerActionItemBuilder builder(theme);
    append(bar, builder.getPlayerItemForDeleteWithAlpha(m_inputs.currentPageHasActiveUGC ? 1.0 : dimmedAlpha));
    append(bar, builder.getPlayerItemForDoneText());
    if (m_inputs.getPenToolItemWithTag) {
        if (auto penItem = m_inputs.getPenToolItemWithTag(PlayerItemTeacherPenToolDimmed)) {
            penItem->setAlpha(dimmedAlpha);
            penItem->setUserInteractionEnabled(false);
        }
    }
    return 2;
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPhone(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    return teacherAnnotationItems(theme, bar);
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPad(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    return teacherAnnotationItems(theme, bar);
}

int PlayerActionVerticalBarFiller::fillVerticalBar(
    const LXMVThemeVO& theme, PlayerActionBar& bar, bool isTeacherReviewActive, bool isEPUBBook) const
{
    if (chrome::isPad()) {
        return isTeacherReviewActive ? addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPad(theme, bar)
                                     : addItemsOnPlayerActionVerticalBarForIPad(theme, bar);
    }
    if (isEPUBBook)
        return addItemsOnPlayerActionVerticalBarForFixedEpubForIPhone(theme, bar);
    return isTeacherReviewActive ? addItemsOnPlayerActionVerticalBarForTeacherAnnotationForIPhone(theme, bar)
                                 : addItemsOnPlayerActionVerticalBarForIPhone(theme, bar);
}

} // namespace lectoro
