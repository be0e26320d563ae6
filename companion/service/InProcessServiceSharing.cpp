// Sharing between users of one class: share lists, received notes, answers and comments.

#include "companion/service/InProcessService.h"

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"
#include "companion/service/InProcessServiceSupport.h"

namespace companion {

using namespace inprocess;

namespace {

const base::Value& userOfMember(const base::Value& member)
{
    return member["user"].isDictionary() ? member["user"] : member;
}

const base::Value* memberRecord(const base::Value& members, int64_t userID)
{
    if (const auto* list = members.asList()) {
        for (const auto& member : *list) {
            if (idFrom(userOfMember(member)["id"]) == userID)
                return &member;
        }
    }
    return nullptr;
}

bool hasMembers(const base::Value& theClass)
{
    return theClass["teachers"].count() || theClass["learners"].count();
}

bool isMember(const base::Value& theClass, int64_t userID)
{
    return memberRecord(theClass["teachers"], userID) || memberRecord(theClass["learners"], userID);
}

void answerInRecord(base::Value& record, int64_t userID, bool accepted)
{
    auto* dictionary = record.asDictionary();
    if (!dictionary)
        return;
    for (const char* key : { "acceptedUsers", "declinedUsers" }) {
        base::Value::List kept;
        if (const auto* list = record[key].asList()) {
            for (const auto& entry : *list) {
                if (idFrom(entry) != userID)
                    kept.push_back(entry);
            }
        }
        if (key == std::string_view(accepted ? "acceptedUsers" : "declinedUsers"))
            kept.emplace_back(userID);
        dictionary->set(key, std::move(kept));
    }
}

// The share lists of a request, normalised to integer ids; an error names what is wrong.
base::Result<base::Value::Dictionary> shareListsFrom(const base::Value& lists)
{
    if (!lists.isDictionary())
        return malformed("the share lists are not an object");
    if (lists["recieveList"].isNull() && !lists["receiveList"].isNull())
        return malformed("the receive list goes under \"recieveList\"");
    auto shareList = idListFrom(lists["shareList"]);
    auto recieveList = idListFrom(lists["recieveList"]);
    if (!shareList || !recieveList)
        return malformed("\"shareList\" and \"recieveList\" must be lists of user ids");
    base::Value::Dictionary normalised;
    normalised.set("shareList", std::move(*shareList));
    normalised.set("recieveList", std::move(*recieveList));
    return normalised;
}

} // namespace

ServiceResult InProcessService::handleCollabSave(const base::Value& body)
{
    auto userID = idFrom(body["userID"]);
    auto bookID = idFrom(body["bookID"]);
    if (!userID || !bookID)
        return malformed("collab.save needs userID and bookID");
    const base::Value& collab = body["collab"];
    if (!collab.isDictionary())
        return malformed("collab.save needs a collab object");
    auto& stored = m_collab[{ *userID, *bookID }];
    if (!collab["shareList"].isNull() || !collab["recieveList"].isNull() || !collab["receiveList"].isNull()) {
        auto lists = shareListsFrom(collab);
        if (!lists.ok())
            return lists.error();
        for (const auto& [key, value] : lists.value())
            stored.set(key, value);
    }
    for (const auto& [key, value] : *collab.asDictionary()) {
        if (key != "shareList" && key != "recieveList")
            stored.set(key, value);
    }
    return base::Value(base::Value::Dictionary {});
}

ServiceResult InProcessService::handleHighlightShare(const ServiceRequest& request)
{
    auto userID = userOfToken(request.userToken);
    if (!userID)
        return unauthorizedError();
    auto bookID = idFrom(request.body["bookID"]);
    if (!bookID)
        return malformed("highlight.share needs bookID");
    auto lists = shareListsFrom(request.body["share"]);
    if (!lists.ok())
        return lists.error();
    auto& stored = m_collab[{ *userID, *bookID }];
    for (const auto& [key, value] : lists.value())
        stored.set(key, value);
    m_sharedHighlights.push_back(request.body);
    return base::Value(base::Value::Dictionary {});
}

ServiceResult InProcessService::handleCollabAnswer(const ServiceRequest& request)
{
    auto userID = userOfToken(request.userToken);
    if (!userID)
        return unauthorizedError();
    std::string ugcID = serverIDOf(request.body);
    auto accepted = request.body["isAccepted"].asBool();
    if (ugcID.empty() || !accepted)
        return malformed("collab.answer needs ugcID and isAccepted");
    base::Value* note = sharedNoteFor(*userID, std::nullopt, ugcID);
    if (!note)
        return serviceError(404, "No note with id " + ugcID + " is shared with this user");
    m_collabAnswer[{ *userID, ugcID }] = *accepted;
    answerInRecord(*note, *userID, *accepted);
    m_collabAnswers.push_back(request.body);
    base::Value::Dictionary answer;
    answer.set("ugcID", ugcID);
    answer.set("isAccepted", *accepted);
    return base::Value(std::move(answer));
}

bool InProcessService::inOneClass(int64_t first, int64_t second, int64_t bookID) const
{
    auto found = m_classInfo.find(bookID);
    if (found == m_classInfo.end() || !found->second.isList())
        return false;
    for (const auto& theClass : *found->second.asList()) {
        if (isMember(theClass, first) && isMember(theClass, second))
            return true;
    }
    return false;
}

std::string InProcessService::displayNameOf(int64_t userID, int64_t bookID) const
{
    auto found = m_classInfo.find(bookID);
    if (found != m_classInfo.end() && found->second.isList()) {
        for (const auto& theClass : *found->second.asList()) {
            for (const char* group : { "teachers", "learners" }) {
                if (const base::Value* member = memberRecord(theClass[group], userID)) {
                    const base::Value& user = userOfMember(*member);
                    std::string first = textOf(user["firstName"]);
                    std::string last = textOf(user["lastName"]);
                    std::string name = first.empty() ? last : (last.empty() ? first : first + " " + last);
                    if (!name.empty())
                        return name;
                }
            }
        }
    }
    return "User " + std::to_string(userID);
}

base::Value InProcessService::classInfoFor(int64_t userID, int64_t bookID) const
{
    base::Value::List classes;
    auto found = m_classInfo.find(bookID);
    if (found == m_classInfo.end() || !found->second.isList())
        return base::Value(std::move(classes));
    auto lists = m_collab.find({ userID, bookID });
    for (const auto& theClass : *found->second.asList()) {
        if (!theClass.isDictionary())
            continue;
        base::Value entry = theClass;
        // A class listed without its members is answered as it was given.
        if (hasMembers(theClass)) {
            bool teacher = memberRecord(theClass["teachers"], userID) != nullptr;
            if (!teacher && !memberRecord(theClass["learners"], userID))
                continue;
            entry.asDictionary()->set("userId", userID);
            entry.asDictionary()->set("roleID", teacher ? "TEACHER" : "LEARNER");
        }
        if (lists != m_collab.end()) {
            if (const base::Value* share = lists->second.find("shareList"))
                entry.asDictionary()->set("shareList", *share);
            if (const base::Value* receive = lists->second.find("recieveList"))
                entry.asDictionary()->set("receiveList", *receive);
        }
        classes.push_back(std::move(entry));
    }
    return base::Value(std::move(classes));
}

bool InProcessService::isSharedWith(const base::Value& record, int64_t owner, int64_t receiver, int64_t bookID) const
{
    if (owner == receiver || record["type"].integerValue() != static_cast<int>(lectoro::UGCType::Highlight))
        return false;
    if (record["isReceived"].boolValue() || record["status"].integerValue() == lectoro::UGCStatusDeleted)
        return false;
    if (!inOneClass(owner, receiver, bookID))
        return false;
    if (record["isShare"].boolValue() && listHasId(record["sharedUsers"], receiver))
        return true;
    // The whole book, through the class share lists.
    auto ownerLists = m_collab.find({ owner, bookID });
    const base::Value* shareList = ownerLists == m_collab.end() ? nullptr : ownerLists->second.find("shareList");
    if (!shareList || !listHasId(*shareList, receiver))
        return false;
    auto receiverLists = m_collab.find({ receiver, bookID });
    if (receiverLists == m_collab.end())
        return true;
    const base::Value* recieveList = receiverLists->second.find("recieveList");
    return !recieveList || listHasId(*recieveList, owner);
}

base::Value* InProcessService::sharedNoteFor(int64_t receiver, std::optional<int64_t> bookID, const std::string& ugcID)
{
    for (auto& [key, records] : m_ugc) {
        auto [owner, book] = key;
        if (owner == receiver || (bookID && book != *bookID))
            continue;
        for (auto& record : records) {
            if (serverIDOf(record) == ugcID)
                return isSharedWith(record, owner, receiver, book) ? &record : nullptr;
        }
    }
    return nullptr;
}

base::Value::List InProcessService::receivedNotesFor(int64_t userID, int64_t bookID)
{
    base::Value::List received;
    std::set<std::string> delivered;
    for (const auto& [key, records] : m_ugc) {
        auto [owner, book] = key;
        if (book != bookID || owner == userID)
            continue;
        for (const auto& record : records) {
            if (!isSharedWith(record, owner, userID, bookID))
                continue;
            std::string ugcID = serverIDOf(record);
            delivered.insert(ugcID);
            base::Value copy = record;
            auto* dictionary = copy.asDictionary();
            dictionary->set("localID", "shared-" + ugcID);
            dictionary->set("isReceived", true);
            dictionary->set("isShare", false);
            dictionary->set("sharedUsers", base::Value::List {});
            dictionary->set("acceptedUsers", base::Value::List {});
            dictionary->set("declinedUsers", base::Value::List {});
            dictionary->set("creatorName", displayNameOf(owner, bookID));
            auto answer = m_collabAnswer.find({ userID, ugcID });
            if (answer == m_collabAnswer.end()) {
                dictionary->set("isAnswered", false);
            } else {
                dictionary->set("isAnswered", true);
                if (!answer->second)
                    dictionary->set("status", static_cast<int64_t>(lectoro::UGCStatusDeleted));
            }
            received.push_back(std::move(copy));
        }
    }
    // A note that is no longer shared with the user (or no longer there) leaves their devices.
    auto& earlier = m_deliveredReceived[{ userID, bookID }];
    for (const auto& ugcID : earlier) {
        if (delivered.contains(ugcID))
            continue;
        received.push_back(base::Value::Dictionary { { "type", static_cast<int>(lectoro::UGCType::Highlight) },
            { "localID", "shared-" + ugcID }, { "ugcID", ugcID }, { "status", int64_t(lectoro::UGCStatusDeleted) } });
    }
    earlier = std::move(delivered);
    return received;
}

bool InProcessService::mergeIntoSharedNote(int64_t userID, int64_t bookID, const base::Value& item,
    base::Value::List& saved, const UGCPlaces& ownPlaces)
{
    std::string ugcID = serverIDOf(item);
    if (ugcID.empty())
        return false;
    // The user's own record with that id is the user's to change.
    if (ownPlaces.find("u:" + ugcID, {}))
        return false;
    base::Value* note = sharedNoteFor(userID, bookID, ugcID);
    // A received copy of a note no longer shared is dropped: it is nobody's record here.
    if (!note && !item["isReceived"].boolValue())
        return false;
    if (note) {
        if (item["status"].integerValue() == lectoro::UGCStatusDeleted) {
            m_collabAnswer[{ userID, ugcID }] = false;
            answerInRecord(*note, userID, false);
        } else {
            base::Value::List thread = note->asDictionary() && (*note)["noteComments"].isList()
                ? *(*note)["noteComments"].asList()
                : base::Value::List {};
            mergeComments(thread, item["noteComments"]);
            note->asDictionary()->set("noteComments", std::move(thread));
        }
    }
    base::Value::Dictionary entry;
    entry.set("bookID", bookID);
    entry.set("localID", item["localID"]);
    entry.set("ugcID", ugcID);
    saved.push_back(base::Value(std::move(entry)));
    return true;
}

} // namespace companion
