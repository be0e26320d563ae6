#include "LectoroSDKWithReader/contents/thumbnails/ThumbnailData.h"

#include "LectoroSDKWithReader/foundation/NSStringExpanded.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cmath>

namespace lectoro::thumbnails {

namespace {

const base::Value::List& thumbnailEmptyList()
{
    static const base::Value::List empty;
    return empty;
}

std::string thumbnailText(const base::Value& value)
{
    if (value.isNull())
        return {};
    if (auto text = value.asString())
        return *text;
    return value.description();
}

template<typename Match>
const base::Value* thumbnailFindPage(const base::Value& data, Match&& match)
{
    for (const auto& chapter : chapters(data)) {
        for (const auto& page : pagesOf(chapter)) {
            if (match(page))
                return &page;
        }
    }
    return nullptr;
}

} // namespace

std::string pageNumberText(const base::Value& page)
{
    return thumbnailText(page["PageNo"]);
}

std::string displayNumberText(const base::Value& page)
{
    return thumbnailText(page["DisplayNumber"]);
}

const base::Value::List& chapters(const base::Value& data)
{
    const auto* list = data.asList();
    return list ? *list : thumbnailEmptyList();
}

const base::Value::List& pagesOf(const base::Value& chapter)
{
    const auto* list = chapter["Pages"].asList();
    return list ? *list : thumbnailEmptyList();
}

std::string lastDisplayNumber(const base::Value& data)
{
    const auto& list = chapters(data);
    if (list.empty())
        return {};
    const auto& pages = pagesOf(list.back());
    return pages.empty() ? std::string() : displayNumberText(pages.back());
}

base::Value filterSubmittedPages(const base::Value& data, const std::vector<std::string>& submitted)
{
    base::Value::List result;
    for (const auto& chapter : chapters(data)) {
        if (!chapter["Pages"].asList())
            continue;
        base::Value::List kept;
        for (const auto& page : pagesOf(chapter)) {
            if (std::find(submitted.begin(), submitted.end(), pageNumberText(page)) != submitted.end())
                kept.push_back(page);
        }
        if (kept.empty())
            continue;
        base::Value copy = chapter;
        if (auto* dictionary = copy.asDictionary())
            dictionary->set("Pages", std::move(kept));
        result.push_back(std::move(copy));
    }
    return result;
}

FlatPages flattenPages(const base::Value& data)
{
    FlatPages flat;
    for (const auto& chapter : chapters(data)) {
        bool first = true;
        for (const auto& page : pagesOf(chapter)) {
            flat.pageNumbers.push_back(pageNumberText(page));
            flat.displayNumbers.push_back(displayNumberText(page));
            base::Value copy = page;
            if (auto* dictionary = copy.asDictionary()) {
                if (first)
                    dictionary->set("ChapterTitle", chapter["ChapterTitle"]);
                dictionary->set("ChapterID", chapter["ChapterID"]);
            }
            first = false;
            flat.pages.push_back(std::move(copy));
        }
    }
    return flat;
}

std::optional<PagePlace> findPageNumber(const base::Value& data, const std::string& pageNumber)
{
    const auto& list = chapters(data);
    for (size_t section = 0; section < list.size(); ++section) {
        const auto& pages = pagesOf(list[section]);
        for (size_t index = 0; index < pages.size(); ++index) {
            if (pageNumberText(pages[index]) == pageNumber)
                return PagePlace { static_cast<int>(section), static_cast<int>(index) };
        }
    }
    return std::nullopt;
}

std::string localizedDisplayNumber(const base::Value& number)
{
    if (auto text = number.asString()) {
        int64_t value = base::integerValue(*text);
        return value == 0 ? *text : NumberLocalizationHandler::localizeNumberWithNumber(base::Value(value));
    }
    if (number.isNull())
        return {};
    return NumberLocalizationHandler::localizeNumberWithNumber(number);
}

const base::Value* findPageByDisplayNumber(const base::Value& data, std::string_view text)
{
    return thumbnailFindPage(data, [&](const base::Value& page) {
        return NSStringExpanded::isEqualToStringIgnoreCase(displayNumberText(page), text);
    });
}

const base::Value* findPageByTypedNumber(const base::Value& data, std::string_view text)
{
    std::string compact;
    for (char c : text) {
        if (c != ' ')
            compact.push_back(c);
    }
    compact = base::lowercase(compact);
    return thumbnailFindPage(
        data, [&](const base::Value& page) { return base::lowercase(displayNumberText(page)) == compact; });
}

int64_t sliderPosition(double value, int64_t totalPages)
{
    if (totalPages <= 1)
        return 0;
    return static_cast<int64_t>(std::llround(static_cast<double>(totalPages - 1) * std::clamp(value, 0.0, 1.0)));
}

double initialSliderValue(int64_t activePage, int64_t totalPages)
{
    if (totalPages <= 1)
        return 0;
    return std::clamp(static_cast<double>(activePage) / static_cast<double>(totalPages - 1), 0.0, 1.0);
}

const base::Value* pageAtPosition(const base::Value& data, int64_t position)
{
    if (position < 0)
        return nullptr;
    int64_t seen = 0;
    return thumbnailFindPage(data, [&](const base::Value&) { return seen++ == position; });
}

} // namespace lectoro::thumbnails
