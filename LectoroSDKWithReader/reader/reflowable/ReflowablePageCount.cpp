#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCount.h"

#include "LectoroSDKWithReader/foundation/DeviceHelpers.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/reader/ReaderViewControllerDelegate.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageCountView.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowablePageSlider.h"
#include "LectoroSDKWithReader/reader/reflowable/ReflowableSliderPopUpView.h"
#include "LectoroSDKWithReader/reader/reflowable/SliderBarView.h"
#include "LectoroSDKWithReader/readersdk/LectoroDebugLog.h"
#include "LectoroSDKWithReader/readersdk/records/EPUBBookVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/NumberLocalizationHandler.h"
#include "platform/base/Json.h"
#include "platform/base/Strings.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lectoro {

namespace {

std::vector<std::string> splitOn(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (size_t index = 0; index < parts.size(); ++index) {
        if (index)
            text += separator;
        text += parts[index];
    }
    return text;
}

std::string localizedNumberOf(const std::string& text)
{
    return NumberLocalizationHandler::localizeNumberWithNumber(base::Value(base::integerValue(text)));
}

std::string localizedNumbers(const std::string& text, char separator, const std::string& joiner)
{
    std::vector<std::string> parts = splitOn(text, separator);
    for (auto& part : parts)
        part = localizedNumberOf(part);
    return joined(parts, joiner);
}

std::string localizedKey(const char* key)
{
    return LocalizationHelper::localizedStringWithKey(
        key, base::Bundle::defaultTable, LocalizationHelper::currentBundle());
}

bool isLandscapeScreen()
{
    ui::Size size = ui::Environment::current().screenSize();
    return size.width > size.height;
}

} // namespace

ReflowablePageCount::ReflowablePageCount(ReflowablePageCountHost& host,
    std::shared_ptr<ReflowableChapterMetrics> metrics, const ReflowablePageSlider* slider)
    : m_host(host)
    , m_metrics(metrics ? std::move(metrics) : std::make_shared<ReflowableChapterMetrics>())
    , m_slider(slider)
{
}

ReflowablePageCount::~ReflowablePageCount()
{
    if (m_pageCountView)
        m_pageCountView->removeFromSuperview();
}

bool ReflowablePageCount::isScrollEnabled() const
{
    auto* book = dynamic_cast<const EPUBBookVO*>(m_book.get());
    return book && book->userReaderFontSettings && book->userReaderFontSettings->scrollEnabled;
}

int64_t ReflowablePageCount::readerMode() const
{
    auto* book = dynamic_cast<const EPUBBookVO*>(m_book.get());
    return book && book->userReaderFontSettings ? book->userReaderFontSettings->readerMode : 0;
}

void ReflowablePageCount::addReflowablePageCountView()
{
    auto hostView = m_host.pageCountHostView();
    if (!m_pageCountView && hostView) {
        auto strip = ReflowablePageCountView::create();
        strip->setAlpha(0.9);
        strip->setPageData("");
        strip->setCustomFontFamily("OpenSans");
        strip->setTranslatesAutoresizingMaskIntoConstraints(false);
        auto rendererView = m_host.pageCountRendererView();
        hostView->insertSubviewAbove(strip, rendererView.get());
        const double height = isIpad() ? 40 : 30;
        hostView->addConstraints({
            strip->leadingAnchor().constraintEqualTo(hostView->leadingAnchor()),
            strip->trailingAnchor().constraintEqualTo(hostView->trailingAnchor()),
            strip->heightAnchor().constraintEqualToConstant(height),
            strip->bottomAnchor().constraintEqualTo(hostView->bottomAnchor()),
        });
        // Nothing solves the constraints: the frame they describe is set here.
        ui::Rect area = hostView->bounds();
        strip->setFrame({ 0, area.size.height - height, area.size.width, height });
        m_pageCountView = strip;
    }
    setPageCountViewColor();
    hideReflowablePageCountView();
    if (m_pageCountView)
        m_pageCountView->layoutIfNeeded();
}

void ReflowablePageCount::hideReflowablePageCountView()
{
    if (!m_pageCountView)
        return;
    bool empty = m_pageCountView->pageLabel()->text().empty()
        && m_pageCountView->readingTimeLeftLabel()->text().empty();
    m_pageCountView->setHidden(m_disableReflowablePageCountView || empty);
}

void ReflowablePageCount::setPageCountViewColor()
{
    if (!m_pageCountView)
        return;
    const char* background = "#FFFFFF";
    ui::Color text = ui::Color::gray();
    switch (readerMode()) {
    case 1:
        background = "#FAF3E8";
        break;
    case 2:
        background = "#1A1A1A";
        text = ui::Color::white();
        break;
    default:
        break;
    }
    auto color = UIColorExpanded::colorWithHexString(background);
    m_pageCountView->setViewColors(text, color);
    m_pageCountView->setBackgroundColor(color);
}

ReflowablePageCount::PageReport ReflowablePageCount::pageReport(const std::string& pageText, int64_t chapter,
    int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage) const
{
    // A book still being laid out has no total yet (0): nothing is clamped to it, the strip
    // leaves the book's count out and the host hears no percentage until it is known.
    const bool totalKnown = totalPagesInBook > 0;
    std::string page = pageText;
    if (totalKnown && base::integerValue(page) > totalPagesInBook)
        page = base::format("%ld", totalPagesInBook);
    int64_t chapterPages = totalKnown ? std::min(totalPagesInChapter, totalPagesInBook) : totalPagesInChapter;

    const int64_t pagesBefore = m_metrics->metricForChapter(chapter).totalNumOfPagesTillChapter;
    const int64_t absolute = base::integerValue(page) + pagesBefore;

    std::string absoluteText;
    if (isScrollEnabled())
        absoluteText = base::format("%ld", absolute);
    else {
        if (isRTL()) {
            std::vector<int64_t> mirrored;
            for (const auto& part : splitOn(page, ','))
                mirrored.push_back(chapterPages - base::integerValue(part) + 1);
            // Page numbers read in numeric order: 9, 10 rather than 10, 9.
            if (mirrored.size() >= 2)
                std::sort(mirrored.begin(), mirrored.end());
            std::vector<std::string> texts;
            for (int64_t number : mirrored)
                texts.push_back(base::format("%d", number));
            page = joined(texts, ", ");
        }
        if (isIpad() && isLandscapeScreen())
            absoluteText = base::format("%ld-%ld", absolute, absolute + 1);
        else
            absoluteText = base::format("%ld", absolute);
    }
    // Either page of a spread past the book's end shows the book's last page, so the last
    // spread never reads "100-101 / 100" nor reports more than 100 percent.
    if (totalKnown && base::integerValue(splitOn(absoluteText, '-').back()) > totalPagesInBook)
        absoluteText = base::format("%ld", totalPagesInBook);

    PageReport report;
    report.absoluteText = absoluteText;
    const std::string localizedPage = localizedNumbers(page, ',', ", ");
    const std::string localizedAbsolute = localizedNumbers(absoluteText, '-', "-");
    const std::string localizedBookPages = localizedNumberOf(base::format("%ld", totalPagesInBook));
    const std::string localizedChapterPages = localizedNumberOf(base::format("%ld", chapterPages));
    const std::string bookText = localizedAbsolute + " / " + localizedBookPages;

    if (totalKnown && m_slider && m_slider->isVerticalsliderEnable()) {
        std::string label;
        if (auto sliderView = m_slider->viewForSliderBar())
            label = sliderView->percentageLabel()->text();
        label.erase(std::remove(label.begin(), label.end(), '%'), label.end());
        report.readPercentage = base::intValue(label);
    } else if (totalKnown) {
        const int64_t last = base::integerValue(splitOn(absoluteText, '-').back());
        const float fraction = static_cast<float>(last) / static_cast<float>(totalPagesInBook) * 100.0f;
        report.readPercentage = static_cast<int64_t>(std::trunc(fraction));
    }

    if (!isCoverPage) {
        report.stripText
            = localizedKey("PAGE") + " " + localizedPage + " " + localizedKey("OF_KEY") + " " + localizedChapterPages;
        if (totalKnown)
            report.stripText += " | " + bookText + " ";
    }
    return report;
}

void ReflowablePageCount::didChangeReflowableBookPage(const std::string& pageText, int64_t chapter,
    int64_t totalPagesInChapter, int64_t totalPagesInBook, bool isCoverPage)
{
    m_metrics->recordChapterPageCount(
        chapter, totalPagesInBook > 0 ? std::min(totalPagesInChapter, totalPagesInBook) : totalPagesInChapter);
    PageReport report = pageReport(pageText, chapter, totalPagesInChapter, totalPagesInBook, isCoverPage);
    if (report.readPercentage) {
        if (auto delegate = m_host.pageCountReaderDelegate())
            delegate->didUpdatedReadPercentageTo(*report.readPercentage, m_bookID);
    }
    if (!m_pageCountView)
        return;
    m_pageCountView->setPageData(report.stripText);
    ui::Environment::current().postAccessibilityScreenChanged(m_pageCountView);
    hideReflowablePageCountView();
}

std::string ReflowablePageCount::getUpdatedFurthestPageData(const base::Value& data) const
{
    base::Value::Dictionary updated;
    if (auto* entries = data.asDictionary())
        updated = *entries;
    updated.set("bookId", base::format("%ld", m_bookID));
    return base::toPrettyJson(base::Value(std::move(updated)));
}

void ReflowablePageCount::didUpdateFurthestPage(const std::string& furthestPageJSON)
{
    base::Value parsed;
    if (auto result = base::parseJson(furthestPageJSON))
        parsed = *result;
    std::string text = getUpdatedFurthestPageData(parsed);
    if (auto delegate = m_host.pageCountReaderDelegate())
        delegate->didUpdateFurthestPageData(text, m_bookID, m_userID);
}

void ReflowablePageCount::setTimeLeftData(const std::string& text)
{
    if (m_pageCountView)
        m_pageCountView->setTimeLeftData(text);
    LectoroDebugLog::logWithType(1, "ReaderViewController", "Reading time left: " + text);
    hideReflowablePageCountView();
    auto popUp = m_slider ? m_slider->reflowableSliderPopUpView() : nullptr;
    if (popUp) {
        popUp->readingTimeLeftLabel()->setAlpha(1);
        popUp->readingTimeLeftLabel()->setText(text);
        ui::Environment::current().postAccessibilityScreenChanged(popUp);
    }
}

namespace {

// The text with every decimal digit, of whichever script the last language wrote it in,
// made an ASCII digit; the rest unchanged.
std::string withAsciiDigits(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t offset = 0; offset < text.size();) {
        size_t start = offset;
        char32_t c = base::decodeUtf8(text, offset);
        int digit = base::decimalDigitValue(c);
        if (digit >= 0)
            result += static_cast<char>('0' + digit);
        else
            result.append(text, start, offset - start);
    }
    return result;
}

// The decimal numbers of the strip's page line, in order ("Page 3 of 12" gives 3 and 12),
// whatever words of whichever language surround them.
std::vector<std::string> decimalRuns(const std::string& text)
{
    std::vector<std::string> runs;
    std::string current;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            current += c;
        } else if (!current.empty()) {
            runs.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        runs.push_back(current);
    return runs;
}

} // namespace

void ReflowablePageCount::relabelPageLineForLanguage(bool landscape)
{
    if (!m_pageCountView || m_pageCountView->pageLabel()->text().empty())
        return;
    // The numbers are read whatever digits the last language wrote, and written again in
    // the new language's digits, as the next page turn would write them.
    const std::string text = withAsciiDigits(m_pageCountView->pageLabel()->text());
    const auto bar = text.find('|');
    const std::string first = text.substr(0, bar);
    const std::string second = bar == std::string::npos ? std::string() : text.substr(bar + 1);
    auto numbers = decimalRuns(first);
    std::string current, total;
    const bool sliderOff = !m_slider || !m_slider->isVerticalsliderEnable();
    if (numbers.size() == 2) {
        current = numbers[0];
        total = numbers[1];
    } else if (landscape && sliderOff && numbers.size() == 3) {
        current = numbers[0] + ", " + numbers[1];
        total = numbers[2];
    }
    if (current.empty() || total.empty())
        return;
    m_pageCountView->setPageData(localizedKey("PAGE") + " "
        + NumberLocalizationHandler::localizeDigits(current) + " " + localizedKey("OF_KEY") + " "
        + NumberLocalizationHandler::localizeDigits(total) + " | "
        + NumberLocalizationHandler::localizeDigits(second));
}

} // namespace lectoro
