#pragma once

// The host's scripted demos, one per subsystem. Each demo file registers itself here with
// its flag, so adding a demo touches only its own file (and its check in CMakeLists.txt):
// the argument parser, the usage text and the dispatch read this list.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace host {

struct DemoRequest {
    std::string bookPath;    // --book, or the sample page book
    std::string storagePath; // the run's store folder (empty for demos that keep their own)
    std::string value;       // the flag's value, for a demo whose flag takes one
    std::string language;    // --to, for demos that translate
    std::ostream& out;
};

struct Demo {
    enum class Setup {
        // Runs before the host makes its framework: the demo sets up its own service and users.
        Own,
        // Runs in the host's framework on the run's store, in real time.
        Framework,
        // As Framework, with the first-launch help screens marked seen so they cover nothing.
        FrameworkNoHelp,
    };

    std::string flag;      // "--demo-notes"
    std::string valueName; // "WORD" when the flag takes a value; empty otherwise
    std::string usage;     // rest of the usage line, e.g. "[--book PATH]   (writes a note...)"
    Setup setup = Setup::FrameworkNoHelp;
    std::function<int(const DemoRequest&)> run;
};

// Answers true so that a file can register at namespace scope, under a name of its own (the
// host is compiled in unity batches, where demo files share a translation unit):
//   const bool notesDemoRegistered = host::registerDemo({ ... });
bool registerDemo(Demo);

// In flag order.
const std::vector<Demo>& registeredDemos();
const Demo* findDemo(const std::string& flag);

} // namespace host
