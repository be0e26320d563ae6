#include "LectoroSDKWithReader/readersdk/records/SDKPentoolVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

void SDKPentoolVO::writeFields(base::Value::Dictionary& dictionary) const
{
    dictionary.set("penColor", penColor);
    dictionary.set("thickness", thickness);
    dictionary.set("opacity", opacity);
    dictionary.set("isTeacherReview", isTeacherReview);
    base::Value::List list;
    list.reserve(points.size());
    for (const auto& point : points)
        list.emplace_back(base::Value::List { point.x, point.y });
    dictionary.set("points", std::move(list));
}

void SDKPentoolVO::readFields(const base::Value& dictionary)
{
    penColor = coding::readString(dictionary, "penColor");
    thickness = coding::readDouble(dictionary, "thickness", 4.0);
    opacity = coding::readDouble(dictionary, "opacity", 1.0);
    isTeacherReview = coding::readBool(dictionary, "isTeacherReview");
    points.clear();
    if (const auto* list = dictionary["points"].asList()) {
        for (const auto& entry : *list) {
            // A malformed point is skipped rather than drawn at the origin.
            if (entry.count() == 2 && entry.at(0).isNumber() && entry.at(1).isNumber())
                points.emplace_back(entry.at(0).doubleValue(), entry.at(1).doubleValue());
        }
    }
}

} // namespace lectoro
