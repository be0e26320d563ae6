#pragma once

// A bookmark on a page, or at a time in a media book ("CurrentTime" in metaData).

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

namespace lectoro {

class SDKBookmarkVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return UGCType::Bookmark; }

    static std::shared_ptr<SDKBookmarkVO> fromUGCDictionary(const base::Value& dictionary)
    {
        return makeFromUGCDictionary<SDKBookmarkVO>(dictionary);
    }

    // The text the reader typed for the bookmark.
    UGCText title;
    // The CFI of a bookmark in a reflowable book.
    UGCText positionIdentifier;

protected:
    void writeFields(base::Value::Dictionary& dictionary) const override
    {
        dictionary.set("title", title.view());
        dictionary.set("positionIdentifier", positionIdentifier.view());
    }
    void readFields(const base::Value&) override;
};

} // namespace lectoro
