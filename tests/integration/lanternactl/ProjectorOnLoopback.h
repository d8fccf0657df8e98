#pragma once
// A simulated projector on a loopback address of its own, on the projector port, for the
// lanternactl tests; and what they share for reading its command log and writing files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/Ports.h"
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
        config.port = kProjectorPort;
        config.secondaryPort = 0;
        config.password = password;
        return config;
    }
    // Waits until the log stays still (send-only commands get no reply).
    Lines Log() const {
        Lines log = projector->CommandLog();
        for (int quiet = 0, rounds = 0; quiet < 5 && rounds < 200; ++rounds) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Lines now = projector->CommandLog();
            quiet = now.size() == log.size() ? quiet + 1 : 0;
            log = std::move(now);
        }
        return log;
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
