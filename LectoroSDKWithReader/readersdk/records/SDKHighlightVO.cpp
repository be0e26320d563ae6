#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

void SDKHighlightVO::writeFields(base::Value::Dictionary& dictionary) const
{
    dictionary.set("text", text.view());
    dictionary.set("noteText", noteText.view());
    dictionary.set("backgroundColor", backgroundColor.view());
    dictionary.set("textColor", textColor.view());
    dictionary.set("noteComments", noteComments.isList() ? noteComments : base::Value(base::Value::List {}));
    dictionary.set("isImportant", isImportant);
    dictionary.set("isStickyNote", isStickyNote);
    dictionary.set("isReceived", isReceived);
    dictionary.set("isAnswered", isAnswered);
    dictionary.set("isShare", isShare);
    dictionary.set("sharedUsers", sharedUsers.isList() ? sharedUsers : base::Value(base::Value::List {}));
    dictionary.set("acceptedUsers", acceptedUsers.isList() ? acceptedUsers : base::Value(base::Value::List {}));
    dictionary.set("declinedUsers", declinedUsers.isList() ? declinedUsers : base::Value(base::Value::List {}));
    dictionary.set("isTeacherReviewNote", isTeacherReviewNote);
    dictionary.set("isCollabSubmitted", isCollabSubmitted);
    dictionary.set("creatorName", creatorName.view());
    dictionary.set("startIndex", startIndex);
    dictionary.set("endIndex", endIndex);
    dictionary.set("positionIdentifier", positionIdentifier.view());
    dictionary.set("noteRect", coding::rectValue(noteRect));
}

void SDKHighlightVO::readFields(const base::Value& dictionary)
{
    text = coding::readString(dictionary, "text");
    noteText = coding::readString(dictionary, "noteText");
    backgroundColor = coding::readString(dictionary, "backgroundColor");
    textColor = coding::readString(dictionary, "textColor");
    noteComments = coding::readList(dictionary, "noteComments");
    isImportant = coding::readBool(dictionary, "isImportant");
    isStickyNote = coding::readBool(dictionary, "isStickyNote");
    isReceived = coding::readBool(dictionary, "isReceived");
    isAnswered = coding::readBool(dictionary, "isAnswered", !isReceived);
    isShare = coding::readBool(dictionary, "isShare");
    sharedUsers = coding::readList(dictionary, "sharedUsers");
    acceptedUsers = coding::readList(dictionary, "acceptedUsers");
    declinedUsers = coding::readList(dictionary, "declinedUsers");
    isTeacherReviewNote = coding::readBool(dictionary, "isTeacherReviewNote");
    isCollabSubmitted = coding::readBool(dictionary, "isCollabSubmitted");
    creatorName = coding::readString(dictionary, "creatorName");
    startIndex = coding::readInteger(dictionary, "startIndex");
    endIndex = coding::readInteger(dictionary, "endIndex");
    positionIdentifier = coding::readString(dictionary, "positionIdentifier");
    noteRect = coding::readRect(dictionary, "noteRect");
}

} // namespace lectoro
