// Projector passwords in a real desktop keyring: the store's round trip, and lanternactl
// --keyring changing a password and reading with nothing but the keyring.

#include <gio/gunixinputstream.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "keyring/CallDeadline.h"
#include "keyring/SecretServiceStore.h"
#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"

namespace lanterna::test {
namespace {

std::unique_ptr<fleet::ICredentialStore> SessionKeyring() {
    return keyring::OpenSecretServiceStore();
}

std::optional<std::string> PasswordFound(fleet::ICredentialStore& store,
                                         const std::string& address, const std::string& mac) {
    const auto found = store.Find(address, mac);
    return found ? std::optional(found->password) : std::nullopt;
}

// A blocking call (a read of a pipe nothing is written to) is cancelled once its limit passes;
// one that ends first is left alone, and its watcher does not outlast it.
TEST(CallDeadline, CancelsABlockedCallOnlyOnceItsLimitPasses) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(pipe(ends), 0);
    GInputStream* stream = g_unix_input_stream_new(ends[0], TRUE);
    char byte = 0;
    GError* error = nullptr;
    gssize got = 0;
    bool passed = false;
    {
        const keyring::CCallDeadline deadline(std::chrono::milliseconds(50));
        got = g_input_stream_read(stream, &byte, 1, deadline.Cancellable(), &error);
        passed = deadline.Passed();
    }
    EXPECT_EQ(got, -1);
    EXPECT_TRUE(passed);
    EXPECT_TRUE(g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED));
    g_clear_error(&error);

    ASSERT_EQ(write(ends[1], "x", 1), 1);
    {
        const keyring::CCallDeadline deadline(std::chrono::minutes(10));
        got = g_input_stream_read(stream, &byte, 1, deadline.Cancellable(), &error);
        passed = deadline.Passed();
    }
    EXPECT_EQ(got, 1);
    EXPECT_FALSE(passed);
    g_object_unref(stream);
    close(ends[1]);
}

TEST(SecretServiceStore, WithoutASessionBusThereIsNoKeyring) {
    const auto none = [](std::string_view) { return std::optional<std::string>(); };
    EXPECT_EQ(keyring::OpenSecretServiceStore(none), nullptr);
}

TEST(SecretServiceStore, KeepsFindsAndForgetsPerAddressCheckingTheHardwareAddress) {
    const auto store = SessionKeyring();
    ASSERT_NE(store, nullptr) << "the test session's keyring does not answer";
    const std::string address = "10.20.30.40";
    const std::string other = "10.20.30.41";
    EXPECT_EQ(PasswordFound(*store, address, ""), std::nullopt);

    // Bytes kept as they are, blanks and all.
    ASSERT_TRUE(store->Keep({address, "00:1a:2b:3c:4d:5e", " first pw "}));
    struct Case {
        std::string mac;
        std::optional<std::string> password;
    };
    const Case cases[] = {
        {"", " first pw "},                   // not read yet: the address decides
        {"001A2B3C4D5E", " first pw "},       // the same projector, as entries keep it
        {"00-1a-2b-3c-4d-5e", " first pw "},  // written otherwise
        {"001A2B3C4D5F", std::nullopt},       // another projector at that address now
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PasswordFound(*store, address, c.mac), c.password) << c.mac;
    }
    EXPECT_EQ(store->Find(address, "")->hardwareAddress, "001A2B3C4D5E");

    // Kept again, the entry is replaced: the old one's hardware address no longer finds it.
    ASSERT_TRUE(store->Keep({address, "", "second"}));
    EXPECT_EQ(PasswordFound(*store, address, "001A2B3C4D5E"), "second");
    EXPECT_EQ(PasswordFound(*store, address, "001A2B3C4D5F"), "second");

    ASSERT_TRUE(store->Keep({other, "", "other"}));
    ASSERT_TRUE(store->Forget(address));
    EXPECT_EQ(PasswordFound(*store, address, ""), std::nullopt);
    EXPECT_EQ(PasswordFound(*store, other, ""), "other");
    EXPECT_TRUE(store->Forget(address));  // nothing left to forget is no failure
    EXPECT_TRUE(store->Forget(other));
}

TEST(LanternactlKeyring, PasswdKeepsTheNewPasswordAndReadFindsItAlone) {
    CProjectorOnPort sim("127.87.235.1", "old-pw");
    CliSetup change;
    change.openKeyring = SessionKeyring;
    change.environment = {{"LANTERNA_PASSWORD", "old-pw"}, {"LANTERNA_NEW_PASSWORD", "new-pw"}};
    const auto passwd = RunCli({"passwd", "127.87.235.1", "--keyring"}, change);
    ASSERT_EQ(passwd.status, 0) << passwd.err;
    ASSERT_EQ(sim.projector->Settings().password, "new-pw");

    CliSetup keyringAlone;
    keyringAlone.openKeyring = SessionKeyring;
    const auto read = RunCli({"read", "127.87.235.1", "--keyring", "--json"}, keyringAlone);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(RunCli({"read", "127.87.235.1"}).status, 1);  // nothing else knows it

    // A password given that the projector refuses gives way to the keyring's.
    CliSetup stale = keyringAlone;
    stale.environment = {{"LANTERNA_PASSWORD", "old-pw"}};
    const auto fellBack = RunCli({"read", "127.87.235.1", "--keyring"}, stale);
    EXPECT_EQ(fellBack.status, 0) << fellBack.err;

    // Changed elsewhere, the keyring's password is refused and nothing else is known.
    CliSetup outside;
    outside.environment = {{"LANTERNA_PASSWORD", "new-pw"}, {"LANTERNA_NEW_PASSWORD", "third"}};
    ASSERT_EQ(RunCli({"passwd", "127.87.235.1"}, outside).status, 0);
    EXPECT_EQ(RunCli({"read", "127.87.235.1", "--keyring"}, keyringAlone).status, 1);

    // A password removed is forgotten by the keyring.
    CliSetup remove = keyringAlone;
    remove.environment = {{"LANTERNA_PASSWORD", "third"}, {"LANTERNA_NEW_PASSWORD", ""}};
    ASSERT_EQ(RunCli({"passwd", "127.87.235.1", "--keyring"}, remove).status, 0);
    EXPECT_EQ(SessionKeyring()->Find("127.87.235.1", ""), std::nullopt);

    // No keyring to be had: the command says so and stops.
    CliSetup noKeyring;
    noKeyring.openKeyring = [] { return std::unique_ptr<fleet::ICredentialStore>(); };
    const auto refused = RunCli({"read", "127.87.235.1", "--keyring"}, noKeyring);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "no desktop keyring")) << refused.err;
}

}  // namespace
}  // namespace lanterna::test
