#pragma once

// The equation keyboard that takes the place of the system keyboard for answer fields whose
// markup allows equations. Keys build the equation text; the keyboard saves it, gives the
// field back to the normal keyboard (with the text typed so far) or closes without saving.
// The editing line and the keys stand along the bottom; the position it is given is kept for
// the page that renders the equation.

#include "platform/ui/Button.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class PXLinkVO;
class SDKFIBVO;

class EquationEditorKeyboardViewControllerDelegate {
public:
    virtual ~EquationEditorKeyboardViewControllerDelegate() = default;
    virtual void changeEquationKeyboardToNormalForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::string& enteredText)
        = 0;
    virtual void saveEquationEditorForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::string& text)
        = 0;
    virtual void closeEquationEditor() = 0;
};

class EquationEditorKeyboardViewController : public ui::ViewController {
public:
    // initWithEqfibVO: — the equation starts as the record's text.
    static std::shared_ptr<EquationEditorKeyboardViewController> create(std::shared_ptr<SDKFIBVO>);
    // The titles of the keys that act instead of typing.
    static constexpr const char* saveKey = "Done";
    static constexpr const char* closeKey = "Cancel";
    static constexpr const char* normalKeyboardKey = "ABC";
    std::string_view className() const override { return "EquationEditorKeyboardViewController"; }
    void loadView() override;

    std::shared_ptr<EquationEditorKeyboardViewControllerDelegate> delegate() const
    {
        return m_delegate.lock();
    }
    void setDelegate(std::weak_ptr<EquationEditorKeyboardViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    const std::shared_ptr<PXLinkVO>& link() const { return m_link; }
    void setLink(std::shared_ptr<PXLinkVO> link) { m_link = std::move(link); }
    const std::shared_ptr<SDKFIBVO>& fibVO() const { return m_fib; }
    // A CSS length ("120px"): where the keyboard's editing line stands.
    const std::string& posY() const { return m_posY; }
    void setPosY(std::string posY) { m_posY = std::move(posY); }

    const std::string& equationText() const { return m_text; }
    // Keys, as a finger types them.
    void typeKey(const std::string&);
    void deleteBackward();
    void save();
    void switchToNormalKeyboard();
    void close();
    // The keys in rows, left to right; the key with that title (null when none).
    const std::vector<std::shared_ptr<ui::Button>>& keys();
    std::shared_ptr<ui::Button> keyTitled(const std::string&);
    const std::shared_ptr<ui::Label>& preview() const { return m_preview; }

protected:
    explicit EquationEditorKeyboardViewController(std::shared_ptr<SDKFIBVO>);

private:
    void refresh();
    void pressKey(const std::string& title);

    std::shared_ptr<SDKFIBVO> m_fib;
    std::shared_ptr<PXLinkVO> m_link;
    std::string m_posY = "2px";
    std::string m_text;
    std::shared_ptr<ui::Label> m_preview;
    std::vector<std::shared_ptr<ui::Button>> m_keys;
    std::weak_ptr<EquationEditorKeyboardViewControllerDelegate> m_delegate;
};

} // namespace lectoro
