#include "dialogs/FleetWording.h"

#include <algorithm>
#include <array>

#include "fleet/FieldLabels.h"
#include "fleet/RecordFacts.h"
#include "platform/UserLanguage.h"
#include "workers/PasswordResults.h"
#include "resources/ReplyStringIds.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "workers/OutcomeText.h"

namespace lanterna::dialogs {

namespace {

std::string MacWords(const std::string& mac) {
    return mac.empty() ? Words(kStringNoHardwareAddress) : fleet::MacText(mac);
}

// A sentence of the write gate; a hardware address it has none of is worded as such.
std::string SentenceWords(const fleet::RuleSentence& sentence) {
    auto v = sentence.values;
    if (sentence.id == kStringKeptForOtherMac && v[1].empty()) {
        v[1] = Words(kStringNoHardwareAddress);
    }
    return Words(sentence.id, {v[0], v[1], v[2], v[3], v[4]});
}

std::string NotTakenWords(const fleet::NotTaken& notTaken) {
    const std::string fields = SettingWords(fleet::FieldsOfCommand(notTaken.command));
    if (!notTaken.reported) {
        return Words(kStringSentReportsNone, {fields, notTaken.sent});
    }
    return Words(kStringSentReportsOther, {fields, notTaken.sent, *notTaken.reported});
}

std::string WrittenWords(const fleet::WriteResult& result, std::uint32_t settleSeconds) {
    const std::string at = result.readBackAt.value_or("");
    if (!result.settled) {
        return Words(settleSeconds == 1 ? kStringNotAtAddressSecond : kStringNotAtAddressSeconds,
                     {at, std::to_string(settleSeconds)});
    }
    if (result.readBackFailure.stop == fleet::RoadStop::kNoRoute) {
        return Words(kStringNotReadBackAt, {at});
    }
    if (result.readBackFailure) {
        return Words(kStringReadBackAt, {at, RoadFailureWords(result.readBackFailure)});
    }
    std::string sent;
    if (result.result == 1) {
        sent = result.lines.empty()
                   ? Words(kStringNothingDiffers)
                   : Words(kStringCommandLinesSent, {std::to_string(result.lines.size())});
    } else if (result.result == -1) {
        std::vector<std::string> groups;
        for (const int word : fleet::RefusedGroupWordIds(result.writeErrors)) {
            groups.push_back(Words(word));
        }
        sent = Words(kStringProjectorRefused, {JoinedWords(groups, ", ")});
    } else {
        sent = Words(kStringWriteFailed);
    }
    if (!result.readBack) {
        return sent;
    }
    std::vector<std::string> notTaken;
    for (const fleet::NotTaken& difference : result.notTaken) {
        notTaken.push_back(NotTakenWords(difference));
    }
    const bool elsewhere = at != result.target.address;
    if (notTaken.empty()) {
        return sent + "; " + (elsewhere ? Words(kStringVerifiedAt, {at}) : Words(kStringVerified));
    }
    const std::string joined = JoinedWords(notTaken, "; ");
    return elsewhere ? Words(kStringDidNotTakeAt, {at, joined})
                     : Words(kStringDidNotTake, {joined});
}

}  // namespace

std::string Words(int id, std::initializer_list<std::string_view> values) {
    return FormatString(id, UserLanguage(), values);
}

std::string JoinedWords(const std::vector<std::string>& texts, std::string_view separator) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : std::string(separator)) + text;
    }
    return joined;
}

std::string CountWords(std::size_t count, int one, int many,
                       std::initializer_list<std::string_view> values) {
    const std::string number = std::to_string(count);
    std::vector<std::string_view> all{number};
    all.insert(all.end(), values.begin(), values.end());
    std::array<std::string_view, 9> places{};
    std::copy_n(all.begin(), std::min(all.size(), places.size()), places.begin());
    return Words(count == 1 ? one : many, {places[0], places[1], places[2], places[3], places[4],
                                           places[5], places[6], places[7], places[8]});
}

std::string FindingTitleWords(const fleet::FindingKind& kind) {
    const int id = fleet::FindingTitleId(kind);
    return id != 0 ? Words(id) : std::string(kind.id);
}

std::string SettingWords(std::string_view field) {
    std::string words;
    for (std::size_t start = 0; start <= field.size();) {
        const std::size_t end = std::min(field.find(", ", start), field.size());
        const std::string_view one = field.substr(start, end - start);
        const int id = fleet::FieldLabelId(one);
        words += (words.empty() ? "" : ", ") + (id != 0 ? Words(id) : std::string(one));
        start = end + 2;
    }
    return words;
}

std::string ProjectorWords(std::string_view name, std::string_view address) {
    return name.empty() ? std::string(address) : Words(kStringProjectorNamed, {name, address});
}

std::string OutcomeWords(fleet::Outcome outcome) {
    return Words(fleet::OutcomeWordId(outcome));
}

std::string RoadFailureWords(const fleet::RoadFailure& failure) {
    using fleet::RoadStop;
    switch (failure.stop) {
        case RoadStop::kNone:
            return {};
        case RoadStop::kNoRoute:
        case RoadStop::kNotAnswering:
            return Words(kStringConnectFailed);
        case RoadStop::kOtherLinkOpen:
            return Words(kStringOtherLinkOpen);
        case RoadStop::kNoPassword:
            return Words(failure.passwordProblem == fleet::PasswordProblem::kTooLong
                             ? kStringPasswordWrong
                             : kStringOutcomeNeedsPassword);
        case RoadStop::kPasswordRefused:
            return Words(kStringAuthenticationFailed);
        case RoadStop::kOtherProjector:
            return Words(failure.keptPasswordSent ? kStringKeptPasswordReachedOther
                                                  : kStringOtherHardwareAddress,
                         {failure.at, MacWords(failure.foundMac), MacWords(failure.expectedMac)});
        case RoadStop::kNotSupported:
            return Words(kStringProjectorNotSupported);
        case RoadStop::kReadFailed:
            return Words(kStringLinkLostWhileReading,
                         {failure.readProgress.lostAt,
                          std::to_string(failure.readProgress.settingsRead),
                          std::to_string(failure.readProgress.settingsPlanned)});
        case RoadStop::kCannotContinue:
            return Words(kStringCannotContinue);
    }
    return {};
}

std::string NotSentWords(std::string_view key, fleet::NotSentReason reason) {
    const std::string field = SettingWords(key);
    switch (reason) {
        case fleet::NotSentReason::kDhcp:
            return Words(kStringNotSentWithDhcp, {field});
        case fleet::NotSentReason::kMailOff:
            return Words(kStringNotSentWithoutMail, {field});
        case fleet::NotSentReason::kAdHoc:
            return Words(kStringNotSentInAdHoc, {field});
        case fleet::NotSentReason::kNotWepSecurity:
            return Words(kStringNotSentWithoutWep, {field});
        case fleet::NotSentReason::kNotForThisModule:
            return Words(kStringNotSentHere, {field});
    }
    return {};
}

std::string WriteRefusalWords(const fleet::WriteRefusal& refusal,
                              const ProjectorRecord& reported) {
    struct Worder {
        const ProjectorRecord& reported;
        std::string operator()(const fleet::BuildRefusal& r) const {
            if (r.messageId == 0 && r.rule.id != 0) {
                return Words(kStringFieldValueRefused,
                             {SettingWords(r.field), r.value,
                              Words(r.rule.id, {r.rule.values[0], r.rule.values[1]})});
            }
            return SettingWords(r.field) + " " + r.value +
                   (r.messageId != 0 ? ": " + Words(r.messageId) : "");
        }
        std::string operator()(const fleet::MissingSettingRefusal& r) const {
            switch (r.reason) {
                case fleet::MissingReason::kWiredInterface:
                    return Words(kStringWirelessOnlySetting, {SettingWords(r.field)});
                case fleet::MissingReason::kBasicWirelessOnly:
                    return Words(kStringBasicWirelessSetting, {SettingWords(r.field)});
                case fleet::MissingReason::kExtendedWireless:
                    return Words(kStringExtendedWirelessSetting,
                                 {SettingWords(r.field), std::to_string(reported.imType)});
            }
            return {};
        }
        std::string operator()(const fleet::Refusal& r) const {
            const fleet::RuleSentence sentence = fleet::SentenceOf(r);
            const auto& v = sentence.values;
            return Words(sentence.id, {SettingWords(v[0]), v[1], v[2], v[3], v[4]});
        }
        std::string operator()(const fleet::NotSentSetting& r) const {
            return NotSentWords(r.field, r.reason);
        }
        std::string operator()(const fleet::UnreadSettingCarried& r) const {
            return Words(kStringUnreadSettingCarried, {SettingWords(r.setting)});
        }
        std::string operator()(const fleet::HistoryNotKept& r) const {
            return Words(kStringHistoryNotKept, {r.folder});
        }
        std::string operator()(const fleet::AddressTaken& r) const {
            return Words(kStringAddressTaken,
                         {r.address, r.takenBy.empty() ? Words(kStringSomeProjector) : r.takenBy});
        }
        std::string operator()(const fleet::IdentityShared& r) const {
            return SentenceWords(fleet::SentenceOf(r));
        }
        std::string operator()(const fleet::IdentityMismatch& r) const {
            return SentenceWords(fleet::SentenceOf(r));
        }
    };
    return std::visit(Worder{reported}, refusal);
}

GateMessage GateRefusalMessage(const fleet::WriteRefusal& refusal,
                               const ProjectorRecord& reported) {
    if (const auto* unread = std::get_if<fleet::UnreadSettingCarried>(&refusal)) {
        return {kStringUnreadSetting, UnreadSettingText(unread->setting, UserLanguage())};
    }
    return {kStringWriteFailed, WriteRefusalWords(refusal, reported)};
}

std::string WriteDetailWords(const fleet::WriteResult& result, std::uint32_t settleSeconds) {
    std::vector<std::string> parts;
    if (result.failure) {
        parts.push_back(RoadFailureWords(result.failure));
    } else if (result.refusal) {
        parts.push_back(WriteRefusalWords(*result.refusal, result.reported));
    } else if (result.wrote) {
        parts.push_back(WrittenWords(result, settleSeconds));
    } else if (result.outcome != fleet::Outcome::kNotStarted) {
        parts.push_back(result.lines.empty()
                            ? Words(kStringNothingDiffers)
                            : Words(kStringCommandLines, {std::to_string(result.lines.size())}));
    }
    for (const fleet::NotSentSetting& unsent : result.leftOut) {
        parts.push_back(NotSentWords(unsent.field, unsent.reason));
    }
    if (result.dhcpNow) {
        parts.push_back(Words(kStringTakesDhcpNow));
    }
    if (result.logStatus != OutputStatus::kOk) {
        parts.push_back(Words(kStringNotInChangeLog));
    }
    return JoinedWords(parts, "; ");
}

std::string ReadDetailWords(const fleet::ReadResult& result) {
    return result.failure ? RoadFailureWords(result.failure) : std::string();
}

std::string PasswordChangeWords(const fleet::PasswordChangeResult& result) {
    switch (result.outcome) {
        case fleet::Outcome::kPasswordChanged:
            if (result.removed) {
                return Words(kStringPasswordRemovedDetail);
            }
            return Words(result.first ? kStringFirstPasswordSet : kStringPasswordChangedDetail);
        case fleet::Outcome::kFailed:
            if (const int status = DeclinedStatusOf(result.workerResult); status >= 0) {
                return Words(kStringPasswordChangeDeclined, {StatusByteText(status)});
            }
            return Words(kStringPasswordChangeFailed);
        case fleet::Outcome::kNotStarted:
            return {};
        default:
            return RoadFailureWords(result.failure);
    }
}

std::string FindingDetailWords(const fleet::Finding& finding) {
    return Words(finding.kind->detail, {finding.value, JoinedWords(finding.alsoAt, ", ")});
}

}  // namespace lanterna::dialogs
