#pragma once

// The signed-in user and the token the services expect. The user object is shared: the
// launcher and the reader hold the very same one, so a refreshed token is seen by both.

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class LectoroUser {
public:
    static std::shared_ptr<LectoroUser> create() { return std::make_shared<LectoroUser>(); }
    // Reads "userID" (or "id"), "userToken", "role", "roles", "firstName", "lastName",
    // "email" and "profilePicURL"; absent entries stay empty.
    static std::shared_ptr<LectoroUser> fromDictionary(const base::Value&);
    base::Value toDictionary() const;

    // The store's and services' key: the decimal user id read as a 64-bit number ("%lld"
    // semantics: leading digits; 0 when there are none).
    int64_t numericUserID() const;
    // "firstName lastName", without a stray blank when one is missing.
    std::string fullName() const;
    bool isLearner() const { return role == "LEARNER"; }

    std::string userID;
    std::string userToken;
    // "LEARNER", "TEACHER", ...
    std::string role;
    // Dictionaries with at least "id"; the first one stamps share settings.
    base::Value roles = base::Value::List {};
    std::string firstName;
    std::string lastName;
    std::string email;
    std::string profilePicURL;
};

} // namespace lectoro
