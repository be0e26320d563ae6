#pragma once

// The bookmark pop-up: a panel holding one text field where the reader names the page's
// bookmark. It edits the record the renderer answers for the page (getBookmarkVOForPageNo)
// and hands it back through didBookmarkCompleteWithBookmarkVO when the field returns:
// a name on a new bookmark makes it (status 1), a changed name changes it (status 2 once
// it is on the server, else it stays new), and an emptied name on an existing bookmark
// deletes it (status 3). An empty name on a new bookmark hands nothing back.

#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>

namespace lectoro {

class SDKBookmarkVO;

class BookmarkControllerDelegate {
public:
    virtual ~BookmarkControllerDelegate() = default;
    virtual void didBookmarkCompleteWithBookmarkVO(std::shared_ptr<SDKBookmarkVO>) { }
};

class BookMarkController : public ui::ViewController, public ui::TextFieldDelegate {
public:
    // initWithNibName:@"BookMarkController" bundle:…
    static std::shared_ptr<BookMarkController> create();
    std::string_view className() const override { return "BookMarkController"; }

    void loadView() override;

    std::shared_ptr<BookmarkControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<BookmarkControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    std::shared_ptr<SDKBookmarkVO> getBookmarkVO() const { return m_bookmarkVO; }
    // Shows the record's name in the field.
    void setBookmarkVO(std::shared_ptr<SDKBookmarkVO>);
    // "#RRGGBB": the panel's colour.
    void setBackgroundColorForView(const std::string& hexColor);

    std::shared_ptr<ui::View> panel();
    std::shared_ptr<ui::TextField> textField();

    // The field's return key: hands the record back as described above.
    void completeBookmark();
    bool shouldReturn(ui::TextField&) override;

protected:
    BookMarkController() = default;

private:
    std::weak_ptr<BookmarkControllerDelegate> m_delegate;
    std::shared_ptr<SDKBookmarkVO> m_bookmarkVO;
    std::shared_ptr<ui::View> m_panel;
    std::shared_ptr<ui::TextField> m_textField;
};

} // namespace lectoro
