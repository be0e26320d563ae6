#include "LectoroSDKWithReader/interactive/answers/AnswerRules.h"

#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/readersdk/records/PXLinkVO.h"
#include "LectoroSDKWithReader/readersdk/records/SDKFIBVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVTBXML.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cstdio>

namespace lectoro::answers {

namespace {

ui::Color answerHex(const char* text)
{
    return UIColorExpanded::colorWithHexString(text).value_or(ui::Color::black());
}

std::string foldCase(std::string_view text)
{
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

// A server id as a number; ids that are not numbers sort below every number.
std::optional<long long> numericID(const std::string& id)
{
    if (id.empty())
        return std::nullopt;
    char* end = nullptr;
    long long value = std::strtoll(id.c_str(), &end, 10);
    if (!end || *end != '\0')
        return std::nullopt;
    return value;
}

} // namespace

ui::Color systemGreen()
{
    return ui::Color::fromRGB255(52, 199, 89);
}
ui::Color systemRed()
{
    return ui::Color::fromRGB255(255, 59, 48);
}
ui::Color systemGray()
{
    return ui::Color::fromRGB255(142, 142, 147);
}

std::optional<std::vector<std::string>> dropDownItems(
    const std::string& properties, const std::string& placeholder)
{
    std::string text = base::percentDecode(properties).value_or(properties);
    text = base::replaceAll(text, "&lt;", "<");
    text = base::replaceAll(text, "&gt;", ">");
    // The lists are written in UTF-8 whatever a declaration says; the reader decodes them so.
    auto parsed = MVTBXML::dictionaryWithXMLData("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + text);
    if (!parsed)
        return std::nullopt;
    const base::Value& items = parsed.value()["activity"]["items"];
    std::vector<std::string> result;
    if (items.asDictionary()) {
        result.push_back(placeholder);
        const base::Value& node = items["node"];
        auto addNode = [&](const base::Value& each) {
            if (auto name = each["nodeName"].asString())
                result.push_back(*name);
        };
        if (const auto* list = node.asList()) {
            for (const auto& each : *list)
                addNode(each);
        } else if (node.asDictionary()) {
            addNode(node);
        }
        return result;
    }
    if (auto plain = items.asString()) {
        result.push_back(placeholder);
        for (auto& part : base::split(*plain, ","))
            result.push_back(std::move(part));
    }
    return result;
}

bool isAnswerCorrect(const PXLinkVO& link, const std::string& enteredText)
{
    if (link.linkType == 13 && link.isCaseSenstive)
        return link.answer == enteredText;
    return foldCase(link.answer) == foldCase(enteredText);
}

std::string correctAnswerText(const std::string& label, const std::optional<std::string>& answer)
{
    if (!answer)
        return label + " ";
    return label + base::replaceAll(*answer, "##", " | ");
}

std::optional<double> keyboardLift(const ui::Size& renderer, double keyboardHeight, const ui::Rect& field)
{
    double keyboardTop = renderer.height - keyboardHeight;
    ui::Rect keyboard { { 0, keyboardTop }, { renderer.width, keyboardHeight } };
    double fieldBottom = field.origin.y + field.size.height;
    if (!keyboard.contains(field) && fieldBottom < keyboardTop)
        return std::nullopt;
    // Held as a 32-bit float, as the page's frame arithmetic is.
    return static_cast<double>(static_cast<float>(field.origin.y + field.size.height - keyboardTop + 30.0));
}

double equationButtonSide(bool isPad)
{
    return isPad ? 75.0 : 45.0;
}

ui::Rect equationButtonFrame(const ui::Size& renderer, double keyboardHeight, double offset, bool isPad)
{
    double side = equationButtonSide(isPad);
    return ui::Rect { { renderer.width - side, renderer.height - (keyboardHeight + side) + offset },
        { side, side } };
}

std::string equationKeyboardPosY(const PXLinkVO& link, bool isPad)
{
    if (!isPad)
        return "2px";
    char text[64];
    std::snprintf(text, sizeof text, "%fpx", link.boxTansformedRect.origin.y);
    return text;
}

std::optional<DropDownFeedback> dropDownFeedback(
    const PXLinkVO& link, const SDKFIBVO& answer, bool forTeacherReview)
{
    bool handedIn = forTeacherReview ? answer.review == 0 : answer.isSubmitted;
    ui::Color candidate = ui::Color::lightGray();
    std::optional<DropDownFeedback> result;
    if (handedIn && link.isInstantFeedback) {
        bool right = isAnswerCorrect(link, answer.text);
        result = DropDownFeedback { right ? systemGreen() : systemRed(), std::nullopt };
        candidate = answerHex(right ? "#006400" : "#870000");
    } else if (handedIn) {
        result = DropDownFeedback { ui::Color::lightGray(), std::nullopt };
    }
    const std::string& marking = answer.answerStatus;
    if (marking == "correct")
        result = DropDownFeedback { candidate, answerHex("#00FF00") };
    else if (marking == "incorrect")
        result = DropDownFeedback { candidate, answerHex("#ff4a54") };
    return result;
}

ui::Color equationColour(const PXLinkVO& link, const SDKFIBVO& answer, const ui::Color& notSubmitted)
{
    if (!answer.isSubmitted)
        return notSubmitted;
    if (!link.isInstantFeedback)
        return systemGray();
    return isAnswerCorrect(link, answer.text) ? systemGreen() : systemRed();
}

std::shared_ptr<SDKFIBVO> reviewedAnswerForLink(
    const std::vector<std::shared_ptr<SDKFIBVO>>& answers, int64_t linkID)
{
    std::shared_ptr<SDKFIBVO> best;
    for (const auto& answer : answers) {
        if (!answer || answer->linkID != linkID)
            continue;
        if (!best) {
            best = answer;
            continue;
        }
        auto mine = numericID(answer->ugcID);
        auto theirs = numericID(best->ugcID);
        if (mine && (!theirs || *mine > *theirs))
            best = answer;
    }
    return best;
}

} // namespace lectoro::answers
