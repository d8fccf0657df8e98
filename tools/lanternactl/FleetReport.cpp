#include "tools/lanternactl/FleetReport.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#include "platform/UserLanguage.h"
#include "resources/StringTable.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// The words around the counts of the summary and the progress line: "30 targets: 28 set"
// and "12/30 targets"; "대상 30대: 28대 설정됨" and "대상 12/30".
struct CountPhrases {
    std::string_view before;       // before the number of targets
    std::string_view afterOne;     // after it, for one target
    std::string_view afterMany;    // after it, for any other number
    std::string_view countUnit;    // after the count of one outcome
    std::string_view progressEnd;  // after "12/30"
};

constexpr CountPhrases kEnglishPhrases{"", " target: ", " targets: ", "", " targets"};
constexpr CountPhrases kKoreanPhrases{"대상 ", "대: ", "대: ", "대", ""};

const CountPhrases& Phrases() {
    return UserLanguage() == Language::Korean ? kKoreanPhrases : kEnglishPhrases;
}

std::string MessageWithNotes(const TargetReport& report) {
    std::string text = report.message;
    for (const std::string& note : report.notes) {
        text += (text.empty() ? "" : "; ") + note;
    }
    return text;
}

}  // namespace

std::string_view OutcomeWord(Outcome outcome) {
    return LoadString(fleet::OutcomeWordId(outcome));
}

std::vector<TargetReport> FirstReports(CliContext& context, std::string_view command,
                                       const std::vector<fleet::Target>& targets,
                                       const std::vector<bool>& unanswered, bool single) {
    std::vector<TargetReport> reports(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        reports[i].address = targets[i].address;
        reports[i].name = targets[i].name;
        if (!unanswered[i]) {
            continue;
        }
        if (single) {
            PrintCommandError(context, command,
                              targets[i].address + ": " + HelloNote(context.network));
        } else {
            reports[i].notes.push_back(HelloNote(context.network));
        }
    }
    return reports;
}

std::string SummaryLine(const std::vector<TargetReport>& reports) {
    const CountPhrases& phrases = Phrases();
    std::string line = std::string(phrases.before) + std::to_string(reports.size()) +
                       std::string(reports.size() == 1 ? phrases.afterOne : phrases.afterMany);
    bool first = true;
    for (int code = 0; code < fleet::kOutcomeCount; ++code) {
        const auto outcome = static_cast<Outcome>(code);
        const auto count = std::count_if(reports.begin(), reports.end(), [&](const auto& report) {
            return report.outcome == outcome;
        });
        if (count == 0) {
            continue;
        }
        line += (first ? "" : ", ") + std::to_string(count) + std::string(phrases.countUnit) + " " +
                std::string(OutcomeWord(outcome));
        first = false;
    }
    return line;
}

std::function<void(std::size_t, std::size_t)> ProgressOnTerminal(CliContext& context,
                                                                 std::size_t count) {
    if (!context.errIsTerminal || count == 0) {
        return nullptr;
    }
    return [&context, count, &phrases = Phrases()](std::size_t, std::size_t finished) {
        const std::lock_guard terminal(context.terminal->mutex);
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = finished * kWidth / count;
        context.err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.')
                    << "] " << phrases.before << finished << "/" << count << phrases.progressEnd
                    << std::flush;
        context.terminal->progress = finished != count;
        if (finished == count) {
            context.err << "\n";
        }
    };
}

void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    std::vector<std::vector<std::string>> cells;
    for (const auto& row : rows) {
        auto& escaped = cells.emplace_back();
        for (std::size_t column = 0; column < row.size(); ++column) {
            escaped.push_back(TerminalText(row[column]));
            widths.resize(std::max(widths.size(), column + 1));
            widths[column] = std::max(widths[column], TerminalColumns(escaped.back()));
        }
    }
    for (const auto& row : cells) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) {
                line += std::string(widths[column] - TerminalColumns(row[column]) + 2, ' ');
            }
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out << line << "\n";
    }
}

int PrintReports(CliContext& context, const std::vector<TargetReport>& reports, bool json) {
    const bool allSucceeded = std::all_of(reports.begin(), reports.end(), [](const auto& report) {
        return IsSuccess(report.outcome);
    });
    if (json) {
        auto array = nlohmann::ordered_json::array();
        for (const TargetReport& report : reports) {
            nlohmann::ordered_json object = nlohmann::ordered_json::object();
            object["address"] = report.address;
            object["name"] = report.name;
            object["outcome"] = OutcomeKey(report.outcome);
            object["ok"] = IsSuccess(report.outcome);
            object["message"] = report.message;
            object["notes"] = report.notes;
            for (const auto& [key, value] : report.facts.items()) {
                object[key] = value;
            }
            array.push_back(std::move(object));
        }
        context.out << DumpJson(array) << "\n";
        return allSucceeded ? kExitOk : kExitFailed;
    }
    // Each target's line, and its detail lines right under it.
    std::vector<std::vector<std::string>> rows;
    for (const TargetReport& report : reports) {
        rows.push_back({report.address, report.name.empty() ? "-" : report.name,
                        std::string(OutcomeWord(report.outcome)), MessageWithNotes(report)});
    }
    std::ostringstream table;
    PrintTable(table, rows);
    std::istringstream lines(table.str());
    for (const TargetReport& report : reports) {
        std::string line;
        std::getline(lines, line);
        context.out << line << "\n";
        for (const std::string& detail : report.detail) {
            context.out << "    " << TerminalText(detail) << "\n";
        }
    }
    context.out << SummaryLine(reports) << "\n";
    return allSucceeded ? kExitOk : kExitFailed;
}

}  // namespace lanterna::cli
