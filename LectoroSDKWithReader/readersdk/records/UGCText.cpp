#include "LectoroSDKWithReader/readersdk/records/UGCText.h"

#include <cstring>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace lectoro {

uint32_t UGCText::checkedSize(size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max() - 1)
        throw std::length_error("A record's text is too long.");
    return static_cast<uint32_t>(size);
}

UGCText::CopyTarget*& UGCText::copyTarget() noexcept
{
    static thread_local CopyTarget* target = nullptr;
    return target;
}

void UGCText::assign(std::string_view text)
{
    if (text.empty())
        return;
    uint32_t size = checkedSize(text.size());
    auto* bytes = new char[size + 1];
    std::memcpy(bytes, text.data(), size);
    bytes[size] = '\0';
    m_data = bytes;
    m_size = size;
    m_storage = Storage::Owned;
}

void UGCText::copyFrom(const UGCText& other)
{
    if (other.m_storage == Storage::Static) {
        m_data = other.m_data;
        m_size = other.m_size;
        return;
    }
    if (CopyTarget* target = copyTarget()) {
        placeIn(*target, other.view());
        return;
    }
    assign(other.view());
}

void UGCText::placeIn(CopyTarget& arena, std::string_view text)
{
    uint32_t size = checkedSize(text.size());
    char* bytes = arena.placeText(size_t(size) + 1);
    std::memcpy(bytes, text.data(), size);
    bytes[size] = '\0';
    release();
    m_data = bytes;
    m_size = size;
    m_storage = Storage::Arena;
}

void UGCText::moveFrom(UGCText& other)
{
    if (other.m_storage != Storage::Owned) {
        copyFrom(other);
        return;
    }
    m_data = other.m_data;
    m_size = other.m_size;
    m_storage = Storage::Owned;
    other.m_data = "";
    other.m_size = 0;
    other.m_storage = Storage::Static;
}

UGCText& UGCText::operator+=(std::string_view text)
{
    if (text.empty())
        return *this;
    uint32_t size = checkedSize(size_t(m_size) + text.size());
    auto* bytes = new char[size + 1];
    std::memcpy(bytes, m_data, m_size);
    // The text added may be a view of this one: it is copied before the old bytes go.
    std::memcpy(bytes + m_size, text.data(), text.size());
    bytes[size] = '\0';
    release();
    m_data = bytes;
    m_size = size;
    m_storage = Storage::Owned;
    return *this;
}

std::string UGCText::join(std::string_view left, std::string_view right)
{
    std::string joined;
    joined.reserve(left.size() + right.size());
    joined.append(left);
    joined.append(right);
    return joined;
}

std::ostream& operator<<(std::ostream& stream, const UGCText& text)
{
    return stream << text.view();
}

} // namespace lectoro
