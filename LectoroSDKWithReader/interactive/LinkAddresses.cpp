#include "LectoroSDKWithReader/interactive/LinkAddresses.h"

#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "platform/base/Strings.h"
#include "platform/base/URL.h"

namespace lectoro {

namespace {

// The text after the first ":" of an entry; empty when there is no ":".
std::string valueAfterColon(const std::string& entry)
{
    auto colon = entry.find(':');
    return colon == std::string::npos ? std::string {} : entry.substr(colon + 1);
}

} // namespace

JumpToBookTarget parseJumpToBookProperties(const std::string& properties)
{
    JumpToBookTarget target;
    for (const std::string& entry : base::split(properties, ";")) {
        if (base::hasPrefix(entry, "id") || base::hasPrefix(entry, "bookId"))
            target.bookID = valueAfterColon(entry);
        else if (base::hasPrefix(entry, "folio"))
            target.folio = valueAfterColon(entry);
    }
    return target;
}

std::string encodeStringWithString(const std::string& text)
{
    return base::percentEncode(text, base::PercentEncodeSet::Unreserved);
}

std::string createTargetURLForWebPlayer(const std::string& address, const LectoroUser* user)
{
    std::string result = base::replaceAll(address, "DesktopReader", "MobileReader");
    auto field = [&](const std::string& value) { return encodeStringWithString(value); };
    LectoroUser empty;
    const LectoroUser& who = user ? *user : empty;
    result += "&sharetoken=" + field(who.userToken) + "&cloudUserId=" + who.userID + "&cloudUserName="
        + field(who.email) + "&cloudFirstName=" + field(who.firstName) + "&cloudLastName=" + field(who.lastName)
        + "&cloudRoleName=" + field(who.role) + "&cloudProfilePic=" + field(who.profilePicURL);
    return result;
}

std::string jumpToBookWebAddress(const std::string& address, const LectoroUser* user)
{
    // Escape the address's own later "#"s before the user's values join it, so the one
    // "#" restored is the address's, never a character of a value.
    std::string own = address;
    auto first = own.find('#');
    if (first != std::string::npos)
        own = own.substr(0, first + 1) + base::replaceAll(own.substr(first + 1), "#", "%23");
    return createTargetURLForWebPlayer(own, user);
}

std::string fileAddressForPath(const std::string& path)
{
    if (path.empty())
        return {};
    return base::URL::fileURL(path).absoluteString();
}

std::string bookRelativePath(const std::string& path)
{
    size_t start = path.find_first_not_of('/');
    return start == std::string::npos ? std::string() : path.substr(start);
}

} // namespace lectoro
