#include "companion/store/StoredRecord.h"

#include "companion/store/RecordArena.h"
#include "companion/store/SqliteDatabase.h"
#include "companion/store/UGCFamily.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include "platform/base/Json.h"

#include <initializer_list>

namespace companion {

using namespace lectoro;

namespace {

// "layout": where a row's fields are (recordFieldsLayout: packed in "fields").
constexpr int64_t wholeRecordInPayload = 0;

// A highlight's yes/no fields, as bits of "flags".
namespace HighlightFlag {
enum : int64_t {
    Important = 1,
    StickyNote = 2,
    Received = 4,
    Answered = highlightAnsweredFlag,
    Shared = 16,
    TeacherReviewNote = 32,
    CollabSubmitted = 64,
};
} // namespace HighlightFlag

int64_t highlightFlags(const SDKHighlightVO& highlight)
{
    int64_t flags = 0;
    auto set = [&](bool value, int64_t flag) { flags |= value ? flag : 0; };
    set(highlight.isImportant, HighlightFlag::Important);
    set(highlight.isStickyNote, HighlightFlag::StickyNote);
    set(highlight.isReceived, HighlightFlag::Received);
    set(highlight.isAnswered, HighlightFlag::Answered);
    set(highlight.isShare, HighlightFlag::Shared);
    set(highlight.isTeacherReviewNote, HighlightFlag::TeacherReviewNote);
    set(highlight.isCollabSubmitted, HighlightFlag::CollabSubmitted);
    return flags;
}

void applyHighlightFlags(SDKHighlightVO& highlight, int64_t flags)
{
    highlight.isImportant = flags & HighlightFlag::Important;
    highlight.isStickyNote = flags & HighlightFlag::StickyNote;
    highlight.isReceived = flags & HighlightFlag::Received;
    highlight.isAnswered = flags & HighlightFlag::Answered;
    highlight.isShare = flags & HighlightFlag::Shared;
    highlight.isTeacherReviewNote = flags & HighlightFlag::TeacherReviewNote;
    highlight.isCollabSubmitted = flags & HighlightFlag::CollabSubmitted;
}

bool isNonEmptyList(const base::Value& value)
{
    const auto* list = value.asList();
    return list && !list->empty();
}

// The structured fields of a columnar record that hold anything, as JSON; empty when none.
std::string extraFieldsJson(const SDKUGCVO& record)
{
    base::Value::Dictionary extra;
    if (const auto* meta = record.metaData.asDictionary(); meta && !meta->empty())
        extra.set("metaData", record.metaData);
    if (const auto* highlight = dynamic_cast<const SDKHighlightVO*>(&record)) {
        if (isNonEmptyList(highlight->noteComments))
            extra.set("noteComments", highlight->noteComments);
        if (isNonEmptyList(highlight->sharedUsers))
            extra.set("sharedUsers", highlight->sharedUsers);
        if (isNonEmptyList(highlight->acceptedUsers))
            extra.set("acceptedUsers", highlight->acceptedUsers);
        if (isNonEmptyList(highlight->declinedUsers))
            extra.set("declinedUsers", highlight->declinedUsers);
        if (highlight->noteRect != ui::Rect())
            extra.set("noteRect", coding::rectValue(highlight->noteRect));
    }
    return extra.empty() ? std::string() : base::toJson(extra);
}

// Sets one of a fresh record's texts: in the arena the record was made in, if any (a book's
// list sets a hundred thousand of them), else a copy of its own.
void setText(UGCText& into, std::string_view text, RecordArena* arena = nullptr)
{
    if (arena)
        arena->setText(into, text);
    else
        into = text;
}

std::shared_ptr<SDKUGCVO> recordFromPayload(const RecordRow& row)
{
    auto payload = base::parseJson(row.payload);
    if (!payload.ok())
        return nullptr;
    auto record = makeUGCRecordFromDictionary(payload.value());
    if (record) {
        setText(record->pageIdentifier, row.pageIdentifier);
        setText(record->displayNum, row.displayNum);
    }
    return record;
}

// Reads "fields": each text a length (LEB128) and its bytes, each integer LEB128 of its
// zigzag form, in the order of RecordFieldTexts. A length past the end fails the whole
// record; bytes after the last field are left for fields a later version may add.
class PackedFieldReader {
public:
    PackedFieldReader(std::string_view bytes, RecordArena* arena) : m_bytes(bytes), m_arena(arena) { }

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_bytes.empty(); }
    void text(UGCText& into) { setText(into, nextText(), m_arena); }
    std::string_view view() { return nextText(); }
    // A text the record has no field for (a bookmark's note, colours and creator).
    void skipText() { nextText(); }
    int64_t integer()
    {
        uint64_t zigzag = unsignedNumber();
        return static_cast<int64_t>(zigzag >> 1) ^ -static_cast<int64_t>(zigzag & 1);
    }

private:
    std::string_view nextText()
    {
        uint64_t size = unsignedNumber();
        if (!m_ok || size > m_bytes.size()) {
            m_ok = false;
            return {};
        }
        auto text = m_bytes.substr(0, static_cast<size_t>(size));
        m_bytes.remove_prefix(static_cast<size_t>(size));
        return text;
    }
    uint64_t unsignedNumber()
    {
        uint64_t value = 0;
        for (int shift = 0; m_ok && shift < 64; shift += 7) {
            if (m_bytes.empty())
                break;
            auto byte = static_cast<uint8_t>(m_bytes.front());
            m_bytes.remove_prefix(1);
            value |= static_cast<uint64_t>(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_ok = false;
        return 0;
    }

    std::string_view m_bytes;
    RecordArena* m_arena;
    bool m_ok = true;
};

void appendUnsignedNumber(std::string& bytes, uint64_t value)
{
    while (value >= 0x80) {
        bytes.push_back(static_cast<char>((value & 0x7f) | 0x80));
        value >>= 7;
    }
    bytes.push_back(static_cast<char>(value));
}

// The structured fields extraFieldsJson() wrote.
void applyExtraFields(SDKUGCVO& record, const base::Value& extra)
{
    if (auto* highlight = dynamic_cast<SDKHighlightVO*>(&record)) {
        highlight->noteComments = coding::readList(extra, "noteComments");
        highlight->sharedUsers = coding::readList(extra, "sharedUsers");
        highlight->acceptedUsers = coding::readList(extra, "acceptedUsers");
        highlight->declinedUsers = coding::readList(extra, "declinedUsers");
        highlight->noteRect = coding::readRect(extra, "noteRect");
    }
    record.metaData = coding::readDictionary(extra, "metaData");
}

template<class Record>
std::shared_ptr<Record> makeRecord(RecordArena* arena)
{
    return arena ? arena->makeShared<Record>() : std::make_shared<Record>();
}

std::shared_ptr<SDKUGCVO> recordFromPackedFields(const RecordRow& row, RecordArena* arena)
{
    PackedFieldReader fields(row.fields, arena);
    std::shared_ptr<SDKUGCVO> record;
    auto family = static_cast<UGCFamily>(row.family);
    auto readCommon = [&](SDKUGCVO& common) {
        fields.text(common.bookVersion);
        fields.text(common.href);
        fields.text(common.chapterName);
        fields.text(common.createdDate);
        fields.text(common.modifiedDate);
    };
    if (family == UGCFamily::Highlight) {
        auto highlight = makeRecord<SDKHighlightVO>(arena);
        readCommon(*highlight);
        fields.text(highlight->text);
        fields.text(highlight->noteText);
        fields.text(highlight->backgroundColor);
        fields.text(highlight->textColor);
        fields.text(highlight->creatorName);
        fields.text(highlight->positionIdentifier);
        highlight->startIndex = fields.integer();
        highlight->endIndex = fields.integer();
        applyHighlightFlags(*highlight, row.flags);
        record = std::move(highlight);
    } else if (family == UGCFamily::Bookmark) {
        auto bookmark = makeRecord<SDKBookmarkVO>(arena);
        readCommon(*bookmark);
        fields.text(bookmark->title);
        // A bookmark has no note, colours or creator: their places hold nothing.
        for (int skipped = 0; skipped < 4; ++skipped)
            fields.skipText();
        fields.text(bookmark->positionIdentifier);
        // Nor a place in a text: its two numbers hold nothing either.
        fields.integer();
        fields.integer();
        record = std::move(bookmark);
    } else {
        return nullptr;
    }
    // Rows packed since version 7 carry their page keys and structured fields on; the
    // version-5 form (still read while version 7 repacks it) has them in their columns.
    std::string_view extraJson = row.payload;
    if (fields.ok() && !fields.atEnd()) {
        fields.text(record->pageIdentifier);
        fields.text(record->displayNum);
        extraJson = fields.view();
    } else {
        setText(record->pageIdentifier, row.pageIdentifier, arena);
        setText(record->displayNum, row.displayNum, arena);
    }
    if (!fields.ok())
        return nullptr;
    if (!extraJson.empty()) {
        auto extra = base::parseJson(extraJson);
        if (!extra.ok())
            return nullptr;
        applyExtraFields(*record, extra.value());
    }
    return record;
}

} // namespace

const char* const recordSelectColumns = "local_id, ugc_id, payload, page_identifier, display_num, fields, state";

const char* const packedRecordColumns = "local_id, ugc_id, fields, state";

const char* const recordFieldColumns = "payload, layout, flags, fields";

const char* const recordFieldAssignments
    = "payload = excluded.payload, layout = excluded.layout, flags = excluded.flags, fields = excluded.fields";

const char* const nextRecordID = "(SELECT coalesce(max(id), 0) + 1 FROM ugc)";

constexpr int recordFieldCount = 4;

std::string recordFieldParameters(int firstParameter)
{
    std::string parameters;
    for (int index = 0; index < recordFieldCount; ++index) {
        if (index > 0)
            parameters += ", ";
        parameters += '?';
        parameters += std::to_string(firstParameter + index);
    }
    return parameters;
}

namespace {

// A text as "fields" holds it: its length, then its bytes.
void appendPackedTexts(std::string& bytes, std::initializer_list<std::string_view> texts)
{
    for (std::string_view text : texts) {
        appendUnsignedNumber(bytes, text.size());
        bytes.append(text);
    }
}

} // namespace

std::string packRecordFields(const RecordFieldTexts& texts)
{
    std::string bytes;
    bytes.reserve(32 + texts.body.size() + texts.noteText.size() + texts.createdDate.size() * 2);
    appendPackedTexts(bytes,
        { texts.bookVersion, texts.href, texts.chapterName, texts.createdDate, texts.modifiedDate, texts.body,
            texts.noteText, texts.backgroundColor, texts.textColor, texts.creatorName, texts.positionIdentifier });
    for (int64_t integer : { texts.startIndex, texts.endIndex })
        appendUnsignedNumber(bytes, (static_cast<uint64_t>(integer) << 1) ^ static_cast<uint64_t>(integer >> 63));
    return bytes;
}

std::string packRecordFields(const RecordFieldTexts& texts, const RecordFieldTail& tail)
{
    std::string bytes = packRecordFields(texts);
    appendPackedTexts(bytes, { tail.pageIdentifier, tail.displayNum, tail.extraJson });
    return bytes;
}

RecordFieldTexts recordFieldTexts(const SDKUGCVO& record)
{
    RecordFieldTexts texts;
    texts.bookVersion = record.bookVersion;
    texts.href = record.href;
    texts.chapterName = record.chapterName;
    texts.createdDate = record.createdDate;
    texts.modifiedDate = record.modifiedDate;
    if (const auto* highlight = dynamic_cast<const SDKHighlightVO*>(&record)) {
        texts.body = highlight->text;
        texts.noteText = highlight->noteText;
        texts.backgroundColor = highlight->backgroundColor;
        texts.textColor = highlight->textColor;
        texts.creatorName = highlight->creatorName;
        texts.positionIdentifier = highlight->positionIdentifier;
        texts.startIndex = highlight->startIndex;
        texts.endIndex = highlight->endIndex;
    } else if (const auto* bookmark = dynamic_cast<const SDKBookmarkVO*>(&record)) {
        texts.body = bookmark->title;
        texts.positionIdentifier = bookmark->positionIdentifier;
    }
    return texts;
}

std::string packedRecordFields(const SDKUGCVO& record)
{
    std::string extraJson = extraFieldsJson(record);
    return packRecordFields(recordFieldTexts(record), { record.pageIdentifier, record.displayNum, extraJson });
}

void bindRecordFields(SqliteStatement& statement, int first, const SDKUGCVO& record)
{
    const auto* highlight = dynamic_cast<const SDKHighlightVO*>(&record);
    if (!highlight && !dynamic_cast<const SDKBookmarkVO*>(&record)) {
        statement.bind(first, base::toJson(record.toUGCDictionary()))
            .bind(first + 1, wholeRecordInPayload)
            .bind(first + 2, int64_t(0))
            .bindBlob(first + 3, {});
        return;
    }
    statement.bind(first, std::string())
        .bind(first + 1, recordFieldsLayout)
        .bind(first + 2, highlight ? highlightFlags(*highlight) : int64_t(0))
        .bindBlob(first + 3, packedRecordFields(record));
}

namespace {

// A row's small numbers from "state" (StoreSchema.cpp, version 6).
RecordRow rowWithState(int64_t packed)
{
    auto state = static_cast<uint64_t>(packed);
    RecordRow row;
    row.status = static_cast<int16_t>(state & 0xffff);
    row.isSynced = static_cast<int64_t>((state >> 16) & 1);
    row.isSubmitted = static_cast<int64_t>((state >> 17) & 1);
    row.family = static_cast<int64_t>((state >> 32) & 0xff);
    row.layout = static_cast<int64_t>((state >> 24) & 0xff);
    row.flags = static_cast<int64_t>(state) >> 40;
    return row;
}

} // namespace

RecordRow recordRowAt(const SqliteStatement& statement, int column)
{
    auto row = rowWithState(statement.columnInteger(column + 6));
    row.localID = statement.columnView(column + 0);
    row.ugcID = statement.columnView(column + 1);
    row.payload = statement.columnView(column + 2);
    row.pageIdentifier = statement.columnView(column + 3);
    row.displayNum = statement.columnView(column + 4);
    row.fields = statement.columnView(column + 5);
    return row;
}

RecordRow packedRecordRowAt(const SqliteStatement& statement, int column)
{
    auto row = rowWithState(statement.columnInteger(column + 3));
    row.localID = statement.columnView(column + 0);
    row.ugcID = statement.columnView(column + 1);
    row.fields = statement.columnView(column + 2);
    return row;
}

std::shared_ptr<SDKUGCVO> recordFromRow(const RecordRow& row, RecordArena* arena)
{
    // Only a record read from "fields" is made in the arena; its texts may go there with it.
    bool packed = row.layout == recordFieldsLayout;
    auto record = packed ? recordFromPackedFields(row, arena) : recordFromPayload(row);
    if (!record)
        return nullptr;
    RecordArena* textArena = packed ? arena : nullptr;
    setText(record->localID, row.localID, textArena);
    setText(record->ugcID, row.ugcID, textArena);
    record->status = static_cast<int16_t>(row.status);
    record->isSynced = row.isSynced != 0;
    record->isSubmitted = row.isSubmitted != 0;
    return record;
}

std::shared_ptr<SDKUGCVO> recordFromRow(const SqliteStatement& row, int firstColumn)
{
    return recordFromRow(recordRowAt(row, firstColumn));
}

bool isUploadedID(std::string_view ugcID)
{
    return !ugcID.empty() && ugcID != UGCNotUploadedID;
}

} // namespace companion
