#include "tools/lanternactl/ProjectorHistory.h"

#include <cctype>

#include "fleet/RecordFacts.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/SiteReports.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// The one reading of `targets` with `mac`, or none after a message.
std::optional<fleet::SiteReading> FoundByMac(CliContext& context, std::string_view command,
                                             std::vector<fleet::SiteReading> readings,
                                             const std::string& mac) {
    const std::vector<std::size_t> found = fleet::ReadingsWithMac(readings, mac);
    if (found.empty()) {
        PrintCommandError(context, command,
                          "no projector with the hardware address " + fleet::MacText(mac) +
                              " was read");
        return std::nullopt;
    }
    return std::move(readings[found.front()]);
}

}  // namespace

std::optional<fleet::HistoryTarget> TakeHistoryTarget(CliContext& context,
                                                      std::string_view command,
                                                      const std::string& word) {
    auto target = fleet::HistoryTargetOf(word);
    if (!target) {
        PrintCommandError(context, command,
                          "'" + TerminalText(word) + "' is no address or hardware address");
    }
    return target;
}

std::optional<fleet::SiteReading> ReadHistoryProjector(CliContext& context,
                                                       std::string_view command,
                                                       const CParsedArgs& parsed,
                                                       const fleet::HistoryTarget& target,
                                                       CPasswords& passwords, bool allSettings,
                                                       std::vector<fleet::MacClaim>* claims) {
    long jobs = 0;
    long type = -1;
    if (!TakeJobsAndType(context, command, parsed, jobs, type)) {
        return std::nullopt;
    }
    std::vector<Target> candidates;
    const auto* byMac = std::get_if<fleet::HardwareTarget>(&target);
    if (byMac != nullptr) {
        TargetRequest request = RequestOf(parsed, {});
        request.all = request.all || !request.file;
        if (ExpandTargets(context, command, request, candidates) != kExitOk) {
            return std::nullopt;
        }
    } else {
        candidates.push_back({std::get<fleet::AddressTarget>(target).address, std::nullopt, {}});
    }
    ForceType(candidates, type);
    const std::size_t count = candidates.size();
    std::vector<fleet::SiteReading> readings =
        fleet::ReadSite(context.network, passwords, std::move(candidates), allSettings && !byMac,
                        SiteControl(context, count, jobs));
    if (claims != nullptr) {
        *claims = fleet::ClaimsOf(readings);
    }
    if (byMac != nullptr) {
        auto found = FoundByMac(context, command, std::move(readings), byMac->mac);
        if (!found || !allSettings) {
            return found;
        }
        // Found among many read up to their identity: now the one read whole.
        readings = fleet::ReadSite(context.network, passwords, {found->target}, true,
                                   SiteControl(context, 1, jobs));
    }
    if (readings.size() != 1 || !readings.front().record) {
        const TargetReport report = readings.empty()
                                        ? TargetReport{}
                                        : ReportOfReading(context, readings.front(), passwords);
        PrintCommandError(context, command, NotReadText(report));
        return std::nullopt;
    }
    return std::move(readings.front());
}

std::vector<std::string> HistoryMacs(const fleet::HistoryTarget& target,
                                     const fleet::SiteReading* reading) {
    std::vector<std::string> macs;
    if (const auto* byMac = std::get_if<fleet::HardwareTarget>(&target)) {
        macs.push_back(byMac->mac);
    }
    if (reading != nullptr) {
        macs.push_back(reading->wiredMac);
        macs.push_back(reading->wirelessMac);
    }
    return macs;
}

std::string HistoryTimeWords(std::string_view time) {
    // 20261208T100512.123Z: digits where the pattern has a 9.
    constexpr std::string_view kPattern = "99999999T999999.999Z";
    bool shaped = time.size() == kPattern.size();
    for (std::size_t i = 0; shaped && i < kPattern.size(); ++i) {
        shaped = kPattern[i] == '9' ? std::isdigit(static_cast<unsigned char>(time[i])) != 0
                                    : time[i] == kPattern[i];
    }
    if (!shaped) {
        return TerminalText(time);
    }
    const std::string t(time);
    return t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2) + " " + t.substr(9, 2) +
           ":" + t.substr(11, 2) + ":" + t.substr(13, 2) + t.substr(15, 4) + " UTC";
}

void PrintNothingKept(CliContext& context, std::string_view command,
                      const std::vector<std::string>& macs, const std::string& folder) {
    if (folder.empty()) {
        PrintCommandError(context, command, Words(kStringNoHistoryFolder));
        return;
    }
    std::string named;
    for (const std::string& mac : macs) {
        const std::string text = fleet::MacText(mac);
        if (!text.empty() && named.find(text) == std::string::npos) {
            named += (named.empty() ? "" : " or ") + text;
        }
    }
    if (named.empty()) {
        PrintCommandError(context, command, Words(kStringNoMacToKeep));
        return;
    }
    PrintCommandError(context, command, Words(kStringNothingKept, {named, TerminalText(folder)}));
}

}  // namespace lanterna::cli
