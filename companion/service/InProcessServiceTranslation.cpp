// The translation service, answered from the phrase table.

#include "companion/service/InProcessService.h"

#include "companion/service/InProcessServiceSupport.h"
#include "companion/service/PhraseTable.h"

namespace companion {

using namespace inprocess;

ServiceResult InProcessService::handleTranslation(const ServiceRequest& request)
{
    const base::Value& body = request.body;
    const std::string& operation = request.operation;
    if (operation == op::translationLanguages) {
        base::Value::List languages;
        for (const auto& language : phrases::languages())
            languages.emplace_back(base::Value::Dictionary { { "code", language.code }, { "name", language.name } });
        base::Value::Dictionary answer;
        answer.set("languages", std::move(languages));
        return base::Value(std::move(answer));
    }
    if (!body["text"].isString())
        return malformed(operation + " needs a text");
    const std::string& text = *body["text"].stringPointer();
    if (operation == op::translationDetect) {
        base::Value::Dictionary answer;
        if (auto code = phrases::detectLanguage(text))
            answer.set("language", *code);
        return base::Value(std::move(answer));
    }
    if (operation == op::translationText) {
        std::string source = textOf(body["source"]);
        std::string target = textOf(body["target"]);
        for (const auto& code : { source, target }) {
            if (!phrases::isKnownLanguage(code))
                return serviceError(400, "Unsupported language \"" + code + "\"");
        }
        base::Value::Dictionary answer;
        answer.set("translatedText", phrases::translate(text, source, target));
        return base::Value(std::move(answer));
    }
    return serviceError(404, "Unknown operation " + operation);
}

} // namespace companion
