#pragma once

// The share-settings panel as the note road and the sharing handlers use it: who the
// user shares with and receives from in a class (settings type 2), or whom one note is
// shared with (settings type 1). This is the small stand-in the full panel of the My
// Data subsystem replaces behind the same delegate: it holds what its owner sets, takes
// the user's choice through saveClassSettings / saveNoteSharing (the full panel's rows
// and buttons), writes it into the records as the delegate expects, and reports.

#include "platform/base/Value.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class LectoroUser;
class LXMVThemeVO;
class SDKBookClassInfoVO;
class SDKHighlightVO;

class LXShareSettingsControllerDelegate {
public:
    virtual ~LXShareSettingsControllerDelegate() = default;
    virtual void didClickOnShareSettingsCancelButton() { }
    // Settings type 2: the class with its lists as chosen.
    virtual void didClickOnShareSettingsSaveButton(std::shared_ptr<SDKBookClassInfoVO>) { }
    // Any other type: the note, marked shared and unsynced.
    virtual void didClickOnNoteShareSettingsSaveButton(std::shared_ptr<SDKHighlightVO>) { }
};

class LXShareSettingsController : public ui::ViewController {
public:
    static constexpr int64_t noteSettings = 1;
    static constexpr int64_t classSettings = 2;

    static std::shared_ptr<LXShareSettingsController> create();
    std::string_view className() const override { return "LXShareSettingsController"; }

    std::shared_ptr<LXShareSettingsControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LXShareSettingsControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    int64_t settingsType() const { return m_settingsType; }
    void setSettingsType(int64_t type) { m_settingsType = type; }
    const std::shared_ptr<SDKHighlightVO>& highlightVO() const { return m_highlightVO; }
    void setHighlightVO(std::shared_ptr<SDKHighlightVO> note) { m_highlightVO = std::move(note); }
    const std::string& noteText() const { return m_noteText; }
    void setNoteText(std::string text) { m_noteText = std::move(text); }
    const std::string& selectedColor() const { return m_selectedColor; }
    void setSelectedColor(std::string color) { m_selectedColor = std::move(color); }
    const std::shared_ptr<LectoroUser>& user() const { return m_user; }
    void setUser(std::shared_ptr<LectoroUser> user) { m_user = std::move(user); }
    bool isFromMydataController() const { return m_isFromMydataController; }
    void setIsFromMydataController(bool value) { m_isFromMydataController = value; }
    void setThemeVO(std::shared_ptr<LXMVThemeVO> theme) { m_theme = std::move(theme); }
    void setData(std::vector<std::shared_ptr<SDKBookClassInfoVO>> classes);
    const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classes() const { return m_classes; }
    // The class shown; the first one until the user picks another.
    std::shared_ptr<SDKBookClassInfoVO> currentClass() const;
    void selectClassAtIndex(size_t index);

    // Save with these lists of user ids (settings type 2).
    void saveClassSettings(const base::Value::List& shareList, const base::Value::List& receiveList);
    // Save the note shared with these user ids (other types).
    void saveNoteSharing(const base::Value::List& sharedUsers);
    // Cancel: the delegate hears it; on a tablet the panel dismisses itself.
    void cancel();

    void loadView() override;

private:
    LXShareSettingsController() = default;

    std::weak_ptr<LXShareSettingsControllerDelegate> m_delegate;
    int64_t m_settingsType = noteSettings;
    std::shared_ptr<SDKHighlightVO> m_highlightVO;
    std::string m_noteText;
    std::string m_selectedColor;
    std::shared_ptr<LectoroUser> m_user;
    bool m_isFromMydataController = false;
    std::shared_ptr<LXMVThemeVO> m_theme;
    std::vector<std::shared_ptr<SDKBookClassInfoVO>> m_classes;
    size_t m_classIndex = 0;
};

} // namespace lectoro
