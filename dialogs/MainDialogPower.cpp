// "Power on" and "Power off" on a selection: POWR over PJLink to every selected projector once
// the user confirms, the only thing the window writes over PJLink. The PJLink passwords are the
// session's own, asked for as Health... asks for them; the outcome of each projector is shown in
// the results table.

#include "dialogs/FleetProgressDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/HealthWatch.h"
#include "dialogs/HealthWording.h"
#include "dialogs/MainDialog.h"
#include "dialogs/PjlinkRetry.h"
#include "discovery/PjlinkSide.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "state/Messages.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {

bool CMainDialog::SwitchPowerBehindProgress(std::vector<fleet::PowerOfTarget>& results,
                                            const std::vector<std::string>& names, bool on) {
    CFleetProgressDialog switching(
        kStringSwitchingPower, results.size(),
        [&](const FleetJobHooks& hooks) {
            fleet::RunBounds bounds = hooks.bounds;
            bounds.jobs = fleet::kDefaultJobs;
            fleet::SetPowerInto(
                results, services_.fleetNetwork,
                [this](const std::string& address) { return pjlinkPasswords_.Known(address); },
                on, bounds, [told = hooks.told](std::size_t index, std::size_t) { told(index); });
        },
        [&](std::size_t i) {
            return std::vector<std::string>{names[i], PowerOutcomeWords(results[i].outcome, on)};
        },
        this);
    return switching.DoModal() == ui::IDOK;
}

void CMainDialog::OnPower(bool on) {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    if (records.empty()) {
        return;
    }
    const std::string question =
        on ? CountWords(records.size(), kStringConfirmPowerOnOne, kStringConfirmPowerOn)
           : CountWords(records.size(), kStringConfirmPowerOffOne, kStringConfirmPowerOff);
    if (ui::ShowStringMessageWithText(this, on ? kStringConfirmPowerOn : kStringConfirmPowerOff,
                                      question, kMessageYesNoQuestion) != ui::IDYES) {
        return;
    }
    std::vector<fleet::PowerOfTarget> results(records.size());
    std::vector<std::string> addresses;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < records.size(); ++i) {
        results[i].address = PjlinkAddressOf(*records[i]);
        // Until it has been sent: a projector the user's cancel kept from starting says so.
        results[i].outcome.error = pjlink::LinkError::kCancelled;
        addresses.push_back(results[i].address);
        names.push_back(ProjectorWords(TextOf(records[i]->projectorName), results[i].address));
    }
    const bool finished = SwitchPowerBehindProgress(results, names, on);
    // Those that want a password are switched again with what the user gave; none when the
    // user stopped the switching.
    std::vector<pjlink::LinkError> errors;
    for (const fleet::PowerOfTarget& result : results) {
        errors.push_back(finished ? result.outcome.error : pjlink::LinkError::kNone);
    }
    RunAgainOn(
        results, names, AskPjlinkPasswords(addresses, errors, names), pjlinkPasswords_,
        [](const fleet::PowerOfTarget& result) { return result.outcome.error; },
        [this, on](auto& again, const auto& againNames) {
            SwitchPowerBehindProgress(again, againNames, on);
        });
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> succeeded;
    std::size_t notStarted = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const pjlink::PowerOutcome& outcome = results[i].outcome;
        rows.push_back({names[i], PowerOutcomeWords(outcome, on), ""});
        succeeded.push_back(outcome.result == pjlink::PowerResult::kDone);
        notStarted += outcome.error == pjlink::LinkError::kCancelled ? 1 : 0;
    }
    // The power column follows at once rather than a period later.
    if (healthWatch_ && state_.debugMode == 0) {
        healthWatch_->ReadSoon();
    }
    ShowResults(std::move(rows), succeeded, notStarted);
}

}  // namespace lanterna::dialogs
