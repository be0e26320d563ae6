#pragma once

// The small panels of the media-book player: bookmark (add at the current time, or confirm
// a delete), narration speed, sleep timer and the settings pop-over. Each shows what it is
// given and reports the choice to its delegate (held weakly); none changes playback.

#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookPanel.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"

#include <optional>
#include <vector>

namespace lectoro {

class SDKBookmarkVO;

// --- Bookmark ---

class MVMediaBookBookmarkControllerDelegate {
public:
    virtual ~MVMediaBookBookmarkControllerDelegate() = default;
    virtual void didTapOnAddBookmark(const std::shared_ptr<SDKBookmarkVO>&) { }
    virtual void didTapOnDeleteBookmark(const std::shared_ptr<SDKBookmarkVO>&) { }
    virtual void didTapOnCancelBookmark(const std::shared_ptr<SDKBookmarkVO>&) { }
};

class MVMediaBookBookmarkController final : public MVMediaBookPanel {
public:
    // With a bookmark the panel asks whether to delete it; without, it adds one at the
    // model's current time.
    static std::shared_ptr<MVMediaBookBookmarkController> create(std::shared_ptr<MVMediaBookModel>,
        std::shared_ptr<SDKBookmarkVO> bookmarkToDelete = nullptr);
    std::string_view className() const override { return "MVMediaBookBookmarkController"; }
    void loadView() override;

    std::shared_ptr<MVMediaBookBookmarkControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVMediaBookBookmarkControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::shared_ptr<SDKBookmarkVO>& bookmarkToDelete() const { return m_bookmark; }
    // The control the panel opens from; it sits by it (none: centred in the reader).
    void setSourceViewForBookmarkController(std::weak_ptr<ui::View> source) { m_source = std::move(source); }
    std::shared_ptr<ui::View> sourceView() const { return m_source.lock(); }
    // Added to the reader's view, then as its child: the panel takes its place there.
    void willMoveToParentViewController(ui::ViewController* parent) override;

    // The record an add hands over: a new bookmark of the current chapter whose metaData
    // holds "CurrentTime" (whole seconds), "FileName" and "ChapterName".
    std::shared_ptr<SDKBookmarkVO> makeBookmark() const;

    void tapConfirm();
    void tapCancel();

private:
    MVMediaBookBookmarkController(std::shared_ptr<MVMediaBookModel> model, std::shared_ptr<SDKBookmarkVO> bookmark)
        : MVMediaBookPanel(std::move(model)), m_bookmark(std::move(bookmark))
    {
    }
    std::weak_ptr<MVMediaBookBookmarkControllerDelegate> m_delegate;
    std::shared_ptr<SDKBookmarkVO> m_bookmark;
    std::weak_ptr<ui::View> m_source;
};

// --- Narration speed ---

class MVMediaBookNarrationSpeedControllerDelegate {
public:
    virtual ~MVMediaBookNarrationSpeedControllerDelegate() = default;
    virtual void didNarrationSpeedValueChanges(const std::shared_ptr<MVMediaBookModel>&) { }
    virtual void didTapOnCancel() { }
};

class MVMediaBookNarrationSpeedController final : public MVMediaBookPanel {
public:
    static std::shared_ptr<MVMediaBookNarrationSpeedController> create(std::shared_ptr<MVMediaBookModel>);
    std::string_view className() const override { return "MVMediaBookNarrationSpeedController"; }
    void loadView() override;

    std::shared_ptr<MVMediaBookNarrationSpeedControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVMediaBookNarrationSpeedControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    void setSourceViewForNarrationSpeedController(std::weak_ptr<ui::View> source) { m_source = std::move(source); }
    std::shared_ptr<ui::View> sourceView() const { return m_source.lock(); }
    void willMoveToParentViewController(ui::ViewController* parent) override;
    static const std::vector<float>& speeds();
    // Writes the speed into the model and reports the model.
    void chooseSpeed(float rate);
    void tapCancel();

private:
    using MVMediaBookPanel::MVMediaBookPanel;
    std::weak_ptr<MVMediaBookNarrationSpeedControllerDelegate> m_delegate;
    std::weak_ptr<ui::View> m_source;
};

// --- Sleep timer ---

// The panel's choices: off, three presets, a custom time, the end of the chapter.
enum class SleepAction : int { Off = 0, FiveMinutes = 1, FifteenMinutes = 2, ThirtyMinutes = 3, Custom = 4, EndOfChapter = 5 };

class MVLectoroSleepTimerControllerDelegate {
public:
    virtual ~MVLectoroSleepTimerControllerDelegate() = default;
    virtual void didSetAudioSleepTimerWithSelectedSleepTime(double /*seconds*/, SleepAction) { }
    virtual void didSetAudioSleepTimerOff() { }
    virtual void didRemoveSleepTimerView() { }
};

class MVLectoroSleepTimerController final : public MVMediaBookPanel {
public:
    static std::shared_ptr<MVLectoroSleepTimerController> create(std::shared_ptr<MVMediaBookModel> = nullptr);
    std::string_view className() const override { return "MVLectoroSleepTimerController"; }
    void loadView() override;

    std::shared_ptr<MVLectoroSleepTimerControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVLectoroSleepTimerControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    void setSourceViewForSleepTimerViewController(std::weak_ptr<ui::View> source) { m_source = std::move(source); }
    std::shared_ptr<ui::View> sourceView() const { return m_source.lock(); }
    // Lies by its source once the reader has added it.
    void willMoveToParentViewController(ui::ViewController* parent) override;

    void updateSelectedSleepAction(SleepAction action) { m_selected = action; }
    SleepAction selectedSleepAction() const { return m_selected; }
    void updateCustomSelectedTime(double seconds) { m_customTime = seconds; }
    double customSelectedTime() const { return m_customTime; }

    // A preset (its seconds), the custom time, or the end of the current chapter (what is
    // left of it); Off reports the timer off.
    void choose(SleepAction);
    void chooseCustomTime(double seconds);
    void tapClose();

private:
    using MVMediaBookPanel::MVMediaBookPanel;
    std::weak_ptr<MVLectoroSleepTimerControllerDelegate> m_delegate;
    std::weak_ptr<ui::View> m_source;
    SleepAction m_selected = SleepAction::Off;
    double m_customTime = 0;
};

// --- Settings pop-over ---

class MVLectoroMediaPopOverModel {
public:
    std::string popOverTitle;
    std::vector<std::string> itemsTitles;
    // Icon glyphs shown before the titles of a custom list, same order.
    std::vector<std::string> customItemTitles;
    std::optional<std::string> selectedItem;
    std::optional<ui::Color> selectedItemColor;
    std::optional<ui::Font> itemFont;
    std::optional<ui::Font> customItemFont;
    bool enableCustomController = false;
    bool enableCustomControllerRightArrow = false;
    bool enableDefaultCustomisedController = false;
    bool enableSwitchControl = true;
    bool switchState = false;
    std::optional<ui::Font> switchLabelFont;
    std::optional<ui::Color> switchTintColor;
    std::weak_ptr<ui::View> popOverSourceView;
};

class MVLectoroMediaPopOverControllerDelegate {
public:
    virtual ~MVLectoroMediaPopOverControllerDelegate() = default;
    virtual void didTapOnItem(const std::string&) { }
    virtual void didTapOnCancelItem() { }
    virtual void didChangeSwitchState(bool) { }
};

class MVLectoroMediaPopOverController final : public ui::ViewController {
public:
    static std::shared_ptr<MVLectoroMediaPopOverController> create(MVLectoroMediaPopOverModel);
    std::string_view className() const override { return "MVLectoroMediaPopOverController"; }
    void loadView() override;

    std::shared_ptr<MVLectoroMediaPopOverControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVLectoroMediaPopOverControllerDelegate> delegate) { m_delegate = std::move(delegate); }
    const MVLectoroMediaPopOverModel& model() const { return m_model; }
    // Shows the switch only for the default customised list with the switch enabled.
    bool showsSwitch() const { return m_model.enableDefaultCustomisedController && m_model.enableSwitchControl; }

    void tapItem(size_t index);
    void tapCancel();
    void flipSwitch();
    // Lies by the model's source view once the reader has added it.
    void willMoveToParentViewController(ui::ViewController* parent) override;

private:
    explicit MVLectoroMediaPopOverController(MVLectoroMediaPopOverModel model) : m_model(std::move(model)) { }
    std::weak_ptr<MVLectoroMediaPopOverControllerDelegate> m_delegate;
    MVLectoroMediaPopOverModel m_model;
    std::shared_ptr<ui::Switch> m_switch;
    std::vector<ui::ConstraintPtr> m_placement;
};

} // namespace lectoro
