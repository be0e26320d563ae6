#include "LectoroSDKWithReader/readersdk/records/SDKTextAnnotationVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

void SDKTextAnnotationVO::writeFields(base::Value::Dictionary& dictionary) const
{
    dictionary.set("text", text);
    dictionary.set("textColor", textColor);
    dictionary.set("textAlignment", textAlignment);
    dictionary.set("fontSize", fontSize);
    dictionary.set("rect", coding::rectValue(rect));
}

void SDKTextAnnotationVO::readFields(const base::Value& dictionary)
{
    text = coding::readString(dictionary, "text");
    textColor = coding::readString(dictionary, "textColor");
    textAlignment = static_cast<int>(coding::readInteger(dictionary, "textAlignment"));
    fontSize = coding::readDouble(dictionary, "fontSize", 16);
    rect = coding::readRect(dictionary, "rect");
}

} // namespace lectoro
