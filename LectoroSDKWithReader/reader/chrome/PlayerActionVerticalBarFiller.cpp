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

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForIPhone(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    PlayerActionItemBuilder builder(theme);
    const auto& settings = m_inputs.settings;
    int count = 0;
    auto add = [&](const std::shared_ptr<PlayerActionBarItem>& item) {
        append(bar, item);
        ++count;
    };
    if (isOn(settings, &MVReaderSettingModel::isTextAnnotationEnabled))
        add(builder.getPlayerItemForTextAnnotation());
    if (int tag = reviewerOrStudentItemTag())
        add(tag == PlayerItemTeacherReview ? builder.getPlayerItemForTeacherReview()
                                           : builder.getPlayerItemForStudentAnnotation());
    if (isOn(settings, &MVReaderSettingModel::isProtractorEnabled))
        add(builder.getPlayerItemForProtractor());
    add(builder.getPlayerItemForThumbnail());
    if (m_inputs.isFurthestPageEnabled)
        add(builder.getPlayerItemForFurthestPage());
    if (isOn(settings, &MVReaderSettingModel::isClearAllFIBsEnabled)) {
        add(builder.getPlayerItemForClearAllFIBs());
        if (m_inputs.updateClearAllFIBsButtonStatus)
            m_inputs.updateClearAllFIBsButtonStatus();
    }
    return count;
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForIPad(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    PlayerActionItemBuilder builder(theme);
    const auto& settings = m_inputs.settings;
    int count = 0;
    auto add = [&](const std::shared_ptr<PlayerActionBarItem>& item) {
        append(bar, item);
        ++count;
    };
    if (m_inputs.isFurthestPageEnabled)
        add(builder.getPlayerItemForFurthestPage());
    if (isOn(settings, &MVReaderSettingModel::isTextAnnotationEnabled))
        add(builder.getPlayerItemForTextAnnotation());
    if (int tag = reviewerOrStudentItemTag())
        add(tag == PlayerItemTeacherReview ? builder.getPlayerItemForTeacherReview()
                                           : builder.getPlayerItemForStudentAnnotation());
    if (isOn(settings, &MVReaderSettingModel::isProtractorEnabled))
        add(builder.getPlayerItemForProtractor());
    if (isOn(settings, &MVReaderSettingModel::isClearAllFIBsEnabled)) {
        add(builder.getPlayerItemForClearAllFIBs());
        if (m_inputs.updateClearAllFIBsButtonStatus)
            m_inputs.updateClearAllFIBsButtonStatus();
    }
    return count;
}

int PlayerActionVerticalBarFiller::addItemsOnPlayerActionVerticalBarForFixedEpubForIPhone(
    const LXMVThemeVO& theme, PlayerActionBar& bar) const
{
    PlayerActionItemBuilder builder(theme);
    int count = 1;
    append(bar, builder.getPlayerItemForThumbnail());
    if (isOn(m_inputs.settings, &MVReaderSettingModel::isTextAnnotationEnabled)) {
        append(bar, builder.getPlayerItemForTextAnnotation());
        ++count;
    }
    if (m_inputs.isFurthestPageEnabled) {
        append(bar, builder.getPlayerItemForFurthestPage());
        ++count;
    }
    return count;
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
