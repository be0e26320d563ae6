#include "TranslateDemo.h"
#include "DemoRegistry.h"
#include "DemoWait.h"

#include "LectoroSDKWithReader/readersdk/CompanionFramework.h"
#include "LectoroSDKWithReader/readingaids/MVDropdownController.h"
#include "LectoroSDKWithReader/readingaids/MVTranslationController.h"
#include "companion/Framework.h"
#include "companion/service/InProcessService.h"
#include "platform/base/FileManager.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Environment.h"

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace host {

namespace {

std::string nameOf(const std::shared_ptr<lectoro::MVGoogleTranslationLanguage>& language)
{
    if (!language)
        return "(none)";
    return language->name.value_or("?") + " (" + language->code.value_or("?") + ")";
}

} // namespace

int runTranslateDemo(const std::string& text, const std::string& targetCode, std::ostream& out)
{
    auto storage
        = std::filesystem::temp_directory_path() / ("lectoro-translate-" + std::to_string(::getpid()));
    std::filesystem::create_directories(storage);
    auto service = companion::InProcessService::create();
    lectoro::setCompanionFramework(companion::makeFramework({ storage.string(), service }));
    int result = 4;
    {
        auto& environment = ui::Environment::current();
        environment.makeKeyWindow();
        auto root = ui::ViewController::create();
        ui::setKeyWindowRootViewController(root);

        auto sheet = lectoro::MVTranslationController::create(text, nullptr);
        root->presentViewController(sheet, false);
        auto manager = lectoro::companionFramework()->translationManager();
        // A detected language is fixed as the source: its button takes no more taps. A
        // detection that failed says so in an alert.
        (void)waitFor(out, "the detected language", [&] {
            return (!sheet->languageButtons().empty() && !sheet->languageButtons()[0]->isUserInteractionEnabled())
                || std::dynamic_pointer_cast<ui::AlertController>(sheet->presentedViewController());
        });
        out << "text: " << text << "\n";
        out << "detected: " << nameOf(sheet->languageData() ? sheet->languageData()->from : nullptr) << "\n";

        auto languages = manager ? manager->supportedLanguages() : decltype(manager->supportedLanguages()) {};
        int row = -1;
        for (size_t index = 0; index < languages.size(); ++index) {
            if (languages[index]->code == targetCode)
                row = static_cast<int>(index);
        }
        if (row < 0) {
            out << "no language \"" << targetCode << "\" among the " << languages.size()
                << " the service offers\n";
        } else {
            sheet->tapOnDropDown(*sheet->languageButtons()[1]);
            (void)waitFor(out, "the language list", [&] {
                auto shown = std::dynamic_pointer_cast<lectoro::MVDropdownController>(sheet->presentedViewController());
                return isPresentedAndShown(shown) && screenIsStill();
            });
            auto list
                = std::dynamic_pointer_cast<lectoro::MVDropdownController>(sheet->presentedViewController());
            if (list) {
                list->didSelectRowAtIndexPath(*list->tableView(), ui::IndexPath(0, row));
                std::string before = sheet->textViews()[1]->text();
                // A text already in the target language is not translated again.
                if (targetCode != sheet->languageData()->from->code.value_or(""))
                    (void)waitFor(out, "the translation", [&] { return sheet->textViews()[1]->text() != before; });
                auto alignment = sheet->textViews()[1]->textAlignment();
                out << "target: " << nameOf(sheet->languageData()->to) << "\n";
                out << "translation: " << sheet->textViews()[1]->text() << "\n";
                out << "aligned: " << (alignment == base::TextAlignment::Right ? "right" : "left") << "\n";
                if (sheet->textViews()[1]->text() != before
                    || targetCode == sheet->languageData()->from->code.value_or(""))
                    result = 0;
            }
        }
        if (auto alert = std::dynamic_pointer_cast<ui::AlertController>(sheet->presentedViewController()))
            out << "alert: " << alert->message().value_or("") << "\n";
        root->dismissViewControllerAnimated(false);
        (void)waitFor(out, "the sheet to go", screenIsStill);
        ui::setKeyWindowRootViewController(nullptr);
    }
    finishBackgroundWork();
    lectoro::setCompanionFramework(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(storage, ignored);
    return result;
}

namespace {

const bool translateDemoRegistered = registerDemo({ "--demo-translate", "TEXT",
    "[--to CODE]   (the translation sheet on TEXT)", Demo::Setup::Own,
    [](const DemoRequest& request) { return runTranslateDemo(request.value, request.language, request.out); } });

} // namespace

} // namespace host
