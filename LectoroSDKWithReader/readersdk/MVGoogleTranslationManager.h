#pragma once

// The translation service of the companion framework: the languages it offers, detection
// of a text's language, and translation between two of its languages. One shared manager
// per framework (CompanionFramework::translationManager()); its language list, once
// fetched, stays for every later sheet.
//
// Every completion runs exactly once, on the thread that delivered the service's answer
// (not necessarily the main thread). A failure is a base::Error in the service-failure
// shape; an offline device fails with code -1009.

#include "platform/base/Error.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

// One language of the service: its code ("fr") and its name ("French").
class MVGoogleTranslationLanguage {
public:
    MVGoogleTranslationLanguage(std::optional<std::string> code, std::optional<std::string> name)
        : code(std::move(code))
        , name(std::move(name))
    {
    }

    std::optional<std::string> code;
    std::optional<std::string> name;
};

class MVGoogleTranslationManager {
public:
    using LanguagesCompletion = std::function<void(bool success, const std::optional<base::Error>&)>;
    // The code of one of the supported languages; neither a code nor an error when the
    // service could not tell.
    using DetectionCompletion
        = std::function<void(const std::optional<std::string>& languageCode, const std::optional<base::Error>&)>;
    using TranslationCompletion
        = std::function<void(const std::optional<std::string>& translatedText, const std::optional<base::Error>&)>;

    virtual ~MVGoogleTranslationManager() = default;

    // The key sent with every later request.
    virtual void setGoogleAPIKey(std::string) = 0;
    virtual std::string googleAPIKey() const = 0;

    // Empty until fetchSupportedLanguages has succeeded once.
    virtual std::vector<std::shared_ptr<MVGoogleTranslationLanguage>> supportedLanguages() const = 0;
    virtual void fetchSupportedLanguages(LanguagesCompletion) = 0;
    virtual void detectLanguage(const std::string& text, DetectionCompletion) = 0;
    virtual void translate(const std::string& textToTranslate, const std::string& sourceLanguageCode,
        const std::string& targetLanguageCode, TranslationCompletion) = 0;
};

} // namespace lectoro
