#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanels.h"

#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lectoro {

// --- Bookmark ---

std::shared_ptr<MVMediaBookBookmarkController> MVMediaBookBookmarkController::create(std::shared_ptr<MVMediaBookModel> model,
    std::shared_ptr<SDKBookmarkVO> bookmarkToDelete)
{
    return std::shared_ptr<MVMediaBookBookmarkController>(
        new MVMediaBookBookmarkController(std::move(model), std::move(bookmarkToDelete)));
}

void MVMediaBookBookmarkController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 300, 140 } });
    styleSheet(*root);
    auto message = ui::Label::create(ui::Rect { { 16, 16 }, { 268, 48 } });
    message->setAccessibilityIdentifier("MediaBookmarkMessage");
    int64_t time = m_bookmark ? m_bookmark->metaData["CurrentTime"].asInteger().value_or(0) : (m_model ? m_model->currentTime : 0);
    message->setText((m_bookmark ? "Delete the bookmark at " : "Add a bookmark at ") + mediaTimeText(time) + "?");
    message->setTextColor(themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_text_color, ui::Color::black()));
    message->setNumberOfLines(2);
    root->addSubview(message);
    using Self = MVMediaBookBookmarkController;
    auto confirm = makeButton<Self>(m_bookmark ? "Delete" : "Add", "MediaBookmarkConfirmButton", [](Self& self, ui::Button&) { self.tapConfirm(); });
    confirm->setFrame(ui::Rect { { 160, 84 }, { 124, 40 } });
    auto cancel = makeButton<Self>("Cancel", "MediaBookmarkCancelButton", [](Self& self, ui::Button&) { self.tapCancel(); });
    cancel->setFrame(ui::Rect { { 16, 84 }, { 124, 40 } });
    styleSheetButton(*cancel);
    // The confirming choice stands out: the panel's highlight colour behind white.
    confirm->setBackgroundColor(themeColor(&MVLectoroMediaBookThemeVO::media_sidepanel_selected_text_color, ui::Color::blue()));
    confirm->setTitleColor(ui::Color::white());
    confirm->layer()->setCornerRadius(6);
    root->addSubview(cancel);
    root->addSubview(confirm);
    setView(root);
}

void MVMediaBookBookmarkController::willMoveToParentViewController(ui::ViewController* parent)
{
    auto shown = viewIfLoaded();
    if (auto container = shown ? shown->superview() : nullptr; parent && container)
        placeBySourceView(*container, sourceView());
}

std::shared_ptr<SDKBookmarkVO> MVMediaBookBookmarkController::makeBookmark() const
{
    auto bookmark = std::make_shared<SDKBookmarkVO>();
    bookmark->localID = base::makeUuid();
    bookmark->status = UGCStatusNew;
    bookmark->createdDate = currentUGCDateString();
    base::Value::Dictionary meta;
    meta.set("CurrentTime", m_model ? m_model->currentTime : int64_t(0));
    if (m_model && m_model->currentChapter) {
        const auto& chapter = *m_model->currentChapter;
        meta.set("FileName", chapter.filePart());
        meta.set("ChapterName", chapter.chapterTitle.value_or(""));
        bookmark->chapterName = chapter.chapterTitle.value_or("");
        bookmark->pageIdentifier = chapter.chapterId;
    }
    bookmark->metaData = base::Value(std::move(meta));
    return bookmark;
}

void MVMediaBookBookmarkController::tapConfirm()
{
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    if (!m_bookmark) {
        delegate->didTapOnAddBookmark(makeBookmark());
        return;
    }
    // The stored record is not touched until the delete is saved.
    auto deleted = std::make_shared<SDKBookmarkVO>(*m_bookmark);
    deleted->status = UGCStatusDeleted;
    delegate->didTapOnDeleteBookmark(deleted);
}

void MVMediaBookBookmarkController::tapCancel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnCancelBookmark(m_bookmark);
}

// --- Narration speed ---

std::shared_ptr<MVMediaBookNarrationSpeedController> MVMediaBookNarrationSpeedController::create(
    std::shared_ptr<MVMediaBookModel> model)
{
    return std::shared_ptr<MVMediaBookNarrationSpeedController>(new MVMediaBookNarrationSpeedController(std::move(model)));
}

const std::vector<float>& MVMediaBookNarrationSpeedController::speeds()
{
    static const std::vector<float> values { 0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f };
    return values;
}

void MVMediaBookNarrationSpeedController::loadView()
{
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 240, 44 * static_cast<double>(speeds().size() + 1) } });
    styleSheet(*root);
    using Self = MVMediaBookNarrationSpeedController;
    double y = 0;
    float current = m_model ? m_model->mediaNarrationSpeedRate : 1.0f;
    for (float rate : speeds()) {
        char title[16];
        std::snprintf(title, sizeof title, "%.2gx", static_cast<double>(rate));
        auto button = makeButton<Self>(title, "MediaNarrationSpeedOption", [rate](Self& self, ui::Button&) { self.chooseSpeed(rate); });
        button->setFrame(ui::Rect { { 0, y }, { 240, 44 } });
        button->setSelected(std::fabs(rate - current) < 0.01f);
        styleSheetButton(*button);
        root->addSubview(button);
        y += 44;
    }
    auto cancel = makeButton<Self>("Cancel", "MediaNarrationSpeedCancel", [](Self& self, ui::Button&) { self.tapCancel(); });
    cancel->setFrame(ui::Rect { { 0, y }, { 240, 44 } });
    styleSheetButton(*cancel);
    root->addSubview(cancel);
    setView(root);
}

void MVMediaBookNarrationSpeedController::willMoveToParentViewController(ui::ViewController* parent)
{
    auto shown = viewIfLoaded();
    if (auto container = shown ? shown->superview() : nullptr; parent && container)
        placeBySourceView(*container, sourceView());
}

void MVMediaBookNarrationSpeedController::chooseSpeed(float rate)
{
    if (!(rate > 0) || !std::isfinite(rate))
        return;
    if (m_model)
        m_model->mediaNarrationSpeedRate = rate;
    if (auto delegate = m_delegate.lock())
        delegate->didNarrationSpeedValueChanges(m_model);
}

void MVMediaBookNarrationSpeedController::tapCancel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnCancel();
}

// --- Sleep timer ---

std::shared_ptr<MVLectoroSleepTimerController> MVLectoroSleepTimerController::create(std::shared_ptr<MVMediaBookModel> model)
{
    return std::shared_ptr<MVLectoroSleepTimerController>(new MVLectoroSleepTimerController(std::move(model)));
}

void MVLectoroSleepTimerController::loadView()
{
    // Seven rows a finger wide, short enough for a phone held sideways.
    auto root = ui::View::create(ui::Rect { { 0, 0 }, { 240, 44 * 7 } });
    styleSheet(*root);
    using Self = MVLectoroSleepTimerController;
    const std::pair<const char*, SleepAction> choices[] = {
        { "Off", SleepAction::Off },
        { "5 minutes", SleepAction::FiveMinutes },
        { "15 minutes", SleepAction::FifteenMinutes },
        { "30 minutes", SleepAction::ThirtyMinutes },
        { "Custom", SleepAction::Custom },
        { "End of chapter", SleepAction::EndOfChapter },
    };
    double y = 0;
    for (const auto& choice : choices) {
        const auto action = choice.second;
        auto button
            = makeButton<Self>(choice.first, "MediaSleepOption", [action](Self& self, ui::Button&) { self.choose(action); });
        button->setFrame(ui::Rect { { 0, y }, { 240, 44 } });
        button->setSelected(action == m_selected);
        styleSheetButton(*button);
        root->addSubview(button);
        y += 44;
    }
    auto close = makeButton<Self>("Close", "MediaSleepClose", [](Self& self, ui::Button&) { self.tapClose(); });
    close->setFrame(ui::Rect { { 0, y }, { 240, 44 } });
    styleSheetButton(*close);
    root->addSubview(close);
    setView(root);
}

void MVLectoroSleepTimerController::willMoveToParentViewController(ui::ViewController* parent)
{
    auto shown = viewIfLoaded();
    if (auto container = shown ? shown->superview() : nullptr; parent && container)
        placeBySourceView(*container, sourceView());
}

void MVLectoroSleepTimerController::choose(SleepAction action)
{
    auto delegate = m_delegate.lock();
    double seconds = 0;
    switch (action) {
    case SleepAction::Off:
        m_selected = action;
        if (delegate)
            delegate->didSetAudioSleepTimerOff();
        return;
    case SleepAction::FiveMinutes:
        seconds = 5 * 60;
        break;
    case SleepAction::FifteenMinutes:
        seconds = 15 * 60;
        break;
    case SleepAction::ThirtyMinutes:
        seconds = 30 * 60;
        break;
    case SleepAction::Custom:
        seconds = m_customTime;
        break;
    case SleepAction::EndOfChapter:
        if (m_model && m_model->currentChapter)
            seconds = static_cast<double>(std::max<int64_t>(m_model->currentChapter->avAssetTotalTime - m_model->currentTime, 0));
        break;
    }
    // A timer of no time would pause at once: nothing is chosen.
    if (seconds <= 0)
        return;
    m_selected = action;
    if (delegate)
        delegate->didSetAudioSleepTimerWithSelectedSleepTime(seconds, action);
}

void MVLectoroSleepTimerController::chooseCustomTime(double seconds)
{
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    m_customTime = seconds;
    choose(SleepAction::Custom);
}

void MVLectoroSleepTimerController::tapClose()
{
    if (auto delegate = m_delegate.lock())
        delegate->didRemoveSleepTimerView();
}

// --- Settings pop-over ---

std::shared_ptr<MVLectoroMediaPopOverController> MVLectoroMediaPopOverController::create(MVLectoroMediaPopOverModel model)
{
    return std::shared_ptr<MVLectoroMediaPopOverController>(new MVLectoroMediaPopOverController(std::move(model)));
}

void MVLectoroMediaPopOverController::loadView()
{
    // A list without a title or switch starts with its first row.
    const bool headed = !m_model.popOverTitle.empty() || showsSwitch();
    auto root = ui::View::create(
        ui::Rect { { 0, 0 }, { 260, 48 * static_cast<double>(m_model.itemsTitles.size() + (headed ? 2 : 1)) } });
    // The pop-over is told no theme: the player's default colours.
    const MVLectoroMediaBookThemeVO theme;
    styleMediaSheet(*root, theme);
    std::weak_ptr<MVLectoroMediaPopOverController> weakSelf = std::static_pointer_cast<MVLectoroMediaPopOverController>(shared_from_this());
    // The title keeps clear of the switch that shares its row.
    auto title = ui::Label::create(ui::Rect { { 12, 0 }, { showsSwitch() ? 180.0 : 236.0, 44 } });
    title->setText(m_model.popOverTitle);
    title->setHidden(!headed);
    root->addSubview(title);
    double y = headed ? 48 : 0;
    for (size_t i = 0; i < m_model.itemsTitles.size(); ++i) {
        auto row = ui::Button::create(ui::Rect { { 0, y }, { 260, 44 } });
        row->setTitle(m_model.itemsTitles[i]);
        if (m_model.itemFont)
            row->setFont(*m_model.itemFont);
        // A custom list's icon sits before its title, drawn in the icon font it is written in.
        if (i < m_model.customItemTitles.size()) {
            auto icon = ui::Label::create(ui::Rect { { 12, 0 }, { 36, 44 } });
            icon->setText(m_model.customItemTitles[i]);
            icon->setTextAlignment(ui::TextAlignment::Center);
            if (m_model.customItemFont)
                icon->setFont(*m_model.customItemFont);
            icon->setTextColor(theme.media_sidepanel_text_color().value_or(ui::Color::black()));
            icon->setUserInteractionEnabled(false);
            row->addSubview(icon);
            row->setContentEdgeInsets(ui::EdgeInsets { 0, 48, 0, 12 });
        }
        row->setAccessibilityIdentifier("MediaPopOverItem");
        styleMediaSheetButton(*row, theme);
        bool selected = m_model.selectedItem == m_model.itemsTitles[i];
        row->setSelected(selected);
        if (selected && m_model.selectedItemColor)
            row->setTitleColor(*m_model.selectedItemColor);
        row->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf, i](ui::Control&) {
            if (auto self = weakSelf.lock())
                self->tapItem(i);
        });
        root->addSubview(row);
        y += 48;
    }
    if (showsSwitch()) {
        m_switch = ui::Switch::create(ui::Rect { { 200, 8 }, { 51, 31 } });
        m_switch->setOn(m_model.switchState);
        m_switch->setOnTintColor(m_model.switchTintColor);
        m_switch->addTarget(ui::ControlEvent::ValueChanged, [weakSelf](ui::Control&) {
            if (auto self = weakSelf.lock(); self && self->delegate())
                self->delegate()->didChangeSwitchState(self->m_switch->isOn());
        });
        root->addSubview(m_switch);
    }
    auto cancel = ui::Button::create(ui::Rect { { 0, y }, { 260, 44 } });
    cancel->setTitle("Cancel");
    cancel->setAccessibilityIdentifier("MediaPopOverCancel");
    styleMediaSheetButton(*cancel, theme);
    cancel->addTarget(ui::ControlEvent::TouchUpInside, [weakSelf](ui::Control&) {
        if (auto self = weakSelf.lock())
            self->tapCancel();
    });
    root->addSubview(cancel);
    setView(root);
}

void MVLectoroMediaPopOverController::willMoveToParentViewController(ui::ViewController* parent)
{
    auto shown = viewIfLoaded();
    if (auto container = shown ? shown->superview() : nullptr; parent && container)
        placeMediaSheetBySourceView(*shown, m_placement, *container, m_model.popOverSourceView.lock());
}

void MVLectoroMediaPopOverController::tapItem(size_t index)
{
    if (index >= m_model.itemsTitles.size())
        return;
    // The delegate usually closes this pop-over: the tapped text must outlive it.
    auto keepAlive = shared_from_this();
    std::string item = m_model.itemsTitles[index];
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnItem(item);
}

void MVLectoroMediaPopOverController::tapCancel()
{
    if (auto delegate = m_delegate.lock())
        delegate->didTapOnCancelItem();
}

void MVLectoroMediaPopOverController::flipSwitch()
{
    if (!showsSwitch())
        return;
    loadViewIfNeeded();
    m_switch->setOn(!m_switch->isOn());
    m_switch->sendActions(ui::ControlEvent::ValueChanged);
}

} // namespace lectoro
