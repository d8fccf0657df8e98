#include "fleet/WriteGate.h"

#include <algorithm>

#include "fleet/RecordFacts.h"
#include "fleet/SiteRead.h"
#include "fleet/Targets.h"
#include "resources/StringIds.h"
#include "workers/WriteGroups.h"

namespace lanterna::fleet {

namespace {

std::string NormalMac(std::string_view text) {
    return NormalHardwareAddress(text).value_or("");
}

// Where the projectors claiming `mac` were read, in the run's order, once each.
std::vector<std::string> ClaimantsOf(const GateRun& run, const std::string& mac) {
    std::vector<std::string> addresses;
    for (const MacClaim& claim : run.claims) {
        if (!mac.empty() && claim.mac == mac &&
            std::find(addresses.begin(), addresses.end(), claim.address) == addresses.end()) {
            addresses.push_back(claim.address);
        }
    }
    return addresses;
}

// The projector must be the one the settings were kept for, and the only one claiming to be.
std::optional<WriteRefusal> JudgeIdentity(const GateRun& run, const GateCase& write) {
    const std::string kept = NormalMac(write.keptFor);
    if (kept.empty()) {
        return std::nullopt;
    }
    const std::string own = NormalMac(TextOf(write.reported->macAddress));
    const std::string& address = run.present.at(write.index);
    // The other interface's hardware address counts where the run read it.
    const bool otherInterface =
        std::any_of(run.claims.begin(), run.claims.end(), [&](const MacClaim& claim) {
            return claim.address == address && claim.mac == kept;
        });
    if (own != kept && !otherInterface) {
        return IdentityMismatch{kept, own};
    }
    const std::vector<std::string> claimants = ClaimantsOf(run, kept);
    if (claimants.size() > 1) {
        return IdentityShared{kept, claimants};
    }
    if (write.keptForType && *write.keptForType != write.reported->imType) {
        return IdentityMismatch{kept, own, *write.keptForType, write.reported->imType};
    }
    return std::nullopt;
}

// The value checks: unread settings carried, settings the projector lacks, the dialogs' rules,
// changed settings not carried.
std::optional<WriteRefusal> JudgeValues(const GateCase& write,
                                        std::vector<NotSentSetting>& leftOut) {
    const ProjectorRecord& record = *write.record;
    const std::vector<std::string>& lines = *write.lines;
    const std::vector<std::string>& changed = *write.changed;
    if (const std::string_view unread = UnreadSettingInWrite(record); !unread.empty()) {
        return UnreadSettingCarried{std::string(unread)};
    }
    for (const std::string& field : changed) {
        if (const auto missing = MissingSetting(field, record)) {
            return MissingSettingRefusal{field, *missing};
        }
    }
    JudgeScope scope;
    scope.reported = write.judgeAgainstRead ? write.reported : nullptr;
    scope.changed = &changed;
    if (auto refusal = JudgeWrite(record, lines, scope)) {
        return std::move(*refusal);
    }
    for (const std::string& field : changed) {
        if (PlanCarriesField(lines, field)) {
            continue;
        }
        NotSentSetting unsent{field, WhyNotSent(field, record)};
        if (write.unsentRefuses) {
            return unsent;
        }
        leftOut.push_back(std::move(unsent));
    }
    return std::nullopt;
}

// A new static address: not one that answers, nor one another target holds now or is given.
std::optional<WriteRefusal> JudgeAddress(const GateRun& run, const GateCase& write) {
    const ProjectorRecord& record = *write.record;
    if (run.force || record.dhcp != 0 || !PlanSendsAddress(*write.lines)) {
        return std::nullopt;
    }
    const std::string address = FormatDotted(record.ipAddress);
    const std::string& own = run.present.at(write.index);
    if (address == own) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < run.present.size(); ++i) {
        if (i == write.index) {
            continue;
        }
        if (run.present[i] == address) {
            return AddressTaken{address, i < run.names.size() ? run.names[i] : std::string()};
        }
        if (i < run.given.size() && run.given[i] == address) {
            return Refusal{kStringBadIpAddress, "ipAddress", address, Rule::kIsAddressUnique};
        }
    }
    if (const auto answered = run.answering.find(address); answered != run.answering.end()) {
        return AddressTaken{address, answered->second};
    }
    return std::nullopt;
}

}  // namespace

std::optional<WriteRefusal> PassIdentity(const GateRun& run, const GateCase& write) {
    return JudgeIdentity(run, write);
}

std::optional<WriteRefusal> PassGate(const GateRun& run, const GateCase& write,
                                     std::vector<NotSentSetting>& leftOut) {
    if (auto refusal = JudgeIdentity(run, write)) {
        return refusal;
    }
    if (auto refusal = JudgeValues(write, leftOut)) {
        return refusal;
    }
    return JudgeAddress(run, write);
}

std::vector<MacClaim> ClaimsOf(const std::vector<SiteReading>& readings) {
    std::vector<MacClaim> claims;
    for (const SiteReading& reading : readings) {
        for (const std::string* mac : {&reading.wiredMac, &reading.wirelessMac}) {
            if (const std::string normal = NormalMac(*mac); !normal.empty()) {
                claims.push_back({reading.target.address, normal});
            }
        }
    }
    return claims;
}

RuleSentence SentenceOf(const IdentityShared& refusal) {
    RuleSentence sentence{kStringIdentityShared, {}};
    sentence.values[0] = refusal.addresses.empty() ? "" : refusal.addresses[0];
    std::string others;
    for (std::size_t i = 1; i < refusal.addresses.size(); ++i) {
        others += (others.empty() ? "" : ", ") + refusal.addresses[i];
    }
    sentence.values[1] = others;
    sentence.values[2] = MacText(refusal.mac);
    return sentence;
}

RuleSentence SentenceOf(const IdentityMismatch& refusal) {
    if (refusal.expectedType >= 0) {
        return {kStringKeptForOtherType,
                {std::to_string(refusal.expectedType), std::to_string(refusal.foundType)}};
    }
    return {kStringKeptForOtherMac, {MacText(refusal.expectedMac), MacText(refusal.foundMac)}};
}

GateRun SingleRun(const std::string& address, const std::vector<std::string>& othersListed,
                  bool force) {
    GateRun run;
    run.force = force;
    run.present.push_back(address);
    run.names.emplace_back();
    for (const std::string& other : othersListed) {
        if (other != address) {
            run.present.push_back(other);
            run.names.emplace_back();
        }
    }
    return run;
}

}  // namespace lanterna::fleet

namespace lanterna::fleet {

std::optional<WriteRefusal> PassWindowGate(const ProjectorList& listed, std::size_t selected,
                                           const ProjectorRecord& reported,
                                           const ProjectorRecord& record,
                                           const std::string& keptFor, bool judgeAgainstRead) {
    std::vector<std::string> others;
    listed.ForEach([&](std::size_t index, const ProjectorRecord& entry) {
        if (index != selected) {
            others.push_back(FormatDotted(entry.ipAddress));
        }
    });
    const GateRun run = SingleRun(FormatDotted(reported.ipAddress), others, false);
    const std::vector<std::string> lines = PlanWrite(record, false);
    const std::vector<std::string> changed;
    GateCase write;
    write.reported = &reported;
    write.record = &record;
    write.lines = &lines;
    write.changed = &changed;
    write.judgeAgainstRead = judgeAgainstRead;
    write.keptFor = keptFor;
    std::vector<NotSentSetting> leftOut;
    return PassGate(run, write, leftOut);
}

}  // namespace lanterna::fleet
