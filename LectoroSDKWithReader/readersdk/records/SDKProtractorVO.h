#pragma once

// A protractor left on a page: where it stands and the angle it measures.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "platform/ui/Geometry.h"

namespace lectoro {

class SDKProtractorVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return UGCType::Protractor; }

    static std::shared_ptr<SDKProtractorVO> fromUGCDictionary(const base::Value& dictionary)
    {
        return makeFromUGCDictionary<SDKProtractorVO>(dictionary);
    }

    // In page coordinates.
    ui::Rect frame;
    // Turn of the whole protractor and the measured angle, in degrees.
    double rotation = 0;
    double measuredAngle = 0;

protected:
    void writeFields(base::Value::Dictionary&) const override;
    void readFields(const base::Value&) override;
};

} // namespace lectoro
