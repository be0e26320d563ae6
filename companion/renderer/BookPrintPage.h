#pragma once

// The printable page object the companion renderer hands back from
// printPagesWithWatermark: what each page prints as, made when the pages were asked for
// (a page book's picture or text, a reflowable chapter's pages as laid out then), with the
// watermark in its colour and the book's title as the job's name.

#include "LectoroSDKWithReader/readersdk/RendererViewController.h"
#include "platform/print/PrintItem.h"
#include "platform/ui/Color.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

struct BookPrintPage final : lectoro::RendererPrintPage {
    std::string jobName;
    std::vector<print::PrintItem> items;
};

// "#RRGGBB" (or without "#"); grey for anything else.
inline ui::Color colorFromHex(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size())
        return ui::Color::gray();
    return ui::Color::fromRGB255(
        static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF));
}

// The watermark of a page object: its text at the foot of every page, in its colour; none
// for an empty text.
std::vector<print::PrintWatermark> printWatermarksFor(const lectoro::RendererPrintPage&);

} // namespace companion
