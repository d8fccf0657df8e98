// Projector passwords in a real desktop keyring: the store's round trip, and lanternactl
// --keyring changing a password and reading with nothing but the keyring.

#include <gio/gunixinputstream.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
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
    const keyring::SecretLibrary* calls = keyring::LoadSecretLibrary();
    ASSERT_NE(calls, nullptr);
    int ends[2] = {-1, -1};
    ASSERT_EQ(pipe(ends), 0);
    GInputStream* stream = g_unix_input_stream_new(ends[0], TRUE);
    char byte = 0;
    GError* error = nullptr;
    gssize got = 0;
    bool passed = false;
    {
        const keyring::CCallDeadline deadline(*calls, std::chrono::milliseconds(50));
        got = g_input_stream_read(stream, &byte, 1, deadline.Cancellable(), &error);
        passed = deadline.Passed();
    }
    EXPECT_EQ(got, -1);
    EXPECT_TRUE(passed);
    EXPECT_TRUE(g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED));
    g_clear_error(&error);

    ASSERT_EQ(write(ends[1], "x", 1), 1);
    {
        const keyring::CCallDeadline deadline(*calls, std::chrono::minutes(10));
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

    // An entry without its hardware address would go to any projector: refused.
    EXPECT_FALSE(store->Keep({address, "", "second"}));
    // Kept again, the entry is replaced: the old one's hardware address no longer finds it.
    ASSERT_TRUE(store->Keep({address, "001A2B3C4D5F", "second"}));
    EXPECT_EQ(PasswordFound(*store, address, "001A2B3C4D5E"), std::nullopt);
    EXPECT_EQ(PasswordFound(*store, address, "001A2B3C4D5F"), "second");
    // Marked, it is still found, with its mark; kept anew, it is unmarked.
    ASSERT_TRUE(fleet::MarkMismatch(*store, address));
    EXPECT_TRUE(store->Find(address, "")->mismatch);
    ASSERT_TRUE(store->Keep({address, "001A2B3C4D5F", "third"}));
    EXPECT_FALSE(store->Find(address, "")->mismatch);

    ASSERT_TRUE(store->Keep({other, "001A2B3C4D60", "other"}));
    ASSERT_TRUE(store->Forget(address));
    EXPECT_EQ(PasswordFound(*store, address, ""), std::nullopt);
    EXPECT_EQ(PasswordFound(*store, other, ""), "other");
    EXPECT_TRUE(store->Forget(address));  // nothing left to forget is no failure
    EXPECT_TRUE(store->Forget(other));
}

// A keyring that stops answering is waited for once: the call that ran out of time finds
// nothing, and every later call of the same store gives up at once, even when it answers again.
TEST(SecretServiceStore, AKeyringThatTimedOutOnceIsAbsentForTheRestOfTheStoresLife) {
    const char* daemon = std::getenv("KEYRING_TEST_DAEMON_PID");
    ASSERT_NE(daemon, nullptr);
    const std::string address = "10.20.30.50";
    ASSERT_TRUE(SessionKeyring()->Keep({address, "001A2B3C4D61", "kept"}));
    const auto store = keyring::OpenSecretServiceStore(
        ProcessEnvironment,
        {.reach = std::chrono::seconds(30), .call = std::chrono::milliseconds(200)});
    ASSERT_NE(store, nullptr);
    const pid_t pid = std::stoi(daemon);
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    const auto whileStopped = PasswordFound(*store, address, "");
    ASSERT_EQ(kill(pid, SIGCONT), 0);
    EXPECT_EQ(whileStopped, std::nullopt);
    EXPECT_EQ(PasswordFound(*store, address, ""), std::nullopt);
    EXPECT_FALSE(store->Keep({address, "001A2B3C4D61", "other"}));
    EXPECT_FALSE(store->Forget(address));
    const auto answering = SessionKeyring();
    EXPECT_EQ(PasswordFound(*answering, address, ""), "kept") << "the keyring itself kept it";
    EXPECT_TRUE(answering->Forget(address));
}

TEST(LanternactlKeyring, PasswdKeepsTheNewPasswordAndReadFindsItAlone) {
    CProjectorOnPort sim("127.87.235.1", "old-pw");
    CliSetup change;
    change.openKeyring = SessionKeyring;
    change.environment = {{"LANTERNA_PASSWORD", "old-pw"}, {"LANTERNA_NEW_PASSWORD", "new-pw"}};
    const auto passwd = RunCli({"passwd", "127.87.235.1", "--keyring"}, change);
    ASSERT_EQ(passwd.status, 0) << passwd.err;
    ASSERT_EQ(sim.projector->Settings().password, "new-pw");
    // The entry names the projector that took the password.
    EXPECT_EQ(SessionKeyring()->Find("127.87.235.1", "")->hardwareAddress, "02007F57EB01");

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

// A PJLink password is an entry of its own: the module's finding, keeping and forgetting never
// take it or touch it, and status --keyring reads with it alone.
TEST(LanternactlKeyring, PjlinkPasswordsAreEntriesOfTheirOwn) {
    const auto store = SessionKeyring();
    ASSERT_NE(store, nullptr) << "the test session's keyring does not answer";
    auto& secrets = dynamic_cast<keyring::CSecretServiceStore&>(*store);
    const std::string address = "127.87.236.1";
    ASSERT_TRUE(secrets.KeepPjlink(address, "pj-secret"));
    EXPECT_EQ(PasswordFound(*store, address, ""), std::nullopt) << "never the module's password";
    ASSERT_TRUE(store->Keep({address, "02007F57EC01", "module-pw"}));
    EXPECT_EQ(store->FindPjlink(address), "pj-secret") << "keeping the module's leaves it be";
    EXPECT_EQ(PasswordFound(*store, address, ""), "module-pw");
    ASSERT_TRUE(store->Forget(address));
    EXPECT_EQ(store->FindPjlink(address), "pj-secret") << "forgetting the module's too";

    sim::SimulatorConfig config = CProjectorOnPort::ConfigFor(address, "pj-secret");
    config.pjlink.enabled = true;
    config.pjlink.password = "pj-secret";
    const CProjectorOnPort projector(config);
    CliSetup keyringAlone;
    keyringAlone.openKeyring = SessionKeyring;
    const auto status = RunCli({"status", address, "--keyring", "--csv"}, keyringAlone);
    EXPECT_EQ(status.status, 0) << status.err;
    EXPECT_NE(status.out.find(",set,read"), std::string::npos) << status.out;
    ASSERT_TRUE(secrets.KeepPjlink(address, "stale"));
    EXPECT_EQ(RunCli({"status", address, "--keyring"}, keyringAlone).status, 1);
}

// The projector tells its hardware address only after it took a password: another projector now
// at a kept entry's address gets the password, and then nothing more; the entry is marked and
// skipped, and named so, until passwd --keyring keeps a new one for the address.
TEST(LanternactlKeyring, AKeptPasswordThatReachedAnotherProjectorMarksTheEntry) {
    CProjectorOnPort sim("127.87.236.1", "room-pw");
    ASSERT_TRUE(SessionKeyring()->Keep({"127.87.236.1", "02007F57EC99", "room-pw"}));
    CliSetup keyringAlone;
    keyringAlone.environment = {{"LANTERNA_LANG", "en"}};
    keyringAlone.openKeyring = SessionKeyring;
    const auto reached = RunCli({"read", "127.87.236.1", "--keyring"}, keyringAlone);
    EXPECT_EQ(reached.status, 1);
    EXPECT_TRUE(Contains(reached.err, "a different projector (hardware address 02:00:7F:57:EC:01)"))
        << reached.err;
    const Lines afterMac = sim.Log();
    ASSERT_FALSE(afterMac.empty());
    EXPECT_TRUE(Contains(afterMac.back(), "MAC")) << "nothing after the hardware address";
    EXPECT_TRUE(SessionKeyring()->Find("127.87.236.1", "")->mismatch);

    for (const char* command : {"read", "passwd"}) {
        SCOPED_TRACE(command);
        CliSetup skipped = keyringAlone;
        skipped.environment.emplace("LANTERNA_NEW_PASSWORD", "x");
        const auto run = RunCli({command, "127.87.236.1", "--keyring"}, skipped);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.err, "127.87.236.1: the keyring's password (kept for "
                                      "02:00:7F:57:EC:99) is skipped"))
            << run.err;
        EXPECT_EQ(sim.Log(), afterMac) << "no password sent";
    }

    CliSetup replace = keyringAlone;
    replace.environment = {{"LANTERNA_PASSWORD", "room-pw"}, {"LANTERNA_NEW_PASSWORD", "room-pw2"}};
    ASSERT_EQ(RunCli({"passwd", "127.87.236.1", "--keyring"}, replace).status, 0);
    const auto kept = SessionKeyring()->Find("127.87.236.1", "");
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->mismatch);
    EXPECT_EQ(kept->hardwareAddress, "02007F57EC01");
    EXPECT_EQ(RunCli({"read", "127.87.236.1", "--keyring"}, keyringAlone).status, 0);
    EXPECT_TRUE(SessionKeyring()->Forget("127.87.236.1"));
}

}  // namespace
}  // namespace lanterna::test
