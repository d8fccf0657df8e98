// Skips the whole run (exit 77) with the reason when this machine cannot make network
// namespaces or lacks a piece of the accessibility desktop: Xvfb, a private session bus, the
// accessibility bus or the Python bindings the driver uses.

#include <gtest/gtest.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace {

std::string MissingDesktopPiece() {
    for (const char* program : {"/usr/bin/Xvfb", "/usr/bin/dbus-run-session",
                                "/usr/libexec/at-spi-bus-launcher", "/usr/bin/python3"}) {
        if (access(program, X_OK) != 0) {
            return std::string(program) + " is not installed";
        }
    }
    using namespace std::chrono_literals;
    const lanterna::test::ProgramRun bindings = lanterna::test::RunProgram(
        "",
        {"/usr/bin/python3", "-c",
         "import gi; gi.require_version('Atspi', '2.0'); from gi.repository import Atspi"},
        30s);
    return bindings.exitStatus == 0 ? "" : "the AT-SPI bindings for Python are not installed";
}

}  // namespace

int main(int argc, char** argv) {
    std::string reason = lanterna::test::CTestNetwork::Unavailable();
    if (reason.empty()) {
        reason = MissingDesktopPiece();
    }
    if (!reason.empty()) {
        std::cout << "skipped: " << reason << "\n";
        return 77;
    }
    lanterna::test::CTestNetwork::RemoveStale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
