#pragma once
// What became of one projector of a fleet job, as a code. Each front end words it from the
// string table (OutcomeWordId) in the language it speaks.

#include <string_view>

namespace lanterna::fleet {

// In the order a summary counts them.
enum class Outcome {
    kRead,
    kSet,
    kUnchanged,  // nothing differed: nothing was sent
    kWouldSend,  // dry run
    kPasswordChanged,
    kAnswered,  // probe
    kQueried,
    kRefused,       // the checks refused the write before anything was sent
    kRefusedSome,   // the projector refused some settings
    kNotTaken,      // read back: some setting did not take
    kNotAtAddress,  // no answer at its address after the write within the settle time
    kNotAnswering,
    kNeedsPassword,
    kPasswordRefused,
    kOtherProjector,  // another hardware address than expected
    kNotSupported,
    kReadFailed,     // the link failed while the settings were read
    kPartlyWritten,  // the link failed part-way through a write: some commands went, some not
    kFailed,
    kNotStarted,  // the job stopped before this projector's turn (cancelled, or too many failed)
};

inline constexpr int kOutcomeCount = static_cast<int>(Outcome::kNotStarted) + 1;

// Whether the outcome counts as success.
bool IsSuccess(Outcome outcome);

// The string id of the outcome's word ("set", "refused some settings"; "설정됨").
int OutcomeWordId(Outcome outcome);

// The English word, the same in every language: a key for scripts and files.
std::string_view OutcomeKey(Outcome outcome);

}  // namespace lanterna::fleet
