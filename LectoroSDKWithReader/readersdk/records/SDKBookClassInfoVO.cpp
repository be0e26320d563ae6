#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

namespace {

bool listContainsId(const base::Value& list, int64_t id)
{
    if (const auto* entries = list.asList()) {
        for (const auto& entry : *entries) {
            if (coding::readId(entry) == id)
                return true;
        }
    }
    return false;
}

base::Value::List usersOf(const base::Value& members, const SDKBookClassInfoVO& theClass, int64_t excludedUserId)
{
    base::Value::List users;
    const auto* list = members.asList();
    if (!list)
        return users;
    for (const auto& member : *list) {
        const base::Value& user = member["user"].isDictionary() ? member["user"] : member;
        auto readId = coding::readId(user["id"]);
        if (!readId)
            continue;
        int64_t id = *readId;
        if (id == excludedUserId)
            continue;
        std::string first = coding::readString(user, "firstName");
        std::string last = coding::readString(user, "lastName");
        std::string fullName = first.empty() ? last : (last.empty() ? first : first + " " + last);
        users.emplace_back(base::Value::Dictionary {
            { "userId", id },
            { "fullName", fullName },
            { "isShared", listContainsId(theClass.shareList, id) },
            { "isReceived", listContainsId(theClass.receiveList, id) },
            { "isNoteShared", false },
        });
    }
    return users;
}

// The list's ids as integers; absent when one of them is not an id.
std::optional<base::Value> idList(const base::Value& dictionary, std::string_view key)
{
    base::Value::List ids;
    if (const auto* entries = dictionary[key].asList()) {
        for (const auto& entry : *entries) {
            auto id = coding::readId(entry);
            if (!id)
                return std::nullopt;
            ids.emplace_back(*id);
        }
    }
    return base::Value(std::move(ids));
}

bool membersHaveIds(const base::Value& members)
{
    if (const auto* list = members.asList()) {
        for (const auto& member : *list) {
            const base::Value& user = member["user"].isDictionary() ? member["user"] : member;
            if (!coding::readId(user["id"]))
                return false;
        }
    }
    return true;
}

} // namespace

std::shared_ptr<SDKBookClassInfoVO> SDKBookClassInfoVO::fromDictionary(const base::Value& dictionary)
{
    if (!dictionary.isDictionary())
        return nullptr;
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classId = coding::readString(dictionary, "classId");
    info->classTitle = coding::readString(dictionary, "classTitle");
    const base::Value& userId = dictionary["userId"];
    if (!userId.isNull()) {
        auto id = coding::readId(userId);
        if (!id)
            return nullptr;
        info->userId = *id;
    }
    info->roleID = coding::readString(dictionary, "roleID");
    auto shareList = idList(dictionary, "shareList");
    auto receiveList = idList(dictionary, "receiveList");
    if (!shareList || !receiveList)
        return nullptr;
    info->shareList = std::move(*shareList);
    info->receiveList = std::move(*receiveList);
    const base::Value& configuration = dictionary["shareHighlightConfiguration"];
    info->shareHighlightConfiguration.isSharingEnable = coding::readBool(configuration, "isSharingEnable");
    info->shareHighlightConfiguration.isTeacherSharingEnable = coding::readBool(configuration, "isTeacherSharingEnable");
    info->shareHighlightConfiguration.isStudentSharingEnable = coding::readBool(configuration, "isStudentSharingEnable");
    info->teachers = coding::readList(dictionary, "teachers");
    info->learners = coding::readList(dictionary, "learners");
    if (!membersHaveIds(info->teachers) || !membersHaveIds(info->learners))
        return nullptr;
    return info;
}

base::Value SDKBookClassInfoVO::toDictionary() const
{
    return base::Value::Dictionary {
        { "classId", classId },
        { "classTitle", classTitle },
        { "userId", userId },
        { "roleID", roleID },
        { "shareList", shareList },
        { "receiveList", receiveList },
        { "shareHighlightConfiguration",
            base::Value::Dictionary {
                { "isSharingEnable", shareHighlightConfiguration.isSharingEnable },
                { "isTeacherSharingEnable", shareHighlightConfiguration.isTeacherSharingEnable },
                { "isStudentSharingEnable", shareHighlightConfiguration.isStudentSharingEnable },
            } },
        { "teachers", teachers },
        { "learners", learners },
    };
}

base::Value SDKBookClassInfoVO::getUserListArray(const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classList,
    int64_t excludedUserId, size_t index) const
{
    if (index >= classList.size() || !classList[index])
        return {};
    const SDKBookClassInfoVO& theClass = *classList[index];
    base::Value::Dictionary result;
    auto teacherUsers = usersOf(theClass.teachers, theClass, excludedUserId);
    if (!teacherUsers.empty())
        result.set("teachers", std::move(teacherUsers));
    auto studentUsers = usersOf(theClass.learners, theClass, excludedUserId);
    if (!studentUsers.empty())
        result.set("students", std::move(studentUsers));
    return result;
}

} // namespace lectoro
