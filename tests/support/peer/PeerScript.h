#pragma once
// The common part of the scripted peers: a list of steps run in order on a thread of its own,
// a record of everything that went wrong, and a bounded end. A step returns false to end the
// script early (after recording why).

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lanterna::test {

using namespace std::chrono_literals;

// How long a step waits for the client before it counts as missing: far beyond any stall of a
// busy machine, and spent only when the client is wrong.
inline constexpr std::chrono::milliseconds kPeerStepLimit = 30s;

class CPeerScript {
  public:
    CPeerScript(const CPeerScript&) = delete;
    CPeerScript& operator=(const CPeerScript&) = delete;

    // Runs the script on the peer's thread. Steps must all be added before.
    void Start();

    // Waits at most `limit` for the script to end, stops it if it has not, and reports every
    // failure: unexpected or missing bytes, a client gone too early, a step that never ended.
    ::testing::AssertionResult Finish(std::chrono::milliseconds limit = kPeerStepLimit);

  protected:
    using Step = std::function<bool()>;

    CPeerScript();
    virtual ~CPeerScript();

    void AddStep(std::string description, Step step);
    void Fail(const std::string& message);

    // Waits until `fd` is readable (true), or the deadline passes or a stop is asked (false).
    bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline);
    bool StopRequested();

    // Runs before the first step (for example to accept the connection); false ends the script.
    virtual bool Prepare() { return true; }

    // Derived destructors call this first, so that the thread never runs on a half-destroyed
    // object.
    void StopThread();

  private:
    void Run();

    std::vector<std::pair<std::string, Step>> steps;
    std::thread thread;
    int stopPipe[2] = {-1, -1};

    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::string currentStep = "preparing";
    std::vector<std::string> failures;
};

// Printable form of bytes: control characters as \r, \n or \xNN.
std::string Printable(std::string_view bytes);

}  // namespace lanterna::test
