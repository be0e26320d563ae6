#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

#include "platform/base/Strings.h"

namespace lectoro {

std::shared_ptr<LectoroUser> LectoroUser::fromDictionary(const base::Value& dictionary)
{
    auto user = create();
    user->userID = coding::readString(dictionary, "userID", coding::readString(dictionary, "id"));
    user->userToken = coding::readString(dictionary, "userToken");
    user->role = coding::readString(dictionary, "role");
    user->roles = coding::readList(dictionary, "roles");
    user->firstName = coding::readString(dictionary, "firstName");
    user->lastName = coding::readString(dictionary, "lastName");
    user->email = coding::readString(dictionary, "email");
    user->profilePicURL = coding::readString(dictionary, "profilePicURL");
    return user;
}

base::Value LectoroUser::toDictionary() const
{
    return base::Value::Dictionary {
        { "userID", userID },
        { "userToken", userToken },
        { "role", role },
        { "roles", roles },
        { "firstName", firstName },
        { "lastName", lastName },
        { "email", email },
        { "profilePicURL", profilePicURL },
    };
}

int64_t LectoroUser::numericUserID() const
{
    return base::longLongValue(userID);
}

std::string LectoroUser::fullName() const
{
    if (firstName.empty())
        return lastName;
    if (lastName.empty())
        return firstName;
    return firstName + " " + lastName;
}

} // namespace lectoro
