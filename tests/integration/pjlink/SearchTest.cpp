#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <thread>

#include "pjlink/Search.h"

namespace lanterna::pjlink {
namespace {

// A projector of the standard's search: on "%2SRCH\r" to its port 4352 it sends `answer` to
// port 4352 of the searcher. Answers at most one request, within five seconds.
class CSearchPeer {
  public:
    CSearchPeer(const std::string& address, std::string answer) : answer_(std::move(answer)) {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(4352);
        inet_pton(AF_INET, address.c_str(), &local.sin_addr);
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        thread_ = std::thread([this] { Answer(); });
    }
    ~CSearchPeer() {
        if (thread_.joinable()) {
            thread_.join();
        }
        close(fd_);
    }
    bool Bound() const { return bound_; }
    // The request as the peer received it, once it has answered.
    std::string Request() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return request_;
    }

  private:
    void Answer() {
        pollfd readable{fd_, POLLIN, 0};
        if (!bound_ || poll(&readable, 1, 5000) <= 0) {
            return;
        }
        std::array<char, 64> bytes{};
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t count = recvfrom(fd_, bytes.data(), bytes.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &size);
        request_.assign(bytes.data(), count > 0 ? static_cast<std::size_t>(count) : 0);
        from.sin_port = htons(4352);
        sendto(fd_, answer_.data(), answer_.size(), 0, reinterpret_cast<sockaddr*>(&from),
               sizeof from);
    }

    int fd_ = -1;
    bool bound_ = false;
    std::string answer_;
    std::string request_;
    std::thread thread_;
};

TEST(PjlinkSearch, AnswersOfTheStandardFormOnly) {
    EXPECT_EQ(ParseSearchAnswer("%2ACKN=00:1a:2B:3c:4D:5e\r"), "00:1A:2B:3C:4D:5E");
    for (const std::string_view bad :
         {"%2ACKN=00:1A:2B:3C:4D:5E", "%2ACKN=00:1A:2B:3C:4D:5E!", "%2ACKN=00:1A:2B:3C:4D\r",
          "%2ACKN=00-1A-2B-3C-4D-5E\r", "%2LKUP=00:1A:2B:3C:4D:5E\r",
          "%1ACKN=00:1A:2B:3C:4D:5E\r", "%2ACKN=00:1A:2B:3C:4D:5G\r"}) {
        EXPECT_FALSE(ParseSearchAnswer(bad)) << bad;
    }
}

// Three loopback projectors: two answer, one answers garbage; the searcher hears the two.
TEST(PjlinkSearch, FindsTheProjectorsThatAnswer) {
    CSearchPeer hall("127.43.6.1", "%2ACKN=00:1a:2b:3c:4d:01\r");
    CSearchPeer room("127.43.6.2", "%2ACKN=00:1A:2B:3C:4D:02\r");
    CSearchPeer stray("127.43.6.3", "%2ACKN=garbage\r");
    ASSERT_TRUE(hall.Bound() && room.Bound() && stray.Bound());
    SearchOptions options;
    options.destinations = {"127.43.6.1", "127.43.6.2", "127.43.6.3"};
    options.localAddress = "127.43.6.100";
    options.waitMs = 1500;
    const SearchResult result = Search(options);
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(hall.Request(), "%2SRCH\r");
    ASSERT_EQ(result.answers.size(), 2u);
    for (const SearchAnswer& answer : result.answers) {
        EXPECT_EQ(answer.hardwareAddress,
                  answer.address == "127.43.6.1" ? "00:1A:2B:3C:4D:01" : "00:1A:2B:3C:4D:02");
    }
}

}  // namespace
}  // namespace lanterna::pjlink
