#include "LectoroSDKWithReader/interactive/ReaderInteractiveContent.h"

#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVPopOverBackgroundView.h"
#include "LectoroSDKWithReader/interactive/InteractiveReader.h"
#include "LectoroSDKWithReader/interactive/LinkAddresses.h"
#include "LectoroSDKWithReader/interactive/MultiLinkController.h"
#include "LectoroSDKWithReader/interactive/answers/InteractiveAnswers.h"
#include "LectoroSDKWithReader/interactive/players/InteractiveMarkupPlayers.h"
#include "LectoroSDKWithReader/interactive/web/InteractiveWebContent.h"
#include "LectoroSDKWithReader/reader/ReaderContext.h"
#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/widgets/GlossaryViewController.h"
#include "LectoroSDKWithReader/readersdk/widgets/MarkupView.h"
#include "platform/base/FileManager.h"
#include "platform/base/URL.h"
#include "platform/ui/Presentation.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace lectoro {

// The delegate seats the framework's widgets hold weakly; they forward to the feature,
// which owns this object, so a widget outliving the feature reaches nothing.
class ReaderInteractiveContent::Delegates final : public MarkupHitAreaDelegate,
                                                  public GlossaryViewControllerDelegate,
                                                  public MultiLinkControllerDelegate,
                                                  public ui::PopoverPresentationControllerDelegate {
public:
    explicit Delegates(ReaderInteractiveContent& owner)
        : m_owner(owner)
    {
    }
    void didTapOnMarkupHitArea(MarkupHitAreaLabel& area) override { m_owner.didTapOnMarkupHitArea(area); }
    void didSelectGlossaryItemWithType(int64_t kind, const std::string& path) override
    {
        m_owner.didSelectGlossaryItemWithType(kind, path);
    }
    void didSelectLinkVo(const std::shared_ptr<PXLinkVO>& link) override { m_owner.didSelectLinkVo(link); }
    void popoverPresentationControllerDidDismissPopover(ui::PopoverPresentationController&) override
    {
        m_owner.glossaryPopoverDidDismiss();
    }

private:
    ReaderInteractiveContent& m_owner;
};

ReaderInteractiveContent::ReaderInteractiveContent(ReaderContext& context, InteractiveReader& reader)
    : m_context(context)
    , m_reader(reader)
    , m_delegates(std::make_shared<Delegates>(*this))
    , m_answers(std::make_unique<InteractiveAnswers>(context, reader, *this))
    , m_players(std::make_unique<InteractiveMarkupPlayers>(context, reader))
    , m_web(std::make_unique<InteractiveWebContent>(context, reader))
{
}

ReaderInteractiveContent::~ReaderInteractiveContent() = default;

std::shared_ptr<PXBookVO> ReaderInteractiveContent::pageBook() const
{
    return std::dynamic_pointer_cast<PXBookVO>(m_context.currentBook);
}

std::weak_ptr<MarkupHitAreaDelegate> ReaderInteractiveContent::hitAreaDelegate() const { return m_delegates; }

// --- Glossary ---

void ReaderInteractiveContent::loadGlossaryMarkUp(const PXLinkVO& link)
{
    if (m_glossary)
        removeGlossaryController();
    auto book = pageBook();
    auto presenter = m_reader.presentingController();
    if (!book || !presenter)
        return;
    m_context.activeMode = ReaderActiveModeGlossary;
    auto glossary = GlossaryViewController::create();
    if (const auto& theme = m_context.theme) {
        if (auto c = theme->glossary_icon_color())
            glossary->setIconColor(*c);
        if (auto c = theme->glossary_icon_border_color())
            glossary->setIconBorderColor(*c);
        if (auto c = theme->glossary_alphabet_label_color())
            glossary->setAlphabetLabelColor(*c);
        if (auto c = theme->glossary_keyword_label_color())
            glossary->setKeywordLabelColor(*c);
        if (auto c = theme->glossary_description_color())
            glossary->setDescriptionColor(*c);
    }
    glossary->setGlossaryItem(book->glossary[link.url]);
    // A pop-up never shows the page through it, also with a theme that names no colour.
    auto background = m_context.theme ? m_context.theme->glossary_popup_background_color() : std::nullopt;
    glossary->setPopupBackgroundColor(background.value_or(ui::Color::white()));
    glossary->setDelegate(m_delegates);
    m_glossary = glossary;
    auto icon = link.iconView.lock();
    report("loadGlossaryMarkUp", link.url, link.linkID);

    if (device().isPad) {
        glossary->setModalPresentationStyle(ui::ModalPresentationStyle::Popover);
        glossary->setPreferredContentSize({ 300, 300 });
        if (auto* popover = glossary->popoverPresentationController()) {
            if (icon) {
                popover->setSourceView(icon);
                popover->setSourceRect(icon->bounds());
            }
            popover->setBackgroundColor(ui::Color::clear());
            MVPopOverBackgroundView::setArrowColor(ui::Color::clear());
            popover->setPopoverBackgroundViewClass("MVPopOverBackgroundView", MVPopOverBackgroundView::factory());
            popover->setDelegate(m_delegates);
        }
        presenter->presentViewController(glossary, false);
        return;
    }
    ui::Rect iconFrame = icon ? icon->frame() : ui::Rect {};
    if (icon) {
        if (auto super = icon->superview())
            iconFrame = super->convertRectTo(iconFrame, presenter->view().get());
    }
    glossary->view()->setFrame(glossaryPhoneFrame(iconFrame, presenter->view()->frame().size));
    auto layer = glossary->view()->layer();
    layer->setShadowRadius(2.0);
    layer->setShadowColor(ui::Color::black());
    layer->setShadowOffset({ 0, 0 });
    layer->setShadowOpacity(1.2);
    glossary->view()->setClipsToBounds(false);
    presenter->addChildViewController(glossary);
    presenter->view()->addSubview(glossary->view());
}

void ReaderInteractiveContent::removeGlossaryController()
{
    // Only a glossary that is open hands the screen back; another pop-up keeps its mode.
    if (!m_glossary)
        return;
    auto glossary = std::move(m_glossary);
    m_glossary = nullptr;
    if (glossary->presentingViewController())
        glossary->dismissViewControllerAnimated(false);
    else {
        glossary->view()->removeFromSuperview();
        glossary->removeFromParentViewController();
    }
    m_context.activeMode = ReaderActiveModeNone;
}

void ReaderInteractiveContent::glossaryPopoverDidDismiss()
{
    // A tap beside the pop-over closed it; the controller is gone from the screen.
    m_glossary = nullptr;
    if (m_context.activeMode == ReaderActiveModeGlossary)
        m_context.activeMode = ReaderActiveModeNone;
    m_reader.resetAllPlayerActionBar();
}

void ReaderInteractiveContent::didSelectGlossaryItemWithType(int64_t kind, const std::string& path)
{
    removeGlossaryController();
    auto book = pageBook();
    // A glossary names files of the book; one that would leave the book's folder is never opened.
    auto refuse = [&] {
        report("resourceRefused", path);
        m_players->showAlertControllerWithMsg(LocalizationHelper::localizedStringWithKey("RESOURCE_NOT_FOUND"),
            LocalizationHelper::localizedStringWithKey("ERROR_ALERT_TITLE"));
    };
    switch (kind) {
    case 0:
        report("AudioPlayerWithURL", path);
        m_players->isExternalResource = false;
        m_players->AudioPlayerWithURL(bookRelativePath(path), true, true, false);
        break;
    case 1: {
        auto video = book ? base::pathInsideFolder(book->path, path) : std::nullopt;
        if (!video) {
            refuse();
            break;
        }
        report("VideoPlayerWithVideoPath", *video);
        m_players->VideoPlayerWithVideoPath(*video, 0, book->contentKey);
        break;
    }
    case 2:
        report("ImageControllerWithImagePath", path);
        m_players->isExternalResource = false;
        m_players->ImageControllerWithImagePath(path, "", 4, true);
        break;
    case 3: {
        if (base::isWebAddress(path)) {
            report("webPlayer", path);
            if (auto url = base::URL::parse(path))
                m_web->webPlayer(*url);
            break;
        }
        auto page = book ? base::pathInsideFolder(book->path, path) : std::nullopt;
        if (!page) {
            refuse();
            break;
        }
        report("webPlayer", fileAddressForPath(*page));
        m_web->webPlayer(base::URL::fileURL(*page));
        break;
    }
    default:
        break;
    }
}

// --- Multi-link list ---

std::vector<std::shared_ptr<PXLinkVO>> ReaderInteractiveContent::getLinksArrayForMultiLink(const PXLinkVO& group) const
{
    std::vector<std::shared_ptr<PXLinkVO>> members;
    auto book = pageBook();
    if (!book)
        return members;
    for (const auto& link : book->getLinksForForPagenumber(base::Value(group.pageID).integerValue())) {
        if (link && link->isMultiLinkMember && sameMultiLinkAnchor(*link, group))
            members.push_back(link);
    }
    return members;
}

void ReaderInteractiveContent::loadMultiLinkMarkup(const PXLinkVO& group)
{
    if (!pageBook())
        return;
    auto members = getLinksArrayForMultiLink(group);
    if (members.empty())
        return;
    if (m_multiLinkController)
        removeMultiLinkPopOver();
    auto icon = group.iconView.lock();
    ui::Rect iconFrame = icon ? icon->frame() : ui::Rect {};
    ui::Rect frame = multiLinkListFrame(group, iconFrame, members.size());
    // The anchor is in the book's page units; the icon is where the page is shown now, so the
    // list opens at the icon and wholly on the page.
    if (auto page = icon ? icon->superview() : nullptr)
        frame = frameAtMarkup(iconFrame, frame.size, page->bounds().insetBy(4, 4));
    auto list = MultiLinkController::create(frame, members);
    list->setDelegate(m_delegates);
    m_multiLinkController = list;
    report("loadMultiLinkMarkup", std::to_string(members.size()));
    if (m_context.renderer)
        m_context.renderer->addMultiLinkController(list, icon, base::Value(group.pageID).integerValue());
    if (!device().isPad)
        m_context.activeMode = ReaderActiveModeMultiLink;
}

void ReaderInteractiveContent::didSelectLinkVo(const std::shared_ptr<PXLinkVO>& link)
{
    removeMultiLinkPopOver();
    if (!link)
        return;
    if (auto icon = std::dynamic_pointer_cast<MarkupView>(link->iconView.lock()))
        didTapOnLink(*icon);
}

void ReaderInteractiveContent::removeMultiLinkPopOver()
{
    if (!m_multiLinkController)
        return;
    auto list = std::move(m_multiLinkController);
    m_multiLinkController = nullptr;
    if (device().isPad && list->presentingViewController()) {
        list->dismissViewControllerAnimated(false, [] {});
    } else {
        if (!device().isPad)
            m_context.activeMode = ReaderActiveModeNone;
        if (list->isViewLoaded())
            list->view()->removeFromSuperview();
    }
}

// --- What the shell closes ---

void ReaderInteractiveContent::stopInlineVideo() { m_players->stopInlineVideo(); }

void ReaderInteractiveContent::removeInlineYoutubePlayer() { m_players->removeInlineYoutubePlayer(); }

void ReaderInteractiveContent::resetAudioPlayer() { m_players->resetAudioPlayer(); }

bool ReaderInteractiveContent::hasAudioPlayer() const { return m_players->audioPlayer() != nullptr; }

ui::Rect ReaderInteractiveContent::getFrameForAudioPlayerView(const ui::View& playerView) const
{
    return m_players->getFrameForAudioPlayerView(playerView);
}

void ReaderInteractiveContent::removeInstructionMarkupPopOver() { m_web->removeInstructionMarkupPopOver(); }

void ReaderInteractiveContent::didSelectActionToCloseDropDown() { m_answers->didSelectActionToCloseDropDown(); }

bool ReaderInteractiveContent::removePopOverForActiveMode()
{
    switch (m_context.activeMode) {
    case ReaderActiveModeMultiLink:
        removeMultiLinkPopOver();
        return true;
    case ReaderActiveModeGlossary:
        removeGlossaryController();
        return true;
    case ReaderActiveModeInstructionPopup:
        removeInstructionMarkupPopOver();
        return true;
    default:
        return false;
    }
}

void ReaderInteractiveContent::removeFIBPopOver() { m_answers->removeFIBPopOver(); }

} // namespace lectoro
