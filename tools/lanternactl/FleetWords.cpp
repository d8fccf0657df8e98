#include "tools/lanternactl/FleetWords.h"

#include "discovery/HelloRun.h"
#include "fleet/RecordFacts.h"
#include "fleet/WriteFlow.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

std::string Words(int id, std::initializer_list<std::string_view> values) {
    return FormatString(id, UserLanguage(), values);
}

std::string CountWords(std::size_t count, int one, int many) {
    return Words(count == 1 ? one : many, {std::to_string(count)});
}

std::string HelloNote(const fleet::FleetNetwork& network) {
    return Words(kStringHelloUnansweredTypeZero, {std::to_string(network.helloQuietMs / 1000)});
}

std::string RoadFailureText(const fleet::RoadFailure& failure, const std::string& address,
                            const CPasswords& passwords) {
    using fleet::RoadStop;
    switch (failure.stop) {
        case RoadStop::kNone:
            return {};
        case RoadStop::kNoRoute:
        case RoadStop::kNotAnswering:
            return MessageText(kStringConnectFailed);
        case RoadStop::kOtherLinkOpen:
            return MessageText(kStringOtherLinkOpen);
        case RoadStop::kNoPassword:
            return passwords.ProblemText(address, failure.passwordProblem, failure.passwordLength);
        case RoadStop::kPasswordRefused:
            return MessageText(kStringAuthenticationFailed);
        case RoadStop::kOtherProjector: {
            const auto macOrNone = [](const std::string& mac) {
                return mac.empty() ? Words(kStringNoHardwareAddress) : fleet::MacText(mac);
            };
            if (failure.keptPasswordSent) {
                return Words(kStringKeptPasswordReachedOther,
                             {failure.at, macOrNone(failure.foundMac),
                              macOrNone(failure.expectedMac)});
            }
            return Words(kStringOtherHardwareAddress,
                         {failure.at, macOrNone(failure.foundMac), macOrNone(failure.expectedMac)});
        }
        case RoadStop::kNotSupported:
            return MessageText(kStringProjectorNotSupported);
        case RoadStop::kReadFailed:
            return Words(
                kStringLinkLostWhileReading,
                {failure.readProgress.lostAt, std::to_string(failure.readProgress.settingsRead),
                 std::to_string(failure.readProgress.settingsPlanned)});
        case RoadStop::kCannotContinue:
            return MessageText(kStringCannotContinue);
    }
    return {};
}

std::string ShownText(const fleet::ShownMessage& shown) {
    if (!shown.question) {
        return MessageText(shown.stringId);
    }
    return MessageText(shown.stringId) + " " +
           Words(shown.yes ? kStringAnswerYes : kStringAnswerNo);
}

std::string JoinedTexts(const std::vector<std::string>& texts, std::string_view separator) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : std::string(separator)) + text;
    }
    return joined;
}

std::string RefusalText(const fleet::Refusal& refusal) {
    const fleet::RuleSentence sentence = fleet::SentenceOf(refusal);
    const auto& v = sentence.values;
    std::string text = Words(sentence.id, {v[0], v[1], v[2], v[3], v[4]});
    if (refusal.rule == fleet::Rule::kIsAddressUnique) {
        text += " (" + Words(kStringForceHint) + ")";
    }
    return text;
}

std::string MissingSettingText(std::string_view field, fleet::MissingReason reason,
                               const ProjectorRecord& record) {
    switch (reason) {
        case fleet::MissingReason::kWiredInterface:
            return Words(kStringWirelessOnlySetting, {field});
        case fleet::MissingReason::kBasicWirelessOnly:
            return Words(kStringBasicWirelessSetting, {field});
        case fleet::MissingReason::kExtendedWireless:
            return Words(kStringExtendedWirelessSetting, {field, std::to_string(record.imType)});
    }
    return {};
}

std::string NotSentText(std::string_view field, fleet::NotSentReason reason) {
    switch (reason) {
        case fleet::NotSentReason::kDhcp:
            return Words(kStringNotSentWithDhcp, {field}) + " (give dhcp=off with it)";
        case fleet::NotSentReason::kMailOff:
            return Words(kStringNotSentWithoutMail, {field}) + " (give mailNotify=on with it)";
        case fleet::NotSentReason::kAdHoc:
            return Words(kStringNotSentInAdHoc, {field});
        case fleet::NotSentReason::kNotWepSecurity:
            return Words(kStringNotSentWithoutWep, {field});
        case fleet::NotSentReason::kNotForThisModule:
            return Words(kStringNotSentHere, {field});
    }
    return {};
}

std::string NotTakenText(const fleet::NotTaken& notTaken) {
    const std::string fields = fleet::FieldsOfCommand(notTaken.command);
    if (!notTaken.reported) {
        return Words(kStringSentReportsNone, {fields, notTaken.sent});
    }
    return Words(kStringSentReportsOther, {fields, notTaken.sent, *notTaken.reported});
}

std::string RefusedCommands(std::uint32_t writeErrors) {
    std::vector<std::string> groups;
    for (const int word : fleet::RefusedGroupWordIds(writeErrors)) {
        groups.push_back(Words(word));
    }
    return JoinedTexts(groups, ", ");
}

std::string PartlyWrittenText(const WriteProgress& progress) {
    const std::size_t sent =
        progress.accepted.size() + progress.refused.size() + progress.unanswered.size();
    std::string text =
        Words(kStringLinkLostAfterCommands,
              {std::to_string(sent), std::to_string(sent + progress.notSent.size())});
    const std::pair<int, const std::vector<std::string>*> parts[] = {
        {kStringCommandsAccepted, &progress.accepted},
        {kStringCommandsRefused, &progress.refused},
        {kStringCommandsUnanswered, &progress.unanswered},
        {kStringCommandsNotSent, &progress.notSent},
    };
    std::vector<std::string> named;
    for (const auto& [id, commands] : parts) {
        if (!commands->empty()) {
            named.push_back(Words(id, {JoinedTexts(*commands, ", ")}));
        }
    }
    return named.empty() ? text : text + ": " + JoinedTexts(named, "; ");
}

std::vector<std::string> LeftAloneTexts(
    const std::vector<std::pair<int, std::vector<std::string>>>& leftAlone) {
    std::vector<std::string> texts;
    for (const auto& [id, fields] : leftAlone) {
        texts.push_back(Words(id, {JoinedTexts(fields, ", ")}));
    }
    return texts;
}

std::string UnreadCarriedText(std::string_view setting) {
    return Words(kStringUnreadSettingCarried, {setting});
}

std::string FindingDetail(const fleet::Finding& finding) {
    return Words(finding.kind->detail, {finding.value, JoinedTexts(finding.alsoAt, ", ")});
}

}  // namespace lanterna::cli
