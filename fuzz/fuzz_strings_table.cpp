// Feeds arbitrary bytes to the .strings reader: it must never crash, hang or read out of
// bounds, and what it reads must be valid UTF-8 that survives a second round.

#include "platform/base/StringTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1
            : (lead & 0xE0) == 0xC0 ? 2
            : (lead & 0xF0) == 0xE0 ? 3
            : (lead & 0xF8) == 0xF0 ? 4
                                    : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    base::StringTable table = base::StringTable::parse(bytes);

    std::string rewritten = "\xEF\xBB\xBF"; // the BOM rules out reading it as UTF-16
    for (const auto& [key, value] : table.entries()) {
        if (!isValidUtf8(key) || !isValidUtf8(value))
            std::abort();
        if (table.lookup(key) != value)
            std::abort();
        rewritten += quoted(key) + " = " + quoted(value) + ";\n";
    }
    // Written back in the simplest form, every entry reads the same again.
    base::StringTable again = base::StringTable::parse(rewritten);
    if (again.size() != table.size() || !again.warnings().empty())
        std::abort();
    for (const auto& [key, value] : table.entries()) {
        if (again.lookup(key) != value)
            std::abort();
    }
    return 0;
}
