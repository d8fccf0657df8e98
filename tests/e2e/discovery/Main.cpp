// Skips the whole run (exit 77) when this machine cannot make network namespaces, so that the
// tests show as skipped with the reason instead of failing.

#include <gtest/gtest.h>

#include <iostream>

#include "tests/support/netns/TestNetwork.h"

int main(int argc, char** argv) {
    const std::string reason = lanterna::test::CTestNetwork::Unavailable();
    if (!reason.empty()) {
        std::cout << "skipped: " << reason << "\n";
        return 77;
    }
    lanterna::test::CTestNetwork::RemoveStale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
