#include "fleet/WritePreview.h"

#include <algorithm>

#include "fleet/RecordFields.h"
#include "fleet/SiteDiff.h"
#include "fleet/WritePlan.h"

namespace lanterna::fleet {

TargetPreview PreviewOf(const WriteResult& result) {
    TargetPreview preview;
    preview.notSent = result.leftOut;
    preview.leftAlone = LeftAloneByReason(result.leftAlone);
    if (result.outcome != Outcome::kWouldSend) {
        return preview;
    }
    // A file applied whole changes no field by name: every setting it holds goes, and those that
    // differ from the projector's are what changes.
    if (result.changed.empty() && result.record.writeAll != 0) {
        for (SettingDifference& difference : DiffSettings(result.reported, result.record)) {
            preview.changes.push_back({std::move(difference.field), std::move(difference.here),
                                       std::move(difference.there)});
        }
    }
    for (const std::string& field : result.changed) {
        const bool unsent =
            std::any_of(result.leftOut.begin(), result.leftOut.end(),
                        [&](const NotSentSetting& left) { return left.field == field; });
        if (!unsent) {
            preview.changes.push_back(
                {field, FieldText(field, result.reported), FieldText(field, result.record)});
        }
    }
    preview.moduleRestarts = PlanCarries(result.lines, "NWRESET");
    return preview;
}

}  // namespace lanterna::fleet
