#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

std::shared_ptr<SDKFIBVO> SDKFIBVO::fromUGCDictionary(const base::Value& dictionary)
{
    return makeFromUGCDictionary<SDKFIBVO>(dictionary);
}

void SDKFIBVO::writeFields(base::Value::Dictionary& dictionary) const
{
    dictionary.set("linkID", linkID);
    dictionary.set("text", text);
    dictionary.set("isEquation", isEquation);
    dictionary.set("review", review);
    dictionary.set("teacherComment", teacherComment);
    dictionary.set("commentCreatedDate", commentCreatedDate);
    dictionary.set("commentModifiedDate", commentModifiedDate);
    if (!answerStatus.empty())
        dictionary.set("answerStatus", answerStatus);
}

void SDKFIBVO::readFields(const base::Value& dictionary)
{
    isDropDown = coding::readInteger(dictionary, "type") == static_cast<int>(UGCType::DropDown);
    linkID = coding::readInteger(dictionary, "linkID");
    text = coding::readString(dictionary, "text");
    isEquation = coding::readBool(dictionary, "isEquation");
    review = static_cast<int>(coding::readInteger(dictionary, "review"));
    teacherComment = coding::readString(dictionary, "teacherComment");
    commentCreatedDate = coding::readString(dictionary, "commentCreatedDate");
    commentModifiedDate = coding::readString(dictionary, "commentModifiedDate");
    answerStatus = coding::readString(dictionary, "answerStatus");
}

} // namespace lectoro
