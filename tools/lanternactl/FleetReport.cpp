#include "tools/lanternactl/FleetReport.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>

#include "platform/UserLanguage.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

struct OutcomeEntry {
    Outcome outcome;
    std::string_view english;
    std::string_view korean;
    bool success;
};

// In the order of the summary line.
constexpr std::array<OutcomeEntry, 17> kOutcomes = {{
    {Outcome::kRead, "read", "읽음", true},
    {Outcome::kSet, "set", "설정됨", true},
    {Outcome::kUnchanged, "unchanged", "변경 없음", true},
    {Outcome::kWouldSend, "would send", "송신 예정", true},
    {Outcome::kPasswordChanged, "password changed", "암호 변경됨", true},
    {Outcome::kAnswered, "answered", "응답함", true},
    {Outcome::kQueried, "queried", "조회됨", true},
    {Outcome::kRefused, "refused", "거부됨", false},
    {Outcome::kRefusedSome, "refused some settings", "일부 설정 거부됨", false},
    {Outcome::kNotTaken, "did not take", "반영되지 않음", false},
    {Outcome::kNotAtAddress, "not at its address", "주소에 없음", false},
    {Outcome::kNotAnswering, "not answering", "응답 없음", false},
    {Outcome::kNeedsPassword, "needs a password", "암호 필요", false},
    {Outcome::kPasswordRefused, "password refused", "암호 틀림", false},
    {Outcome::kOtherProjector, "other projector", "다른 프로젝터", false},
    {Outcome::kNotSupported, "not supported", "지원되지 않음", false},
    {Outcome::kFailed, "failed", "실패", false},
}};

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

const OutcomeEntry& EntryOf(Outcome outcome) {
    return *std::find_if(kOutcomes.begin(), kOutcomes.end(),
                         [outcome](const OutcomeEntry& entry) { return entry.outcome == outcome; });
}

std::string_view WordIn(const OutcomeEntry& entry) {
    return UserLanguage() == Language::Korean ? entry.korean : entry.english;
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
    return WordIn(EntryOf(outcome));
}

std::string_view OutcomeKey(Outcome outcome) {
    return EntryOf(outcome).english;
}

bool IsSuccess(Outcome outcome) {
    return EntryOf(outcome).success;
}

std::string SummaryLine(const std::vector<TargetReport>& reports) {
    const CountPhrases& phrases = Phrases();
    std::string line = std::string(phrases.before) + std::to_string(reports.size()) +
                       std::string(reports.size() == 1 ? phrases.afterOne : phrases.afterMany);
    bool first = true;
    for (const OutcomeEntry& entry : kOutcomes) {
        const auto count = std::count_if(reports.begin(), reports.end(), [&](const auto& report) {
            return report.outcome == entry.outcome;
        });
        if (count == 0) {
            continue;
        }
        line += (first ? "" : ", ") + std::to_string(count) + std::string(phrases.countUnit) + " " +
                std::string(WordIn(entry));
        first = false;
    }
    return line;
}

std::function<void(std::size_t)> ProgressOnTerminal(CliContext& context, std::size_t count) {
    if (!context.errIsTerminal || count == 0) {
        return nullptr;
    }
    return [&context, count, &phrases = Phrases()](std::size_t finished) {
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
