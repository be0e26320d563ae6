#pragma once

// Opens a media book folder (one holding "toc.json") through the companion framework's
// parser and prints its chapters with their durations, its time index and the languages,
// subtitles and resolutions its streams offer.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace host {

bool isMediaBookFolder(const std::string& folder);
// `folder` when it holds a media book, else the sample book of that name (a media demo run
// without --book, or with a page book).
std::string mediaBookFolderOr(const std::string& folder, const std::string& sampleName);
// Answers the exit status: 0 when the book was read, 1 when it could not be.
int printMediaBook(std::ostream&, const std::string& folder);

} // namespace host

namespace host {

// Opens the media book through the media-book controller (as the public entry does), shows
// its player screen, waits until it plays and lets it play for `seconds` of real time,
// printing the chapter and the position once a second. Answers 0 when it played.
int playMediaBook(std::ostream&, const std::string& folder, double seconds);
// The book id the folder's "toc.json" gives (0 when it gives none).
int32_t mediaBookFolderId(const std::string& folder);

} // namespace host
