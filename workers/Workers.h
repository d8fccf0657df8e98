#pragma once
// The link workers: each runs one conversation with the selected projector on the calling
// thread (the progress window starts it on a thread of its own), posts its progress steps
// (kMessageProgress, adding up to 100 on success) and one result message to
// state.progressWindow, and returns the result it posted.
//
// Results:
// - ProbeWorker (kMessageProbeResult): 1 no password needed, 2 password needed, 0 another link
//   was open (it has been closed), -1 failure.
// - ReadWorker (kMessageReadResult): 1 success (the link stays open), 0 authentication refused,
//   -2 the projector's hardware address differs from the stored one (the stored one is
//   replaced), -3 the projector refused the interface query or answered it in another form,
//   kReadLinkLost (-4) the link failed while reading a setting (state.readProgress names it and
//   counts what was read), -1 any other failure. A refused or unreadable setting is no failure:
//   it stays unread (state 0) and the read goes on. state.readProgress is filled in every case.
// - WriteWorker (kMessageWriteResult): 1 every set command accepted, -1 at least one refused
//   (see state.writeErrors), 0 no open link or no selected entry, kWriteLinkLost (-2) the link
//   failed part-way (state.writeProgress lists what was accepted, refused, left without answer
//   and never sent), kWriteUnreadSetting (-3) nothing was sent because a setting that must
//   travel with the ones due was never read (state.writeProgress.unreadSetting names it).
// - PasswordWorker (kMessagePasswordResult): 1 changed, 0 another link was open (left
//   untouched), kPasswordChangeRefused (-2) the projector answered that the current password
//   is not its own, -1 any other failure (no link, no answer).
//
// Threads: one worker at a time; while it runs, nothing else touches the state's link, the
// selected record or the hand-over fields. With state.debugMode set the workers simulate the
// projector and send nothing.

#include <cstdint>

#include "state/ApplicationState.h"

namespace lanterna {

// Bits of ApplicationState::writeErrors: which set commands the projector refused.
enum WriteErrorBits : std::uint32_t {
    kWriteErrorAddressConfig = 0x1,  // NWCNF, NWWLCNF(S), NWWLSEC, NWWEPID, NWWEP1-4
    kWriteErrorDomain = 0x2,
    kWriteErrorDns = 0x4,
    kWriteErrorWins = 0x8,
    kWriteErrorMailNotify = 0x10,
    kWriteErrorSmtpServer = 0x20,
    kWriteErrorSmtpPort = 0x40,
    kWriteErrorMailTo1 = 0x80,       // 0x100, 0x200 for recipients 2 and 3
    kWriteErrorMailEvents1 = 0x400,  // 0x800, 0x1000 for recipients 2 and 3
    kWriteErrorTrapAddress1 = 0x2000,
    kWriteErrorTrapAddress2 = 0x4000,
    kWriteErrorCommunity = 0x8000,
    kWriteErrorNameOrPrimary = 0x10000,  // NWPNAME, NWPRIMIF
};

// Results of the read and write workers beyond 1, 0 and -1.
inline constexpr int kReadLinkLost = -4;
inline constexpr int kWriteLinkLost = -2;
inline constexpr int kWriteUnreadSetting = -3;
inline constexpr int kPasswordChangeRefused = -2;

// Modes of the progress window, each starting one worker.
enum class WorkerMode : int { kRead = 0, kWrite = 1, kPassword = 2, kProbe = 3 };

int ProbeWorker(ApplicationState& state);
int ReadWorker(ApplicationState& state);
int WriteWorker(ApplicationState& state);
int PasswordWorker(ApplicationState& state);

// Runs the worker of `mode`.
int RunWorker(WorkerMode mode, ApplicationState& state);

// The result message the worker of `mode` posts.
std::uint32_t ResultMessageOf(WorkerMode mode);

// Closes and destroys the open link, if any (in debug mode it waits 1000 ms instead of
// closing). Called when the user has finished with a projector.
void CloseLink(ApplicationState& state);

}  // namespace lanterna
