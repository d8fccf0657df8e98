// The command line of lanterna-projector-sim: option parsing in-process, and the program
// itself run as a child process on its own loopback addresses.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "RawPeer.h"
#include "link/Ports.h"
#include "tools/projector-sim/SimulatorOptions.h"

extern char** environ;

namespace lanterna::sim::test {
namespace {

OptionsResult Parse(std::vector<std::string_view> args) {
    return ParseSimulatorOptions(args);
}

// The program listens on the projector port, so each run of these tests takes addresses of its
// own, 127.77.K.x: K is held by keeping 127.77.K.255 bound on that port while the tests run, so
// that a second run at the same time (another build folder) takes another.
std::string ProgramAddress(int host) {
    static const int block = [] {
        constexpr int kFirstBlock = 6;
        constexpr int kLastBlock = 99;
        for (int candidate = kFirstBlock; candidate <= kLastBlock; ++candidate) {
            const int keeper = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(kProjectorPort);
            const std::string text = "127.77." + std::to_string(candidate) + ".255";
            ::inet_pton(AF_INET, text.c_str(), &address.sin_addr);
            if (::bind(keeper, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
                return candidate;  // the socket stays open until the process ends
            }
            ::close(keeper);
        }
        return kFirstBlock;
    }();
    return "127.77." + std::to_string(block) + "." + std::to_string(host);
}

std::string Listening(int host) {
    return "listening on " + ProgramAddress(host) + ":3629\n";
}

// ---- parsing ---------------------------------------------------------------------------------

TEST(Options, DefaultsListenOnTheProjectorPorts) {
    const auto result = Parse({});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->count, 1);
    EXPECT_EQ(result.options->config.address, "127.0.0.1");
    EXPECT_EQ(result.options->config.port, 3629);
    EXPECT_EQ(result.options->config.secondaryPort, kSecondarySearchPort);
    EXPECT_FALSE(result.options->lifetime);
    EXPECT_FALSE(result.options->help);
}

TEST(Options, EveryOptionReachesTheConfiguration) {
    const auto result = Parse({"--address",
                               "10.1.2.3",
                               "--name=ROOM-1",
                               "--password",
                               "pw",
                               "--mac",
                               "00a0b1c2d3e4",
                               "--im-type",
                               "22",
                               "--wireless",
                               "--log",
                               "/tmp/x.log",
                               "--lifetime",
                               "30",
                               "--count",
                               "4",
                               "--broadcast",
                               "--no-hello",
                               "--no-secondary",
                               "--hello-status",
                               "0x41",
                               "--hello-header-count",
                               "2",
                               "--hello-other-port",
                               "--secondary-empty-name",
                               "--split-replies",
                               "3",
                               "--split-delay",
                               "15",
                               "--event-notice",
                               "after",
                               "--event-text",
                               "IMEVENT=00ff",
                               "--event-gap",
                               "50",
                               "--reply-delay",
                               "250",
                               "--drop-after",
                               "7",
                               "--refuse",
                               "NWPNAME,NWCNF",
                               "--refuse=NWRESET",
                               "--reply-fault",
                               "NWPNAME:cut:5",
                               "--reply-fault=NWIF:no-prompt",
                               "--reply-fault=NWSMTPSRV:as:NWSMTPPORT",
                               "--reply-fault=NWSMTPPORT:then:NWCNAME",
                               "--reply-fault=NWCNAME:raw:a:b",
                               "--drop-after-sets",
                               "3",
                               "--handshake-status",
                               "0x43",
                               "--answer-send-only",
                               "--keep-on-reset",
                               "--max-sessions",
                               "3",
                               "--trickle",
                               "0.05",
                               "--idle-timeout=90"});
    ASSERT_TRUE(result.options) << result.error;
    const SimulatorOptions& o = *result.options;
    const SimulatorConfig& c = o.config;
    EXPECT_EQ(c.address, "10.1.2.3");
    EXPECT_EQ(c.name, "ROOM-1");
    EXPECT_EQ(c.password, "pw");
    EXPECT_EQ(c.mac, "00a0b1c2d3e4");
    EXPECT_EQ(c.imType, 22);
    EXPECT_TRUE(c.wireless);
    EXPECT_EQ(c.logFile, "/tmp/x.log");
    EXPECT_EQ(o.lifetime, std::chrono::seconds(30));
    EXPECT_EQ(o.count, 4);
    EXPECT_TRUE(c.receiveBroadcasts);
    EXPECT_FALSE(c.discovery.answerHello);
    EXPECT_FALSE(c.discovery.answerSecondary);
    EXPECT_EQ(c.discovery.helloStatus, 0x41);
    EXPECT_EQ(c.discovery.helloHeaderCount, 2);
    EXPECT_TRUE(c.discovery.helloFromOtherPort);
    EXPECT_TRUE(c.discovery.secondaryEmptyName);
    EXPECT_EQ(c.faults.splitReplyPieces, 3);
    EXPECT_EQ(c.faults.splitDelay, std::chrono::milliseconds(15));
    EXPECT_EQ(c.faults.eventNotice, EventNoticePlacement::kAfterPrompt);
    EXPECT_EQ(c.faults.eventNoticeText, "IMEVENT=00ff");
    EXPECT_EQ(c.faults.eventNoticeGap, std::chrono::milliseconds(50));
    EXPECT_EQ(c.faults.replyDelay, std::chrono::milliseconds(250));
    EXPECT_EQ(c.faults.dropAfterBytes, std::optional<std::size_t>(7));
    EXPECT_EQ(c.faults.refusedCommands, (std::set<std::string>{"NWPNAME", "NWCNF", "NWRESET"}));
    EXPECT_EQ(c.faults.replyFaults,
              (std::map<std::string, ReplyFault>{
                  {"NWPNAME", {ReplyFaultKind::kCut, 5, ""}},
                  {"NWIF", {ReplyFaultKind::kNoPrompt, 0, ""}},
                  {"NWSMTPSRV", {ReplyFaultKind::kUnderName, 0, "NWSMTPPORT"}},
                  {"NWSMTPPORT", {ReplyFaultKind::kSecondReply, 0, "NWCNAME"}},
                  {"NWCNAME", {ReplyFaultKind::kRawValue, 0, "a:b"}}}));
    EXPECT_EQ(c.faults.dropAfterSets, std::optional<std::size_t>(3));
    EXPECT_EQ(c.faults.handshakeStatus, std::optional<std::uint8_t>(0x43));
    EXPECT_TRUE(c.faults.answerSendOnlyCommands);
    EXPECT_FALSE(c.closeOnReset);
    EXPECT_EQ(c.maxSessions, 3U);
    EXPECT_EQ(c.faults.trickleInterval, std::chrono::milliseconds(50));
    EXPECT_EQ(c.idleTimeout, std::chrono::seconds(90));
    EXPECT_EQ(Parse({}).options->config.idleTimeout, std::chrono::seconds(60)) << "the default";
}

TEST(Options, BadCommandLinesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string_view>> bad{
        {"--bogus"},
        {"--address"},
        {"--address", "127.0.0"},
        {"--address", "localhost"},
        {"--mac", "12345"},
        {"--mac", "00a0b1c2d3eg"},
        {"--im-type", "256"},
        {"--count", "0"},
        {"--count", "1001"},
        {"--name", ""},
        {"--password", "01234567890123456"},
        {"--lifetime", "0"},
        {"--lifetime", "soon"},
        {"--handshake-status", "0x100"},
        {"--event-notice", "sideways"},
        {"--event-text", "NOTICE"},
        {"--refuse", "NWPNAME,"},
        {"--reply-fault", "NWPNAME"},
        {"--reply-fault", ":no-prompt"},
        {"--reply-fault", "NWPNAME:cut"},
        {"--reply-fault", "NWPNAME:cut:x"},
        {"--reply-fault", "NWPNAME:no-prompt:1"},
        {"--reply-fault", "NWPNAME:as:"},
        {"--reply-fault", "NWPNAME:shout"},
        {"--split-replies", "0"},
        {"--trickle", "0"},
        {"--trickle", "0.0005"},
        {"--trickle", "."},
        {"--trickle", "1."},
        {"--idle-timeout", "-1"},
        {"--idle-timeout", "86401"},
        {"--wireless=yes"},
        {"--port", "3630"},
        {"--address", "255.255.255.255", "--count", "2"},
    };
    for (const auto& args : bad) {
        const auto result = Parse(args);
        EXPECT_FALSE(result.options) << args.front();
        EXPECT_FALSE(result.error.empty()) << args.front();
    }
}

TEST(Options, SeveralProjectorsTakeConsecutiveAddresses) {
    auto result = Parse(
        {"--address", "10.0.0.254", "--count", "3", "--name", "HALL", "--mac", "FFFFFFFFFFFF"});
    ASSERT_TRUE(result.options);
    const auto configs = ExpandProjectors(*result.options);
    ASSERT_EQ(configs.size(), 3U);
    EXPECT_EQ(configs[0].address, "10.0.0.254");
    EXPECT_EQ(configs[1].address, "10.0.0.255");
    EXPECT_EQ(configs[2].address, "10.0.1.0");
    EXPECT_EQ(configs[0].name, "HALL-1");
    EXPECT_EQ(configs[2].name, "HALL-3");
    EXPECT_EQ(configs[0].mac, "FFFFFFFFFFFF");
    EXPECT_EQ(configs[1].mac, "000000000000");
    EXPECT_EQ(configs[2].logPrefix, "10.0.1.0 ");

    result = Parse({"--name", "SOLO"});
    const auto single = ExpandProjectors(*result.options);
    ASSERT_EQ(single.size(), 1U);
    EXPECT_EQ(single[0].name, "SOLO");
    EXPECT_EQ(single[0].logPrefix, "");
}

// ---- the program -----------------------------------------------------------------------------

// The program as a child process with its standard output and error in pipes.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int out[2];
        int err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        args.insert(args.begin(), SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        ::close(out_);
        ::close(err_);
    }

    // Standard output up to and including `lines` line ends (or the time-out).
    std::string ReadLines(int lines, std::chrono::milliseconds timeout = 5s) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::count(text.begin(), text.end(), '\n') < lines) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd entry{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char buffer[256];
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }
    std::string ReadError() {
        std::string text;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }
    void Signal(int number) { ::kill(pid_, number); }
    // The exit status; -1 when it did not end normally.
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

TEST(Program, PrintsItsAddressAndEndsWithItsLifetime) {
    Program program({"--address", ProgramAddress(1), "--lifetime", "1"});
    EXPECT_EQ(program.ReadLines(1), Listening(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "a second's lifetime";
}

TEST(Program, EndsOnSigterm) {
    Program program({"--address", ProgramAddress(2), "--count", "3"});
    EXPECT_EQ(program.ReadLines(3), Listening(2) + Listening(3) + Listening(4));
    RawTcp third(ProgramAddress(4), kProjectorPort);
    EXPECT_EQ(third.Connect(), std::optional<std::uint8_t>(0x20));
    EXPECT_EQ(third.Query("NWPNAME"), "SIMPROJ-3");
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
}

TEST(Program, LogsCommandLinesToTheFile) {
    const std::string logPath =
        ::testing::TempDir() + "sim-program-log-" + std::to_string(::getpid()) + ".txt";
    std::remove(logPath.c_str());
    Program program(
        {"--address", ProgramAddress(5), "--log", logPath, "--password", "pw", "--im-type", "22"});
    ASSERT_EQ(program.ReadLines(1), Listening(5));
    {
        RawTcp session(ProgramAddress(5), kProjectorPort);
        EXPECT_EQ(session.Connect("pw"), std::optional<std::uint8_t>(0x20));
        EXPECT_EQ(session.Query("NWWLSEC"), "000000");
        EXPECT_EQ(session.Command(""), ":");
    }
    program.Signal(SIGINT);
    EXPECT_EQ(program.Wait(), 0);
    std::ifstream file(logPath);
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), "NWWLSEC?\n\n");
    std::remove(logPath.c_str());
}

TEST(Program, BadOptionExitsWithUsage) {
    Program program({"--frobnicate"});
    EXPECT_EQ(program.Wait(), 2);
    const std::string error = program.ReadError();
    EXPECT_NE(error.find("--frobnicate"), std::string::npos);
    EXPECT_NE(error.find("Usage: lanterna-projector-sim"), std::string::npos);
}

TEST(Program, TakenAddressExitsWithOne) {
    Program first({"--address", ProgramAddress(6), "--lifetime", "10"});
    ASSERT_EQ(first.ReadLines(1), Listening(6));
    Program second({"--address", ProgramAddress(6), "--lifetime", "10"});
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_NE(second.ReadError().find("cannot listen on " + ProgramAddress(6)), std::string::npos);
}

TEST(Program, HelpGoesToStandardOutput) {
    Program program({"--help"});
    EXPECT_NE(program.ReadLines(1).find("Usage:"), std::string::npos);
    EXPECT_EQ(program.Wait(), 0);
}

}  // namespace
}  // namespace lanterna::sim::test
