// The example host reading a page book maps neither the speech engine nor Cairo: they are
// opened when speech or painting is first asked for, not at start-up.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The libraries the running host has mapped, read from its /proc maps once it has opened the
// book, read it, closed it and opened it again; and everything it printed.
struct HostRun {
    std::string maps;
    std::string output;
    int status = -1;
};

HostRun runHostReadingThePageBook()
{
    HostRun run;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return run;
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execl(LECTORO_HOST, LECTORO_HOST, "--pages", "1", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    FILE* output = ::fdopen(pipeEnds[0], "r");
    char line[4096];
    while (output && std::fgets(line, sizeof line, output)) {
        run.output += line;
        if (std::string(line).rfind("Reopened at", 0) == 0) {
            std::ifstream maps("/proc/" + std::to_string(child) + "/maps");
            run.maps.assign(std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>());
        }
    }
    if (output)
        std::fclose(output);
    ::waitpid(child, &run.status, 0);
    return run;
}

TEST(HostLibraryLoadingTests, APageBookReaderMapsNeitherTheSpeechEngineNorCairo)
{
    auto run = runHostReadingThePageBook();
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    ASSERT_FALSE(run.maps.empty()) << "the host's maps were not read:\n" << run.output;
    // The maps do list the host's own libraries.
    EXPECT_NE(run.maps.find("libsqlite3"), std::string::npos);
    EXPECT_EQ(run.maps.find("libespeak-ng"), std::string::npos);
    // The media layer's codec libraries link Cairo themselves: while they are mapped, so is it.
    if (run.maps.find("libavcodec") == std::string::npos) {
        EXPECT_EQ(run.maps.find("libcairo"), std::string::npos);
    }
}

} // namespace
