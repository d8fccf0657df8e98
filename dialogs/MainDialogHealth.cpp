// The health of the listed projectors over PJLink: the background rounds that keep the list's
// health columns and badges up to date, and "Health..." on a selection, which reads them now
// and shows a table. The PJLink passwords are the session's own, asked for by their own prompt.

#include <QAbstractItemModel>
#include <algorithm>
#include <set>

#include "dialogs/DialogIds.h"
#include "dialogs/FleetProgressDialog.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/HealthWatch.h"
#include "dialogs/HealthWording.h"
#include "dialogs/MainDialog.h"
#include "dialogs/PjlinkRetry.h"
#include "dialogs/PresenceWatch.h"
#include "record/DottedAddress.h"
#include "discovery/PjlinkSide.h"
#include "platform/DisplayText.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"

namespace lanterna::dialogs {
namespace {


std::vector<std::string> HealthTableRow(const std::string& name, const pjlink::HealthRead& read) {
    if (read.error != pjlink::LinkError::kNone) {
        const std::string dash = "\u2014";
        return {name, dash, dash, dash, dash, HealthOutcomeWords(read)};
    }
    return {name,
            PowerWords(read.health),
            LampHoursWords(read.health),
            ErrorWords(read.health),
            IsolatedForDisplay(ModelWords(read.health)),
            HealthOutcomeWords(read)};
}

CFleetTableDialog::Content HealthTableOf(const std::vector<fleet::HealthOfTarget>& results,
                                         const std::vector<std::string>& names,
                                         int lampHoursLimit) {
    CFleetTableDialog::Content content;
    std::size_t read = 0;
    std::size_t withError = 0;
    std::size_t lamps = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const pjlink::HealthRead& reading = results[i].read;
        content.rows.push_back(HealthTableRow(names[i], reading));
        if (reading.error != pjlink::LinkError::kNone) {
            continue;
        }
        ++read;
        const auto& errors = reading.health.errors;
        withError += errors && std::any_of(errors->begin(), errors->end(),
                                           [](std::uint8_t level) { return level >= 2; })
                         ? 1
                         : 0;
        const std::optional<int> hours = pjlink::MostLampHours(reading.health);
        lamps += hours && *hours >= lampHoursLimit ? 1 : 0;
    }
    content.summary =
        Words(kStringHealthSummary,
              {std::to_string(results.size()), std::to_string(read), std::to_string(withError),
               std::to_string(lamps), std::to_string(lampHoursLimit)});
    content.columns = {Words(kStringColumnProjector), Words(kStringColumnPower),
                       Words(kStringColumnLampHours), Words(kStringColumnErrors),
                       Words(kStringColumnModel),     Words(kStringColumnOutcome)};
    content.sortable = true;
    content.fileName = "health.csv";
    return content;
}

}  // namespace

// ---- the background rounds --------------------------------------------------------------

void CMainDialog::SetUpHealthWatch() {
    rows_->Model().SetHealth(&health_, fleet::kDefaultLampHours);
    if (!services_.healthRound) {
        return;
    }
    healthWatch_ = std::make_unique<CHealthWatch>(
        [this](const std::vector<std::string>& addresses, const std::atomic<bool>& cancel) {
            return services_.healthRound(
                addresses, services_.fleetNetwork,
                [this](const std::string& address) { return pjlinkPasswords_.Known(address); },
                cancel);
        },
        [this] { return PjlinkAddresses(); },
        [this](const std::vector<fleet::HealthOfTarget>& readings) { OnHealthRound(readings); });
    // A new list is read at once rather than a period later.
    const auto readSoon = [this] {
        if (state_.debugMode == 0) {
            healthWatch_->ReadSoon();
        }
    };
    connect(&rows_->Model(), &QAbstractItemModel::modelReset, this, readSoon);
    connect(&rows_->Model(), &QAbstractItemModel::rowsInserted, this, readSoon);
}

std::vector<std::string> CMainDialog::PjlinkAddresses() const {
    std::set<std::string> addresses;
    state_.projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        addresses.insert(PjlinkAddressOf(record));
    });
    return {addresses.begin(), addresses.end()};
}

void CMainDialog::JoinPjlinkTwinsOf(ProjectorRecord& record) {
    const std::string_view hardware = TextOf(record.macAddress);
    if (ComparableHardwareAddress(hardware).empty()) {
        return;
    }
    // A refresh lists the projector anew, its module's hardware address not yet read.
    readHardware_.insert_or_assign(FormatDotted(record.ipAddress), std::string(hardware));
    const std::size_t joined = JoinPjlinkTwins(
        state_.projectors, record, hardware,
        [this](const ProjectorRecord& twin) { rows_->Model().Remove(&twin); });
    if (joined > 0) {
        state_.selectedIndex = IndexOfRecord(&record);
        rows_->Model().HealthChanged();
    }
}

void CMainDialog::JoinPjlinkTwinsReadBefore() {
    std::vector<std::pair<ProjectorRecord*, std::string>> read;
    for (std::size_t i = 0; i < state_.projectors.Size(); ++i) {
        ProjectorRecord* record = state_.projectors.At(static_cast<std::ptrdiff_t>(i));
        if (const auto found = readHardware_.find(FormatDotted(record->ipAddress));
            found != readHardware_.end() && !OnlyPjlinkFound(*record)) {
            read.emplace_back(record, found->second);
        }
    }
    for (const auto& [record, hardware] : read) {
        JoinPjlinkTwins(state_.projectors, *record, hardware);
    }
}

int CMainDialog::HealthRoundsDone() const {
    return healthWatch_ ? healthWatch_->RoundsDone() : 0;
}

void CMainDialog::OnHealthRound(const std::vector<fleet::HealthOfTarget>& readings) {
    for (const fleet::HealthOfTarget& reading : readings) {
        if (reading.read.error == pjlink::LinkError::kPasswordRefused) {
            pjlinkPasswords_.Forget(reading.address);
        }
    }
    if (health_.Record(readings) > 0) {
        rows_->Model().HealthChanged();
    }
}

// ---- Health... on a selection -------------------------------------------------------------

bool CMainDialog::ReadHealthBehindProgress(std::vector<fleet::HealthOfTarget>& results,
                                           const std::vector<std::string>& names) {
    CFleetProgressDialog reading(
        kStringReadingHealth, results.size(),
        [&](const FleetJobHooks& hooks) {
            fleet::RunBounds bounds = hooks.bounds;
            bounds.jobs = fleet::kDefaultJobs;
            fleet::ReadHealthInto(
                results, services_.fleetNetwork,
                [this](const std::string& address) { return pjlinkPasswords_.Known(address); },
                bounds, [told = hooks.told](std::size_t index, std::size_t) { told(index); });
        },
        [&](std::size_t i) {
            return std::vector<std::string>{names[i], HealthOutcomeWords(results[i].read)};
        },
        this);
    return reading.DoModal() == ui::IDOK;
}

std::vector<std::size_t> CMainDialog::AskPjlinkPasswords(
    const std::vector<std::string>& addresses, const std::vector<pjlink::LinkError>& errors,
    const std::vector<std::string>& names) {
    std::vector<std::size_t> wanting;
    for (std::size_t i = 0; i < errors.size(); ++i) {
        if (WantsPjlinkPassword(errors[i])) {
            wanting.push_back(i);
        }
    }
    std::vector<std::size_t> given;
    std::optional<std::string> shared;
    for (const std::size_t i : wanting) {
        if (!shared) {
            PasswordPrompt prompt;
            prompt.projector = names[i];
            prompt.offerSameForAll = given.empty() && wanting.size() > 1;
            if (!services_.runPjlinkPassword ||
                services_.runPjlinkPassword(*this, prompt) != ui::IDOK) {
                break;  // nobody else is asked
            }
            pjlinkPasswords_.Keep(addresses[i], prompt.password);
            if (prompt.sameForAll) {
                shared = prompt.password;
            }
        } else {
            pjlinkPasswords_.Keep(addresses[i], *shared);
        }
        given.push_back(i);
    }
    return given;
}

void CMainDialog::OnHealth() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    if (records.empty()) {
        return;
    }
    std::vector<fleet::HealthOfTarget> results(records.size());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < records.size(); ++i) {
        results[i].address = PjlinkAddressOf(*records[i]);
        results[i].read.error = pjlink::LinkError::kCancelled;  // until it has been read
        names.push_back(ProjectorWords(TextOf(records[i]->projectorName), results[i].address));
    }
    if (!ReadHealthBehindProgress(results, names)) {
        return;
    }
    // Those that want a password are read again with what the user gave.
    std::vector<std::string> addresses;
    std::vector<pjlink::LinkError> errors;
    for (const fleet::HealthOfTarget& result : results) {
        addresses.push_back(result.address);
        errors.push_back(result.read.error);
    }
    RunAgainOn(
        results, names, AskPjlinkPasswords(addresses, errors, names), pjlinkPasswords_,
        [](const fleet::HealthOfTarget& result) { return result.read.error; },
        [this](auto& again, const auto& againNames) { ReadHealthBehindProgress(again, againNames); });
    if (health_.Record(results) > 0) {
        rows_->Model().HealthChanged();
    }
    CFleetTableDialog table(kHealthTemplate,
                            HealthTableOf(results, names, fleet::kDefaultLampHours), this);
    table.SetSaveFileChooser(
        [this](QWidget*, const SaveFileRequest& request) { return ChooseCsv(request.fileName); });
    table.DoModal();
}

}  // namespace lanterna::dialogs
