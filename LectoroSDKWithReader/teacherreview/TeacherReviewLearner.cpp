#include "LectoroSDKWithReader/teacherreview/TeacherReviewLearner.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"

namespace lectoro {

std::optional<TeacherReviewLearner> readLearnerRecord(const base::Value& record)
{
    const base::Value& user = record["user"];
    if (!user.isDictionary())
        return std::nullopt;
    auto id = coding::readId(user["id"]);
    if (!id)
        return std::nullopt;
    auto text = [&](const char* key) { return user[key].asString().value_or(std::string()); };
    return TeacherReviewLearner { std::to_string(*id), text("firstName") + " " + text("lastName"),
        text("profilePicURL") };
}

std::string teacherReviewLocalizedString(const std::string& key)
{
    return LocalizationHelper::localizedStringWithKey(key, "Localizable", LocalizationHelper::currentBundle());
}

} // namespace lectoro
