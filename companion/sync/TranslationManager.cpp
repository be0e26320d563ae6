#include "companion/sync/TranslationManager.h"

#include "companion/service/ServiceAnswer.h"
#include "companion/service/ServiceErrors.h"

namespace companion {

std::shared_ptr<TranslationManager> TranslationManager::create(std::shared_ptr<Transport> transport)
{
    return std::shared_ptr<TranslationManager>(new TranslationManager(std::move(transport)));
}

TranslationManager::TranslationManager(std::shared_ptr<Transport> transport)
    : m_transport(std::move(transport))
{
}

void TranslationManager::setGoogleAPIKey(std::string key)
{
    std::lock_guard lock(m_mutex);
    m_key = std::move(key);
}

std::string TranslationManager::googleAPIKey() const
{
    std::lock_guard lock(m_mutex);
    return m_key;
}

std::vector<std::shared_ptr<lectoro::MVGoogleTranslationLanguage>> TranslationManager::supportedLanguages() const
{
    std::lock_guard lock(m_mutex);
    return m_languages;
}

void TranslationManager::send(const char* operation, base::Value::Dictionary body, ServiceCompletion completion)
{
    ServiceRequest request;
    request.operation = operation;
    body.set("key", googleAPIKey());
    request.body = base::Value(std::move(body));
    sendChecked(m_transport, std::move(request), std::move(completion));
}

void TranslationManager::fetchSupportedLanguages(LanguagesCompletion completion)
{
    send(op::translationLanguages, {}, [self = shared_from_this(), completion = std::move(completion)](ServiceResult result) {
        std::vector<std::shared_ptr<lectoro::MVGoogleTranslationLanguage>> languages;
        std::optional<base::Error> unreadable;
        if (result.ok()) {
            const auto* list = result.value()["languages"].asList();
            if (!list)
                unreadable = malformedAnswerError("the languages are missing");
            for (size_t i = 0; list && i < list->size() && !unreadable; ++i) {
                const base::Value& entry = (*list)[i];
                if (entry["code"].isString())
                    languages.push_back(std::make_shared<lectoro::MVGoogleTranslationLanguage>(
                        entry["code"].asString(), entry["name"].asString()));
                else
                    unreadable = malformedAnswerError("a language has no code");
            }
        }
        if (unreadable)
            result = *unreadable;
        if (result.ok()) {
            std::lock_guard lock(self->m_mutex);
            self->m_languages = std::move(languages);
        }
        if (!completion)
            return;
        if (result.ok())
            completion(true, std::nullopt);
        else
            completion(false, result.error());
    });
}

void TranslationManager::detectLanguage(const std::string& text, DetectionCompletion completion)
{
    base::Value::Dictionary body;
    body.set("text", text);
    send(op::translationDetect, std::move(body), [completion = std::move(completion)](ServiceResult result) {
        if (!completion)
            return;
        if (!result.ok()) {
            completion(std::nullopt, result.error());
            return;
        }
        completion(result.value()["language"].asString(), std::nullopt);
    });
}

void TranslationManager::translate(const std::string& textToTranslate, const std::string& sourceLanguageCode,
    const std::string& targetLanguageCode, TranslationCompletion completion)
{
    base::Value::Dictionary body;
    body.set("text", textToTranslate);
    body.set("source", sourceLanguageCode);
    body.set("target", targetLanguageCode);
    send(op::translationText, std::move(body), [completion = std::move(completion)](ServiceResult result) {
        if (!completion)
            return;
        if (result.ok() && !result.value()["translatedText"].isString())
            result = malformedAnswerError("the translated text is missing");
        if (!result.ok()) {
            completion(std::nullopt, result.error());
            return;
        }
        completion(result.value()["translatedText"].asString(), std::nullopt);
    });
}

} // namespace companion
