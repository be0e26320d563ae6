#pragma once

// The learner's answers on fixed-layout pages and the math tools beside them: fill-in
// fields (the save rule, lifting the page above the keyboard, the correct-answer pop-up,
// rebuilding the fields), drop-down lists and their feedback colours, the equation button
// and keyboard, and the protractor records the renderer reports. Interactive content owns
// one; teacher review reaches it through AnswerReview.
//
// Fill-in fields: FillInAnswers.cpp; drop-downs: DropDownAnswers.cpp; the equation
// editor and protractor: EquationEditor.cpp.

#include "platform/base/RunLoop.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Color;
class View;
class ViewController;
} // namespace ui

namespace lectoro {

struct ReaderContext;
class AnswerReview;
class EquationEditorKeyboardViewController;
class FIBMathEquationView;
class InteractiveReader;
class LinkDropDownViewController;
class MarkupView;
class MVFIB;
class PXBookVO;
class PXLinkVO;
class ReaderInteractiveContent;
class SDKFIBVO;
class SDKProtractorVO;

class InteractiveAnswers {
public:
    InteractiveAnswers(ReaderContext&, InteractiveReader&, ReaderInteractiveContent&);
    ~InteractiveAnswers();

    // Teacher review's seam; held weakly.
    void setAnswerReview(std::weak_ptr<AnswerReview> review) { m_review = std::move(review); }

    // --- Fill-in fields ---
    // The save rule: status 3 deletes, 2 updates, anything else saves; teacher review
    // hands the record to the learner panel instead.
    void didUpdateSDKFIBVO(std::shared_ptr<SDKFIBVO>);
    void fibDidBeginEditing(MVFIB&);
    void keyboardDidShowForFIB(MVFIB&, const ui::Rect& keyboardFrame);
    void keyboardDidHideForFIB(MVFIB&, const ui::Rect& keyboardFrame);
    void fibDidEndEditing(MVFIB&);
    bool shouldAllowEditingForLinkVO(const std::shared_ptr<PXLinkVO>&) const;
    void didSelectSubmittedFIB(
        std::shared_ptr<SDKFIBVO>, std::shared_ptr<PXLinkVO>, std::shared_ptr<ui::View> source);
    void showFeedback(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>);
    void showCorrectAnswerPopup(const std::optional<std::string>& answer, std::shared_ptr<ui::View> source);
    void removeFIBPopOver();
    void didTapOnInstantFeedBack(const std::shared_ptr<ui::View>&);
    void reloadFIB();
    void didUpdateFibArray(const std::vector<std::shared_ptr<SDKFIBVO>>&);
    void didTapOnTeacherComment(const std::vector<std::shared_ptr<SDKFIBVO>>&);
    bool isDefaultKeyboardDisabled(const MVFIB&) const;
    bool isMathKeyboardEnabled(const PXLinkVO&) const;
    void setColorToMathKeyboard(FIBMathEquationView&, const SDKFIBVO&, const MVFIB&) const;
    void showMathKeyboardForFIB(MVFIB&);
    // Makes a field (or an equation view) answer to this feature; the page drawing calls it.
    void adoptField(MVFIB&);
    void adoptEquationView(FIBMathEquationView&, const MVFIB&);

    bool fibKeyBoardPresent() const { return m_fibKeyBoardPresent; }
    const std::shared_ptr<ui::ViewController>& fibAnswerViewController() const
    {
        return m_fibAnswerViewController;
    }

    // --- Drop-downs ---
    void didTapOnDropDownLink(const std::shared_ptr<PXLinkVO>&);
    std::optional<std::vector<std::string>> getDropDownItemsArrayForPropertyDictionary(
        const std::string&) const;
    void didSelectDropDownItemWithText(
        const std::optional<std::string>&, const std::shared_ptr<MarkupView>& box);
    void didSelectActionToCloseDropDown();
    void saveDropDownLink(const PXLinkVO&, const std::string& text);
    void compareAndShowInstantFeedbackForDropDownLink(
        const PXLinkVO&, const SDKFIBVO&, bool forTeacherReview);
    void didTapOnSubmittedDropDown(const std::shared_ptr<MarkupView>& box);
    const std::shared_ptr<LinkDropDownViewController>& linkDropDownController() const { return m_dropDown; }

    // --- Equation editor ---
    void addEquationEditorButton(const ui::Rect& keyboardFrame, double offset);
    void removeEquationEditorButton();
    void didTapOnEquationEditorButton();
    void dismissFIBAndLaunchEquationEditor();
    void clearTextOnSwitchingKeyBoardFromNormalToEquationEditorForLinkID(int64_t linkID);
    void showEquationEditorKeyboardForLink(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>);
    void saveEquationEditorForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::string& text);
    void changeEquationKeyboardToNormalForLink(
        std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>, const std::optional<std::string>& enteredText);
    void closeEquationEditor();
    void saveEquationWithText(const std::string& text, std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>);
    void changeEquationTypeToNormalTypeForLink(std::shared_ptr<PXLinkVO>, std::shared_ptr<SDKFIBVO>);
    void removeEquationEditorKeyboard();
    void hideTopAndBottomBarForIphoneTeacherReview();
    void showTopAndBottomBarForIphoneTeacherReview();
    const std::shared_ptr<ui::Button>& equationEditorButton() const { return m_equationButton; }
    const std::shared_ptr<EquationEditorKeyboardViewController>& equationEditorKeyboardViewController() const
    {
        return m_equationKeyboard;
    }

    // --- Protractor records ---
    void didCloseProtractorWithProtractorVO(const std::shared_ptr<SDKProtractorVO>&);
    void deleteProtractorWithProtractorVO(const std::shared_ptr<SDKProtractorVO>&);
    void didSelectProtractorWithProtractorVO(const std::shared_ptr<SDKProtractorVO>&);

private:
    class Delegates;

    std::shared_ptr<PXBookVO> pageBook() const;
    std::shared_ptr<PXLinkVO> storedLink(int64_t pageID, int64_t linkID) const;
    std::shared_ptr<AnswerReview> review() const { return m_review.lock(); }
    bool inTeacherReview() const;
    int64_t userID() const;
    std::string bookID() const;
    std::shared_ptr<ui::View> rendererView() const;
    void endRendererEditing();
    void resetRendererZoom();
    void notifyEvent(const std::string& name, const std::string& markupType);
    void setTeacherReviewPenBarsHidden(bool);
    // The record the equation keyboard edits: the stored equation answer (or a new one), or
    // in teacher review the learner's.
    std::shared_ptr<SDKFIBVO> equationRecordForLink(const PXLinkVO&) const;

    ReaderContext& m_context;
    InteractiveReader& m_reader;
    ReaderInteractiveContent& m_content;
    std::shared_ptr<Delegates> m_delegates;
    std::weak_ptr<AnswerReview> m_review;

    bool m_fibKeyBoardPresent = false;
    std::shared_ptr<MVFIB> m_mvFIB;
    std::shared_ptr<ui::ViewController> m_fibAnswerViewController;
    std::shared_ptr<LinkDropDownViewController> m_dropDown;
    std::shared_ptr<EquationEditorKeyboardViewController> m_equationKeyboard;
    std::shared_ptr<ui::Button> m_equationButton;
    std::optional<base::RunLoop::TaskId> m_pendingEquationLaunch;
};

} // namespace lectoro
