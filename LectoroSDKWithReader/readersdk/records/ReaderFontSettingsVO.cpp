#include "LectoroSDKWithReader/readersdk/records/ReaderFontSettingsVO.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"

namespace lectoro {

std::shared_ptr<ReaderFontSettingsVO> ReaderFontSettingsVO::fromDictionary(const base::Value& dictionary)
{
    auto settings = std::make_shared<ReaderFontSettingsVO>();
    settings->fontFamily = coding::readString(dictionary, "fontFamily");
    settings->fontSize = static_cast<int16_t>(coding::readInteger(dictionary, "fontSize"));
    settings->scrollEnabled = coding::readBool(dictionary, "scrollEnabled");
    settings->readerMode = static_cast<int16_t>(coding::readInteger(dictionary, "readerMode"));
    settings->textAlignment = static_cast<int16_t>(coding::readInteger(dictionary, "textAlignment"));
    settings->lineSpacing = static_cast<int16_t>(coding::readInteger(dictionary, "lineSpacing"));
    settings->margin = static_cast<int16_t>(coding::readInteger(dictionary, "margin"));
    return settings;
}

base::Value ReaderFontSettingsVO::toDictionary() const
{
    return base::Value::Dictionary {
        { "fontFamily", fontFamily },
        { "fontSize", fontSize },
        { "scrollEnabled", scrollEnabled },
        { "readerMode", readerMode },
        { "textAlignment", textAlignment },
        { "lineSpacing", lineSpacing },
        { "margin", margin },
    };
}

} // namespace lectoro
