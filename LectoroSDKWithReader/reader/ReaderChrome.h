#pragma once

// The reader's help overlay, and the shell's names for the bar operations of ReaderBars.
// The overlay (help/ReaderHelp) is shown once per book kind when the book has loaded, is
// refreshed after each page load and rotation while it is up, and reaches the reader only
// through this object.

#include "LectoroSDKWithReader/reader/help/ReaderHelp.h"

#include <functional>
#include <memory>

namespace lectoro {

struct ReaderContext;

class ReaderChrome final : public ReaderHelpHost {
public:
    explicit ReaderChrome(ReaderContext&);
    ~ReaderChrome() override;
    ReaderChrome(const ReaderChrome&) = delete;
    ReaderChrome& operator=(const ReaderChrome&) = delete;

    void addPlayerActionBarForTopAndBottom();
    void removePlayerBottomBar();
    void updatePlayerActionBarForSelectedBook();
    void updateChapterNameForTopBar();
    void resetAllPlayerActionBar();
    void moveTopAndBottomOffScreen(bool animate, std::function<void()> completion = {});
    void moveTopAndBottomOnScreen(bool animate, std::function<void()> completion = {});

    // --- Help overlay ---
    ReaderHelp& help() { return *m_help; }
    bool isHelpScreenShown() const { return m_help->isHelpScreenShown(); }
    // The overlay for the open book's kind, when its shown-once flag still allows it.
    void showHelpScreen();
    void refreshHelpDescriptors(bool layOut) { m_help->refreshHelpDescriptors(layOut); }

    // ReaderHelpHost.
    std::shared_ptr<ui::ViewController> helpParentViewController() override;
    std::shared_ptr<LectoroBookVO> helpCurrentBook() override;
    void moveTopAndBottomOnScreen(bool animate) override { moveTopAndBottomOnScreen(animate, {}); }
    void moveTopAndBottomOffScreen(bool animate) override { moveTopAndBottomOffScreen(animate, {}); }
    std::shared_ptr<ui::View> playerTopActionBarView() override;
    bool readAloudPopupShown() override;
    void showReadAloudController() override;
    void notifyEvent(const std::string& eventName, const base::Value& eventInfo) override;
    std::shared_ptr<ui::View> penToolActionBarView() override;
    std::shared_ptr<ui::View> penToolActionBottomBarView() override;
    // The bookmark icon the overlay explains (the annotations' bookmark road picks it).
    std::shared_ptr<ui::View> helpBookmark() override { return m_helpBookmark.lock(); }
    void setHelpBookmark(std::shared_ptr<ui::View> icon) { m_helpBookmark = std::move(icon); }

private:
    ReaderContext& m_context;
    std::shared_ptr<ReaderHelp> m_help;
    std::weak_ptr<ui::View> m_helpBookmark;
};

} // namespace lectoro
