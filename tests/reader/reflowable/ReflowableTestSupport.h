#pragma once

// A clean world for the reflowable chrome tests: the UI scope, the library's own strings,
// in-memory user defaults, and small EPUB books built in memory.

#include "../LibraryStringsTestSupport.h"

#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Bundle.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Strings.h"
#include "platform/base/UserDefaults.h"
#include "platform/testing/UIScope.h"
#include "platform/ui/Environment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace lectoro::reflowabletest {

class ReflowableTest : public librarytest::LibraryStringsTest {
protected:
    void SetUp() override
    {
        LibraryStringsTest::SetUp();
        NumberLocalizationHandler::setLanguage("en");
    }

    void usePad(ui::Size screen = { 1024, 768 })
    {
        environment().setIdiom(ui::UserInterfaceIdiom::Pad);
        environment().setScreenSize(screen);
    }
};

// A reflowable book of chapters "ch0.xhtml"… each with the given number of CFIs
// ("/6/<chapter>!/4/<n>").
inline std::shared_ptr<EPUBBookVO> makeReflowableBook(const std::vector<int>& cfisPerChapter)
{
    auto book = std::make_shared<EPUBBookVO>();
    book->meta.layout = 0;
    for (size_t index = 0; index < cfisPerChapter.size(); ++index) {
        auto chapter = std::make_shared<EPUBChapterVO>();
        chapter->fileIndex = static_cast<int64_t>(index);
        chapter->href = "ch" + std::to_string(index) + ".xhtml";
        EPUBBookCFIVO entry;
        entry.href = chapter->href;
        for (int n = 0; n < cfisPerChapter[index]; ++n) {
            std::string cfi = "/6/" + std::to_string(index) + "!/4/" + std::to_string(n);
            entry.chapterCFIArray.push_back(cfi);
            book->bookCFIArray.push_back(cfi);
        }
        book->bookCFIs.push_back(entry);
        book->chapters.push_back(chapter);
    }
    return book;
}

// What the reader's owner heard.
class RecordingReaderDelegate : public ReaderViewControllerDelegate {
public:
    struct Percentage {
        int64_t percentage;
        int64_t bookID;
    };
    struct Furthest {
        std::string data;
        int64_t bookID;
        int64_t userID;
    };
    void didUpdatedReadPercentageTo(int64_t percentage, int64_t bookID) override
    {
        percentages.push_back({ percentage, bookID });
    }
    void didUpdateFurthestPageData(const std::string& data, int64_t bookID, int64_t userID) override
    {
        furthest.push_back({ data, bookID, userID });
    }
    std::vector<Percentage> percentages;
    std::vector<Furthest> furthest;
};

} // namespace lectoro::reflowabletest
