#include "LectoroSDKWithReader/reader/chrome/ProfilePictureLoader.h"

#include "platform/base/Dispatch.h"
#include "platform/base/FileManager.h"
#include "platform/base/RunLoop.h"
#include "platform/base/URL.h"
#include "platform/ui/ImageView.h"

#include <cstdint>
#include <mutex>

namespace lectoro {

namespace {

std::optional<std::string> readFromDisk(const std::string& text)
{
    auto url = base::URL::parse(text);
    if (!url || !url->isFileURL())
        return std::nullopt;
    return base::FileManager::defaultManager().readFile(url->path());
}

struct ReaderSlot {
    std::mutex mutex;
    ProfilePictureLoader::Reader reader;
};

ReaderSlot& readerSlot()
{
    static ReaderSlot* slot = new ReaderSlot;
    return *slot;
}

ProfilePictureLoader::Reader currentReader()
{
    std::lock_guard lock(readerSlot().mutex);
    if (readerSlot().reader)
        return readerSlot().reader;
    return readFromDisk;
}

uint32_t bigEndian32(const std::string& bytes, size_t at)
{
    return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16)
        | (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
}

uint32_t bigEndian16(const std::string& bytes, size_t at)
{
    return (uint32_t(uint8_t(bytes[at])) << 8) | uint32_t(uint8_t(bytes[at + 1]));
}

uint32_t littleEndian16(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | (uint32_t(uint8_t(bytes[at + 1])) << 8);
}

std::optional<ui::Size> jpegSize(const std::string& bytes)
{
    // Walk the marker segments up to the first start-of-frame.
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (uint8_t(bytes[at]) != 0xFF)
            return std::nullopt;
        uint8_t marker = uint8_t(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t length = bigEndian16(bytes, at + 2);
        if (length < 2)
            return std::nullopt;
        bool startOfFrame
            = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (at + 9 > bytes.size())
                return std::nullopt;
            return ui::Size(bigEndian16(bytes, at + 7), bigEndian16(bytes, at + 5));
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

void ProfilePictureLoader::setReader(Reader reader)
{
    std::lock_guard lock(readerSlot().mutex);
    readerSlot().reader = std::move(reader);
}

ui::ImagePtr ProfilePictureLoader::imageFromData(const std::string& bytes, const std::string& name)
{
    static const std::string png("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() >= 24 && bytes.compare(0, png.size(), png) == 0)
        return ui::Image::make(name, ui::Size(bigEndian32(bytes, 16), bigEndian32(bytes, 20)));
    if (bytes.size() >= 10 && (bytes.compare(0, 6, "GIF87a") == 0 || bytes.compare(0, 6, "GIF89a") == 0))
        return ui::Image::make(name, ui::Size(littleEndian16(bytes, 6), littleEndian16(bytes, 8)));
    if (bytes.size() >= 4 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8) {
        if (auto size = jpegSize(bytes))
            return ui::Image::make(name, *size);
    }
    return nullptr;
}

ui::ImagePtr ProfilePictureLoader::placeholder(const std::string& name)
{
    if (auto image = ui::Image::named(name))
        return image;
    return ui::Image::make(name, ui::Size());
}

void ProfilePictureLoader::load(const std::shared_ptr<ui::ImageView>& imageView, const std::string& url)
{
    if (!imageView)
        return;
    std::weak_ptr<ui::ImageView> weakView = imageView;
    Reader reader = currentReader();
    // Only the URL text and the weak reference cross threads; the view is touched on the
    // main queue alone, and never released from the worker.
    base::globalQueue().async([weakView, reader = std::move(reader), url] {
        std::optional<std::string> bytes = url.empty() ? std::nullopt : reader(url);
        if (!bytes || bytes->empty())
            return;
        base::RunLoop::main().post([weakView, bytes = std::move(*bytes), url] {
            if (auto view = weakView.lock())
                view->setImage(imageFromData(bytes, url));
        });
    });
}

} // namespace lectoro
