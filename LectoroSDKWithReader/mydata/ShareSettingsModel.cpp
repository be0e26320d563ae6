#include "LectoroSDKWithReader/mydata/ShareSettingsModel.h"

#include "LectoroSDKWithReader/readersdk/records/RecordCoding.h"
#include "LectoroSDKWithReader/readersdk/records/SDKBookClassInfoVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace lectoro {

namespace {

bool containsID(const std::vector<int64_t>& ids, int64_t id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void appendID(std::vector<int64_t>& ids, int64_t id)
{
    if (!containsID(ids, id))
        ids.push_back(id);
}

void removeID(std::vector<int64_t>& ids, int64_t id)
{
    std::erase(ids, id);
}

std::vector<int64_t> idsOf(const base::Value& list)
{
    std::vector<int64_t> ids;
    if (const auto* entries = list.asList()) {
        for (const auto& entry : *entries) {
            if (auto id = coding::readId(entry))
                appendID(ids, *id);
        }
    }
    return ids;
}

base::Value listOf(const std::vector<int64_t>& ids)
{
    return shareUserIDList(ids);
}

// A user row's share or receive choice, made and committed.
void chooseShare(LectoroSharedUserInfo& user, bool share)
{
    if (share)
        user.setIsShareSelected(true);
    else
        user.deselectShare();
    user.setShared();
}

void chooseReceive(LectoroSharedUserInfo& user, bool receive)
{
    if (receive)
        user.setIsReceiveSelected(true);
    else
        user.deselectReceive();
    user.setReceived();
}

bool includedIn(const std::vector<int64_t>& subset, const std::vector<int64_t>& set)
{
    return std::all_of(subset.begin(), subset.end(), [&](int64_t id) { return containsID(set, id); });
}

std::vector<int64_t> userIDs(const SharedUserList* users)
{
    std::vector<int64_t> ids;
    if (users) {
        for (const auto& user : *users)
            ids.push_back(user->userId);
    }
    return ids;
}

} // namespace

std::shared_ptr<LectoroSharedUserInfo> LectoroSharedUserInfo::fromDictionary(const base::Value& value)
{
    auto id = coding::readId(value["userId"]);
    if (!id)
        return nullptr;
    auto user = std::make_shared<LectoroSharedUserInfo>();
    user->userId = *id;
    user->fullName = value["fullName"].asString().value_or("");
    user->isShared = value["isShared"].boolValue();
    user->isReceived = value["isReceived"].boolValue();
    user->isNoteShared = value["isNoteShared"].boolValue();
    return user;
}

base::Value::List shareUserIDList(const std::vector<int64_t>& ids)
{
    base::Value::List list;
    for (int64_t id : ids)
        list.emplace_back(id);
    return list;
}

bool LectoroSharedUserInfo::checkWhetherUserIsPresentInList(const base::Value::List& userIds) const
{
    const base::Value mine(userId);
    return std::any_of(userIds.begin(), userIds.end(), [&](const base::Value& id) { return id.isNumber() && id == mine; });
}

ShareSettingsModel::ShareSettingsModel(int16_t settingsType, std::shared_ptr<SDKHighlightVO> note)
    : m_settingsType(settingsType)
    , m_note(std::move(note))
{
}

void ShareSettingsModel::setData(const ClassList& classes, const std::string& roleID)
{
    if (classes.empty())
        return;
    m_bookClassInfo = classes.front();
    m_classList = classes;
    for (const auto& each : m_classList) {
        if (each)
            each->setRoleID(roleID);
    }
    if (m_settingsType != ShareSettingsTypeBookLevel)
        return;
    m_highlightSharedArray.clear();
    m_highlightReceivedArray.clear();
    for (const auto& each : m_classList) {
        if (!each)
            continue;
        for (int64_t id : idsOf(each->shareList))
            appendID(m_highlightSharedArray, id);
        for (int64_t id : idsOf(each->receiveList))
            appendID(m_highlightReceivedArray, id);
    }
}

const SharedUserList* ShareSettingsModel::usersFor(const std::string& key) const
{
    for (const auto& [name, users] : m_userDictionary) {
        if (base::lowercase(name) == key)
            return &users;
    }
    return nullptr;
}

std::shared_ptr<LectoroSharedUserInfo> ShareSettingsModel::userWithId(int64_t id) const
{
    auto found = std::find_if(
        m_userArray.begin(), m_userArray.end(), [id](const auto& u) { return u->userId == id; });
    return found == m_userArray.end() ? nullptr : *found;
}

void ShareSettingsModel::getDataForIndex(size_t index)
{
    if (m_classList.empty() || index >= m_classList.size() || !m_classList[index] || !m_bookClassInfo)
        return;
    m_userArray.clear();
    m_selectedClass = m_classList[index];
    m_userDictionary.clear();
    base::Value lists = m_bookClassInfo->getUserListArray(m_classList, m_bookClassInfo->userId, index);
    if (const auto* dictionary = lists.asDictionary()) {
        for (const auto& [key, value] : *dictionary) {
            SharedUserList users;
            if (const auto* entries = value.asList()) {
                for (const auto& entry : *entries) {
                    if (auto user = LectoroSharedUserInfo::fromDictionary(entry))
                        users.push_back(user);
                }
            }
            for (const auto& user : users)
                m_listedIDs.insert(user->userId);
            m_userDictionary.emplace_back(key, std::move(users));
        }
    }
    auto teachers = userIDs(usersFor("teachers"));
    auto students = userIDs(usersFor("students"));

    if (m_settingsType == ShareSettingsTypeNote && m_note) {
        for (int64_t id : idsOf(m_note->sharedUsers)) {
            if (containsID(students, id) || containsID(teachers, id)) {
                appendID(m_noteSharedArray, id);
                appendID(m_sharedArray, id);
            }
        }
    }

    const auto& configuration = m_selectedClass->shareHighlightConfiguration;
    m_sharingShown = configuration.isSharingEnable && !m_userDictionary.empty();
    if (m_sharingShown) {
        auto keep = [&](const std::string& key, bool allowed) {
            if (allowed)
                return;
            std::erase_if(
                m_userDictionary, [&](const auto& entry) { return base::lowercase(entry.first) == key; });
        };
        if (configuration.isTeacherSharingEnable) {
            if (const auto* list = usersFor("teachers")) {
                for (const auto& user : *list) {
                    m_userArray.push_back(user);
                    if (m_settingsType == ShareSettingsTypeBookLevel) {
                        appendID(m_highlightSharedArray, user->userId);
                        appendID(m_highlightReceivedArray, user->userId);
                    }
                }
            }
        }
        keep("teachers", configuration.isTeacherSharingEnable);
        if (configuration.isStudentSharingEnable) {
            if (const auto* list = usersFor("students"))
                m_userArray.insert(m_userArray.end(), list->begin(), list->end());
        }
        keep("students", configuration.isStudentSharingEnable);
    }
    if (m_settingsType == ShareSettingsTypeBookLevel) {
        const auto shared = shareUserIDList(m_highlightSharedArray);
        const auto received = shareUserIDList(m_highlightReceivedArray);
        for (const auto& user : m_userArray) {
            chooseShare(*user, user->checkWhetherUserIsPresentInList(shared));
            chooseReceive(*user, user->checkWhetherUserIsPresentInList(received));
        }
    }
    computeFlags();
    // Each showing starts with Done off until the user changes something.
    m_doneEnabled = false;
}

void ShareSettingsModel::selectClass(size_t index)
{
    if (index >= m_classList.size() || !m_classList[index])
        return;
    m_bookClassInfo = m_classList[index];
    getDataForIndex(index);
}

void ShareSettingsModel::computeFlags()
{
    auto teachers = userIDs(usersFor("teachers"));
    auto students = userIDs(usersFor("students"));
    m_isStudentAllCollabratedUsers = includedIn(students, m_sharedArray);
    m_isTeacherAllCollabratedUsers = includedIn(teachers, m_sharedArray);
    m_isCurrentStudentAllCollabratedUsers = includedIn(students, m_noteSharedArray);
    m_isCurrentTeacherAllCollabratedUsers = includedIn(teachers, m_noteSharedArray);
    m_isAllStudentsSelected = m_isStudentAllCollabratedUsers || m_isCurrentStudentAllCollabratedUsers;
    m_isAllTeachersSelected = m_isTeacherAllCollabratedUsers || m_isCurrentTeacherAllCollabratedUsers;
}

int ShareSettingsModel::numberOfSections() const
{
    if (!m_selectedClass || !m_selectedClass->shareHighlightConfiguration.isSharingEnable)
        return 0;
    const auto& configuration = m_selectedClass->shareHighlightConfiguration;
    if (configuration.isTeacherSharingEnable && configuration.isStudentSharingEnable
        && m_userDictionary.size() >= 2)
        return 2;
    return (configuration.isTeacherSharingEnable || configuration.isStudentSharingEnable)
            && !m_userDictionary.empty()
        ? 1
        : 0;
}

int ShareSettingsModel::numberOfRowsInSection(int section) const
{
    if (section < 0 || static_cast<size_t>(section) >= m_userDictionary.size() || !m_selectedClass)
        return 0;
    const auto& [key, users] = m_userDictionary[static_cast<size_t>(section)];
    const auto& configuration = m_selectedClass->shareHighlightConfiguration;
    std::string name = base::lowercase(key);
    if ((name == "teachers" && configuration.isTeacherSharingEnable)
        || (name == "students" && configuration.isStudentSharingEnable))
        return static_cast<int>(users.size());
    return 0;
}

bool ShareSettingsModel::isShareAllTicked() const
{
    return std::none_of(m_userArray.begin(), m_userArray.end(), [](const auto& u) { return !u->isShared; });
}

bool ShareSettingsModel::isReceiveAllTicked() const
{
    return std::none_of(m_userArray.begin(), m_userArray.end(), [](const auto& u) { return !u->isReceived; });
}

std::vector<int64_t> ShareSettingsModel::noteOriginalIDs() const
{
    return m_note ? idsOf(m_note->sharedUsers) : std::vector<int64_t> {};
}

std::vector<int64_t> ShareSettingsModel::noteUsersToSave() const
{
    std::vector<int64_t> saved = m_noteSharedArray;
    // Users the note was shared with who were never listed here stay shared: the dialog
    // offered no way to take them off.
    for (int64_t id : noteOriginalIDs()) {
        if (!m_listedIDs.count(id))
            appendID(saved, id);
    }
    return saved;
}

void ShareSettingsModel::updateNoteDoneState()
{
    auto saved = noteUsersToSave();
    auto original = noteOriginalIDs();
    m_doneEnabled = !(includedIn(saved, original) && includedIn(original, saved));
}

void ShareSettingsModel::didShareSettingEnabled(bool enabled, int64_t userId)
{
    auto user = userWithId(userId);
    if (m_settingsType == ShareSettingsTypeBookLevel) {
        m_doneEnabled = true;
        if (user)
            chooseShare(*user, enabled);
        if (enabled)
            appendID(m_highlightSharedArray, userId);
        else
            removeID(m_highlightSharedArray, userId);
        return;
    }
    if (user)
        user->isNoteShared = enabled;
    if (enabled)
        m_noteSharedArray.push_back(userId);
    else
        removeID(m_noteSharedArray, userId);
    auto students = userIDs(usersFor("students"));
    m_isAllStudentsSelected = includedIn(students, m_noteSharedArray);
    updateNoteDoneState();
}

void ShareSettingsModel::didReceiveSettingEnabled(bool enabled, int64_t userId)
{
    m_doneEnabled = true;
    if (auto user = userWithId(userId))
        chooseReceive(*user, enabled);
    if (enabled)
        appendID(m_highlightReceivedArray, userId);
    else
        removeID(m_highlightReceivedArray, userId);
}

void ShareSettingsModel::didShareNoteWillAllStudents(bool wasTicked)
{
    m_isAllStudentsSelected = !wasTicked;
    auto original = noteOriginalIDs();
    if (const auto* students = usersFor("students")) {
        for (const auto& student : *students) {
            auto user = userWithId(student->userId);
            if (m_isAllStudentsSelected) {
                if (!containsID(m_noteSharedArray, student->userId)) {
                    if (user)
                        user->isNoteShared = true;
                    m_noteSharedArray.push_back(student->userId);
                }
            } else if (containsID(m_noteSharedArray, student->userId)
                && !containsID(original, student->userId)) {
                if (user)
                    user->isNoteShared = false;
                removeID(m_noteSharedArray, student->userId);
            }
        }
    }
    updateNoteDoneState();
}

void ShareSettingsModel::didShareNoteWillAllTeachers(bool wasTicked)
{
    m_isAllTeachersSelected = !wasTicked;
    if (const auto* teachers = usersFor("teachers")) {
        for (const auto& teacher : *teachers) {
            auto user = userWithId(teacher->userId);
            if (m_isAllTeachersSelected) {
                if (!containsID(m_noteSharedArray, teacher->userId)) {
                    if (user)
                        user->isNoteShared = true;
                    m_noteSharedArray.push_back(teacher->userId);
                }
            } else if (containsID(m_noteSharedArray, teacher->userId)) {
                if (user)
                    user->isNoteShared = false;
                removeID(m_noteSharedArray, teacher->userId);
            }
        }
    }
    updateNoteDoneState();
}

void ShareSettingsModel::shareAll(bool state)
{
    m_doneEnabled = true;
    if (const auto* students = usersFor("students")) {
        for (const auto& student : *students) {
            chooseShare(*student, state);
            if (state)
                appendID(m_highlightSharedArray, student->userId);
            else
                removeID(m_highlightSharedArray, student->userId);
        }
    }
}

void ShareSettingsModel::receiveAll(bool state)
{
    m_doneEnabled = true;
    if (const auto* students = usersFor("students")) {
        for (const auto& student : *students) {
            chooseReceive(*student, state);
            if (state)
                appendID(m_highlightReceivedArray, student->userId);
            else
                removeID(m_highlightReceivedArray, student->userId);
        }
    }
}

std::shared_ptr<SDKBookClassInfoVO> ShareSettingsModel::saveClassSettings()
{
    if (!m_bookClassInfo)
        return nullptr;
    m_bookClassInfo->shareList = listOf(m_highlightSharedArray);
    m_bookClassInfo->receiveList = listOf(m_highlightReceivedArray);
    return m_bookClassInfo;
}

std::shared_ptr<SDKHighlightVO> ShareSettingsModel::saveNoteSharing(
    const std::optional<std::string>& selectedColor, const std::optional<std::string>& noteText)
{
    if (!m_note)
        return nullptr;
    m_note->sharedUsers = listOf(noteUsersToSave());
    m_note->isShare = true;
    m_note->setIsSynced(false);
    m_note->setIsCollabSubmitted(false);
    if (selectedColor && noteText && !noteText->empty()) {
        m_note->backgroundColor = *selectedColor;
        m_note->noteText = *noteText;
    }
    return m_note;
}

} // namespace lectoro
