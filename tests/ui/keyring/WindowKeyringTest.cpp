// The window's passwords in a real desktop keyring: what a session keeps with "Remember in the
// keyring" is what the next session finds for that projector, and a password change updates it.

#include <gtest/gtest.h>

#include "app/MainWindowRun.h"
#include "dialogs/SessionPasswords.h"

namespace {

using lanterna::dialogs::CSessionPasswords;

TEST(WindowKeyring, KeptInOneSessionFoundByTheNextForTheSameProjectorOnly) {
    const auto keyring = lanterna::MainWindowOptions::DesktopKeyring();
    ASSERT_NE(keyring, nullptr) << "the test session's keyring does not answer";
    const std::string address = "10.60.1.21";
    const std::string mac = "00:A0:B0:C0:D0:21";
    {
        CSessionPasswords first(keyring.get());
        ASSERT_TRUE(first.HasKeyring());
        first.Worked(address, mac, "not-kept", false);
        EXPECT_EQ(CSessionPasswords(keyring.get()).Known(address, mac), std::nullopt);
        first.Worked(address, mac, "hall-201", true);
    }
    CSessionPasswords next(keyring.get());
    EXPECT_EQ(next.Known(address, mac), "hall-201");
    EXPECT_EQ(next.Known(address, ""), "hall-201");
    EXPECT_EQ(next.Known(address, "00:A0:B0:C0:D0:22"), std::nullopt);  // another projector

    next.Changed(address, mac, "hall-202", false);  // an entry kept is kept up to date
    EXPECT_EQ(CSessionPasswords(keyring.get()).Known(address, mac), "hall-202");

    // Sent to another projector at the address, the entry is skipped until the user confirms it.
    next.ReachedOther(address, mac);
    EXPECT_EQ(next.Known(address, ""), std::nullopt);
    const auto no = [](const lanterna::fleet::Credential&) { return false; };
    EXPECT_EQ(CSessionPasswords(keyring.get()).Known(address, "", true, nullptr, no),
              std::nullopt);
    std::string keptFor;
    const auto yes = [](const lanterna::fleet::Credential& marked) { return marked.mismatch; };
    EXPECT_EQ(CSessionPasswords(keyring.get()).Known(address, "", true, &keptFor, yes),
              "hall-202");
    EXPECT_EQ(keptFor, "00A0B0C0D021");
    EXPECT_EQ(CSessionPasswords(keyring.get()).Known(address, ""), "hall-202");  // confirmed
    EXPECT_TRUE(keyring->Forget(address));
}

}  // namespace
