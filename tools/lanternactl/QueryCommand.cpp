#include <ostream>
#include <string>

#include "fleet/JobRunner.h"
#include "fleet/Query.h"
#include "link/ProjectorLink.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kQueryCommandName = "query";

struct QueryRun {
    TargetReport report;
    std::vector<std::pair<std::string, std::string>> values;
};

// What the query of one projector says: the values, or why there are none.
void DescribeQuery(const std::string& address, const fleet::QueryResult& result, QueryRun& run) {
    run.report.address = address;
    run.report.outcome = result.outcome;
    run.values = result.values;
    switch (result.stop) {
        case fleet::QueryStop::kConnectFailed:
            run.report.message = Words(kStringQueryConnectFailed, {address});
            return;
        case fleet::QueryStop::kNoReply:
            run.report.message =
                Words(kStringQueryNoReply, {address, std::to_string(kLinkTimeoutMs / 1000)});
            return;
        case fleet::QueryStop::kAuthenticationRefused:
            run.report.message =
                Words(kStringQueryAuthRefused, {address, std::to_string(result.authentication)});
            return;
        case fleet::QueryStop::kQueryFailed:
            run.report.message = Words(kStringQueryFailed, {result.failedCommand});
            return;
        case fleet::QueryStop::kNone:
            break;
    }
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (const auto& [command, value] : run.values) {
        run.report.message += (run.report.message.empty() ? "" : " ") + command + "=" + value;
        values[command] = value;
    }
    run.report.facts["values"] = values;
}

// Asks one projector every command; the report says what came of it. A password the projector
// cannot take is not sent: the report says how long it is.
void QueryOne(const CliNetwork& network, const std::string& address,
              const fleet::PasswordAnswer& password, const std::string& problem,
              const std::vector<std::string>& commands, QueryRun& run) {
    if (!password.password) {
        run.report.address = address;
        run.report.outcome = Outcome::kNeedsPassword;
        run.report.message = problem;
        return;
    }
    DescribeQuery(address, fleet::QueryProjector(network, address, *password.password, commands),
                  run);
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
    // The password for `address` (empty: none known, sent as no password); none, with the
    // reason in `problem`, for one too long for a projector.
    fleet::PasswordAnswer For(const std::string& address, std::string& problem) {
        if (!passwords_) {
            fleet::PasswordAnswer answer = fleet::CheckedPassword(fallback_);
            problem = PasswordLengthProblem(fallback_, Words(kStringPasswordGiven));
            return answer;
        }
        fleet::PasswordAnswer answer = passwords_->PasswordFor({address, std::nullopt, {}});
        if (answer.problem == fleet::PasswordProblem::kTooLong) {
            problem = passwords_->ProblemText(address, answer.problem, answer.length);
            return answer;
        }
        return {answer.password.value_or(""), fleet::PasswordProblem::kNone, 0};
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
        std::string problem;
        const fleet::PasswordAnswer password = passwords.For(targets[0].address, problem);
        QueryOne(context.network, targets[0].address, password, problem, commands, runs[0]);
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
            std::string problem;
            const fleet::PasswordAnswer password = passwords.For(targets[i].address, problem);
            QueryOne(context.network, targets[i].address, password, problem, commands, runs[i]);
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
