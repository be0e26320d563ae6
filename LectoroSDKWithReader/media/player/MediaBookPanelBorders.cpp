// The side panel's two thin borders: clear while the screen is built or turning, coloured
// beside the player on a tablet in landscape (the left one at the panel's trailing edge in
// a right-to-left layout).

#include "LectoroSDKWithReader/media/player/MVLectoroMediaBookReader.h"

#include "LectoroSDKWithReader/readersdk/media/MVLectoroMediaBookThemeVO.h"
#include "LectoroSDKWithReader/readersdk/widgets/media/MVMediaBookTOCController.h"

namespace lectoro {

void MVLectoroMediaBookReader::addSidePanelBorders()
{
    if (!m_toc)
        return;
    m_leftBorderView = addBoarderToLeftWithColor(*m_toc->view(), ui::Color::clear());
    m_topBorderView = addTopBorderWithColor(*m_toc->view(), ui::Color::clear());
}

void MVLectoroMediaBookReader::colourSidePanelBorders(const MediaBookScreenFrames& frames)
{
    if (!m_toc)
        return;
    if (m_leftBorderView && frames.leftBorderAtTrailingEdge) {
        auto border = m_leftBorderView->frame();
        border.origin.x = m_toc->view()->bounds().size.width - 1;
        m_leftBorderView->setFrame(border);
    }
    if (!frames.colourBorders)
        return;
    if (m_leftBorderView)
        m_leftBorderView->setBackgroundColor(m_theme->media_sidepanel_selected_chapter_divider_color());
    if (m_topBorderView)
        m_topBorderView->setBackgroundColor(m_theme->media_toppanel_bottom_line());
}

} // namespace lectoro
