#pragma once

// One free-hand pen stroke on a page.

#include "LectoroSDKWithReader/readersdk/records/SDKUGCVO.h"

#include "platform/ui/Geometry.h"

#include <vector>

namespace lectoro {

class SDKPentoolVO : public SDKUGCVO {
public:
    UGCType ugcType() const override { return UGCType::PenDrawing; }

    static std::shared_ptr<SDKPentoolVO> fromUGCDictionary(const base::Value& dictionary)
    {
        return makeFromUGCDictionary<SDKPentoolVO>(dictionary);
    }

    // Hex colour such as "#82F675".
    std::string penColor;
    double thickness = 4.0;
    double opacity = 1.0;
    // Drawn by a teacher reviewing a learner's page.
    bool isTeacherReview = false;
    // In page coordinates, in drawing order.
    std::vector<ui::Point> points;

protected:
    void writeFields(base::Value::Dictionary&) const override;
    void readFields(const base::Value&) override;
};

} // namespace lectoro
