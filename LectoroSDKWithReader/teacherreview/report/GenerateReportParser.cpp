#include "LectoroSDKWithReader/teacherreview/report/GenerateReportParser.h"

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/PXBookVO.h"
#include "platform/base/Strings.h"

#include <set>
#include <string>

namespace lectoro {

namespace {

// The id as the report service is to get it back: a number stays a number, text is
// trimmed; anything else (or empty text) is no id.
std::optional<base::Value> reportChapterID(const base::Value& value)
{
    if (auto number = value.asInteger())
        return base::Value(*number);
    if (auto text = value.asString()) {
        std::string trimmed = base::trimWhitespaceAndNewlines(*text);
        if (trimmed.empty())
            return std::nullopt;
        return base::Value(std::move(trimmed));
    }
    return std::nullopt;
}

std::string reportChapterTitleInBook(const base::Value& chapterID, const LectoroBookVO* book)
{
    if (!book)
        return {};
    const std::string key = chapterID.description();
    if (const auto* pageBook = dynamic_cast<const PXBookVO*>(book)) {
        for (const auto& chapter : pageBook->chapters) {
            if (chapter && std::to_string(chapter->chapterID) == key)
                return chapter->title;
        }
    } else if (const auto* epub = dynamic_cast<const EPUBBookVO*>(book)) {
        for (const auto& chapter : epub->chapters) {
            if (chapter && (chapter->idref == key || chapter->href == key))
                return chapter->title;
        }
    }
    return {};
}

std::string reportEntryText(const base::Value& entry, std::initializer_list<const char*> keys)
{
    for (const char* key : keys) {
        if (auto text = entry[key].asString(); text && !text->empty())
            return *text;
    }
    return {};
}

} // namespace

base::Value GenerateReportParser::parseGenerateReportTOC(const base::Value& response, const LectoroBookVO* book) const
{
    base::Value::List rows;
    const base::Value* entries = response.isList() ? &response : &response["toc"];
    const auto* list = entries->asList();
    if (!list)
        return base::Value(std::move(rows));
    std::set<std::string> seen;
    for (const auto& entry : *list) {
        std::optional<base::Value> id;
        std::string title;
        if (entry.isDictionary()) {
            for (const char* key : { "chapterID", "chapterId", "id" }) {
                if ((id = reportChapterID(entry[key])))
                    break;
            }
            title = reportEntryText(entry, { "title", "chapterTitle" });
        } else {
            id = reportChapterID(entry);
        }
        if (!id || !seen.insert(id->description()).second)
            continue;
        if (title.empty())
            title = reportChapterTitleInBook(*id, book);
        if (title.empty())
            title = id->description();
        rows.push_back(base::Value::Dictionary { { chapterIDKey, *id }, { titleKey, title } });
    }
    return base::Value(std::move(rows));
}

} // namespace lectoro
