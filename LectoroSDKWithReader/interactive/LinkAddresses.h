#pragma once

// The texts a link action builds from a link: the jump-to-book target, the web reader's
// address with the user's query, and file addresses of book files.

#include <string>

namespace lectoro {

class LectoroUser;

// Book id and folio of a jump-to-book link's properties: entries separated by ";", an
// "id" or "bookId" entry giving the book and a "folio" entry the folio, each the text
// after the entry's first ":". Later entries win.
struct JumpToBookTarget {
    std::string bookID;
    std::string folio;
};
JumpToBookTarget parseJumpToBookProperties(const std::string& properties);

// Percent-escapes everything but letters, digits and "-._~", so a value cannot break out
// of its query item.
std::string encodeStringWithString(const std::string&);

// The web reader's address for the user: every "DesktopReader" becomes "MobileReader" and
// the user's query (token, id, user name (the e-mail the user signs in with), names,
// role, picture) is appended.
std::string createTargetURLForWebPlayer(const std::string& address, const LectoroUser*);

// The address a jump-to-book link falls back to: the web reader's address in which only
// the address's own first "#" stays a fragment mark; its later ones, and any "#" in the
// user's values, are carried as "%23".
std::string jumpToBookWebAddress(const std::string& address, const LectoroUser*);

// The file address of a path (a book file, as base::pathInsideFolder answers it), encoded
// as a path so spaces and non-ASCII names survive; empty for an empty path.
std::string fileAddressForPath(const std::string& path);
// A path a book writes for one of its own recordings, whether or not it begins with "/", as
// a path relative to the book's folder (still to be bounded by base::pathInsideFolder).
std::string bookRelativePath(const std::string& path);

} // namespace lectoro
