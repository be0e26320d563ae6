#pragma once

// Where the sample books are, how a test loads one, and how a test writes a book file of its own.

#include "LectoroSDKWithReader/readersdk/records/LectoroBookVO.h"
#include "companion/books/BookLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace companiontest {

inline std::string samplePath(const std::string& name)
{
    return std::string(LECTORO_SAMPLES_DIR) + "/books/" + name;
}

// A sample that does not load, or loads as another kind of book, fails the test and answers null.
template<class Book = lectoro::LectoroBookVO>
std::shared_ptr<Book> loadSample(const std::string& name)
{
    auto book = companion::loadBook(samplePath(name));
    EXPECT_TRUE(book.ok()) << (book.ok() ? "" : book.error().localizedDescription());
    return book.ok() ? std::dynamic_pointer_cast<Book>(book.value()) : nullptr;
}

// Creates the parent folders as needed; the content is written byte for byte.
inline void writeFile(const std::filesystem::path& file, const std::string& content)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

} // namespace companiontest
