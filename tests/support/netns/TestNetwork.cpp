#include "tests/support/netns/TestNetwork.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/netns/ChildProcess.h"

namespace lanterna::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kIp = "/usr/sbin/ip";
constexpr std::string_view kNamePrefix = "lntE2E-";

ProgramRun RunIp(const std::vector<std::string>& args) {
    std::vector<std::string> argv{kIp};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram("", argv, 20s);
}

std::vector<std::string> NamespaceNames() {
    std::vector<std::string> names;
    std::istringstream lines(RunIp({"netns", "list"}).out);
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line.substr(0, line.find(' ')));
    }
    return names;
}

}  // namespace

std::string CTestNetwork::Unavailable() {
    if (geteuid() != 0) {
        return "needs root to create network namespaces";
    }
    if (access(kIp, X_OK) != 0) {
        return std::string(kIp) + " is missing";
    }
    const std::string probe = std::string(kNamePrefix) + std::to_string(getpid()) + "-probe";
    const ProgramRun added = RunIp({"netns", "add", probe});
    RunIp({"netns", "del", probe});
    if (added.exitStatus != 0) {
        return "ip netns add failed: " + added.err;
    }
    return {};
}

void CTestNetwork::RemoveStale() {
    for (const std::string& name : NamespaceNames()) {
        if (!name.starts_with(kNamePrefix)) {
            continue;
        }
        const std::string rest = name.substr(kNamePrefix.size());
        const long owner = std::strtol(rest.c_str(), nullptr, 10);
        if (owner > 0 && kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH) {
            RunIp({"netns", "del", name});
        }
    }
}

CTestNetwork::CTestNetwork(std::string tag)
    : prefix(std::string(kNamePrefix) + std::to_string(getpid()) + "-" + tag + "-") {}

CTestNetwork::~CTestNetwork() {
    Remove();
}

void CTestNetwork::Remove() {
    // Deleting a namespace destroys its ends of the veth pairs, and with them the pairs.
    for (auto name = namespaces.rbegin(); name != namespaces.rend(); ++name) {
        RunIp({"netns", "del", *name});
    }
    namespaces.clear();
}

std::string CTestNetwork::Namespace(const std::string& host) const {
    return prefix + host;
}

bool CTestNetwork::Ip(const std::vector<std::string>& args) {
    const ProgramRun run = RunIp(args);
    if (run.exitStatus != 0) {
        error = "ip";
        for (const std::string& arg : args) {
            error += " " + arg;
        }
        error += ": " + run.err;
        return false;
    }
    return true;
}

bool CTestNetwork::IpBatch(const std::string& netns, const std::string& commands) {
    std::string path = "/tmp/lanterna-ip-batch-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        error = "cannot create a batch file";
        return false;
    }
    close(fd);
    std::ofstream(path) << commands;
    const bool done = Ip({"-n", netns, "-batch", path});
    std::remove(path.c_str());
    return done;
}

bool CTestNetwork::Create() {
    const std::string sw = Namespace("sw");
    if (!Ip({"netns", "add", sw})) {
        return false;
    }
    namespaces.push_back(sw);
    return Ip({"-n", sw, "link", "add", "br0", "type", "bridge"}) &&
           Ip({"-n", sw, "link", "set", "br0", "up"});
}

bool CTestNetwork::AddHost(const std::string& host, const std::vector<std::string>& addresses,
                           const std::string& bridge) {
    const std::string sw = Namespace("sw");
    const std::string netns = Namespace(host);
    const std::string port = "v" + std::to_string(++hosts);
    if (!Ip({"netns", "add", netns})) {
        return false;
    }
    namespaces.push_back(netns);
    if (!Ip({"-n", netns, "link", "set", "lo", "up"}) ||
        !Ip({"-n", sw, "link", "add", port, "type", "veth", "peer", "name", "eth0", "netns",
             netns}) ||
        !Ip({"-n", sw, "link", "set", port, "master", bridge}) ||
        !Ip({"-n", sw, "link", "set", port, "up"})) {
        return false;
    }
    std::string commands;
    for (const std::string& address : addresses) {
        commands += "address add " + address + " dev eth0\n";
    }
    commands += "link set eth0 up\n";
    commands += "route add default dev eth0\n";
    return IpBatch(netns, commands);
}

}  // namespace lanterna::test

namespace lanterna::test {

bool CTestNetwork::AddNeighbour(const std::string& host, const std::string& address,
                                const std::string& mac) {
    return Ip({"-n", Namespace(host), "neigh", "replace", address, "lladdr", mac, "dev", "eth0",
               "nud", "permanent"});
}

}  // namespace lanterna::test

namespace lanterna::test {

bool CTestNetwork::AddBridge(const std::string& bridge) {
    const std::string sw = Namespace("sw");
    return Ip({"-n", sw, "link", "add", bridge, "type", "bridge"}) &&
           Ip({"-n", sw, "link", "set", bridge, "up"});
}

bool CTestNetwork::AddRouterLink(const std::string& host, const std::string& bridge,
                                 const std::string& device, const std::string& address) {
    const std::string sw = Namespace("sw");
    const std::string port = "v" + std::to_string(++hosts);
    if (!Ip({"-n", sw, "link", "add", port, "type", "veth", "peer", "name", device, "netns",
             Namespace(host)}) ||
        !Ip({"-n", sw, "link", "set", port, "master", bridge}) ||
        !Ip({"-n", sw, "link", "set", port, "up"}) ||
        !IpBatch(Namespace(host),
                 "address add " + address + " dev " + device + "\nlink set " + device + " up\n")) {
        return false;
    }
    // Forwarding is the namespace's own setting; it starts off in a new one.
    const ProgramRun forward =
        RunProgram(Namespace(host), {"/bin/sh", "-c", "echo 1 > /proc/sys/net/ipv4/ip_forward"},
                   20s);
    if (forward.exitStatus != 0) {
        error = "cannot turn forwarding on: " + forward.err;
        return false;
    }
    return true;
}

bool CTestNetwork::AddRoute(const std::string& host, const std::string& destination,
                            const std::string& gateway) {
    return Ip({"-n", Namespace(host), "route", "add", destination, "via", gateway});
}

}  // namespace lanterna::test
