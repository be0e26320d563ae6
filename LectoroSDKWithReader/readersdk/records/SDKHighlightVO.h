#pragma once

// A highlight, contextual note or sticky note on a page.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "platform/ui/Geometry.h"

namespace lectoro {

class SDKHighlightVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return UGCType::Highlight; }

    static std::shared_ptr<SDKHighlightVO> fromUGCDictionary(const base::Value& dictionary)
    {
        return makeFromUGCDictionary<SDKHighlightVO>(dictionary);
    }

    bool isNote() const { return !noteText.empty(); }
    void setIsCollabSubmitted(bool submitted) { isCollabSubmitted = submitted; }

    // The highlighted passage; empty for a sticky note.
    UGCText text;
    // Empty on a plain highlight.
    UGCText noteText;
    // Hex colour such as "#FFFF00".
    UGCText backgroundColor;
    UGCText textColor;
    // Comment thread, oldest first: dictionaries with "Text", "UserID", "DisplayName", "Date".
    base::Value noteComments = base::Value::List {};
    bool isImportant = false;
    bool isStickyNote = false;
    // Shared with the user by someone else.
    bool isReceived = false;
    // The user's own records are answered; a received one waits until accepted.
    bool isAnswered = true;
    bool isShare = false;
    // User ids the note is shared with.
    base::Value sharedUsers = base::Value::List {};
    // Of those, the ones who accepted or declined it, as the service last reported.
    base::Value acceptedUsers = base::Value::List {};
    base::Value declinedUsers = base::Value::List {};
    bool isTeacherReviewNote = false;
    bool isCollabSubmitted = false;
    UGCText creatorName;
    // Where the selection lies: UTF-16 offsets in the page text (page books), a CFI
    // (EPUB books).
    int64_t startIndex = 0;
    int64_t endIndex = 0;
    UGCText positionIdentifier;
    // The sticky note's icon on the page.
    ui::Rect noteRect;

protected:
    void writeFields(base::Value::Dictionary&) const override;
    void readFields(const base::Value&) override;
};

} // namespace lectoro
