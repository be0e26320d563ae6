#pragma once

// The reader's side of the help overlay: whether it is due (one shown-once flag per book
// kind and one for teacher review, kept in the user defaults), building it with its
// colours and one descriptor per visible bar item, what a page change or the close does,
// and the read-aloud offer that follows.
//
// The reader owns one ReaderHelp (shared: the overlay holds it weakly as its delegate)
// and calls:
//   - showHelpScreen(false) when the renderer reports the book loaded and when the search
//     view closes; showHelpScreenForTeacherReview() when the teacher-review page changes;
//   - refreshHelpDescriptors(true) after a page load or a new bookmark view while an
//     overlay is shown, refreshHelpDescriptors(false) when the device turns.

#include "LectoroSDKWithReader/reader/help/HelpDelegate.h"
#include "LectoroSDKWithReader/reader/help/HelpDescriptor.h"
#include "platform/base/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class View;
class ViewController;
} // namespace ui

namespace lectoro {

class HelpScreen;
class LectoroBookVO;

// What the overlay needs of the reader.
class ReaderHelpHost {
public:
    virtual ~ReaderHelpHost() = default;
    // The reader controller: the overlay becomes its child and covers its view's safe area;
    // the bars are found among that view's subviews.
    virtual std::shared_ptr<ui::ViewController> helpParentViewController() = 0;
    virtual std::shared_ptr<LectoroBookVO> helpCurrentBook() = 0;
    virtual void moveTopAndBottomOnScreen(bool animate) = 0;
    virtual void moveTopAndBottomOffScreen(bool animate) = 0;
    virtual std::shared_ptr<ui::View> playerTopActionBarView() = 0;
    virtual bool readAloudPopupShown() = 0;
    virtual void showReadAloudController() = 0;
    virtual void notifyEvent(const std::string& eventName, const base::Value& eventInfo) = 0;
    // The bookmark view on the current page (item tag 40), when there is one.
    virtual std::shared_ptr<ui::View> helpBookmark() { return nullptr; }
    // During teacher review these hold the teacher bars.
    virtual std::shared_ptr<ui::View> penToolActionBarView() { return nullptr; }
    virtual std::shared_ptr<ui::View> penToolActionBottomBarView() { return nullptr; }
};

class ReaderHelp : public HelpDelegate, public std::enable_shared_from_this<ReaderHelp> {
public:
    static constexpr const char* pdfFlagKey = "HelpScreenForReaderForPdf";
    static constexpr const char* reflowEpubFlagKey = "HelpScreenForReaderForReflowEpub";
    static constexpr const char* fixedEpubFlagKey = "HelpScreenForReaderFixedEpub";
    static constexpr const char* teacherReviewFlagKey = "HelpScreenForTeacherReview";

    // The host must outlive this object.
    static std::shared_ptr<ReaderHelp> create(ReaderHelpHost&);

    // Writes YES for each flag that is absent.
    void configureForHelpScreen();
    void showHelpScreen(bool forTeacherReview);
    void showHelpScreenForTeacherReview();
    std::shared_ptr<HelpScreen> getHelpScreenInstance();
    const std::shared_ptr<HelpScreen>& helpScreen() const { return m_helpScreen; }
    bool isHelpScreenShown() const { return m_helpScreen != nullptr; }

    // Rebuild the descriptor list from the bars on screen.
    std::vector<std::shared_ptr<HelpDescriptor>> getAllAppBarButton();
    std::vector<std::shared_ptr<HelpDescriptor>> getAllAppBarButtonForTeacherReview();
    void setHelpTextForView(const std::shared_ptr<ui::View>&);
    void setHelpTextForViewForTeacherReview(const std::shared_ptr<ui::View>&);
    // {"TITLE", "DETAIL_TEXT", "ON_SECOND_SCREEN"} for the item's tag; empty without help text.
    base::Value getHelpTextTitleAndDescriptionForView(const ui::View&);

    // Hands the shown overlay freshly collected descriptors; with `layOut` it redraws.
    void refreshHelpDescriptors(bool layOut);

    // HelpDelegate.
    void swipeAtIndex(HelpScreen&, int64_t index) override;
    void didRemovedHelpScreen(HelpScreen&) override;

    // The flag of the open book's kind; none for an EPUB book of another layout.
    static std::optional<std::string> flagKeyForBook(const LectoroBookVO*);

private:
    explicit ReaderHelp(ReaderHelpHost&);
    void offerReadAloud();
    void dismissShownOverlay();

    ReaderHelpHost& m_host;
    std::shared_ptr<HelpScreen> m_helpScreen;
    std::vector<std::shared_ptr<HelpDescriptor>> m_helpDescriptorsForHelpScreen;
};

} // namespace lectoro
