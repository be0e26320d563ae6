#pragma once

// A reader's layout choices for a reflowable book, kept per book and user.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class ReaderFontSettingsVO {
public:
    static std::shared_ptr<ReaderFontSettingsVO> fromDictionary(const base::Value&);
    base::Value toDictionary() const;

    std::string fontFamily;
    int16_t fontSize = 0;
    // Continuous scrolling instead of pages.
    bool scrollEnabled = false;
    int16_t readerMode = 0;
    int16_t textAlignment = 0;
    int16_t lineSpacing = 0;
    int16_t margin = 0;
};

} // namespace lectoro
