#include "fleet/Outcome.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace lanterna::fleet {

bool IsSuccess(Outcome outcome) {
    return outcome <= Outcome::kQueried;
}

int OutcomeWordId(Outcome outcome) {
    switch (outcome) {
        case Outcome::kReadFailed:
            return kStringOutcomeReadFailed;
        case Outcome::kPartlyWritten:
            return kStringOutcomePartlyWritten;
        case Outcome::kFailed:
            return kStringOutcomeFailed;
        case Outcome::kNotStarted:
            return kStringOutcomeNotStarted;
        default:
            // The words of the others stand in the string table in the order of the codes.
            return kStringOutcomeRead + static_cast<int>(outcome);
    }
}

std::string_view OutcomeKey(Outcome outcome) {
    return LoadString(OutcomeWordId(outcome), Language::English);
}

}  // namespace lanterna::fleet
