#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

namespace {

bool listContainsId(const base::Value& list, int64_t id)
{
    if (const auto* entries = list.asList()) {
        for (const auto& entry : *entries) {
            if ((entry.isNumber() || entry.isString()) && entry.integerValue() == id)
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
        if (user["id"].isNull())
            continue;
        int64_t id = user["id"].integerValue();
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

} // namespace

std::shared_ptr<SDKBookClassInfoVO> SDKBookClassInfoVO::fromDictionary(const base::Value& dictionary)
{
    auto info = std::make_shared<SDKBookClassInfoVO>();
    info->classId = coding::readString(dictionary, "classId");
    info->classTitle = coding::readString(dictionary, "classTitle");
    info->userId = coding::readInteger(dictionary, "userId");
    info->roleID = coding::readString(dictionary, "roleID");
    info->shareList = coding::readList(dictionary, "shareList");
    info->receiveList = coding::readList(dictionary, "receiveList");
    const base::Value& configuration = dictionary["shareHighlightConfiguration"];
    info->shareHighlightConfiguration.isSharingEnable = coding::readBool(configuration, "isSharingEnable");
    info->shareHighlightConfiguration.isTeacherSharingEnable = coding::readBool(configuration, "isTeacherSharingEnable");
    info->shareHighlightConfiguration.isStudentSharingEnable = coding::readBool(configuration, "isStudentSharingEnable");
    info->teachers = coding::readList(dictionary, "teachers");
    info->learners = coding::readList(dictionary, "learners");
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
