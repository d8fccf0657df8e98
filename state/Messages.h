#pragma once
// The messages the link workers post to the progress window, and the message-box flags and
// answers of ShowMessage. The values are those of the window messages they stand for
// (WM_USER = 0x400), so the window can post them as they are.

#include <cstdint>

namespace lanterna {

inline constexpr std::uint32_t kUserMessageBase = 0x400;

// Results: wParam as each worker describes it; lParam is always 0.
inline constexpr std::uint32_t kMessageProbeResult = kUserMessageBase + 0x125;     // 0x525
inline constexpr std::uint32_t kMessageReadResult = kUserMessageBase + 0x126;      // 0x526
inline constexpr std::uint32_t kMessageProgress = kUserMessageBase + 0x127;        // 0x527
inline constexpr std::uint32_t kMessageWriteResult = kUserMessageBase + 0x128;     // 0x528
inline constexpr std::uint32_t kMessagePasswordResult = kUserMessageBase + 0x129;  // 0x529

// A target of posted messages: the progress window, or a queue in the command line and tests.
// PostMessage must be safe to call from any thread and must not wait for the receiver.
class IMessageTarget {
  public:
    virtual ~IMessageTarget() = default;
    virtual void PostMessage(std::uint32_t message, std::intptr_t wParam) = 0;
};

// Flags of ShowMessage.
inline constexpr int kMessageWarning = 48;         // warning icon, OK
inline constexpr int kMessageInformation = 64;     // information icon, OK
inline constexpr int kMessageYesNoQuestion = 292;  // question icon, Yes and No (Yes default)

// Answers of ShowMessage.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

}  // namespace lanterna
