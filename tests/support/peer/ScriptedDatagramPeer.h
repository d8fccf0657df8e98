#pragma once
// A scripted UDP peer on loopback: expect a datagram, answer the sender (from the peer's own
// port or from a second one), pause. End a test with EXPECT_TRUE(peer.Finish()).
//
//     CScriptedDatagramPeer peer;               // 127.0.0.1, an ephemeral port
//     peer.Expect(helloRequest).Reply(answer).ReplyFromOtherPort(answer);
//     peer.Start();

#include <array>
#include <cstdint>
#include <string>

#include "tests/support/peer/PeerScript.h"

namespace lanterna::test {

class CScriptedDatagramPeer final : public CPeerScript {
  public:
    explicit CScriptedDatagramPeer(std::string address = "127.0.0.1");
    ~CScriptedDatagramPeer() override;

    const std::string& Address() const { return address; }
    std::uint16_t Port() const { return port; }

    // The next datagram must hold exactly `bytes`; its sender is where replies go.
    CScriptedDatagramPeer& Expect(std::string bytes);
    // One datagram to the last sender, from Port().
    CScriptedDatagramPeer& Reply(std::string bytes);
    // One datagram to the last sender, from a second port of the same address.
    CScriptedDatagramPeer& ReplyFromOtherPort(std::string bytes);
    CScriptedDatagramPeer& Pause(std::chrono::milliseconds delay);

  private:
    bool ExpectDatagram(const std::string& expected);
    bool SendFrom(int fd, const std::string& bytes);

    std::string address;
    std::uint16_t port = 0;
    int main = -1;
    int other = -1;
    std::array<unsigned char, 16> sender{};  // sockaddr_in of the last sender
    bool haveSender = false;
};

}  // namespace lanterna::test
