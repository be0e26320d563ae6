#pragma once

// A class the book is assigned to, with its teachers and learners and the class's sharing
// lists for the signed-in user.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lectoro {

struct SDKShareHighlightConfiguration {
    // Sharing is allowed in this class at all.
    bool isSharingEnable = false;
    bool isTeacherSharingEnable = false;
    bool isStudentSharingEnable = false;
};

class SDKBookClassInfoVO {
public:
    // Keys: "classId", "classTitle", "userId", "roleID", "shareList", "receiveList",
    // "shareHighlightConfiguration" {"isSharingEnable", "isTeacherSharingEnable",
    // "isStudentSharingEnable"}, "teachers" and "learners" (member records, each with a
    // "user" dictionary holding "id", "firstName", "lastName", "profilePicURL"). User ids
    // are 64-bit: numbers or decimal text, kept as numbers. Null when the value is not a
    // dictionary or any user id in it cannot be read as a number (an unreadable id must not
    // become user 0).
    static std::shared_ptr<SDKBookClassInfoVO> fromDictionary(const base::Value&);
    base::Value toDictionary() const;

    void setRoleID(std::string role) { roleID = std::move(role); }

    // The users of the class at `index` in `classList`, apart from `userId` itself, as
    // {"teachers": [...], "students": [...]} with a key only for a group that has someone.
    // Each user is {"userId", "fullName", "isShared", "isReceived", "isNoteShared"}; the
    // flags say whether the id is in that class's share and receive lists. Null when the
    // index is outside the list.
    base::Value getUserListArray(const std::vector<std::shared_ptr<SDKBookClassInfoVO>>& classList, int64_t userId,
        size_t index) const;

    std::string classId;
    std::string classTitle;
    // The id the class record carries for the signed-in user.
    int64_t userId = 0;
    std::string roleID;
    // User ids (numbers).
    base::Value shareList = base::Value::List {};
    base::Value receiveList = base::Value::List {};
    SDKShareHighlightConfiguration shareHighlightConfiguration;
    base::Value teachers = base::Value::List {};
    base::Value learners = base::Value::List {};
};

} // namespace lectoro
