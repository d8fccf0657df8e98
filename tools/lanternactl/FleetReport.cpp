#include "tools/lanternactl/FleetReport.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>

#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

struct OutcomeEntry {
    Outcome outcome;
    std::string_view word;
    bool success;
};

// In the order of the summary line.
constexpr std::array<OutcomeEntry, 17> kOutcomes = {{
    {Outcome::kRead, "read", true},
    {Outcome::kSet, "set", true},
    {Outcome::kUnchanged, "unchanged", true},
    {Outcome::kWouldSend, "would send", true},
    {Outcome::kPasswordChanged, "password changed", true},
    {Outcome::kAnswered, "answered", true},
    {Outcome::kQueried, "queried", true},
    {Outcome::kRefused, "refused", false},
    {Outcome::kRefusedSome, "refused some settings", false},
    {Outcome::kNotTaken, "did not take", false},
    {Outcome::kNotAtAddress, "not at its address", false},
    {Outcome::kNotAnswering, "not answering", false},
    {Outcome::kNeedsPassword, "needs a password", false},
    {Outcome::kPasswordRefused, "password refused", false},
    {Outcome::kOtherProjector, "other projector", false},
    {Outcome::kNotSupported, "not supported", false},
    {Outcome::kFailed, "failed", false},
}};

const OutcomeEntry& EntryOf(Outcome outcome) {
    return *std::find_if(kOutcomes.begin(), kOutcomes.end(),
                         [outcome](const OutcomeEntry& entry) { return entry.outcome == outcome; });
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
    return EntryOf(outcome).word;
}

bool IsSuccess(Outcome outcome) {
    return EntryOf(outcome).success;
}

std::string SummaryLine(const std::vector<TargetReport>& reports) {
    std::string line =
        std::to_string(reports.size()) + (reports.size() == 1 ? " target: " : " targets: ");
    bool first = true;
    for (const OutcomeEntry& entry : kOutcomes) {
        const auto count = std::count_if(reports.begin(), reports.end(), [&](const auto& report) {
            return report.outcome == entry.outcome;
        });
        if (count == 0) {
            continue;
        }
        line += (first ? "" : ", ") + std::to_string(count) + " " + std::string(entry.word);
        first = false;
    }
    return line;
}

std::function<void(std::size_t)> ProgressOnTerminal(CliContext& context, std::size_t count) {
    if (!context.errIsTerminal || count == 0) {
        return nullptr;
    }
    return [&context, count](std::size_t finished) {
        const std::lock_guard terminal(context.terminal->mutex);
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = finished * kWidth / count;
        context.err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.')
                    << "] " << finished << "/" << count << " targets" << std::flush;
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
            widths[column] = std::max(widths[column], escaped.back().size());
        }
    }
    for (const auto& row : cells) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) {
                line += std::string(widths[column] - row[column].size() + 2, ' ');
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
            object["outcome"] = OutcomeWord(report.outcome);
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
