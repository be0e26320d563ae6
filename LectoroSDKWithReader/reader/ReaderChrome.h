#pragma once

// The reader's bars, help overlay and chapter title as the shell calls them. The bar
// operations go to the reader's ReaderBars and its action dispatcher.

#include <functional>

namespace lectoro {

struct ReaderContext;

class ReaderChrome {
public:
    explicit ReaderChrome(ReaderContext&);

    void addPlayerActionBarForTopAndBottom();
    void removePlayerBottomBar();
    void updatePlayerActionBarForSelectedBook();
    void updateChapterNameForTopBar();
    void resetAllPlayerActionBar();
    void moveTopAndBottomOffScreen(bool animate, std::function<void()> completion = {});
    void moveTopAndBottomOnScreen(bool animate, std::function<void()> completion = {});
    bool isHelpScreenShown() const { return false; }
    void showHelpScreen();

private:
    ReaderContext& m_context;
};

} // namespace lectoro
