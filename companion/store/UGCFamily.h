#pragma once

// Kinds of user content that answer the same store queries share a family: fill-in and
// drop-down answers are both answers.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

namespace companion {

enum class UGCFamily : int {
    Highlight = 1,
    Bookmark = 2,
    PenDrawing = 3,
    TextAnnotation = 4,
    Answer = 5,
    Protractor = 6,
};

inline UGCFamily familyOf(lectoro::UGCType type)
{
    switch (type) {
    case lectoro::UGCType::Highlight:
        return UGCFamily::Highlight;
    case lectoro::UGCType::Bookmark:
        return UGCFamily::Bookmark;
    case lectoro::UGCType::PenDrawing:
        return UGCFamily::PenDrawing;
    case lectoro::UGCType::TextAnnotation:
        return UGCFamily::TextAnnotation;
    case lectoro::UGCType::FillInBlank:
    case lectoro::UGCType::DropDown:
        return UGCFamily::Answer;
    case lectoro::UGCType::Protractor:
        return UGCFamily::Protractor;
    }
    return UGCFamily::Highlight;
}

} // namespace companion
