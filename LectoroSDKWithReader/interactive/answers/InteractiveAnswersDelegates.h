#pragma once

// Private to the answers feature: the delegate seats its widgets hold.

#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/readersdk/widgets/EquationEditorKeyboardViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/LinkDropDownViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MVFIB.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"

namespace lectoro {

// The seats the framework's widgets hold weakly; the feature owns this object, so a
// widget that outlives the feature reaches nothing.
class InteractiveAnswers::Delegates final : public MVFIBDelegate,
                                            public FIBMathEquationViewDelegate,
                                            public LinkDropDownViewControllerDelegate,
                                            public EquationEditorKeyboardViewControllerDelegate {
public:
    explicit Delegates(InteractiveAnswers& owner)
        : m_owner(owner)
    {
    }
    void didUpdateSDKFIBVO(std::shared_ptr<SDKFIBVO> fib) override
    {
        m_owner.didUpdateSDKFIBVO(std::move(fib));
    }
    void didSelectSubmittedFIB(std::shared_ptr<SDKFIBVO> fib, std::shared_ptr<PXLinkVO> link,
        std::shared_ptr<ui::View> source) override
    {
        m_owner.didSelectSubmittedFIB(std::move(fib), std::move(link), std::move(source));
    }
    bool shouldAllowEditingForLinkVO(std::shared_ptr<PXLinkVO> link) override
    {
        return m_owner.shouldAllowEditingForLinkVO(link);
    }
    void fibDidBeginEditing(MVFIB& field) override { m_owner.fibDidBeginEditing(field); }
    void keyboardDidShowForFIB(MVFIB& field, const ui::Rect& frame) override
    {
        m_owner.keyboardDidShowForFIB(field, frame);
    }
    void fibDidEndEditing(MVFIB& field) override { m_owner.fibDidEndEditing(field); }
    void keyboardDidHideForFIB(MVFIB& field, const ui::Rect& frame) override
    {
        m_owner.keyboardDidHideForFIB(field, frame);
    }

    void showEquationEditorKeyboardForLink(
        std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib) override
    {
        m_owner.showEquationEditorKeyboardForLink(std::move(link), std::move(fib));
    }
    void didSelectSubmittedEquation(
        FIBMathEquationView& view, std::shared_ptr<PXLinkVO> link, std::shared_ptr<ui::View> source) override
    {
        // The equation view's twin of a submitted field's tap.
        m_owner.didSelectSubmittedFIB(view.fibVO(), std::move(link), std::move(source));
    }

    void didSelectDropDownItemWithText(const std::string& text, std::shared_ptr<MarkupView> box) override
    {
        m_owner.didSelectDropDownItemWithText(text, box);
    }
    void didSelectActionToCloseDropDown() override { m_owner.didSelectActionToCloseDropDown(); }

    void changeEquationKeyboardToNormalForLink(
        std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, const std::string& text) override
    {
        m_owner.changeEquationKeyboardToNormalForLink(std::move(link), std::move(fib), text);
    }
    void saveEquationEditorForLink(
        std::shared_ptr<PXLinkVO> link, std::shared_ptr<SDKFIBVO> fib, const std::string& text) override
    {
        m_owner.saveEquationEditorForLink(std::move(link), std::move(fib), text);
    }
    void closeEquationEditor() override { m_owner.closeEquationEditor(); }

private:
    InteractiveAnswers& m_owner;
};

} // namespace lectoro
