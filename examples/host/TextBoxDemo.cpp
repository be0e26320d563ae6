#include "TextBoxDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/annotations/ReaderAnnotations.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationAlignmentActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationPalleteActionView.h"
#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationRoad.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/base/Bundle.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"
#include "platform/ui/TextView.h"

#include <filesystem>
#include <fstream>

namespace host {

namespace {

// The text-box colours come from the default theme only beside a host theme.
constexpr const char* textBoxDemoTheme
    = R"({"Text_Annotation": {"color_popup": {"color4": {"background": "#FDD835"}}}})";

class TextBoxDemo {
public:
    TextBoxDemo(std::ostream& out, std::string bookPath)
        : m_out(out)
        , m_bookPath(std::move(bookPath))
    {
    }

    int run()
    {
        auto listener = std::make_shared<HostListener>(m_out);
        auto launcher = launchDemoBook(m_out, m_bookPath, listener);
        auto reader = launcher->reader();
        if (!reader || !reader->currentBook()) {
            m_out << "Text box demo: the book did not open\n";
            return 3;
        }
        auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
        if (!renderer || renderer->getActivePages().empty())
            return fail("no page on screen");
        if (launcher->userSettingsModel())
            launcher->userSettingsModel()->setIsTextAnnotationEnabled(true);
        const int64_t page = renderer->getActivePages().front().pageID;
        auto& road = reader->textAnnotationRoad();

        reader->annotations().actionForTextAnnotation();
        auto textView = renderer->textAnnotationTextView();
        if (!textView || reader->activeMode() != lectoro::ReaderActiveModeTextAnnotation)
            return fail("no box started editing");
        keyboard(true);
        auto bar = road.textAnnotationPlayerBottomActionBarView();
        if (!bar)
            return fail("no action bar above the keyboard");
        m_out << "Box placed on page " << page << "; bar with " << bar->numberOfItems() << " items\n";
        textView->insertText("Water boils at 100 degrees");
        bar->tapItemWithTag(2);
        if (auto alignment = road.textAnnotationAlignmentActionBarView())
            alignment->tapItemWithTag(2);
        bar->tapItemWithTag(3);
        if (auto palette = road.textAnnotationColorActionBarView())
            palette->tapItemWithTag(4);
        if (!bar->tapItemWithTag(5))
            return fail("the save item did not take the tap");
        keyboard(false);

        auto stored = storedBoxes(*reader, page);
        if (stored.size() != 1)
            return fail("expected one stored box, found " + std::to_string(stored.size()));
        const auto& box = *stored.front();
        m_out << "Stored: \"" << box.text << "\", alignment " << box.textAlignment << ", text colour "
              << box.textColor << ", background "
              << box.metaData["backgroundColor"].asString().value_or("none") << '\n';

        // A swipe shows the page before it returns; the page's boxes are drawn as it loads.
        renderer->swipe(companion::RendererSwipe::Next);
        renderer->swipe(companion::RendererSwipe::Previous);
        (void)waitFor(m_out, "page " + std::to_string(page) + " again", [&] { return demoPageShown(*reader, page); });
        auto drawn = renderer->overlayForPage(page).textAnnotations;
        if (drawn.size() != 1 || drawn.front()->text != box.text)
            return fail("the box is not drawn again on its page");
        m_out << "Page " << page << " shown again: box drawn again\n";

        const auto centre = ui::Point(box.rect.midX(), box.rect.midY());
        renderer->tapPoint(page, centre);
        keyboard(true);
        bar = road.textAnnotationPlayerBottomActionBarView();
        if (!bar || !bar->tapItemWithTag(6))
            return fail("the stored box did not open with a delete item");
        auto confirmation = road.actionSheet();
        (void)waitFor(m_out, "the delete confirmation", [&] { return isPresentedAndShown(confirmation) && screenIsStill(); });
        if (!confirmation || !confirmation->tapActionWithTitle("Delete"))
            return fail("no delete confirmation");
        // The box is deleted once the confirmation has gone.
        (void)waitFor(m_out, "the delete confirmation to go",
            [&] { return !confirmation->presentingViewController() && screenIsStill(); });
        keyboard(false);
        const size_t left = storedBoxes(*reader, page).size();
        m_out << "Deleted after \"" << confirmation->message().value_or("") << "\": " << left
              << " boxes stored, " << renderer->overlayForPage(page).textAnnotations.size() << " drawn\n";
        if (!closeReaderAndWait(*reader, *listener, m_out))
            return fail("the book did not close");
        return left == 0 ? 0 : fail("the box is still stored");
    }

private:
    void keyboard(bool up)
    {
        auto& environment = ui::Environment::current();
        if (up)
            environment.showKeyboard(
                { { 0, environment.screenSize().height - 300 }, { environment.screenSize().width, 300 } });
        else
            environment.hideKeyboard();
        // The reader moves its views along with the keyboard.
        (void)waitFor(m_out, up ? "the keyboard to show" : "the keyboard to hide", screenIsStill);
    }

    static std::vector<std::shared_ptr<lectoro::SDKTextAnnotationVO>> storedBoxes(
        lectoro::ReaderViewController& reader, int64_t page)
    {
        const auto pages = reader.rendererView()->getActivePages();
        const std::string display = pages.empty() ? std::string() : pages.front().displayNum;
        return reader.context().dbManager->textAnnotationVOForPageID(
            std::to_string(page), display, std::to_string(reader.bookID()), reader.user()->numericUserID());
    }

    int fail(const std::string& why)
    {
        m_out << "Text box demo failed: " << why << '\n';
        return 4;
    }

    std::ostream& m_out;
    std::string m_bookPath;
};

} // namespace

int runTextBoxDemo(std::ostream& out, const std::string& bookPath, const std::string& storageRoot)
{
    const std::string previousMain = base::Bundle::main().rootPath();
    const bool themed = base::Bundle::main().pathForResource("ReaderTheme", "json").has_value();
    if (!themed) {
        auto folder = std::filesystem::path(storageRoot) / "demo-textbox-bundle";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "ReaderTheme.json") << textBoxDemoTheme;
        base::Bundle::setMainBundlePath(folder.string());
    }
    const int status = TextBoxDemo(out, bookPath).run();
    if (!themed)
        base::Bundle::setMainBundlePath(previousMain);
    return status;
}

namespace {

const bool textBoxDemoRegistered = registerDemo({ "--demo-textbox", "",
    "[--book PATH]   (a text box typed, coloured, saved, drawn again, deleted)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runTextBoxDemo(request.out, request.bookPath, request.storagePath); } });

} // namespace

} // namespace host
