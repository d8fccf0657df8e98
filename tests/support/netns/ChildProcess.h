#pragma once
// Programs started by the end-to-end tests, optionally inside a network namespace: one that
// runs to its end with its output captured, and one that runs in the background until the
// test stops it.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::test {

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not end normally (signal, time-out)
    std::string out;
    std::string err;
    std::chrono::milliseconds wall{0};
    std::chrono::microseconds cpu{0};  // user + system time of the program
    long peakKb = 0;  // highest resident set (VmHWM) seen while it ran, 0 when never seen
};

// Runs `argv` (argv[0] a path) in the namespace `netns` (empty: the caller's) with `environment`
// added ("NAME=value"), and waits up to `limit`; a program still running then is killed.
ProgramRun RunProgram(const std::string& netns, const std::vector<std::string>& argv,
                      std::chrono::milliseconds limit,
                      const std::vector<std::string>& environment = {});

// A program in the background; its standard output is read line by line, its standard error
// goes to the test's. Stopped (SIGTERM, then SIGKILL) by Stop or the destructor.
class CBackgroundProgram {
  public:
    CBackgroundProgram() = default;
    ~CBackgroundProgram();
    CBackgroundProgram(const CBackgroundProgram&) = delete;
    CBackgroundProgram& operator=(const CBackgroundProgram&) = delete;

    bool Start(const std::string& netns, const std::vector<std::string>& argv);
    // Reads output until `count` lines beginning with `prefix` have come since the start, the
    // program ends, or `limit` passes. The number of such lines seen.
    int WaitForLines(std::string_view prefix, int count, std::chrono::milliseconds limit);
    // Reads output until a new line beginning with `prefix` comes (the lines before it are kept
    // for WaitForLines and LastLine) and returns it without its line feed; nullopt when the program ends or `limit`
    // passes first.
    std::optional<std::string> WaitForLine(std::string_view prefix,
                                           std::chrono::milliseconds limit);
    // The last line read that begins with `prefix`, without its line end; empty when none.
    std::string LastLine(std::string_view prefix) const;
    void Stop();

  private:
    int CountLines(std::string_view prefix) const;

    pid_t pid = -1;
    int outFd = -1;
    std::string pending;
    std::vector<std::string> lines;  // every complete line read so far
};

}  // namespace lanterna::test
