#include "tools/projector-sim/PjlinkResponder.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <random>

#include "pjlink/Protocol.h"

namespace lanterna::sim {

namespace {

// A projector closes a link that stays idle this long.
constexpr int kIdleMs = 30000;
constexpr std::size_t kMaxLine = 256;
constexpr std::size_t kDigestLength = 32;

std::string RandomHex() {
    std::random_device device;
    std::array<char, 9> text{};
    std::snprintf(text.data(), text.size(), "%08x", static_cast<unsigned>(device()));
    return std::string(text.data());
}

std::string MacWithColons(const std::string& mac) {
    std::string text;
    for (std::size_t i = 0; i + 1 < mac.size(); i += 2) {
        text += (text.empty() ? "" : ":") + mac.substr(i, 2);
    }
    return text;
}

// The value of a query of `command`, "ERR1" when there is none.
std::string QueryValue(std::string_view command, std::string_view parameter,
                       const PjlinkConfig& c, std::string_view name) {
    const std::map<std::string_view, std::string> classOne = {
        {"POWR", c.power},  {"INPT", c.input},  {"AVMT", c.mute},      {"ERST", c.errors},
        {"LAMP", c.lamps.empty() ? "ERR1" : c.lamps},                  {"INST", c.inputs},
        {"NAME", std::string(name)}, {"INF1", c.maker}, {"INF2", c.product}, {"INFO", c.other},
        {"CLSS", std::to_string(c.pjlinkClass)}};
    const std::map<std::string_view, std::string> classTwo = {
        {"SNUM", c.serial},        {"SVER", c.software},  {"FILT", c.filterHours},
        {"RLMP", c.lampModel},     {"RFIL", c.filterModel}};
    if (const auto found = classOne.find(command); found != classOne.end() && parameter == "?") {
        return found->second;
    }
    if (c.pjlinkClass < 2) {
        return "ERR1";
    }
    if (const auto found = classTwo.find(command); found != classTwo.end() && parameter == "?") {
        return found->second;
    }
    if (command == "INNM" && parameter.size() == 3 && parameter[0] == '?') {
        const std::string input(parameter.substr(1));
        return (" " + c.inputs + " ").find(" " + input + " ") != std::string::npos
                   ? "Input " + input
                   : "ERR2";
    }
    return "ERR1";
}

}  // namespace

std::string PjlinkAnswer(std::string_view line, PjlinkConfig& config, std::string_view name) {
    if (line.size() < 8 || line[0] != '%' || line[6] != ' ') {
        return "%1XXXX=ERR1";
    }
    const std::string header(line.substr(0, 6));
    const std::string_view command = line.substr(2, 4);
    const std::string_view parameter = line.substr(7);
    if (config.faults.garbage) {
        return "#" + std::string(command) + " noise";
    }
    if (const auto error = config.faults.errors.find(std::string(command));
        error != config.faults.errors.end()) {
        return header + "=" + error->second;
    }
    if (line[1] != '1' && line[1] != '2') {
        return header + "=ERR1";
    }
    if (command == "POWR" && parameter != "?") {
        if (parameter != "0" && parameter != "1") {
            return header + "=ERR2";
        }
        config.power = std::string(parameter);
        return header + "=OK";
    }
    return header + "=" + QueryValue(command, parameter, config, name);
}

CPjlinkResponder::CPjlinkResponder(PjlinkConfig config, std::string name, std::string mac)
    : config_(std::move(config)), name_(std::move(name)), mac_(MacWithColons(mac)) {}

CPjlinkResponder::~CPjlinkResponder() {
    Stop();
}

PjlinkConfig CPjlinkResponder::Config() const {
    std::lock_guard lock(mutex_);
    return config_;
}

void CPjlinkResponder::SetConfig(const PjlinkConfig& config) {
    std::lock_guard lock(mutex_);
    config_ = config;
}

std::vector<std::string> CPjlinkResponder::Log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

bool CPjlinkResponder::Start(in_addr address, bool broadcasts, std::string& reason) {
    const PjlinkConfig config = Config();
    listener_ = OpenTcpListener(address, config.port, reason);
    if (!listener_.Valid()) {
        return false;
    }
    port_ = LocalPort(listener_.Get());
    search_ = broadcasts ? OpenUdp(in_addr{htonl(INADDR_ANY)}, port_, true, reason)
                         : OpenUdp(address, port_, false, reason);
    wake_.Reset(::eventfd(0, EFD_CLOEXEC));
    if (!search_.Valid() || !wake_.Valid()) {
        listener_.Reset();
        return false;
    }
    stop_.Clear();
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void CPjlinkResponder::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    stop_.Raise();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    thread_.join();
    listener_.Reset();
    search_.Reset();
    wake_.Reset();
}

void CPjlinkResponder::Serve() {
    while (!stop_.Raised()) {
        std::array<pollfd, 3> fds{{{listener_.Get(), POLLIN, 0},
                                   {search_.Get(), POLLIN, 0},
                                   {wake_.Get(), POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) <= 0) {
            continue;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            AnswerSearch(search_.Get());
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const UniqueFd link(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (link.Valid()) {
                ServeLink(link.Get());
            }
        }
    }
}

void CPjlinkResponder::AnswerSearch(int fd) {
    std::array<char, 64> bytes{};
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t count = ::recvfrom(fd, bytes.data(), bytes.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &size);
    const PjlinkConfig config = Config();
    if (count != 7 || std::string_view(bytes.data(), 7) != "%2SRCH\r" || !config.answerSearch ||
        config.pjlinkClass < 2) {
        return;
    }
    const std::string answer = "%2ACKN=" + mac_ + "\r";
    from.sin_port = htons(config.searchReplyPort);
    ::sendto(fd, answer.data(), answer.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&from),
             sizeof from);
}

bool CPjlinkResponder::SendLine(int fd, std::string_view line, const PjlinkConfig& config) {
    const std::string bytes = std::string(line) + "\r";
    if (config.faults.trickle.count() == 0) {
        return SendAll(fd, bytes.data(), bytes.size());
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if ((i > 0 && !stop_.Pause(config.faults.trickle)) || !SendAll(fd, &bytes[i], 1)) {
            return false;
        }
    }
    return true;
}

bool CPjlinkResponder::ReadLine(int fd, std::string& pending, std::string& line) {
    for (;;) {
        if (const std::size_t end = pending.find('\r'); end != std::string::npos) {
            line = pending.substr(0, end);
            pending.erase(0, end + 1);
            return true;
        }
        if (pending.size() > kMaxLine) {
            return false;
        }
        std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {wake_.Get(), POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), kIdleMs) <= 0 || (fds[1].revents & POLLIN) != 0) {
            return false;
        }
        std::array<char, 256> chunk{};
        const ssize_t count = ::recv(fd, chunk.data(), chunk.size(), 0);
        if (count <= 0) {
            return false;
        }
        pending.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

void CPjlinkResponder::ServeLink(int fd) {
    const PjlinkConfig start = Config();
    const std::string random = RandomHex();
    if (!start.faults.silent &&
        !SendLine(fd, start.password.empty() ? "PJLINK 0" : "PJLINK 1 " + random, start)) {
        return;
    }
    bool first = !start.password.empty();
    std::string pending;
    std::string line;
    while (ReadLine(fd, pending, line)) {
        std::string answer;
        PjlinkConfig config;
        {
            std::lock_guard lock(mutex_);
            log_.push_back(line);
            config = config_;
        }
        std::string_view command = line;
        if (first) {
            first = false;
            const std::string digest = pjlink::AuthDigest(random, config.password);
            if (config.faults.wrongDigest || !command.starts_with(digest)) {
                SendLine(fd, "PJLINK ERRA", config);
                return;
            }
            command.remove_prefix(kDigestLength);
        }
        {
            std::lock_guard lock(mutex_);
            answer = PjlinkAnswer(command, config_, name_);
            config = config_;
        }
        if (config.faults.silent) {
            continue;
        }
        if (!SendLine(fd, answer, config)) {
            return;
        }
    }
}

}  // namespace lanterna::sim
