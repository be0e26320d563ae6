#include "LectoroSDKWithReader/annotations/textboxes/TextAnnotationColors.h"

#include <iterator>

namespace lectoro::textboxes {

namespace {

using TextBoxThemeColor = const ThemeValueColor& (LXMVThemeVO::*)() const;

struct TextBoxColorGetters {
    TextBoxThemeColor background;
    TextBoxThemeColor text;
};

constexpr TextBoxColorGetters textBoxColorGetters[] = {
    { &LXMVThemeVO::textAnnotation_color_popup_color1_background,
        &LXMVThemeVO::textAnnotation_color_popup_color1_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color2_background,
        &LXMVThemeVO::textAnnotation_color_popup_color2_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color3_background,
        &LXMVThemeVO::textAnnotation_color_popup_color3_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color4_background,
        &LXMVThemeVO::textAnnotation_color_popup_color4_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color5_background,
        &LXMVThemeVO::textAnnotation_color_popup_color5_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color6_background,
        &LXMVThemeVO::textAnnotation_color_popup_color6_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color7_background,
        &LXMVThemeVO::textAnnotation_color_popup_color7_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color8_background,
        &LXMVThemeVO::textAnnotation_color_popup_color8_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color9_background,
        &LXMVThemeVO::textAnnotation_color_popup_color9_text_color },
    { &LXMVThemeVO::textAnnotation_color_popup_color10_background,
        &LXMVThemeVO::textAnnotation_color_popup_color10_text_color },
};

static_assert(std::size(textBoxColorGetters) == textAnnotationColorPairCount);

} // namespace

TextAnnotationColorPair textAnnotationColorPair(const LXMVThemeVO& theme, int number)
{
    if (number < 1 || number > textAnnotationColorPairCount)
        return {};
    const auto& getters = textBoxColorGetters[number - 1];
    return { (theme.*getters.background)(), (theme.*getters.text)() };
}

} // namespace lectoro::textboxes
