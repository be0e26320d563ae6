#pragma once

// Libraries a process maps only when a feature first needs them. A page-book reader never
// speaks or prints, so the speech engine and the PDF and picture painter (with everything
// they pull in) are opened on first use instead of at start-up: the process starts sooner
// and keeps less memory.

#include <string>
#include <utility>
#include <vector>

namespace base {

// A function of the library: its name and where to store its address (the address of a
// function pointer of the matching type).
using LibrarySymbol = std::pair<const char*, void*>;

// Opens the library by its versioned name (as the dynamic linker would find it) and stores
// the address of every symbol. All or nothing: false, with the loader's reason in `error`,
// when the library or any one symbol cannot be had (nothing is stored then). The library
// stays open for the life of the process.
bool openSharedLibrary(const char* soname, const std::vector<LibrarySymbol>& symbols, std::string& error);

// Whether the process has the library mapped now (tests: what a process has loaded).
bool isSharedLibraryMapped(const std::string& nameFragment);

} // namespace base
