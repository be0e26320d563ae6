#pragma once

// Profile pictures on the bars: the bytes are read on a background queue and the image
// view gets the picture on the main queue. No cache, no retry: every build reads again,
// and a failed read leaves the placeholder the view already shows.

#include "platform/ui/Image.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class ImageView;
}

namespace lectoro {

class ProfilePictureLoader {
public:
    // Reads the whole content at a URL text; absent when it cannot be read. Runs on a
    // background thread.
    using Reader = std::function<std::optional<std::string>(const std::string& url)>;

    // The default reader takes "file:" URLs from the disk and answers nothing for other
    // schemes; a host with a network stack installs its own. An empty reader restores it.
    static void setReader(Reader);

    // Reads the URL in the background; the view keeps what it shows (its placeholder) until
    // a picture arrives. The image view is held weakly: a view gone by then is left alone.
    static void load(const std::shared_ptr<ui::ImageView>&, const std::string& url);

    // The picture in the bytes (PNG, GIF or JPEG, sized from their headers), or null for
    // bytes that are no picture.
    static ui::ImagePtr imageFromData(const std::string& bytes, const std::string& name);

    // A named picture of the bundle; a picture of that name without pixels when the bundle
    // lacks it, so the view still shows which placeholder it holds.
    static ui::ImagePtr placeholder(const std::string& name);
};

} // namespace lectoro
