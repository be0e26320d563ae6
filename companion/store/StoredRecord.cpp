#include "companion/store/StoredRecord.h"

#include "companion/store/SqliteDatabase.h"
#include "companion/store/UGCFamily.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookmarkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"

#include "platform/base/Json.h"

namespace companion {

using namespace lectoro;

namespace {

// "layout": where a row's fields are.
constexpr int64_t wholeRecordInPayload = 0;
constexpr int64_t fieldsInColumns = 1;

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

std::shared_ptr<SDKUGCVO> recordFromPayload(const SqliteStatement& row, int column)
{
    auto payload = base::parseJson(row.columnText(column + 5));
    if (!payload.ok())
        return nullptr;
    return makeUGCRecordFromDictionary(payload.value());
}

std::shared_ptr<SDKUGCVO> recordFromColumns(const SqliteStatement& row, int column)
{
    base::Value extra;
    if (std::string_view payload = row.columnView(column + 5); !payload.empty()) {
        auto parsed = base::parseJson(payload);
        if (!parsed.ok())
            return nullptr;
        extra = std::move(parsed.value());
    }
    std::shared_ptr<SDKUGCVO> record;
    auto family = static_cast<UGCFamily>(row.columnInteger(column + 8));
    if (family == UGCFamily::Highlight) {
        auto highlight = std::make_shared<SDKHighlightVO>();
        row.columnInto(column + 15, highlight->text);
        row.columnInto(column + 16, highlight->noteText);
        row.columnInto(column + 17, highlight->backgroundColor);
        row.columnInto(column + 18, highlight->textColor);
        row.columnInto(column + 19, highlight->creatorName);
        row.columnInto(column + 20, highlight->positionIdentifier);
        highlight->startIndex = row.columnInteger(column + 21);
        highlight->endIndex = row.columnInteger(column + 22);
        applyHighlightFlags(*highlight, row.columnInteger(column + 23));
        if (!extra.isNull()) {
            highlight->noteComments = coding::readList(extra, "noteComments");
            highlight->sharedUsers = coding::readList(extra, "sharedUsers");
            highlight->acceptedUsers = coding::readList(extra, "acceptedUsers");
            highlight->declinedUsers = coding::readList(extra, "declinedUsers");
            highlight->noteRect = coding::readRect(extra, "noteRect");
        }
        record = std::move(highlight);
    } else if (family == UGCFamily::Bookmark) {
        auto bookmark = std::make_shared<SDKBookmarkVO>();
        row.columnInto(column + 15, bookmark->title);
        row.columnInto(column + 20, bookmark->positionIdentifier);
        record = std::move(bookmark);
    } else {
        return nullptr;
    }
    row.columnInto(column + 10, record->bookVersion);
    row.columnInto(column + 11, record->href);
    row.columnInto(column + 12, record->chapterName);
    row.columnInto(column + 13, record->createdDate);
    row.columnInto(column + 14, record->modifiedDate);
    if (!extra.isNull())
        record->metaData = coding::readDictionary(extra, "metaData");
    return record;
}

} // namespace

const char* const recordSelectColumns
    = "local_id, ugc_id, status, is_synced, is_submitted, payload, page_identifier, display_num, family, layout, "
      "book_version, href, chapter_name, created_date, modified_date, body, note_text, background_color, text_color, "
      "creator_name, position_identifier, start_index, end_index, flags";

const char* const recordFieldColumns
    = "payload, layout, book_version, href, chapter_name, created_date, modified_date, body, note_text, "
      "background_color, text_color, creator_name, position_identifier, start_index, end_index, flags";

const char* const recordFieldAssignments
    = "payload = excluded.payload, layout = excluded.layout, book_version = excluded.book_version, "
      "href = excluded.href, chapter_name = excluded.chapter_name, created_date = excluded.created_date, "
      "modified_date = excluded.modified_date, body = excluded.body, note_text = excluded.note_text, "
      "background_color = excluded.background_color, text_color = excluded.text_color, "
      "creator_name = excluded.creator_name, position_identifier = excluded.position_identifier, "
      "start_index = excluded.start_index, end_index = excluded.end_index, flags = excluded.flags";

const char* const nextRecordID = "(SELECT coalesce(max(id), 0) + 1 FROM ugc)";

constexpr int recordFieldCount = 16;

std::string recordFieldParameters(int firstParameter)
{
    std::string parameters;
    for (int index = 0; index < recordFieldCount; ++index) {
        if (index > 0)
            parameters += ", ";
        parameters += "?" + std::to_string(firstParameter + index);
    }
    return parameters;
}

void bindRecordFields(SqliteStatement& statement, int first, const SDKUGCVO& record)
{
    const auto* highlight = dynamic_cast<const SDKHighlightVO*>(&record);
    const auto* bookmark = dynamic_cast<const SDKBookmarkVO*>(&record);
    bool columnar = highlight || bookmark;
    statement.bind(first, columnar ? extraFieldsJson(record) : base::toJson(record.toUGCDictionary()))
        .bind(first + 1, columnar ? fieldsInColumns : wholeRecordInPayload)
        .bind(first + 2, record.bookVersion)
        .bind(first + 3, record.href)
        .bind(first + 4, record.chapterName)
        .bind(first + 5, record.createdDate)
        .bind(first + 6, record.modifiedDate);
    std::string body = highlight ? highlight->text : bookmark ? bookmark->title : std::string();
    std::string position = highlight ? highlight->positionIdentifier
        : bookmark                   ? bookmark->positionIdentifier
                                     : std::string();
    statement.bind(first + 7, body)
        .bind(first + 8, highlight ? highlight->noteText : std::string())
        .bind(first + 9, highlight ? highlight->backgroundColor : std::string())
        .bind(first + 10, highlight ? highlight->textColor : std::string())
        .bind(first + 11, highlight ? highlight->creatorName : std::string())
        .bind(first + 12, position)
        .bind(first + 13, highlight ? highlight->startIndex : int64_t(0))
        .bind(first + 14, highlight ? highlight->endIndex : int64_t(0))
        .bind(first + 15, highlight ? highlightFlags(*highlight) : int64_t(0));
}

std::shared_ptr<SDKUGCVO> recordFromRow(const SqliteStatement& row, int column)
{
    auto record = row.columnInteger(column + 9) == fieldsInColumns ? recordFromColumns(row, column)
                                                                    : recordFromPayload(row, column);
    if (!record)
        return nullptr;
    row.columnInto(column + 0, record->localID);
    row.columnInto(column + 1, record->ugcID);
    record->status = static_cast<int16_t>(row.columnInteger(column + 2));
    record->isSynced = row.columnInteger(column + 3) != 0;
    record->isSubmitted = row.columnInteger(column + 4) != 0;
    row.columnInto(column + 6, record->pageIdentifier);
    row.columnInto(column + 7, record->displayNum);
    return record;
}

bool isUploadedID(const std::string& ugcID)
{
    return !ugcID.empty() && ugcID != UGCNotUploadedID;
}

} // namespace companion
