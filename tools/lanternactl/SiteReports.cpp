#include "tools/lanternactl/SiteReports.h"

#include "resources/StringIds.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

TargetReport ReportOfReading(const CliContext& context, const fleet::SiteReading& reading,
                             const CPasswords& passwords) {
    TargetReport report;
    report.address = reading.target.address;
    report.name =
        reading.record ? std::string(TextOf(reading.record->projectorName)) : reading.target.name;
    report.outcome = reading.outcome;
    if (reading.helloUnanswered) {
        report.notes.push_back(HelloNote(context.network));
    }
    if (!reading.record) {
        report.message = RoadFailureText(reading.failure, report.address, passwords);
    }
    return report;
}

std::string NotReadText(const TargetReport& report) {
    const std::string outcome(OutcomeWord(report.outcome));
    return Words(
        kStringNotReadBecause,
        {report.address,
         report.message.empty() ? outcome : outcome + ": " + TerminalText(report.message)});
}

fleet::RunControl SiteControl(CliContext& context, std::size_t count, long jobs) {
    fleet::RunControl control;
    control.bounds.jobs = static_cast<int>(jobs);
    control.finished = ProgressOnTerminal(context, count);
    return control;
}

}  // namespace lanterna::cli
