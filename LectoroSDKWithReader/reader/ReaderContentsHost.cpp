#include "LectoroSDKWithReader/reader/ReaderContentsHost.h"

#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"
#include "LectoroSDKWithReader/reader/ReaderNavigation.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"

namespace lectoro {

std::shared_ptr<ui::ViewController> ReaderContentsHost::contentsPresenter()
{
    return m_reader.shared_from_this();
}

base::Value ReaderContentsHost::getTOCContentData() const
{
    return m_reader.getTOCContentData();
}

std::vector<std::shared_ptr<SDKBookmarkVO>> ReaderContentsHost::getBookmarkData() const
{
    return m_reader.getBookmarkData();
}

std::string ReaderContentsHost::getChapterNameForChapter(const EPUBChapterVO& chapter) const
{
    return m_reader.getChapterNameForChapter(chapter);
}

void ReaderContentsHost::moveBarsOffScreen()
{
    m_reader.moveTopAndBottomOffScreenWithIsAnimate(false);
}

void ReaderContentsHost::didSelectActionToCloseTOC()
{
    m_reader.didSelectActionToCloseTOC();
}

void ReaderContentsHost::removeTOC()
{
    m_reader.removeTOC();
}

void ReaderContentsHost::navigateToPageWithPageId(const std::string& pageID)
{
    m_reader.navigation().navigateToPageWithPageId(pageID);
}

void ReaderContentsHost::actionForLinkWithLinkVO(const std::shared_ptr<PXLinkVO>& link)
{
    m_reader.interactiveContent().actionForLinkWithLinkVO(link);
}

void ReaderContentsHost::actionForResource(const base::Value& resource)
{
    m_reader.interactiveContent().actionForResource(resource);
}

void ReaderContentsHost::didSelectActionToJumpToBookWithBookID(const std::string& bookID)
{
    m_reader.didSelectActionToJumpToBookWithBookID(bookID);
}

void ReaderContentsHost::showSessionExpiredAlert()
{
    m_reader.showSessionExpiredAlert();
}

void ReaderContentsHost::showAlertWithTitle(const std::string& title, const std::string& message)
{
    m_reader.showAlertWithTitle(title, message);
}

} // namespace lectoro
