#pragma once

// The translation client over a Transport (see MVGoogleTranslationManager): one request
// per call, completions on the transport's thread. The language list, once fetched, is
// kept for the life of the manager.

#include "LectoroSDKWithReader/readersdk/MVGoogleTranslationManager.h"
#include "companion/service/Transport.h"

#include <memory>
#include <mutex>

namespace companion {

class TranslationManager final : public lectoro::MVGoogleTranslationManager,
                                 public std::enable_shared_from_this<TranslationManager> {
public:
    // The transport is held weakly; once it is gone, requests fail as offline.
    static std::shared_ptr<TranslationManager> create(std::shared_ptr<Transport>);

    void setGoogleAPIKey(std::string) override;
    std::string googleAPIKey() const override;
    std::vector<std::shared_ptr<lectoro::MVGoogleTranslationLanguage>> supportedLanguages() const override;
    void fetchSupportedLanguages(LanguagesCompletion) override;
    void detectLanguage(const std::string& text, DetectionCompletion) override;
    void translate(const std::string& textToTranslate, const std::string& sourceLanguageCode,
        const std::string& targetLanguageCode, TranslationCompletion) override;

private:
    explicit TranslationManager(std::shared_ptr<Transport>);
    void send(const char* operation, base::Value::Dictionary body, ServiceCompletion);

    const std::weak_ptr<Transport> m_transport;
    mutable std::mutex m_mutex;
    std::string m_key;
    std::vector<std::shared_ptr<lectoro::MVGoogleTranslationLanguage>> m_languages;
};

} // namespace companion
