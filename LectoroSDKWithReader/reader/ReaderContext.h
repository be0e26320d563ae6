#pragma once

// The state one open book shares among the reader's features. The controller owns it
// (and the features); each feature keeps a reference to it and reaches the others'
// state only through it. Nothing here outlives the controller.

#include "LectoroSDKWithReader/reader/ReaderActiveMode.h"
#include "platform/base/Date.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/Timer.h"
#include "platform/base/Value.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Constraint;
class View;
class ViewController;
} // namespace ui

namespace lectoro {

class LectoroBookVO;
class LectoroDataSyncingManager;
class LectoroUser;
class LXMVThemeVO;
class MVLectoroAnalyticsHandler;
class MVReaderSettingModel;
class PlayerActionBar;
class ReaderViewController;
class ReadingTimeManager;
class RendererViewController;
class SDKBookClassInfoVO;
class YSDBManager;

struct ReaderContext {
    // The controller that owns this context (non-owning; always outlives it).
    ReaderViewController* controller = nullptr;

    // Book and session.
    std::shared_ptr<LectoroBookVO> currentBook;
    std::string bookPath;
    std::string bookVersion;
    std::string baseURL;
    std::string clientID;
    std::optional<std::string> isbn;
    std::optional<base::Value> additionalInfo;
    std::shared_ptr<LectoroUser> user;
    int64_t bookID = 0;
    std::shared_ptr<SDKBookClassInfoVO> bookClassInfo;
    std::optional<base::Date> bookOpenTimeStamp;
    std::optional<std::string> lastPageFolio;
    std::optional<std::string> validLastPageFolio;
    int64_t avgTimePerPage = 0;
    std::string elasticSearchText;
    std::string jumpToPageId;
    std::optional<std::string> microServicesBaseURLString;
    std::string immersiveReaderBaseURLString;
    std::string classID;
    std::string appDisplayName;
    std::string bookTitle;
    std::string authorName;
    std::string bookThumbnailImage;
    std::string googleAPIKey;

    // Switches set by the launcher or the host.
    bool hideProfileSettingsButton = false;
    bool isShareSettingsDisabled = false;
    bool isNoteNotificationDisabled = false;
    bool isTwoPageSeperationDisabled = false;
    bool isAudioSearchNoteEnabled = false;
    bool isReflowPrintEnable = false;
    bool isUsingDefaultMathIcon = false;
    bool isImmeresiveReaderEnabled = false;
    bool isThumbnailForReflowableEnabled = false;
    bool hasClassAssociation = false;
    bool isGoogleTranslateEnabled = false;
    bool isFIBLevelKeyboardEnabled = false;

    // Owned companion objects and the reader's own models.
    std::shared_ptr<RendererViewController> renderer;
    std::shared_ptr<YSDBManager> dbManager;
    std::shared_ptr<LectoroDataSyncingManager> dataSyncManager;
    std::shared_ptr<ReadingTimeManager> readingTimeManager;
    std::shared_ptr<MVLectoroAnalyticsHandler> analyticsHandler;
    std::shared_ptr<LXMVThemeVO> theme;
    std::shared_ptr<MVReaderSettingModel> settings;

    // Modes.
    uint64_t activeMode = ReaderActiveModeNone;
    uint64_t backgroundActiveMode = ReaderActiveModeNone;
    int64_t readAloudMode = 0;
    bool isappInBackground = false;
    bool isPlayerActionBarHidden = false;
    int64_t deviceOrientation = 0;

    // Chrome the reader keeps (built by the chrome subsystem).
    std::shared_ptr<PlayerActionBar> playerTopActionBarView;
    std::shared_ptr<PlayerActionBar> playerBottomActionBarView;
    // The pen-tool bar; during teacher review the teacher top bar. The second holds the
    // teacher bottom bar.
    std::shared_ptr<PlayerActionBar> penToolActionBarView;
    std::shared_ptr<PlayerActionBar> penToolActionBottomBarView;
    // Teacher review's drag-box selection is on at the renderer.
    bool isDragBoxModeEnabled = false;
    bool enableSliderPopUp = false;
    // The search view's bottom constraint, which follows the keyboard (set by search).
    std::shared_ptr<ui::Constraint> bottomConstraintOfTextSearchView;

    // Chapter and history.
    int64_t currentChapter = 0;
    std::string currentChapterName;
    std::vector<std::string> navigationHistoryPagesArray;
    bool isPageNavigateByScroll = true;
    int32_t activeHistoryPageCount = 0;
    int32_t currentHistoryPageIndex = 0;

    // Analytics timing: display number (or file index) / CFI to the run-loop time it
    // came on screen.
    std::map<std::string, double> pagesLoadStartTimeDictionary;
    std::map<std::string, double> CFIsLoadStartTimeDictionary;
    // The reading time left of a reflowable book, as the page-count view shows it.
    std::string timeLeftText;
    std::optional<int64_t> timeLeftMinutes;

    // Read aloud.
    std::string currentReadAloudPageId;
    std::string lastReadAloudPageId;
    bool readAloudPopupShown = false;
    int32_t audioSyncSpeedRateOption = 0;
    std::string audioSyncSelectedColor;
};

// The book's theme; an empty theme while the context has none.
const LXMVThemeVO& themeOf(const ReaderContext& context);

} // namespace lectoro
