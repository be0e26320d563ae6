#pragma once

// A learner's answer in a fill-in-the-blank field or a drop-down markup.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

namespace lectoro {

class SDKFIBVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return isDropDown ? UGCType::DropDown : UGCType::FillInBlank; }

    static std::shared_ptr<SDKFIBVO> fromUGCDictionary(const base::Value&);

    // The markup the answer belongs to.
    int64_t linkID = 0;
    // The answer as typed or picked.
    std::string text;
    bool isDropDown = false;
    bool isEquation = false;
    // 0 saved by a learner, 1 by a teacher.
    int review = 0;
    std::string teacherComment;
    std::string commentCreatedDate;
    std::string commentModifiedDate;
    // "correct" or "incorrect" once a teacher has marked the answer; empty before.
    std::string answerStatus;

protected:
    void writeFields(base::Value::Dictionary&) const override;
    void readFields(const base::Value&) override;
};

} // namespace lectoro
