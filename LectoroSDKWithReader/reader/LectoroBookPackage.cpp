#include "LectoroSDKWithReader/reader/LectoroBookPackage.h"

#include "platform/base/Strings.h"

namespace lectoro {

LectoroBookPackage::LectoroBookPackage(std::string bookPath, std::string bookID, std::string isbn)
    : LectoroBookPackage(std::move(bookPath), std::move(bookID), std::move(isbn), std::string("V2"))
{
}

LectoroBookPackage::LectoroBookPackage(
    std::string bookPath, std::string bookID, std::string isbn, std::optional<std::string> encryptionType)
    : bookPath(std::move(bookPath))
    , bookID(std::move(bookID))
    , isbn(std::move(isbn))
    , encryptionType(std::move(encryptionType))
{
}

int64_t LectoroBookPackage::bookIDAsInt64() const
{
    return base::integerValue(bookID);
}

int32_t LectoroBookPackage::bookIDAsInt32() const
{
    return base::intValue(bookID);
}

LectoroAudioBookPackage::LectoroAudioBookPackage(
    std::string bookPath, std::string bookID, std::string isbn, std::string thumbnailURL)
    : LectoroBookPackage(std::move(bookPath), std::move(bookID), std::move(isbn))
    , thumbnailURL(std::move(thumbnailURL))
{
}

} // namespace lectoro
