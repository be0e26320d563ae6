#pragma once

// EPUB 3 media overlays: the narration a chapter carries. A chapter's manifest item names
// (media-overlay="<id>") a SMIL document whose <par> elements each pair a fragment of the
// chapter (<text src="chapter.xhtml#w12"/>) with a clip of recorded speech
// (<audio src="narration.m4a" clipBegin="1.5s" clipEnd="0:00:02.250"/>), in reading order,
// <seq> elements nesting them as deep as they like.
//
// The overlay becomes the chapter's narration list (EPUBChapterVO::audioSyncArray), one
// entry per clip: {"wordId": fragment id, "start": seconds, "end": seconds, "audio": the
// clip's file as a book-relative address, percent-encoded}. The times are positions in that
// file, so consecutive clips of one file play as one stretch of it.
//
// An overlay is all or nothing: a chapter whose overlay cannot be trusted is not narrated
// at all (no read-aloud for it) rather than narrated in part or over silence. It is refused
// when the SMIL document is missing, unreadable or not SMIL; when a clip's audio is a web
// address, leaves the book folder (also through a symbolic link) or is missing; when a
// clock value is malformed or a clip ends before it begins; when it passes the budget's
// maxOverlayClips; or when it narrates nothing of the chapter. Pars that narrate another
// file, or carry no audio, are left out.

#include "companion/books/BookBudget.h"

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace companion {

// A SMIL clock value in seconds: a full clock ("1:02:03.5", hours of any length), a
// partial clock ("02:03.5"), or a timecount ("3.5s", "120ms", "1.5min", "2h", "12.3",
// seconds when no unit is given). Minutes and seconds of a clock stay below 60. None for
// anything else, white space around the value aside.
std::optional<double> parseClockValue(std::string_view);

// How the overlay reader reaches the book's files (book-relative paths), so the loader's
// budget and its one rule for paths inside the book apply to the overlay's files too.
struct MediaOverlayFiles {
    // The file's content (the SMIL document).
    std::function<base::Result<std::string>(const std::string&)> read;
    // The file's size, once it is known to be a regular file inside the book folder.
    std::function<base::Result<size_t>(const std::string&)> size;
};

// The narration list of the chapter at `chapterPath` from the overlay at `overlayPath`
// (both book-relative), or the reason the chapter is not narrated.
base::Result<base::Value> readMediaOverlay(const std::string& overlayPath, const std::string& chapterPath,
    const MediaOverlayFiles&, const BookBudget& = {});

} // namespace companion
