#pragma once
// A simulated projector on a loopback address of its own, on the test process's projector port
// (the one lanternactl is pointed at, see CliHarness.h), for the lanternactl tests; and what
// they share for reading its command log and writing files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/port/ProcessPort.h"
#include "tests/support/sim/SessionsEnded.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna::test {

using Lines = std::vector<std::string>;

class CProjectorOnPort {
  public:
    explicit CProjectorOnPort(const std::string& address, const std::string& password = "")
        : CProjectorOnPort(ConfigFor(address, password)) {}
    explicit CProjectorOnPort(sim::SimulatorConfig config) {
        projector = std::make_unique<sim::SimulatedProjector>(config);
        std::string reason;
        EXPECT_TRUE(projector->Start(&reason)) << reason;
    }
    static sim::SimulatorConfig ConfigFor(const std::string& address,
                                          const std::string& password = "") {
        sim::SimulatorConfig config;
        config.address = address;
        config.port = ProcessProjectorPort();
        config.secondaryPort = 0;
        config.password = password;
        return config;
    }
    // The command lines received, once every client has left and the projector has seen it
    // go: a send-only command gets no reply, so lanternactl may be done before the projector
    // has read it.
    Lines Log() const {
        EXPECT_TRUE(WaitUntilSessionsEnd(*projector))
            << "a link to " << projector->Address() << " is still open";
        return projector->CommandLog();
    }
    // The counters, once every client has left (see Log).
    sim::ProjectorCounters Counters() const {
        EXPECT_TRUE(WaitUntilSessionsEnd(*projector))
            << "a link to " << projector->Address() << " is still open";
        return projector->Counters();
    }
    std::unique_ptr<sim::SimulatedProjector> projector;
};

// A file of the test's own with `content` and `mode`; removed with the object.
class CTestFile {
  public:
    CTestFile(const std::string& name, const std::string& content, mode_t mode = 0600)
        : path(::testing::TempDir() + name) {
        std::ofstream(path, std::ios::trunc) << content;
        chmod(path.c_str(), mode);
    }
    ~CTestFile() { std::remove(path.c_str()); }
    CTestFile(const CTestFile&) = delete;
    CTestFile& operator=(const CTestFile&) = delete;
    const std::string path;
};

inline bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

}  // namespace lanterna::test
