#pragma once
// The secondary search: the 4-byte request broadcast to the secondary search port, a receiver
// thread that keeps the answers, and a timer thread that ends the receiver after
// `waitSeconds`.
//
// The timer ends the receiver through a wake-up descriptor that the receiver polls beside its
// socket: closing a socket does not wake a thread blocked on it here. The socket is closed
// only after the receiver has ended, so its descriptor number can never be reused under it.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "discovery/SearchTargets.h"
#include "discovery/SecondaryAnswer.h"
#include "link/Ports.h"
#include "record/ProjectorList.h"

namespace lanterna {

// Answers kept at most, as many as the projector list holds; the rest are skipped.
inline constexpr std::size_t kSecondarySlotCount = ProjectorList::kDisplayLimit;
// Datagrams the receiver reads at most, so that a flood ends the listening early: room for as
// many answers again besides the kept ones.
inline constexpr std::size_t kSecondaryDatagramsPerSlot = 2;
// How long the receiver listens.
inline constexpr int kSecondaryWaitSeconds = 2;
// Longest wait for the socket to take the request.
inline constexpr int kSecondarySendWaitMs = 10000;

class CSecondarySearch {
  public:
    // Keeps at most `slotCount` answers.
    explicit CSecondarySearch(SecondaryTarget target = {},
                              std::size_t slotCount = kSecondarySlotCount);
    ~CSecondarySearch();
    CSecondarySearch(const CSecondarySearch&) = delete;
    CSecondarySearch& operator=(const CSecondarySearch&) = delete;

    // Sends the request and listens for the target's time (kSecondaryWaitSeconds unless it says
    // otherwise; less when cancelled or after kSecondaryDatagramsPerSlot datagrams per slot).
    // Blocks. The number of answers kept (at most the slot count), their first min(count,
    // `capacity`) slots in arrival order in `results`; -1 when no socket or thread could be made
    // (nothing was sent).
    int Run(std::vector<SecondaryAnswer>& results, std::size_t capacity);

    // Thread-safe. Ends a Run in progress at once, keeping what it has; the next Run ends at
    // once too.
    void Cancel();

  private:
    void Receive(int socket);
    void Time();
    void SendRequest(int socket);
    void Wake();

    const SecondaryTarget target;
    std::atomic<bool> running{false};
    int wakeDescriptor = -1;  // eventfd; readable once the receiver is to end

    // Written only by the receiver; read after it has ended. The slots are made by each run.
    const std::size_t slotCount;
    std::size_t count = 0;
    std::vector<SecondaryAnswer> slots;

    std::mutex timerMutex;
    std::condition_variable timerCondition;
    bool stopTimer = false;
    bool cancelled = false;
};

}  // namespace lanterna
