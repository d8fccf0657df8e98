#pragma once
// What became of each target of a command, and how it is printed: one line per target in the
// order given (address, name, outcome, message), then a summary line; or, with --json, one
// array of objects with the same facts. The outcome words come from the string table; the lines
// and the summary speak the user's language (platform/UserLanguage.h), while --json keeps the
// English words whatever the language, so scripts can rely on them.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/Outcome.h"
#include "fleet/Targets.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

using fleet::IsSuccess;
using fleet::Outcome;
// The English word, the same in every language: the value of "outcome" in --json.
using fleet::OutcomeKey;

// The word of an outcome in the user's language ("set", "refused some settings"; "설정됨").
std::string_view OutcomeWord(Outcome outcome);

struct TargetReport {
    std::string address;
    std::string name;  // empty when unknown
    Outcome outcome = Outcome::kFailed;
    std::string message;
    std::vector<std::string> notes;  // further facts (the hello, the test mail)
    // Lines printed under the target's line (a dry run's command lines).
    std::vector<std::string> detail;
    // Facts of the command for --json ("record", "sent", "notTaken", ...).
    nlohmann::ordered_json facts = nlohmann::ordered_json::object();
};

// A report per target with its address and name. A target that did not answer the hello (true
// in `unanswered`) gets the note; for the one-projector form it is printed on standard error at
// once instead.
std::vector<TargetReport> FirstReports(CliContext& context, std::string_view command,
                                       const std::vector<fleet::Target>& targets,
                                       const std::vector<bool>& unanswered, bool single);

// "30 targets: 28 set, 1 refused some settings, 1 not answering"; in Korean
// "대상 30대: 28대 설정됨, 1대 일부 설정 거부됨, 1대 응답 없음".
std::string SummaryLine(const std::vector<TargetReport>& reports);

// The lines and the summary, or the JSON array; returns kExitOk when every target succeeded,
// else kExitFailed. Texts from projectors are escaped on the terminal.
int PrintReports(CliContext& context, const std::vector<TargetReport>& reports, bool json);

// Draws "[#####.....] 12/30 targets" ("[#####.....] 대상 12/30") on standard error as targets
// finish, when it is a terminal (nothing otherwise); the line is ended when all have finished. For
// a fleet job's RunControl::finished.
std::function<void(std::size_t index, std::size_t done)> ProgressOnTerminal(CliContext& context,
                                                                            std::size_t count);

// Rows of texts as columns padded to their widest cell, two blanks apart (the last column not
// padded), counted in terminal columns. Every cell is escaped for the terminal.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace lanterna::cli
