#pragma once

// The reader's side of the reflowable layout sheet: creating, theming and seeding it from
// the book's stored font settings, and what each change does (an analytics event, the
// shared reflowable configuration, the renderer, the slider and page-count chrome, the
// local store), then reset and dismissal.
//
// The reader calls showReflowableLayoutSettingControllerView() for the font-settings bar
// item (tag 17); setBook() once the book has loaded.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace base {
class Value;
}
namespace ui {
class ViewController;
}

namespace lectoro {

class LectoroBookVO;
class LXMVThemeVO;
class ReaderFontSettingsVO;
class ReflowableLayoutSettingSheet;
class ReflowablePageCount;
class ReflowablePageSlider;
class ReflowableReaderConfiguration;
class RendererViewController;
class YSDBManager;

class ReflowableLayoutSettingsHost {
public:
    virtual ~ReflowableLayoutSettingsHost() = default;
    // The controller the sheet is presented from.
    virtual std::shared_ptr<ui::ViewController> layoutSettingsPresenter() = 0;
    virtual void setActiveMode(uint64_t) = 0;
    virtual void moveTopAndBottomOffScreen(bool animate, std::function<void()> completion) = 0;
    virtual void resetAllPlayerActionBar() = 0;
    // The reader's font-size step handler: applies, reports and stores the size.
    virtual void didChangeFontSizeForReflow(int64_t size) = 0;
    virtual void notifyEvent(const std::string& eventName, const base::Value& eventInfo) = 0;
};

struct ReflowableLayoutSettingsDependencies {
    std::shared_ptr<LXMVThemeVO> theme;
    std::weak_ptr<RendererViewController> renderer;
    std::shared_ptr<YSDBManager> store;
    std::string bookID;
    int64_t userID = 0;
    std::shared_ptr<ReflowableReaderConfiguration> configuration;
    // Held without ownership; each may be null.
    ReflowablePageSlider* slider = nullptr;
    ReflowablePageCount* pageCount = nullptr;
};

class ReflowableLayoutSettings {
public:
    // Display names of the enumerations, indexed by value.
    static const std::vector<std::string>& readerModeNames();
    static const std::vector<std::string>& textAlignmentNames();
    static const std::vector<std::string>& lineSpacingNames();
    static const std::vector<std::string>& marginNames();
    static const std::vector<std::string>& fontFamilies();

    // The host must outlive this object.
    ReflowableLayoutSettings(ReflowableLayoutSettingsHost&, ReflowableLayoutSettingsDependencies);
    ~ReflowableLayoutSettings();
    ReflowableLayoutSettings(const ReflowableLayoutSettings&) = delete;
    ReflowableLayoutSettings& operator=(const ReflowableLayoutSettings&) = delete;

    void setBook(std::shared_ptr<LectoroBookVO> book) { m_book = std::move(book); }

    const std::shared_ptr<ReflowableLayoutSettingSheet>& reflowableLayoutSettingController() const
    {
        return m_sheet;
    }

    void showReflowableLayoutSettingControllerView();
    void configureFontSettingOptions();
    void configureFontSettingTheme();
    void configureFontSettingView();
    // The name at the value's index; "" for a value the list does not hold.
    static std::string convertFontSettingsEnumToString(int64_t value, const std::vector<std::string>& names);
    void saveReaderFontSetting(const std::shared_ptr<ReaderFontSettingsVO>&);
    std::shared_ptr<ReaderFontSettingsVO> getReaderFontSetting();
    // Installs the reset handler of a second settings controller of the framework.
    void setResetReaderSettingForRenderer(ReflowableLayoutSettingSheet& controller);

    // The sheet's handlers.
    void fontFamilyDidChange(const std::string& family);
    void fontSizeDidChange(double size);
    void didEnablePagination(bool paginate);
    void didChangeReaderMode(int64_t mode);
    void didChangeTextAlignment(int64_t alignment);
    void didChangeLineSpacing(int64_t spacing);
    void didChangeMargin(int64_t margin);
    void resetReaderSetting();
    void willDismissController();

private:
    std::shared_ptr<ReaderFontSettingsVO> settingsRecord() const;
    void installHandlers();
    void rebuildSlider();
    void sendEvent(const char* eventName, const char* key, const std::string& value);
    void saveCurrentSettings();

    ReflowableLayoutSettingsHost& m_host;
    ReflowableLayoutSettingsDependencies m_dependencies;
    std::shared_ptr<LectoroBookVO> m_book;
    std::shared_ptr<ReflowableLayoutSettingSheet> m_sheet;
    // The sheet's handlers hold this weakly and do nothing once the settings are gone.
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

} // namespace lectoro
