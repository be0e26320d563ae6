#pragma once

// Which book to open and where it lies. Stored as given; the launcher reads the id as a
// number only where it needs one (bookIDAsInt64 / bookIDAsInt32).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lectoro {

class LectoroBookPackage {
public:
    // The encryption type defaults to "V2".
    LectoroBookPackage(std::string bookPath, std::string bookID, std::string isbn);
    // An absent encryption type stays absent (and selects the ISBN initialiser).
    LectoroBookPackage(std::string bookPath, std::string bookID, std::string isbn,
        std::optional<std::string> encryptionType);
    virtual ~LectoroBookPackage() = default;

    // The leading decimal digits of bookID (after optional white space and sign); 0 when
    // there are none. Out-of-range values saturate rather than wrap.
    int64_t bookIDAsInt64() const;
    int32_t bookIDAsInt32() const;

    std::string bookPath;
    std::string bookID;
    std::string isbn;
    std::optional<std::string> encryptionType;
};

class LectoroAudioBookPackage : public LectoroBookPackage {
public:
    LectoroAudioBookPackage(
        std::string bookPath, std::string bookID, std::string isbn, std::string thumbnailURL);

    std::string thumbnailURL;
};

} // namespace lectoro
