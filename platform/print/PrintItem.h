#pragma once

// What a print job prints and what it draws on every page.

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Image.h"

#include <memory>
#include <string>

namespace ui {
class View;
}

namespace print {

// One page of a job: a file (a PNG is drawn as a picture; a PDF printed alone is printed
// as it is), an image, plain text, or a view painted as the screen shows it.
struct PrintItem {
    enum class Kind { File, Image, Text, View };
    Kind kind = Kind::File;
    std::string path;
    ui::ImagePtr image;
    std::string text;
    std::shared_ptr<ui::View> view;

    static PrintItem file(std::string path) { return { Kind::File, std::move(path), nullptr, {}, nullptr }; }
    static PrintItem fromImage(ui::ImagePtr image) { return { Kind::Image, {}, std::move(image), {}, nullptr }; }
    static PrintItem fromText(std::string text) { return { Kind::Text, {}, nullptr, std::move(text), nullptr }; }
    static PrintItem fromView(std::shared_ptr<ui::View> view) { return { Kind::View, {}, nullptr, {}, std::move(view) }; }

    // False for an item with nothing behind it (no path, image or view).
    bool hasContent() const;
};

// Text drawn on every page of a job, above the page's content.
struct PrintWatermark {
    enum class Placement {
        // Centred in the bottom margin.
        Bottom,
        // Centred in the top margin.
        Top,
        // Across the middle of the page, along its diagonal.
        Diagonal,
    };

    std::string text;
    ui::Color color = ui::Color::gray();
    ui::Font font = ui::Font::systemFont(10);
    Placement placement = Placement::Bottom;
};

} // namespace print
