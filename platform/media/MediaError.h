#pragma once

// The errors media and speech report, in the platform's domains and codes so that code
// ported from it can keep its checks. Every error carries a readable description.

#include "platform/base/Error.h"

#include <cstdint>
#include <string>

namespace media {

inline constexpr const char* avFoundationErrorDomain = "AVFoundationErrorDomain";
inline constexpr int64_t errorUnknown = -11800;
inline constexpr int64_t errorFileFormatNotRecognized = -11828;
inline constexpr int64_t errorFileFailedToParse = -11829;
inline constexpr int64_t errorContentIsUnavailable = -11863;
// A playlist names a file outside its own folder.
inline constexpr int64_t errorUnsafePath = -11866;

inline constexpr const char* urlErrorDomain = "NSURLErrorDomain";
inline constexpr int64_t urlErrorCancelled = -999;
inline constexpr int64_t urlErrorUnsupportedURL = -1002;
inline constexpr int64_t urlErrorFileDoesNotExist = -1100;
inline constexpr int64_t urlErrorCannotWriteToFile = -3003;

// Speech synthesis and recognition.
inline constexpr const char* speechErrorDomain = "media.speech";
inline constexpr int64_t speechErrorEngineUnavailable = 1;
inline constexpr int64_t speechErrorNoVoice = 2;
inline constexpr int64_t speechErrorCancelled = 3;
inline constexpr int64_t speechErrorNotAuthorized = 4;
inline constexpr int64_t speechErrorRecognizerUnavailable = 5;
inline constexpr int64_t speechErrorNoSpeech = 6;
inline constexpr int64_t speechErrorInvalidText = 7;

// Key of the user-info entry naming the file or address an error is about.
inline constexpr const char* filePathErrorKey = "NSFilePath";

base::Error mediaError(int64_t code, std::string description, const std::string& path = {});
base::Error urlError(int64_t code, std::string description, const std::string& path = {});
base::Error speechError(int64_t code, std::string description);

// "file:///a/b" → "/a/b", a plain path unchanged; an address of another scheme (http,
// data...) answers an error: nothing here reaches the network.
base::Result<std::string> localPathOf(const std::string& urlOrPath);

} // namespace media
