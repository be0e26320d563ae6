#pragma once

// The open media book, as the companion's parser fills it and its player plays it.
//
// A book is a folder with "toc.json" (the chapters) and "time-index.json" (which folio
// each stretch of time belongs to); companion/books/README.md gives both formats. The
// reader writes where the book is and what it is; the parser fills its chapters, time
// index and track lists; the player keeps its state and position.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// The player's state, compared by raw value.
enum class CurrentState : int {
    Playing = 0,
    Paused = 1,
    Stopped = 2,
    // The current chapter's media is ready; the supported audio, subtitle and resolution
    // lists are known.
    ReadyToPlay = 3,
    Failed = 4,
    // A video that is not ready to play yet (loading, or waiting for data).
    Loading = 5,
};

// The segments of the side panel.
enum class MediaBookTOCFilter : int { Chapters = 0, Transcript = 1, Bookmarks = 2 };

class MVMediaBookChapterVO {
public:
    std::string chapterId;
    std::optional<std::string> chapterTitle;
    // The last path component of the chapter's media, with its anchor when it has one
    // ("chapter-1.wav", "master.m3u8#main").
    std::optional<std::string> urlLastPathComponent;
    // The chapter's media file, absolute.
    std::string chapterURL;
    // Where the chapter starts in its file, in seconds (chapters may share a file).
    double startTimeInFile = 0;
    // The chapter's length in whole seconds, from its media.
    int64_t avAssetTotalTime = 0;
    // Where the chapter starts in the whole book, in seconds.
    double chapterStartTimeForBook = 0;
    // 0 for a top-level chapter; sections of a chapter are one deeper.
    int level = 0;
    std::vector<std::shared_ptr<MVMediaBookChapterVO>> subChapters;
    // Text shown in the side panel's transcript segment; may be empty.
    std::string transcript;

    // The file the chapter plays: urlLastPathComponent before its first "#"; empty without one.
    std::string filePart() const;
};

class MVMediaBookTimeIndexVO {
public:
    double startTime = 0;
    double endTime = 0;
    std::optional<std::string> fileName;
    std::optional<std::string> folio;
    std::optional<std::string> chapterTitle;
};

class MVMediaBookModel {
public:
    // Written by the reader.
    std::string mediaBookPath;
    std::string mediaBookId;
    std::string mediaBookISBN;
    std::string thumbnailURL;
    // Dictionary, string to string.
    base::Value mediaBookAdditonalInfo = base::Value::Dictionary {};
    // Dictionary (the CDN cookies of a streamed book), or null.
    base::Value cookies;
    std::shared_ptr<MVMediaBookChapterVO> currentChapter;
    // Whole seconds into the current chapter.
    int64_t currentTime = 0;
    float mediaNarrationSpeedRate = 1.0f;

    // Filled by the parser.
    std::string mediaBookTitle;
    // The top-level chapters, as the side panel lists them.
    std::optional<std::vector<std::shared_ptr<MVMediaBookChapterVO>>> chapters;
    // Every chapter and section in reading order: what next and previous move through.
    std::vector<std::shared_ptr<MVMediaBookChapterVO>> mediaBookAllChaptersArray;
    std::optional<std::vector<std::shared_ptr<MVMediaBookTimeIndexVO>>> timeIndexVOArray;
    // The book's audio is several files and its time index counts book time, naming the
    // file of each entry.
    bool multiAudioPackage = false;
    std::optional<std::vector<std::string>> mediaSupportedAudios;
    std::optional<std::vector<std::string>> mediaSupportedSubtitles;
    std::optional<std::vector<std::string>> mediaSupportedResolutions;

    // Kept by the player.
    CurrentState mediaCurrentState = CurrentState::Stopped;

    // The time-index entry of the current position: in a single package the first entry
    // whose span holds currentTime (both ends included, so a boundary belongs to the
    // earlier entry); in a multi-audio package the first entry of the current chapter's
    // title and file whose span holds currentTime or the chapter's book time plus
    // currentTime. Null when none does.
    std::shared_ptr<MVMediaBookTimeIndexVO> timeIndexEntryForCurrentPosition() const;
    // The index of the chapter in mediaBookAllChaptersArray (same record), or none.
    std::optional<size_t> indexOfChapter(const std::shared_ptr<MVMediaBookChapterVO>&) const;
};

// The media of a chapter's file part: "a.wav#x" → "a.wav".
std::string mediaFilePart(const std::string& urlLastPathComponent);

} // namespace lectoro
