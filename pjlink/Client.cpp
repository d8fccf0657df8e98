#include "pjlink/Client.h"

#include <condition_variable>
#include <mutex>
#include <set>

namespace lanterna::pjlink {

namespace {

// The projectors this process holds a link to: a second link to one waits for the first.
struct OpenLinks {
    std::mutex mutex;
    std::condition_variable released;
    std::set<std::string> held;
};

OpenLinks& Links() {
    static OpenLinks links;
    return links;
}

// Takes `key` within `timeoutMs` (in slices, so a cancellation is seen); false when it stayed
// held or the wait was cancelled.
bool TakeSlot(const std::string& key, std::uint32_t timeoutMs, const std::atomic<bool>* cancel) {
    OpenLinks& links = Links();
    std::unique_lock lock(links.mutex);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (links.held.contains(key)) {
        if ((cancel != nullptr && cancel->load()) || std::chrono::steady_clock::now() >= end) {
            return false;
        }
        links.released.wait_for(lock, std::chrono::milliseconds(50));
    }
    links.held.insert(key);
    return true;
}

LinkError ErrorOf(LineStatus status) {
    switch (status) {
        case LineStatus::kLine:
            return LinkError::kNone;
        case LineStatus::kTimeout:
            return LinkError::kTimeout;
        case LineStatus::kClosed:
            return LinkError::kClosed;
        case LineStatus::kTooLong:
            return LinkError::kGarbage;
        case LineStatus::kCancelled:
            return LinkError::kCancelled;
    }
    return LinkError::kClosed;
}

}  // namespace

std::string_view LinkErrorKey(LinkError error) {
    switch (error) {
        case LinkError::kNone:
            return "ok";
        case LinkError::kBusy:
            return "busy";
        case LinkError::kConnectFailed:
            return "connect failed";
        case LinkError::kTimeout:
            return "timed out";
        case LinkError::kClosed:
            return "closed";
        case LinkError::kGarbage:
            return "garbled reply";
        case LinkError::kPasswordNeeded:
            return "needs a password";
        case LinkError::kPasswordRefused:
            return "password refused";
        case LinkError::kCancelled:
            return "cancelled";
        case LinkError::kBadCommand:
            return "bad command";
    }
    return "closed";
}

CClient::CClient(ClientOptions options) : options_(options), socket_(options.cancel) {}

CClient::~CClient() {
    Close();
}

void CClient::ReleaseSlot() {
    if (slot_.empty()) {
        return;
    }
    OpenLinks& links = Links();
    {
        std::lock_guard lock(links.mutex);
        links.held.erase(slot_);
    }
    links.released.notify_all();
    slot_.clear();
}

void CClient::Close() {
    socket_.Close();
    pendingDigest_.clear();
    ReleaseSlot();
}

Answer CClient::Fail(LinkError error) {
    Close();
    return {error, std::nullopt};
}

LinkError CClient::Open(const std::string& address, std::optional<std::string> password) {
    Close();
    passwordRequired_ = false;
    const std::string key = address + ":" + std::to_string(options_.port);
    if (!TakeSlot(key, options_.busyTimeoutMs, options_.cancel)) {
        return options_.cancel != nullptr && options_.cancel->load() ? LinkError::kCancelled
                                                                     : LinkError::kBusy;
    }
    slot_ = key;
    if (!socket_.Connect(address, options_.port, options_.connectTimeoutMs)) {
        Close();
        return options_.cancel != nullptr && options_.cancel->load() ? LinkError::kCancelled
                                                                     : LinkError::kConnectFailed;
    }
    std::string line;
    const CDeadline deadline(*options_.clock, options_.replyTimeoutMs);
    const LineStatus status = socket_.ReadLine(line, kMaxLineBytes, deadline);
    const std::optional<Greeting> greeting =
        status == LineStatus::kLine ? ParseGreeting(line) : std::nullopt;
    LinkError error = status != LineStatus::kLine ? ErrorOf(status) : LinkError::kNone;
    if (error == LinkError::kNone && (!greeting || greeting->kind == Greeting::Kind::kRefused)) {
        error = LinkError::kGarbage;
    }
    if (error == LinkError::kNone && greeting->kind == Greeting::Kind::kAuthenticate) {
        passwordRequired_ = true;
        if (!password) {
            error = LinkError::kPasswordNeeded;
        } else {
            pendingDigest_ = AuthDigest(greeting->random, *password);
        }
    }
    if (error != LinkError::kNone) {
        Close();
    }
    return error;
}

Answer CClient::Ask(const Command& command) {
    const std::optional<std::string> line = FormatCommand(command);
    if (!line) {
        return {LinkError::kBadCommand, std::nullopt};
    }
    if (!socket_.IsOpen()) {
        return {LinkError::kClosed, std::nullopt};
    }
    if (!socket_.SendLine(pendingDigest_ + *line)) {
        return Fail(LinkError::kClosed);
    }
    pendingDigest_.clear();
    std::string received;
    const CDeadline deadline(*options_.clock, options_.replyTimeoutMs);
    const LineStatus status = socket_.ReadLine(received, kMaxLineBytes, deadline);
    if (status != LineStatus::kLine) {
        return Fail(ErrorOf(status));
    }
    if (IsAuthRefusal(received)) {
        return Fail(LinkError::kPasswordRefused);
    }
    std::optional<Reply> reply = ParseReply(received, command);
    if (!reply) {
        return Fail(LinkError::kGarbage);
    }
    return {LinkError::kNone, std::move(reply)};
}

}  // namespace lanterna::pjlink
