#pragma once

// The share-settings dialog's state and rules without views: who the user shares
// highlights with and receives them from in a class (book-level settings), or whom one
// note is shared with (note share), and what Done saves.
//
// Nothing reaches a record before save(). A note's save keeps the users it was shared
// with who are not listed in any class shown, and Done is enabled for a note only when
// the set that would be saved differs from the note's current one.

#include "platform/base/Value.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lectoro {

class SDKBookClassInfoVO;
class SDKHighlightVO;

// One user of the dialog's lists: the pending choice (share, receive selected) and what
// was committed from it (shared, received).
class LectoroSharedUserInfo {
public:
    static std::shared_ptr<LectoroSharedUserInfo> fromDictionary(const base::Value&);
    void deselectShare() { isShareSelected = false; }
    void deselectReceive() { isReceiveSelected = false; }
    // Commit the pending choice.
    void setShared() { isShared = isShareSelected; }
    void setReceived() { isReceived = isReceiveSelected; }
    // Whether the list holds this user's id, numbers compared by value (5 and 5.0 alike).
    bool checkWhetherUserIsPresentInList(const base::Value::List& userIds) const;
    void setIsShared(bool value) { isShared = value; }
    void setIsReceived(bool value) { isReceived = value; }
    void setIsNoteShared(bool value) { isNoteShared = value; }
    void setIsShareSelected(bool value) { isShareSelected = value; }
    void setIsReceiveSelected(bool value) { isReceiveSelected = value; }

    int64_t userId = 0;
    std::string fullName;
    bool isShared = false;
    bool isReceived = false;
    bool isNoteShared = false;
    bool isShareSelected = false;
    bool isReceiveSelected = false;
};

using SharedUserList = std::vector<std::shared_ptr<LectoroSharedUserInfo>>;

// User ids as the list a user record looks itself up in.
base::Value::List shareUserIDList(const std::vector<int64_t>&);

enum ShareSettingsType : int16_t {
    ShareSettingsTypeNote = 1,
    ShareSettingsTypeBookLevel = 2,
};

class ShareSettingsModel {
public:
    using ClassList = std::vector<std::shared_ptr<SDKBookClassInfoVO>>;

    ShareSettingsModel(int16_t settingsType, std::shared_ptr<SDKHighlightVO> note);

    // The classes in order; every class takes the role id. Book-level: the share and receive
    // lists start as the unions of every class's lists, in first-seen order.
    void setData(const ClassList&, const std::string& roleID);
    // Shows the class at the index; nothing without classes or for an index outside them.
    void getDataForIndex(size_t index);
    // A class picked in the dialog becomes the one whose lists are saved; nothing for an
    // index outside the classes.
    void selectClass(size_t index);

    int16_t settingsType() const { return m_settingsType; }
    const ClassList& classList() const { return m_classList; }
    const std::shared_ptr<SDKBookClassInfoVO>& bookClassInfo() const { return m_bookClassInfo; }
    const std::shared_ptr<SDKBookClassInfoVO>& selectedClass() const { return m_selectedClass; }
    // "teachers" and/or "students", in section order.
    const std::vector<std::pair<std::string, SharedUserList>>& userDictionary() const
    {
        return m_userDictionary;
    }
    const SharedUserList& userArray() const { return m_userArray; }
    const std::vector<int64_t>& highlightSharedArray() const { return m_highlightSharedArray; }
    const std::vector<int64_t>& highlightReceivedArray() const { return m_highlightReceivedArray; }
    const std::vector<int64_t>& noteSharedArray() const { return m_noteSharedArray; }
    const std::vector<int64_t>& sharedArray() const { return m_sharedArray; }
    bool isAllStudentsSelected() const { return m_isAllStudentsSelected; }
    bool isAllTeachersSelected() const { return m_isAllTeachersSelected; }
    bool isStudentAllCollabratedUsers() const { return m_isStudentAllCollabratedUsers; }
    bool isTeacherAllCollabratedUsers() const { return m_isTeacherAllCollabratedUsers; }
    bool isCurrentStudentAllCollabratedUsers() const { return m_isCurrentStudentAllCollabratedUsers; }
    // The shown class allows sharing and has users.
    bool isSharingShown() const { return m_sharingShown; }

    int numberOfSections() const;
    int numberOfRowsInSection(int section) const;

    // The share-all and receive-all boxes: ticked when no listed user is left out.
    bool isShareAllTicked() const;
    bool isReceiveAllTicked() const;

    // A student's share or receive box, with its new state.
    void didShareSettingEnabled(bool enabled, int64_t userId);
    void didReceiveSettingEnabled(bool enabled, int64_t userId);
    // The note's all-students or all-teachers header box, with the state it showed before
    // the tap.
    void didShareNoteWillAllStudents(bool wasTicked);
    void didShareNoteWillAllTeachers(bool wasTicked);
    // Book-level share all and receive all: the students only; teachers stay in both.
    void shareAll(bool state);
    void receiveAll(bool state);

    bool isDoneEnabled() const { return m_doneEnabled; }

    // Book-level: the shown class takes the share and receive lists and is answered.
    // Note share: the note takes the chosen users (and keeps the unlisted ones it had),
    // is marked shared and unsynced, and is answered.
    std::shared_ptr<SDKBookClassInfoVO> saveClassSettings();
    std::shared_ptr<SDKHighlightVO> saveNoteSharing(
        const std::optional<std::string>& selectedColor, const std::optional<std::string>& noteText);
    // The note's users as saving would leave them.
    std::vector<int64_t> noteUsersToSave() const;

private:
    const SharedUserList* usersFor(const std::string& key) const;
    std::shared_ptr<LectoroSharedUserInfo> userWithId(int64_t) const;
    std::vector<int64_t> noteOriginalIDs() const;
    void updateNoteDoneState();
    void computeFlags();

    int16_t m_settingsType;
    std::shared_ptr<SDKHighlightVO> m_note;
    ClassList m_classList;
    std::shared_ptr<SDKBookClassInfoVO> m_bookClassInfo;
    std::shared_ptr<SDKBookClassInfoVO> m_selectedClass;
    std::vector<std::pair<std::string, SharedUserList>> m_userDictionary;
    SharedUserList m_userArray;
    std::vector<int64_t> m_highlightSharedArray;
    std::vector<int64_t> m_highlightReceivedArray;
    std::vector<int64_t> m_noteSharedArray;
    std::vector<int64_t> m_sharedArray;
    // Every user listed in a class shown so far.
    std::set<int64_t> m_listedIDs;
    bool m_isStudentAllCollabratedUsers = false;
    bool m_isTeacherAllCollabratedUsers = false;
    bool m_isCurrentStudentAllCollabratedUsers = false;
    bool m_isCurrentTeacherAllCollabratedUsers = false;
    bool m_isAllStudentsSelected = false;
    bool m_isAllTeachersSelected = false;
    bool m_sharingShown = false;
    bool m_doneEnabled = false;
};

} // namespace lectoro
