#pragma once

// What every teacher-review screen reads of the service's learner records and how it
// looks up its texts.
//
// A learner record is a dictionary whose "user" holds "id", "firstName", "lastName" and
// "profilePicURL". The learner id text is the decimal text of "id" (a 64-bit number, or
// plain decimal text) and keys every per-learner table; the full name is "firstName",
// one space, "lastName".

#include "platform/base/Value.h"

#include <optional>
#include <string>

namespace lectoro {

struct TeacherReviewLearner {
    std::string learnerID;
    std::string fullName;
    std::string profilePicURL;
};

// Absent for a record without a "user" dictionary or whose "id" cannot be read as a
// 64-bit number: such a record could only be keyed by a made-up id. Missing names and
// picture read as empty texts.
std::optional<TeacherReviewLearner> readLearnerRecord(const base::Value& record);

// The "Localizable" text of the key for the teacher-review screens: the companion
// framework's reader language bundle when one is set, else the library's own. Chosen at
// each lookup, so a language change while review is open shows at the next build.
std::string teacherReviewLocalizedString(const std::string& key);

} // namespace lectoro
