#pragma once

// How the companion's clients reach the service: one request (an operation name, a JSON
// body and the user's token) in, one answer (a JSON value or an error) out.
//
// A transport answers every request exactly once, on a thread of its choosing: the
// in-process service answers on the main run loop, a scripted answer may come later or on
// a worker thread. Clients deliver their results on that same thread.

#include "platform/base/Error.h"
#include "platform/base/Value.h"

#include <functional>
#include <string>

namespace companion {

struct ServiceRequest {
    std::string operation;
    // A dictionary.
    base::Value body;
    std::string userToken;
    std::string baseURL;
    std::string clientID;
};

using ServiceResult = base::Result<base::Value>;
using ServiceCompletion = std::function<void(ServiceResult)>;

class Transport {
public:
    virtual ~Transport() = default;
    virtual void send(ServiceRequest, ServiceCompletion) = 0;
};

// Operation names understood by the in-process service.
namespace op {
inline constexpr const char* ugcFetch = "ugc.fetch";
inline constexpr const char* ugcSave = "ugc.save";
inline constexpr const char* collabSave = "collab.save";
inline constexpr const char* trackingSave = "tracking.save";
inline constexpr const char* furthestPageSave = "furthestPage.save";
inline constexpr const char* furthestPageFetch = "furthestPage.fetch";
inline constexpr const char* lastPageFetch = "lastPage.fetch";
inline constexpr const char* scormFetch = "scorm.fetch";
inline constexpr const char* scormSave = "scorm.save";
inline constexpr const char* highlightShare = "highlight.share";
inline constexpr const char* collabAnswer = "collab.answer";
inline constexpr const char* teacherAnnotationsSave = "teacherAnnotations.save";
inline constexpr const char* annotationsSubmit = "annotations.submit";
inline constexpr const char* studentAnnotationsFetch = "studentAnnotations.fetch";
inline constexpr const char* bookTocFetch = "bookToc.fetch";
inline constexpr const char* markupReport = "markupReport.request";
inline constexpr const char* kalturaSession = "kaltura.session";
inline constexpr const char* immersiveReaderToken = "immersiveReader.token";
inline constexpr const char* tokenRefresh = "token.refresh";
// Where a streamed media book's files are: {"mediaPath", "cookies"}.
inline constexpr const char* hlsMediaBook = "hls.mediaBook";
// The translation service: every operation starts with the prefix; the key travels in
// the body ("key").
inline constexpr const char* translationPrefix = "translate.";
inline constexpr const char* translationLanguages = "translate.languages";
inline constexpr const char* translationDetect = "translate.detect";
inline constexpr const char* translationText = "translate.text";
} // namespace op

} // namespace companion
