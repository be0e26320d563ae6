#pragma once

// What every piece of user-generated content (UGC) shares: its identities on the device
// and on the server, its page keys, its life-cycle status and its synced flag. Highlights,
// bookmarks, pen drawings, text boxes, fill-in answers and protractors derive from it.
//
// A record converts to and from a UGC dictionary: the shape the store keeps and the sync
// service exchanges. Its "type" tells the kinds apart (UGCType).

#include "LectoroSDKWithReader/readersdk/records/UGCText.h"

#include "platform/base/Value.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

// The "type" of a UGC dictionary. Fill-in answers are 5 and drop-down answers 7, as the
// learner work fetched for teacher review reports them.
enum class UGCType : int {
    Highlight = 1,
    Bookmark = 2,
    PenDrawing = 3,
    TextAnnotation = 4,
    FillInBlank = 5,
    Protractor = 6,
    DropDown = 7,
};

// Status values the product reads; the renderer may hand in others, kept as they come.
inline constexpr int16_t UGCStatusNew = 1;
inline constexpr int16_t UGCStatusUpdated = 2;
inline constexpr int16_t UGCStatusDeleted = 3;

// The server id of a record that was never uploaded.
inline constexpr const char* UGCNotUploadedID = "-1";

class SDKUGCVO {
public:
    virtual ~SDKUGCVO() = default;

    virtual UGCType ugcType() const = 0;

    // "-1" or empty: never uploaded.
    bool isUploaded() const { return !ugcID.empty() && ugcID != UGCNotUploadedID; }
    bool isDeleted() const { return status == UGCStatusDeleted; }

    void setIsSynced(bool synced) { isSynced = synced; }

    // The modification date when there is one, else the creation date.
    std::string getDisplayDate() const { return modifiedDate.empty() ? createdDate : modifiedDate; }

    base::Value toUGCDictionary() const;

    UGCText localID;
    UGCText ugcID = UGCText::literal(UGCNotUploadedID);
    int16_t status = UGCStatusNew;
    bool isSynced = false;
    bool isSubmitted = false;
    UGCText bookVersion;
    // Page keys: the page id ("%ld") and printed folio in a page book, the chapter's file
    // index ("%ld") for both in a reflowable book.
    UGCText pageIdentifier;
    UGCText displayNum;
    // Chapter file of a record in an EPUB book; empty otherwise.
    UGCText href;
    UGCText chapterName;
    // "yyyy-MM-dd HH:mm:ss.SSS" in UTC.
    UGCText createdDate;
    UGCText modifiedDate;
    // Whatever else a record carries (a media bookmark's "CurrentTime", for example).
    base::Value metaData = base::Value::Dictionary {};

protected:
    virtual void writeFields(base::Value::Dictionary&) const { }
    virtual void readFields(const base::Value&) { }

    // The shared fields; the kind's own fields follow with readFields().
    void readCommonFields(const base::Value&);

    template<class Record>
    static std::shared_ptr<Record> makeFromUGCDictionary(const base::Value& dictionary)
    {
        auto record = std::make_shared<Record>();
        SDKUGCVO& base = *record;
        base.readCommonFields(dictionary);
        base.readFields(dictionary);
        return record;
    }
};

// A new record of the kind the dictionary's "type" names; null for an unknown type or a
// value that is not a dictionary.
std::shared_ptr<SDKUGCVO> makeUGCRecordFromDictionary(const base::Value&);

// The current time in the records' date format.
std::string currentUGCDateString();

} // namespace lectoro
