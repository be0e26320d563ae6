#pragma once

// Errors of book loading, in one domain with stable codes the renderer and host can test.

#include "platform/base/Error.h"

#include <string>

namespace companion {

inline constexpr const char* bookErrorDomain = "companion.books";

enum class BookError : int {
    // The folder does not exist, is not a folder or cannot be read.
    MissingFolder = 1,
    // The folder holds neither a page book nor an EPUB book.
    NotABook = 2,
    // A file of the book cannot be parsed or lacks what it must hold.
    Malformed = 3,
    // A path inside the book points outside the book folder, or is absolute.
    UnsafePath = 4,
    // The book passes a limit of its budget (BookBudget.h); the description names the limit.
    TooLarge = 5,
};

inline base::Error makeBookError(BookError code, std::string description)
{
    return base::Error::make(bookErrorDomain, static_cast<int64_t>(code), std::move(description));
}

} // namespace companion
