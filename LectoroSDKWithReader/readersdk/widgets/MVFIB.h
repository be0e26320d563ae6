#pragma once

// The answer field of a fill-in-the-blank markup, and the view that shows an equation
// answer beside it. The reader makes one per markup (at the link's box, tagged with its
// link id) and hands them to the renderer (drawFIBs). Editing the field ends in
// didUpdateSDKFIBVO with the answer record: a new record (status 1), a changed one (status
// 2 once on the server), or, for a cleared field, the deletion of the saved one (status 3).
// A learner's submitted answer is not edited: a tap shows it (didSelectSubmittedFIB).

#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class FIBMathEquationView;
class MVFIB;
class PXLinkVO;
class SDKFIBVO;

class MVFIBDelegate {
public:
    virtual ~MVFIBDelegate() = default;
    virtual void didUpdateSDKFIBVO(std::shared_ptr<SDKFIBVO>) = 0;
    virtual void didSelectSubmittedFIB(
        std::shared_ptr<SDKFIBVO>, std::shared_ptr<PXLinkVO>, std::shared_ptr<ui::View> sourceView)
        = 0;
    virtual bool shouldAllowEditingForLinkVO(std::shared_ptr<PXLinkVO>) { return true; }
    virtual void fibDidBeginEditing(MVFIB&) { }
    virtual void keyboardDidShowForFIB(MVFIB&, const ui::Rect& /*keyboardFrame*/) { }
    virtual void fibDidEndEditing(MVFIB&) { }
    virtual void keyboardDidHideForFIB(MVFIB&, const ui::Rect& /*keyboardFrame*/) { }
};

class MVFIB : public ui::View {
public:
    // initWithLinkVO:withFIBVO:isTeacher:
    static std::shared_ptr<MVFIB> create(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, bool isTeacher);
    std::string_view className() const override { return "MVFIB"; }

    std::shared_ptr<MVFIBDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<MVFIBDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::shared_ptr<PXLinkVO>& linkVo() const { return m_link; }
    const std::shared_ptr<SDKFIBVO>& sdkFIBVO() const { return m_fib; }
    bool isTeacher() const { return m_isTeacher; }
    bool isDefaultKeyboardDisabled = false;
    const std::shared_ptr<ui::TextField>& textField() const { return m_textField; }

    // The equation view beside the field shows a submitted equation; the field hides its text.
    void hideTextForSubmitedMath();

    // Editing, as a finger and the keyboard give it. beginEditing answers whether the
    // field took the focus.
    bool beginEditing();
    void endEditingWithText(const std::string&);

protected:
    MVFIB(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, bool isTeacher);

private:
    bool isLockedForLearner() const;

    std::shared_ptr<PXLinkVO> m_link;
    std::shared_ptr<SDKFIBVO> m_fib;
    bool m_isTeacher = false;
    bool m_editing = false;
    std::shared_ptr<ui::TextField> m_textField;
    std::weak_ptr<MVFIBDelegate> m_delegate;
};

class FIBMathEquationViewDelegate {
public:
    virtual ~FIBMathEquationViewDelegate() = default;
    virtual void showEquationEditorKeyboardForLink(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>) = 0;
    virtual void didSelectSubmittedEquation(
        FIBMathEquationView&, std::shared_ptr<PXLinkVO>, std::shared_ptr<ui::View> sourceView)
        = 0;
};

class FIBMathEquationView : public ui::View {
public:
    // initWithLink:fibVO:frame:useDefaultIcon:
    static std::shared_ptr<FIBMathEquationView> create(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const ui::Rect& frame, bool useDefaultIcon);
    std::string_view className() const override { return "FIBMathEquationView"; }

    std::shared_ptr<FIBMathEquationViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<FIBMathEquationViewDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }
    const std::shared_ptr<PXLinkVO>& link() const { return m_link; }
    const std::shared_ptr<SDKFIBVO>& fibVO() const { return m_fib; }
    bool usesDefaultIcon() const { return m_useDefaultIcon; }
    void setThemeColor(const ui::Color&);
    std::optional<ui::Color> themeColor() const { return m_themeColor; }
    const std::shared_ptr<ui::Label>& equationLabel() const { return m_label; }

    // A tap: a submitted equation is shown, any other opens the equation keyboard.
    void tap();

protected:
    FIBMathEquationView(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const ui::Rect&, bool useDefaultIcon);

private:
    std::shared_ptr<PXLinkVO> m_link;
    std::shared_ptr<SDKFIBVO> m_fib;
    bool m_useDefaultIcon = true;
    std::optional<ui::Color> m_themeColor;
    std::shared_ptr<ui::Label> m_label;
    std::weak_ptr<FIBMathEquationViewDelegate> m_delegate;
};

} // namespace lectoro
