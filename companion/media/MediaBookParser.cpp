#include "companion/media/MediaBookParser.h"

#include "companion/media/MediaSelectionNames.h"

#include "LectoroSDKWithReader/readersdk/media/MVMediaBookModel.h"
#include "companion/books/BookErrors.h"
#include "companion/books/BookPaths.h"

#include "platform/base/Dispatch.h"
#include "platform/base/FileManager.h"
#include "platform/base/Json.h"
#include "platform/base/RunLoop.h"
#include "platform/media/Asset.h"

#include <cmath>
#include <set>
#include <unordered_map>

namespace companion {

using namespace lectoro;

namespace {

// Sections nest no deeper than contents do in other books.
constexpr int maxChapterDepth = 32;

// What the parse makes, committed to the model only when everything was read.
struct ParsedBook {
    std::string title;
    bool multiAudioPackage = false;
    std::vector<std::shared_ptr<MVMediaBookChapterVO>> chapters;
    std::vector<std::shared_ptr<MVMediaBookChapterVO>> allChapters;
    std::vector<std::shared_ptr<MVMediaBookTimeIndexVO>> timeIndex;
    std::optional<std::vector<std::string>> audios;
    std::optional<std::vector<std::string>> subtitles;
    std::optional<std::vector<std::string>> resolutions;
};

base::Error malformed(const std::string& description)
{
    return makeBookError(BookError::Malformed, description);
}

std::optional<std::string> optionalText(const base::Value& value)
{
    if (auto text = value.asString())
        return *text;
    return std::nullopt;
}

// A time in seconds: a finite number, not negative, no later than the longest media believed.
std::optional<double> seconds(const base::Value& value, const media::AssetLimits& limits)
{
    auto number = value.asDouble();
    if (!number || !std::isfinite(*number) || *number < 0 || *number > limits.maxMediaDuration)
        return std::nullopt;
    return number;
}

base::Result<base::Value> readJsonFile(const std::string& path, size_t maxBytes)
{
    std::string folder = path.substr(0, path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
    std::string name = path.substr(folder.empty() ? 0 : folder.size() + 1);
    auto text = readBookFile(folder.empty() ? "." : folder, name, maxBytes);
    if (!text.ok())
        return text.error();
    auto parsed = base::parseJson(text.value());
    if (!parsed.ok())
        return malformed(path + " is not JSON: " + parsed.error().localizedDescription());
    return parsed;
}

class ChapterReader {
public:
    ChapterReader(std::string folder, const BookBudget& budget, const media::AssetLimits& limits, ParsedBook& book)
        : m_folder(std::move(folder)), m_budget(budget), m_limits(limits), m_book(book)
    {
    }

    base::Result<void> readList(const base::Value& list, int level, std::vector<std::shared_ptr<MVMediaBookChapterVO>>& into)
    {
        const auto* entries = list.asList();
        if (!entries)
            return malformed("toc.json: \"chapters\" must be a list");
        if (level >= maxChapterDepth)
            return {};
        for (const auto& entry : *entries) {
            auto chapter = readChapter(entry, level);
            if (!chapter.ok())
                return chapter.error();
            into.push_back(chapter.value());
        }
        return {};
    }

    // Durations come from the files, once per file, read only inside the book's folder.
    base::Result<void> measure()
    {
        const media::AssetLimits& limits = m_limits;
        media::AssetLoadOptions options;
        options.root = m_folder;
        options.limits = limits;
        std::unordered_map<std::string, double> durations;
        for (const auto& chapter : m_book.allChapters) {
            if (durations.count(chapter->chapterURL))
                continue;
            auto asset = media::Asset::load(chapter->chapterURL, options);
            if (!asset.ok())
                return asset.error();
            if (asset.value().kind == media::Asset::Kind::Stream && !m_book.audios)
                takeStreamOptions(asset.value());
            durations.emplace(chapter->chapterURL, asset.value().duration);
        }
        auto& all = m_book.allChapters;
        std::vector<double> ends = endsWithinFiles(durations);
        double bookTime = 0;
        for (size_t i = 0; i < all.size(); ++i) {
            auto& chapter = *all[i];
            double length = std::max(0.0, ends[i] - chapter.startTimeInFile);
            chapter.avAssetTotalTime = static_cast<int64_t>(std::floor(length));
            chapter.chapterStartTimeForBook = bookTime;
            bookTime += length;
            if (bookTime > limits.maxMediaDuration)
                return makeBookError(BookError::TooLarge,
                    "toc.json: the chapters last longer than " + std::to_string(static_cast<int64_t>(limits.maxMediaDuration))
                        + " s (maxMediaDuration)");
        }
        return {};
    }

private:
    // Where each chapter ends in its file: at the start of the first later chapter of the same
    // file that starts after it, else at the file's end. One pass from the back per file, with
    // the later starts kept in rising order.
    std::vector<double> endsWithinFiles(const std::unordered_map<std::string, double>& durations) const
    {
        const auto& all = m_book.allChapters;
        std::vector<double> ends(all.size());
        std::unordered_map<std::string, std::vector<double>> laterStarts;
        for (size_t i = all.size(); i-- > 0;) {
            const auto& chapter = *all[i];
            auto& starts = laterStarts[chapter.chapterURL];
            while (!starts.empty() && starts.back() <= chapter.startTimeInFile)
                starts.pop_back();
            double fileEnd = durations.at(chapter.chapterURL);
            ends[i] = starts.empty() ? fileEnd : std::min(fileEnd, starts.back());
            starts.push_back(chapter.startTimeInFile);
        }
        return ends;
    }

    base::Result<std::shared_ptr<MVMediaBookChapterVO>> readChapter(const base::Value& entry, int level)
    {
        if (!entry.asDictionary())
            return malformed("toc.json: a chapter must be an object");
        if (m_book.allChapters.size() >= m_budget.maxSpineItems)
            return makeBookError(BookError::TooLarge,
                budgetExceededDescription("toc.json", m_book.allChapters.size() + 1, "chapters", m_budget.maxSpineItems,
                    "maxSpineItems"));
        auto source = optionalText(entry["src"]);
        if (!source || source->empty())
            return malformed("toc.json: a chapter has no \"src\"");
        auto relative = resolveBookPath("", *source);
        if (!relative)
            return makeBookError(BookError::UnsafePath, "toc.json: the chapter media \"" + *source + "\" is not inside the book");
        auto size = bookFileSize(m_folder, *relative);
        if (!size.ok())
            return size.error();

        auto chapter = std::make_shared<MVMediaBookChapterVO>();
        chapter->chapterId = optionalText(entry["id"]).value_or(std::to_string(m_book.allChapters.size() + 1));
        chapter->chapterTitle = optionalText(entry["title"]);
        std::string lastComponent = source->substr(source->rfind('/') == std::string::npos ? 0 : source->rfind('/') + 1);
        chapter->urlLastPathComponent = lastComponent;
        chapter->chapterURL = absoluteBookPath(m_folder, *relative);
        chapter->level = level;
        chapter->transcript = optionalText(entry["transcript"]).value_or("");
        if (!entry["start"].isNull()) {
            auto start = seconds(entry["start"], m_limits);
            if (!start)
                return malformed("toc.json: chapter \"" + chapter->chapterId
                    + "\" has a bad \"start\" (0 to maxMediaDuration seconds)");
            chapter->startTimeInFile = *start;
        }
        m_book.allChapters.push_back(chapter);
        if (const auto& sections = entry["sections"]; !sections.isNull()) {
            if (auto read = readList(sections, level + 1, chapter->subChapters); !read.ok())
                return read.error();
        }
        return chapter;
    }

    void takeStreamOptions(const media::Asset& asset)
    {
        if (auto audios = selectionOptionNames(asset.audibleOptions); !audios.empty())
            m_book.audios = audios;
        if (auto subtitles = selectionOptionNames(asset.legibleOptions); !subtitles.empty())
            m_book.subtitles = subtitles;
        if (asset.masterPlaylist) {
            std::vector<std::string> resolutions;
            std::set<std::string> seen;
            for (const auto& variant : asset.masterPlaylist->variantsByBandwidth()) {
                if (variant.height <= 0)
                    continue;
                std::string name = std::to_string(variant.height) + "p";
                if (seen.insert(name).second)
                    resolutions.push_back(name);
            }
            if (!resolutions.empty())
                m_book.resolutions = resolutions;
        }
    }

    std::string m_folder;
    const BookBudget& m_budget;
    const media::AssetLimits& m_limits;
    ParsedBook& m_book;
};

base::Result<void> readTimeIndex(const base::Value& document, const BookBudget& budget, const media::AssetLimits& limits,
    ParsedBook& book)
{
    const auto* entries = document["timeIndex"].asList();
    if (!entries)
        return malformed("time-index.json: \"timeIndex\" must be a list");
    if (entries->size() > budget.maxNavigationEntries)
        return makeBookError(BookError::TooLarge,
            budgetExceededDescription("time-index.json", entries->size(), "entries", budget.maxNavigationEntries,
                "maxNavigationEntries"));
    for (size_t i = 0; i < entries->size(); ++i) {
        const auto& entry = (*entries)[i];
        auto start = seconds(entry["startTime"], limits);
        auto end = seconds(entry["endTime"], limits);
        if (!start || !end || *end < *start)
            return malformed("time-index.json: entry " + std::to_string(i)
                + " needs 0 <= startTime <= endTime <= " + std::to_string(static_cast<int64_t>(limits.maxMediaDuration))
                + " (maxMediaDuration)");
        auto record = std::make_shared<MVMediaBookTimeIndexVO>();
        record->startTime = *start;
        record->endTime = *end;
        record->fileName = optionalText(entry["fileName"]);
        record->folio = optionalText(entry["folio"]);
        record->chapterTitle = optionalText(entry["chapterTitle"]);
        book.timeIndex.push_back(std::move(record));
    }
    return {};
}

base::Result<ParsedBook> parseBook(const std::string& openBookId, const std::string& tocPath, const std::string& timeIndexPath,
    const BookBudget& budget, const media::AssetLimits& limits)
{
    auto toc = readJsonFile(tocPath, budget.maxFileBytes);
    if (!toc.ok())
        return toc.error();
    const auto& document = toc.value();
    if (!document.asDictionary())
        return malformed("toc.json must be a JSON object");
    // A folder answered for another book must not fill the open one.
    if (auto bookId = optionalText(document["bookId"]); bookId && !openBookId.empty() && *bookId != openBookId)
        return malformed("toc.json is of book " + *bookId + ", not of the open book " + openBookId);

    ParsedBook book;
    book.title = optionalText(document["title"]).value_or("");
    book.multiAudioPackage = document["multiAudioPackage"].asBool().value_or(false);
    std::string folder = tocPath.substr(0, tocPath.rfind('/'));
    ChapterReader chapters(folder, budget, limits, book);
    if (auto read = chapters.readList(document["chapters"], 0, book.chapters); !read.ok())
        return read.error();
    if (auto measured = chapters.measure(); !measured.ok())
        return measured.error();

    // A book without a time index plays; it only has no position to report.
    if (base::FileManager::defaultManager().fileExists(timeIndexPath)) {
        auto index = readJsonFile(timeIndexPath, budget.maxFileBytes);
        if (!index.ok())
            return index.error();
        if (auto read = readTimeIndex(index.value(), budget, limits, book); !read.ok())
            return read.error();
    }
    return book;
}

} // namespace

void MediaBookParser::parseTOCTimeIndexJsonForAudio(const std::shared_ptr<MVMediaBookModel>& model,
    const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath)
{
    parse(model, tocPath, timeIndexPath);
}

void MediaBookParser::parseTOCTimeIndexJsonForVideo(const std::shared_ptr<MVMediaBookModel>& model,
    const std::optional<std::string>& tocPath, const std::optional<std::string>& timeIndexPath)
{
    parse(model, tocPath, timeIndexPath);
}

void MediaBookParser::parse(const std::shared_ptr<MVMediaBookModel>& model, const std::optional<std::string>& tocPath,
    const std::optional<std::string>& timeIndexPath)
{
    CompletedHandler completed = m_completed;
    FailedHandler failed = m_failed;
    // Even a refusal known at once is told on the run loop, after the call returned.
    auto fail = [failed](base::Error error) {
        base::RunLoop::main().post([failed, error = std::move(error)] {
            if (failed)
                failed(error);
        });
    };
    if (!model)
        return fail(makeBookError(BookError::MissingFolder, "There is no media book model to fill"));
    std::string toc = tocPath.value_or("");
    std::string timeIndex = timeIndexPath.value_or("");
    if (!tocPath || !timeIndexPath) {
        if (model->mediaBookPath.empty())
            return fail(makeBookError(BookError::MissingFolder, "The media book has no folder"));
        toc = model->mediaBookPath + "/toc.json";
        timeIndex = model->mediaBookPath + "/time-index.json";
    }
    // The files are read in the background; the model is written only on the main thread.
    base::globalQueue().async(
        [model, toc, timeIndex, bookId = model->mediaBookId, budget = m_budget, limits = m_limits, completed, failed] {
            auto parsed = std::make_shared<base::Result<ParsedBook>>(parseBook(bookId, toc, timeIndex, budget, limits));
            base::RunLoop::main().post([model, parsed, completed, failed] {
                if (!parsed->ok()) {
                    if (failed)
                        failed(parsed->error());
                    return;
                }
                auto& book = parsed->value();
                model->mediaBookTitle = std::move(book.title);
                model->multiAudioPackage = book.multiAudioPackage;
                model->chapters = std::move(book.chapters);
                model->mediaBookAllChaptersArray = std::move(book.allChapters);
                model->timeIndexVOArray = std::move(book.timeIndex);
                model->mediaSupportedAudios = std::move(book.audios);
                model->mediaSupportedSubtitles = std::move(book.subtitles);
                model->mediaSupportedResolutions = std::move(book.resolutions);
                if (completed)
                    completed(model);
            });
        });
}

} // namespace companion
