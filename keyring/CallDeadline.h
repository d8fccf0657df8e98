#pragma once
// A time limit for one blocking libsecret call: the call is given the cancellable, and a watcher
// thread cancels it when the limit passes first. A sync call waiting on a keyring that does not
// answer (locked behind a prompt nobody sees, or a service that hangs) then returns cancelled.
// Internal to the keyring library: GLib types stay here.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "keyring/SecretLibrary.h"

namespace lanterna::keyring {

class CCallDeadline {
  public:
    // `calls` must outlive the deadline (the loaded library does).
    CCallDeadline(const SecretLibrary& calls, std::chrono::milliseconds limit);
    ~CCallDeadline();
    CCallDeadline(const CCallDeadline&) = delete;
    CCallDeadline& operator=(const CCallDeadline&) = delete;

    GCancellable* Cancellable() const { return cancellable_; }
    // Whether the limit passed before the call ended.
    bool Passed() const { return calls_.cancellableIsCancelled(cancellable_) != FALSE; }

  private:
    const SecretLibrary& calls_;
    GCancellable* cancellable_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watcher_;
};

}  // namespace lanterna::keyring
