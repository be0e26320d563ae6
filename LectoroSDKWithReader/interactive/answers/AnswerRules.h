#pragma once

// The decisions of answer entry that need no views: the drop-down item list, whether an
// answer is right, the correct-answer text, how far the page lifts above the keyboard,
// where the equation button stands and the feedback colours. Tables test them.

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lectoro {

class PXLinkVO;
class SDKFIBVO;

namespace answers {

// The platform's system colours the feedback uses.
ui::Color systemGreen();
ui::Color systemRed();
ui::Color systemGray();

// The items of a drop-down markup's properties (percent-escaped XML, brackets possibly
// written "&lt;"/"&gt;"), the placeholder first. Absent for XML that does not parse; an
// empty list when the fragment holds no items.
std::optional<std::vector<std::string>> dropDownItems(
    const std::string& properties, const std::string& placeholder);

// A case-sensitive drop-down compares exactly; everything else ignores letter case.
bool isAnswerCorrect(const PXLinkVO&, const std::string& enteredText);

// The correct-answer pop-up's text: the label directly followed by the accepted answers
// joined by " | ", or the label and one space when there is no answer.
std::string correctAnswerText(const std::string& label, const std::optional<std::string>& answer);

// How far the renderer view rises so the field stays above a keyboard of that height;
// absent when the field is wholly above the keyboard.
std::optional<double> keyboardLift(const ui::Size& renderer, double keyboardHeight, const ui::Rect& field);

// The equation button's side (45 phone, 75 pad) and its frame at the renderer's bottom
// right corner, just above the keyboard.
double equationButtonSide(bool isPad);
ui::Rect equationButtonFrame(const ui::Size& renderer, double keyboardHeight, double offset, bool isPad);

// The equation keyboard's vertical position: the link box's y origin on a pad, "2px" on a phone.
std::string equationKeyboardPosY(const PXLinkVO&, bool isPad);

// A drop-down box's colours after feedback: title colour, and background when a teacher
// marked the answer.
struct DropDownFeedback {
    ui::Color titleColor;
    std::optional<ui::Color> background;
};
// `handedIn`: the learner's own view reads isSubmitted, teacher review an unreviewed
// record. Absent: the box keeps its colours.
std::optional<DropDownFeedback> dropDownFeedback(const PXLinkVO&, const SDKFIBVO&, bool forTeacherReview);

// The equation view's colour: green or red by correctness for a submitted answer with
// instant feedback, grey without, the theme's colour while not submitted.
ui::Color equationColour(const PXLinkVO&, const SDKFIBVO&, const ui::Color& notSubmitted);

// Teacher review's record for a drop-down choice: among the answers of the link, the one
// with the greatest server id, compared as numbers (ids not numbers come last). Null when
// the learner has none.
std::shared_ptr<SDKFIBVO> reviewedAnswerForLink(
    const std::vector<std::shared_ptr<SDKFIBVO>>&, int64_t linkID);

} // namespace answers
} // namespace lectoro
