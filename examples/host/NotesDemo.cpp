#include "NotesDemo.h"
#include "DemoRegistry.h"

#include "DemoLaunch.h"
#include "DemoWait.h"
#include "HostListener.h"

#include "LectoroSDKWithReader/annotations/HighlightRoad.h"
#include "LectoroSDKWithReader/annotations/notes/NoteRoad.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"
#include "LectoroSDKWithReader/reader/LectoroReaderViewController.h"
#include "LectoroSDKWithReader/reader/ReaderViewController.h"
#include "LectoroSDKWithReader/readersdk/YSDBManager.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "companion/renderer/BookRenderer.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

#include <sstream>

namespace host {

namespace {

int notesFail(std::ostream& out, const std::string& why)
{
    out << "Notes demo failed: " << why << '\n';
    return 4;
}

std::vector<std::shared_ptr<lectoro::SDKHighlightVO>> storedNotes(lectoro::ReaderViewController& reader)
{
    return reader.context().dbManager->highlightBookID(
        std::to_string(reader.bookID()), reader.user()->numericUserID());
}

} // namespace

int runNotesDemo(std::ostream& out, const std::string& bookPath)
{
    std::ostringstream callbacks;
    auto launcher = launchDemoBook(out, bookPath, std::make_shared<HostListener>(callbacks));
    auto reader = launcher->reader();
    if (!reader || !reader->currentBook()) {
        out << "Notes demo: the book did not open\n";
        return 3;
    }
    // The note editor on screen, as the reader presents it.
    auto editorShown = [&] {
        auto editor = reader->noteRoad().noteController();
        return editor && isPresentedAndShown(editor) && presentationsSettled();
    };
    auto renderer = std::dynamic_pointer_cast<companion::BookRenderer>(reader->rendererView());
    if (!renderer || renderer->getActivePages().empty())
        return notesFail(out, "no page on screen");
    int64_t page = renderer->getActivePages().front().pageID;
    if (!std::dynamic_pointer_cast<lectoro::PXBookVO>(reader->context().currentBook))
        page = renderer->getActivePages().front().fileIndex;
    if (!renderer->selectWords(page, 1, 3))
        return notesFail(out, "nothing to select on the first page");

    reader->highlightRoad().addContextualNoteWithTextColor("#FFE082");
    if (!waitFor(out, "the note editor", editorShown))
        return notesFail(out, "the note editor did not open");
    auto editor = reader->noteRoad().noteController();
    out << "Editor open on \"" << editor->selectedTextTextView()->text() << "\"\n";
    editor->noteTextView()->insertText("Worth reading twice.");
    editor->postButtonAction();
    auto noteStored = [&] {
        auto notes = storedNotes(*reader);
        return notes.size() == 1 && !notes.front()->noteText.empty();
    };
    if (!waitFor(out, "the note in the store and the editor gone",
            [&] { return noteStored() && !editor->presentingViewController() && presentationsSettled(); }))
        return notesFail(out, "expected one stored note");
    auto stored = storedNotes(*reader);
    out << "Stored note: \"" << stored.front()->noteText << "\" in " << stored.front()->backgroundColor
        << " on page " << stored.front()->pageIdentifier << " (" << stored.front()->displayNum << ")\n";

    // The user's own note opened again, then a comment stored with it.
    auto note = stored.front();
    note->isShare = true;
    reader->user()->role = "INSTRUCTOR";
    reader->user()->firstName = "Demo";
    reader->user()->lastName = "Reader";
    reader->noteRoad().showNotesForHighlight(note, false);
    if (!waitFor(out, "the note editor opened again", editorShown))
        return notesFail(out, "the comment box did not open");
    editor = reader->noteRoad().noteController();
    if (!editor->enterYourCommentTextField()->becomeFirstResponder())
        return notesFail(out, "the comment box did not open");
    editor->enterYourCommentTextField()->insertText("Agreed!");
    editor->commentPostButton();
    auto commentStored = [&] {
        auto notes = storedNotes(*reader);
        const auto* list = notes.empty() ? nullptr : notes.front()->noteComments.asList();
        return list && !list->empty();
    };
    if (!waitFor(out, "the comment in the store", commentStored))
        return notesFail(out, "the comment was not stored");
    stored = storedNotes(*reader);
    const auto* comments = stored.front()->noteComments.asList();
    out << "Comment stored: \"" << (*comments)[0]["Text"].description() << "\" by "
        << (*comments)[0]["DisplayName"].description() << " at " << (*comments)[0]["Date"].description()
        << '\n';

    editor->deleteButtonAction();
    auto question = [&] { return std::dynamic_pointer_cast<ui::AlertController>(editor->presentedViewController()); };
    (void)waitFor(out, "the delete question", [&] { return isPresentedAndShown(question()); });
    auto alert = question();
    if (!alert
        || !alert->tapActionWithTitle(
            lectoro::LocalizationHelper::localizedStringWithKey("YES_ALERT_BUTTON")))
        return notesFail(out, "the delete question did not show");
    // The answer deletes the note once the question has gone.
    (void)waitFor(out, "the note deleted from the store",
        [&] { return storedNotes(*reader).empty() && !alert->presentingViewController(); });
    out << "Deleted; notes left: " << storedNotes(*reader).size() << '\n';
    launcher->uninitializeReader();
    return 0;
}

namespace {

const bool notesDemoRegistered = registerDemo({ "--demo-notes", "",
    "[--book PATH]   (write, comment on and delete a note)", Demo::Setup::FrameworkNoHelp,
    [](const DemoRequest& request) { return runNotesDemo(request.out, request.bookPath); } });

} // namespace

} // namespace host
