#pragma once

// The records of an immersive-reader launch: the text to show (a Content of Chunks), the
// launch options, and the Message the screen hands to its page. They are only ever
// written: encode() gives each one as a JSON object whose optional fields appear only
// when present (never as null). Nothing reads such JSON back.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// The error the immersive-reader screen reports to its delegate; never serialised.
class NError {
public:
    NError(std::string code, std::string message)
        : code(std::move(code))
        , message(std::move(message))
    {
    }

    std::string code;
    std::string message;

    friend bool operator==(const NError&, const NError&) = default;
};

class Chunk {
public:
    Chunk(std::string content, std::optional<std::string> lang = std::nullopt,
        std::optional<std::string> mimeType = std::nullopt)
        : content(std::move(content))
        , lang(std::move(lang))
        , mimeType(std::move(mimeType))
    {
    }

    base::Value encode() const;

    std::string content;
    std::optional<std::string> lang;
    std::optional<std::string> mimeType;
};

class Content {
public:
    // The chunks are taken as they are: an empty list is accepted here and refused by the
    // screen.
    Content(std::string title, std::vector<std::shared_ptr<Chunk>> chunks)
        : title(std::move(title))
        , chunks(std::move(chunks))
    {
    }

    base::Value encode() const;

    std::string title;
    std::vector<std::shared_ptr<Chunk>> chunks;
};

enum class CookiePolicy { Disable, Enable };
// "Disable" or "Enable" exactly; any other text (also another case) gives nothing.
std::optional<CookiePolicy> cookiePolicyFromString(const std::string&);
std::string cookiePolicyString(CookiePolicy);

class ReadAloudOptions {
public:
    ReadAloudOptions(std::string voice, int64_t speed, bool autoplay)
        : voice(std::move(voice))
        , speed(speed)
        , autoplay(autoplay)
    {
    }

    base::Value encode() const;

    std::string voice;
    std::optional<int64_t> speed;
    std::optional<bool> autoplay;
};

class TranslationOptions {
public:
    TranslationOptions(
        std::string language, bool autoEnableDocumentTranslation, bool autoEnableWordTranslation)
        : language(std::move(language))
        , autoEnableDocumentTranslation(autoEnableDocumentTranslation)
        , autoEnableWordTranslation(autoEnableWordTranslation)
    {
    }

    base::Value encode() const;

    std::optional<std::string> language;
    std::optional<bool> autoEnableDocumentTranslation;
    std::optional<bool> autoEnableWordTranslation;
};

class DisplayOptions {
public:
    DisplayOptions(int64_t textSize, bool increaseSpacing, std::string fontFamily)
        : textSize(textSize)
        , increaseSpacing(increaseSpacing)
        , fontFamily(std::move(fontFamily))
    {
    }

    base::Value encode() const;

    std::optional<int64_t> textSize;
    std::optional<bool> increaseSpacing;
    std::optional<std::string> fontFamily;
};

// Launch options, passed to the page as they are. Fields are written in declaration order.
class Options {
public:
    Options(std::optional<std::string> uiLang = std::nullopt, std::optional<int64_t> timeout = std::nullopt,
        std::optional<int64_t> uiZIndex = std::nullopt, std::optional<bool> hideExitButton = std::nullopt,
        std::optional<std::string> preferences = std::nullopt)
        : uiLang(std::move(uiLang))
        , timeout(timeout)
        , uiZIndex(uiZIndex)
        , hideExitButton(hideExitButton)
        , preferences(std::move(preferences))
    {
    }

    base::Value encode() const;

    std::optional<std::string> uiLang;
    std::optional<int64_t> timeout;
    std::optional<int64_t> uiZIndex;
    std::optional<bool> useWebview;
    std::optional<std::string> customDomain;
    std::optional<bool> allowFullscreen;
    std::optional<bool> hideExitButton;
    std::optional<CookiePolicy> cookiePolicy;
    std::optional<bool> disableFirstRun;
    std::shared_ptr<ReadAloudOptions> readAloudOptions;
    std::shared_ptr<TranslationOptions> translationOptions;
    std::shared_ptr<DisplayOptions> displayOptions;
    // The reader's stored preferences, as the page last reported them.
    std::optional<std::string> preferences;
    std::optional<bool> disableGrammar;
    std::optional<bool> disableTranslation;
    std::optional<bool> disableLanguageDetection;
};

// What the screen hands to the page's launch function.
struct Message {
    std::string cogSvcsAccessToken;
    std::string cogSvcsSubdomain;
    std::shared_ptr<Content> content;
    std::shared_ptr<Options> options;

    base::Value encode() const;
};

// The message as compact JSON text, safe to stand as an expression inside a script: the
// separators U+2028/U+2029 and "<" are written as \u escapes (valid JSON, and no HTML or
// older script parser can mistake them for the end of a line or of a script element).
std::string launchMessageJSON(const Message&);
// The script that launches the page with the message: launchImmersiveReader(<JSON>). The
// text only ever reaches the page as JSON, which the script engine reads as an object.
std::string launchScript(const Message&);

} // namespace lectoro
