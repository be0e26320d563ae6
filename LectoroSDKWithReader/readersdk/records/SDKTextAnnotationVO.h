#pragma once

// A text box typed onto a page.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "platform/ui/Geometry.h"

namespace lectoro {

class SDKTextAnnotationVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return UGCType::TextAnnotation; }

    static std::shared_ptr<SDKTextAnnotationVO> fromUGCDictionary(const base::Value& dictionary)
    {
        return makeFromUGCDictionary<SDKTextAnnotationVO>(dictionary);
    }

    std::string text;
    // Hex colour.
    std::string textColor;
    // 0 left, 1 centre, 2 right.
    int textAlignment = 0;
    double fontSize = 16;
    // In page coordinates.
    ui::Rect rect;

protected:
    void writeFields(base::Value::Dictionary&) const override;
    void readFields(const base::Value&) override;
};

} // namespace lectoro
