#pragma once

// Small helpers the renderer's source files share.

#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"
#include "platform/base/Strings.h"
#include "platform/ui/Geometry.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace companion::renderer_detail {

inline constexpr ui::Rect defaultNoteRect { { 40, 40 }, { 30, 30 } };
inline constexpr ui::Rect defaultTextBoxRect { { 40, 80 }, { 200, 60 } };

inline std::optional<int64_t> integerFrom(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

inline bool sameRecord(const lectoro::SDKUGCVO& a, const lectoro::SDKUGCVO& b)
{
    if (&a == &b)
        return true;
    return !a.localID.empty() && a.localID == b.localID;
}

// A new record placed on a page: its identity, where it sits, and when it was made.
template <typename Record, typename Page> std::shared_ptr<Record> newRecordOn(const Page& page)
{
    auto record = std::make_shared<Record>();
    record->localID = base::makeUuid();
    record->pageIdentifier = std::to_string(page.number);
    record->displayNum = page.displayNum;
    if (page.chapter) {
        record->href = page.chapter->href;
        record->chapterName = page.chapter->title;
    }
    record->createdDate = lectoro::currentUGCDateString();
    return record;
}

} // namespace companion::renderer_detail
