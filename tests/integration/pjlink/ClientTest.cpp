#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "pjlink/Reading.h"
#include "tests/support/peer/ScriptedPeer.h"

namespace lanterna::pjlink {
namespace {

using test::CScriptedPeer;
using namespace std::chrono_literals;

// The standard's own authentication example: the random value and password whose digest it
// gives.
constexpr std::string_view kRandom = "498e4a67";
constexpr std::string_view kPassword = "JBMIAProjectorLink";
constexpr std::string_view kDigest = "5d8409bc1c3fa39749434aa3a5c38682";

ClientOptions OptionsFor(const CScriptedPeer& peer, std::uint32_t replyMs = 5000) {
    ClientOptions options;
    options.port = peer.Port();
    options.replyTimeoutMs = replyMs;
    options.connectTimeoutMs = 2000;
    return options;
}

// A class-2 projector as the standard describes one: every query answered from a table, the
// first command carrying the digest.
std::optional<std::string> ClassTwoProjector(std::string_view line, bool& first) {
    static const std::map<std::string, std::string, std::less<>> kAnswers = {
        {"%1CLSS ?", "%1CLSS=2"},         {"%1POWR ?", "%1POWR=1"},
        {"%1INPT ?", "%1INPT=3A"},        {"%1AVMT ?", "%1AVMT=30"},
        {"%1ERST ?", "%1ERST=020001"},    {"%1LAMP ?", "%1LAMP=1520 1 30 0"},
        {"%1INST ?", "%1INST=11 3A"},     {"%1NAME ?", "%1NAME=HALL-1F"},
        {"%1INF1 ?", "%1INF1=MAKER"},     {"%1INF2 ?", "%1INF2=MODEL 9"},
        {"%1INFO ?", "%1INFO=ERR3"},      {"%2SNUM ?", "%2SNUM=SN0042"},
        {"%2SVER ?", "%2SVER=1.02"},      {"%2FILT ?", "%2FILT=812"},
        {"%2RLMP ?", "%2RLMP=LMP-7"},     {"%2RFIL ?", "%2RFIL=100000"},
        {"%2INNM ?11", "%2INNM=Computer"}, {"%2INNM ?3A", "%2INNM=ERR2"},
    };
    if (first) {
        first = false;
        if (!line.starts_with(kDigest)) {
            return "PJLINK ERRA\r";
        }
        line.remove_prefix(kDigest.size());
    }
    const auto found = kAnswers.find(line);
    return found != kAnswers.end() ? found->second + "\r" : "%1XXXX=ERR1\r";
}

// ---- flow ----

TEST(PjlinkClient, ReadsAClassTwoProjectorWithAPassword) {
    CScriptedPeer peer("127.43.1.1");
    bool first = true;
    peer.Reply("PJLINK 1 " + std::string(kRandom) + "\r").Serve([&](std::string_view line) {
        return ClassTwoProjector(line, first);
    });
    peer.Start();
    const HealthRead read = ReadHealth(peer.Address(), std::string(kPassword), OptionsFor(peer));
    EXPECT_TRUE(peer.Finish());
    ASSERT_EQ(read.error, LinkError::kNone) << LinkErrorKey(read.error);
    const Health& h = read.health;
    EXPECT_TRUE(read.passwordRequired);
    EXPECT_EQ(h.pjlinkClass, 2);
    EXPECT_EQ(h.power, Power::kOn);
    EXPECT_EQ(h.input, "3A");
    EXPECT_EQ(h.mute, 30);
    EXPECT_EQ(h.errors, (ErrorLevels{0, 2, 0, 0, 0, 1}));
    ASSERT_TRUE(h.lamps);
    EXPECT_EQ(h.lamps->size(), 2u);
    EXPECT_EQ(MostLampHours(h), 1520);
    EXPECT_EQ(h.inputs, (std::vector<std::string>{"11", "3A"}));
    EXPECT_EQ(h.name, "HALL-1F");
    EXPECT_EQ(h.product, "MODEL 9");
    EXPECT_FALSE(h.other);  // ERR3: not reported
    EXPECT_EQ(h.serial, "SN0042");
    EXPECT_EQ(h.filterHours, 812);
    EXPECT_EQ(h.filterModel, "100000");
    ASSERT_EQ(h.inputNames.size(), 1u);
    EXPECT_EQ(h.inputNames[0].name, "Computer");
}

// ---- authentication ----

TEST(PjlinkClient, WrongPasswordIsRefusedAndNoPasswordSendsNothing) {
    CScriptedPeer refusing("127.43.2.1");
    bool first = true;
    refusing.Reply("PJLINK 1 " + std::string(kRandom) + "\r").Serve([&](std::string_view line) {
        return ClassTwoProjector(line, first);
    });
    refusing.Start();
    EXPECT_EQ(ReadHealth(refusing.Address(), "wrong", OptionsFor(refusing)).error,
              LinkError::kPasswordRefused);
    EXPECT_TRUE(refusing.Finish());

    CScriptedPeer asking("127.43.2.2");
    asking.Reply("PJLINK 1 " + std::string(kRandom) + "\r").Serve([](std::string_view) {
        return std::optional<std::string>();
    });
    asking.Start();
    const HealthRead read = ReadHealth(asking.Address(), std::nullopt, OptionsFor(asking));
    EXPECT_EQ(read.error, LinkError::kPasswordNeeded);
    EXPECT_TRUE(asking.Finish());
    EXPECT_EQ(asking.Received(), "");
}

// ---- faults: each costs its own deadline and ends the link ----

TEST(PjlinkClient, FaultsEndTheReading) {
    struct Case {
        std::string name;
        std::function<void(CScriptedPeer&)> script;
        LinkError expected;
        bool leftMidReply = false;  // the client gave up before the peer finished writing
    };
    const std::string tooLong = "%1CLSS=" + std::string(kMaxLineBytes, '1') + "\r";
    const Case cases[] = {
        {"garbage greeting", [](CScriptedPeer& p) { p.Reply("HELLO\r"); }, LinkError::kGarbage},
        {"silent greeting", [](CScriptedPeer& p) { p.Pause(20ms); }, LinkError::kTimeout},
        {"other command",
         [](CScriptedPeer& p) { p.Reply("PJLINK 0\r").ExpectLine("%1CLSS ?").Reply("%1POWR=1\r"); },
         LinkError::kGarbage},
        {"too long",
         [&](CScriptedPeer& p) { p.Reply("PJLINK 0\r").ExpectLine("%1CLSS ?").Reply(tooLong); },
         LinkError::kGarbage},
        {"trickle",
         [](CScriptedPeer& p) {
             p.Reply("PJLINK 0\r").ExpectLine("%1CLSS ?");
             for (const char c : std::string_view("%1CLSS=1\r")) {
                 p.Reply(std::string(1, c)).Pause(60ms);
             }
         },
         LinkError::kTimeout, true},
        {"closed",
         [](CScriptedPeer& p) { p.Reply("PJLINK 0\r").ExpectLine("%1CLSS ?").CloseConnection(); },
         LinkError::kClosed},
    };
    int n = 0;
    for (const Case& c : cases) {
        CScriptedPeer peer("127.43.3." + std::to_string(++n));
        c.script(peer);
        peer.Start();
        EXPECT_EQ(ReadHealth(peer.Address(), std::nullopt, OptionsFor(peer, 300)).error,
                  c.expected)
            << c.name;
        EXPECT_EQ(static_cast<bool>(peer.Finish()), !c.leftMidReply) << c.name;
    }
}

// ---- bounds ----

TEST(PjlinkClient, OneLinkPerProjectorAndCancellation) {
    CScriptedPeer peer("127.43.4.1");
    peer.Reply("PJLINK 0\r");
    peer.Start();
    CClient holder(OptionsFor(peer));
    ASSERT_EQ(holder.Open(peer.Address(), std::nullopt), LinkError::kNone);
    ClientOptions waiting = OptionsFor(peer);
    waiting.busyTimeoutMs = 200;
    EXPECT_EQ(CClient(waiting).Open(peer.Address(), std::nullopt), LinkError::kBusy);
    std::atomic<bool> cancel{false};
    ClientOptions cancellable = OptionsFor(peer);
    cancellable.cancel = &cancel;
    cancellable.busyTimeoutMs = 60000;
    std::thread canceller([&] {
        std::this_thread::sleep_for(100ms);
        cancel = true;
    });
    EXPECT_EQ(CClient(cancellable).Open(peer.Address(), std::nullopt), LinkError::kCancelled);
    canceller.join();
    holder.Close();
    EXPECT_TRUE(peer.Finish());
}

}  // namespace
}  // namespace lanterna::pjlink
