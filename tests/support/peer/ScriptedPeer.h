#pragma once
// A scripted TCP peer on loopback for protocol tests: it accepts one connection and runs its
// steps in order — expect these bytes, reply those (in as many writes and with what pauses the
// script says), close or reset the connection, or answer line by line. A test ends with
// EXPECT_TRUE(peer.Finish()), which fails on every unexpected or missing byte.
//
//     CScriptedPeer peer;                       // 127.0.0.1, an ephemeral port
//     peer.ExpectLine("NWPNAME?").Reply("NWPNAME=RO").Pause(30ms).Reply("OM-12\r:");
//     peer.Start();
//     ... connect to peer.Address():peer.Port() and talk ...
//     EXPECT_TRUE(peer.Finish());

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/peer/PeerScript.h"

namespace lanterna::test {

// Answer to one received line (without its carriage return); nothing: leave it unanswered.
using LineHandler = std::function<std::optional<std::string>(std::string_view line)>;

class CScriptedPeer final : public CPeerScript {
  public:
    // Listens on `address`:`port`; port 0 picks a free one. Give each test its own address or
    // an ephemeral port so that tests running in parallel never meet.
    explicit CScriptedPeer(std::string address = "127.0.0.1", std::uint16_t port = 0);
    ~CScriptedPeer() override;

    const std::string& Address() const { return address; }
    std::uint16_t Port() const { return port; }

    // The next bytes from the client must be exactly `bytes`.
    CScriptedPeer& Expect(std::string bytes);
    // The same for a text line: `line` followed by a carriage return.
    CScriptedPeer& ExpectLine(std::string_view line);
    // Writes `bytes` in one write.
    CScriptedPeer& Reply(std::string bytes);
    CScriptedPeer& Pause(std::chrono::milliseconds delay);
    // Waits until the client has read every byte written so far, so that what is written next
    // reaches it apart from that, however late the client looks.
    CScriptedPeer& AwaitRead();
    // Orderly close: the client reads the end of the stream.
    CScriptedPeer& CloseConnection();
    // Abortive close: the client's next send or receive fails with a reset.
    CScriptedPeer& ResetConnection();
    // Answers line after line with `handler` until the client closes. A reply is written only
    // after checking that the client has sent nothing more meanwhile: a client that sends before
    // it has its reply is reported.
    CScriptedPeer& Serve(LineHandler handler);

    // Thread-safe: every byte received so far.
    std::string Received();
    // Thread-safe: waits at most `limit` until at least `count` bytes have been received.
    bool AwaitReceived(std::size_t count, std::chrono::milliseconds limit = kPeerStepLimit);

  private:
    bool Prepare() override;
    bool ExpectBytes(const std::string& expected);
    bool WriteAll(std::string_view bytes);
    bool WaitUntilRead();
    bool ServeLines(const LineHandler& handler);
    void Record(std::string_view bytes);
    void CloseConnectionNow();

    std::string address;
    std::uint16_t port = 0;
    int listener = -1;
    int connection = -1;

    std::mutex receivedMutex;
    std::condition_variable receivedChanged;
    std::string received;
};

}  // namespace lanterna::test
