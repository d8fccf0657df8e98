#include <array>
#include <ostream>
#include <string>

#include "fleet/JobRunner.h"
#include "link/ProjectorLink.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kQueryCommandName = "query";

// Room for the largest value a query may deliver, plus its terminator.
constexpr std::size_t kQueryValueSize = 1024;

struct QueryRun {
    TargetReport report;
    std::vector<std::pair<std::string, std::string>> values;
};

// Asks one projector every command; the report says what came of it.
void QueryOne(const CliNetwork& network, const std::string& address, const std::string& password,
              const std::vector<std::string>& commands, QueryRun& run) {
    run.report.address = address;
    const std::optional<std::string> routed = network.RouteOf(address);
    CProjectorLink link;
    if (!routed || link.Connect(*routed, network.projectorPort) != 1) {
        run.report.outcome = Outcome::kNotAnswering;
        run.report.message = "connect to " + address + " failed";
        return;
    }
    const int authenticated = link.Authenticate(password);
    if (authenticated == -1) {
        run.report.outcome = Outcome::kFailed;
        run.report.message = "no usable reply to the connect request from " + address + " within " +
                             std::to_string(kLinkTimeoutMs / 1000) + " seconds";
        return;
    }
    if (authenticated != 1) {
        run.report.outcome = Outcome::kPasswordRefused;
        run.report.message = "authentication refused by " + address + " (result " +
                             std::to_string(authenticated) + ")";
        return;
    }
    for (const std::string& command : commands) {
        std::array<char, kQueryValueSize + 1> value{};
        if (link.Exchange(command, nullptr, value.data(), kQueryValueSize, true, true) != 1) {
            run.report.outcome = Outcome::kFailed;
            run.report.message = "query " + command + " failed";
            link.Close();
            return;
        }
        run.values.emplace_back(command, value.data());
    }
    link.Close();
    run.report.outcome = Outcome::kQueried;
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (const auto& [command, value] : run.values) {
        run.report.message += (run.report.message.empty() ? "" : " ") + command + "=" + value;
        values[command] = value;
    }
    run.report.facts["values"] = values;
}

// The password of `address`: its line in --passwords, else --password-file, else
// LANTERNA_PASSWORD, else none (never the command line, where other users could read it).
class CQueryPasswords {
  public:
    bool Load(CliContext& context, const CParsedArgs& parsed) {
        if (parsed.Has("--passwords") || parsed.Has("--password-file")) {
            return LoadPasswordOptions(context, kQueryCommandName, parsed,
                                       passwords_.emplace(context, kQueryCommandName));
        }
        fallback_ = context.environment("LANTERNA_PASSWORD").value_or("");
        return true;
    }
    std::string For(const std::string& address) {
        if (!passwords_) {
            return fallback_;
        }
        std::string problem;
        return passwords_->Lookup(address, problem).value_or(fallback_);
    }

  private:
    std::optional<CPasswords> passwords_;
    std::string fallback_;
};

int RunQuery(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kQueryCommandName, args, parsed) ||
        !TakeJobsAndType(context, kQueryCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    std::vector<std::string> targetWords;
    std::vector<std::string> commands;
    for (const std::string& word : parsed.positional) {
        (commands.empty() && IsTargetWord(word) ? targetWords : commands).push_back(word);
    }
    const TargetRequest request = RequestOf(parsed, std::move(targetWords));
    if (commands.empty() || (request.words.empty() && !request.all && !request.file)) {
        PrintUsageError(context.err, kQueryCommandName);
        return kExitUsage;
    }
    // A carriage return inside a word would end its line early and send a command of its own.
    if (!CheckCommandWords(context, kQueryCommandName, commands)) {
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kQueryCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    CQueryPasswords passwords;
    if (!passwords.Load(context, parsed)) {
        return kExitFailed;
    }
    std::vector<QueryRun> runs(targets.size());
    if (IsSingleTarget(request) && !parsed.Has("--json")) {
        QueryOne(context.network, targets[0].address, passwords.For(targets[0].address), commands,
                 runs[0]);
        for (const auto& [command, value] : runs[0].values) {
            context.out << command << "=" << TerminalText(value) << "\n";
        }
        if (runs[0].report.outcome != Outcome::kQueried) {
            context.err << "lanternactl query: " << TerminalText(runs[0].report.message) << "\n";
            return kExitFailed;
        }
        return kExitOk;
    }
    fleet::RunBounds bounds;
    bounds.jobs = static_cast<int>(jobs);
    fleet::RunJobs(
        targets.size(), bounds,
        [&](std::size_t i) {
            QueryOne(context.network, targets[i].address, passwords.For(targets[i].address),
                     commands, runs[i]);
            return runs[i].report.outcome == Outcome::kQueried;
        },
        ProgressOnTerminal(context, targets.size()));
    std::vector<TargetReport> reports;
    for (QueryRun& run : runs) {
        reports.push_back(std::move(run.report));
    }
    return PrintReports(context, reports, parsed.Has("--json"));
}

}  // namespace

const CliCommand kQueryCommand{"query", &RunQuery};

}  // namespace lanterna::cli
