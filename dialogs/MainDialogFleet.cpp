// The commands on the selected projectors: each a job on the fleet engine that runs off the
// user-interface thread behind CFleetProgressDialog, then a table of what it gave.

#include <QItemSelectionModel>
#include <algorithm>
#include <chrono>
#include <functional>
#include <map>

#include "dialogs/ApplyPreviewDialog.h"
#include "dialogs/AuditDialog.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FleetPasswordDialog.h"
#include "dialogs/FleetProgressDialog.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "dialogs/MainDialog.h"
#include "fleet/AuditFindings.h"
#include "fleet/Backup.h"
#include "fleet/InventoryRows.h"
#include "fleet/PasswordChange.h"
#include "fleet/RecordFacts.h"
#include "fleet/ReadFlow.h"
#include "fleet/RecordFields.h"
#include "fleet/WriteFlow.h"
#include "fleet/WritePreview.h"
#include "platform/AsciiCase.h"
#include "platform/ProfileFile.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "ui/ListView.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

fleet::Target TargetOfRecord(const ProjectorRecord& record) {
    fleet::Target target;
    target.address = FormatDotted(record.ipAddress);
    target.name = std::string(TextOf(record.projectorName));
    // The search told the module type (an added projector's probe did too).
    target.imType = record.imType;
    return target;
}

std::vector<fleet::Target> TargetsOf(const std::vector<ProjectorRecord*>& records) {
    std::vector<fleet::Target> targets;
    targets.reserve(records.size());
    for (const ProjectorRecord* record : records) {
        targets.push_back(TargetOfRecord(*record));
    }
    return targets;
}

std::string NameOf(const fleet::Target& target, std::string_view read = {}) {
    return ProjectorWords(read.empty() ? std::string_view(target.name) : read, target.address);
}

// The bounds of a job from the window: as many at once as lanternactl runs.
fleet::RunControl ControlOf(const FleetJobHooks& hooks, bool tell) {
    fleet::RunControl control;
    control.bounds = hooks.bounds;
    control.bounds.jobs = fleet::kDefaultJobs;
    if (tell) {
        control.finished = [told = hooks.told](std::size_t index, std::size_t) { told(index); };
    }
    return control;
}

// A job's table, sortable, shown modally over `owner`; Save as CSV offers `fileName` through
// `choose`.
void ShowSortedTable(int templateId, CFleetTableDialog::Content content, const char* fileName,
                     QWidget* owner, const std::function<std::string(const std::string&)>& choose) {
    content.sortable = true;
    content.fileName = fileName;
    CFleetTableDialog dialog(templateId, std::move(content), owner);
    dialog.SetSaveFileChooser(
        [&choose](QWidget*, const SaveFileRequest& request) { return choose(request.fileName); });
    dialog.DoModal();
}

// What the dry run of a template found, as the preview shows it: the settings by their labels.
CApplyPreviewDialog::Content PreviewOf(const std::vector<fleet::WriteResult>& results,
                                       const std::string& fileName, const ProjectorRecord& file) {
    CApplyPreviewDialog::Content content;
    content.intro =
        CountWords(results.size(), kStringPreviewIntroOne, kStringPreviewIntro, {fileName});
    if (const auto note = fleet::OlderTemplateNote(file, fileName, UserLanguage())) {
        content.intro += "\n" + *note;
    }
    const std::string leftAlone = Words(kStringLeftAlone);
    for (const fleet::WriteResult& result : results) {
        const std::string projector = NameOf(result.target, result.name);
        const fleet::TargetPreview preview = fleet::PreviewOf(result);
        for (const fleet::SettingChange& change : preview.changes) {
            content.changes.push_back(
                {projector, SettingWords(change.field), change.now, change.after});
        }
        for (const fleet::NotSentSetting& left : preview.notSent) {
            content.notes.push_back({projector, leftAlone, NotSentWords(left.field, left.reason)});
        }
        for (const auto& [id, fields] : preview.leftAlone) {
            std::vector<std::string> labels;
            for (const std::string& field : fields) {
                labels.push_back(SettingWords(field));
            }
            content.notes.push_back({projector, leftAlone, Words(id, {JoinedWords(labels, ", ")})});
        }
        if (preview.moduleRestarts) {
            content.notes.push_back(
                {projector, Words(kStringAfterTheWrite), Words(kStringModuleRestarts)});
        }
        if (result.outcome != fleet::Outcome::kWouldSend) {
            content.notes.push_back(
                {projector, OutcomeWords(result.outcome), WriteDetailWords(result, 0)});
        }
    }
    content.notes.push_back({"", leftAlone, Words(kStringTemplateKeepsIdentity)});
    return content;
}

}  // namespace

// ---- the selection ----------------------------------------------------------------------

std::vector<ProjectorRecord*> CMainDialog::SelectedProjectors() const {
    const ui::CListView* list = List();
    if (list == nullptr || list->selectionModel() == nullptr) {
        return {};
    }
    return rows_->SelectedRecords(*list->selectionModel());
}

void CMainDialog::SelectProjectors(const std::vector<const ProjectorRecord*>& records) {
    ui::CListView* list = List();
    if (list == nullptr) {
        return;
    }
    QItemSelection selection;
    for (const ProjectorRecord* record : records) {
        const int row = rows_->ShownRowOf(record);
        if (row >= 0) {
            const QModelIndex index = rows_->Shown().index(row, 0);
            selection.select(index, index);
        }
    }
    list->selectionModel()->select(selection,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// ---- passwords and results --------------------------------------------------------------

int CMainDialog::PromptPassword(PasswordPrompt& prompt) {
    return services_.runPasswordInput ? services_.runPasswordInput(*this, prompt) : ui::IDCANCEL;
}

bool CMainDialog::ConfirmKeptEntry(const fleet::Credential& marked) {
    const std::string text = Words(kStringConfirmKeyringEntry,
                                   {marked.address, fleet::MacText(marked.hardwareAddress)});
    return ui::ShowStringMessageWithText(this, kStringConfirmKeyringEntry, text,
                                         kMessageYesNoQuestion) == ui::IDYES;
}

void CMainDialog::ShowKeptPasswordReachedOther(const std::string& address,
                                               const std::string& found,
                                               const std::string& keptFor) {
    const std::string text = Words(kStringKeptPasswordReachedOther,
                                   {address, fleet::MacText(found), fleet::MacText(keptFor)});
    ui::ShowStringMessageWithText(this, kStringKeptPasswordReachedOther, text,
                                  ui::MB_ICONEXCLAMATION);
}

std::unique_ptr<CSelectionPasswords> CMainDialog::PasswordsFor(
    const std::vector<ProjectorRecord*>& records) {
    std::map<std::string, std::string> macs;
    for (const ProjectorRecord* record : records) {
        if (!IsEmptyText(record->macAddress)) {
            macs[FormatDotted(record->ipAddress)] = std::string(TextOf(record->macAddress));
        }
    }
    return std::make_unique<CSelectionPasswords>(
        passwords_, records.size(),
        [this](PasswordPrompt& prompt) { return PromptPassword(prompt); }, this, std::move(macs),
        [this](const fleet::Credential& marked) { return ConfirmKeptEntry(marked); });
}

std::string CMainDialog::ChooseCsv(const std::string& suggested) {
    return services_.chooseCsvFile ? services_.chooseCsvFile(*this, suggested) : std::string();
}

void CMainDialog::ShowResults(std::vector<std::vector<std::string>> rows,
                              const std::vector<bool>& succeeded, std::size_t notStarted,
                              const std::string& note) {
    const std::size_t good =
        static_cast<std::size_t>(std::count(succeeded.begin(), succeeded.end(), true));
    CFleetTableDialog::Content content;
    content.summary =
        CountWords(rows.size(), kStringResultsSummaryOne, kStringResultsSummary,
                   {std::to_string(good), std::to_string(rows.size() - good - notStarted),
                    std::to_string(notStarted)}) +
        (note.empty() ? "" : "\n" + note);
    content.columns = {Words(kStringColumnProjector), Words(kStringColumnOutcome),
                       Words(kStringColumnDetail)};
    content.rows = std::move(rows);
    ShowSortedTable(kFleetResultsTemplate, std::move(content), "results.csv", this,
                    [this](const std::string& name) { return ChooseCsv(name); });
}

// ---- apply a settings file --------------------------------------------------------------

void CMainDialog::OnApplySettingsFile() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    const std::string path =
        records.empty() || !services_.chooseSettingsFile ? "" : services_.chooseSettingsFile(*this);
    if (path.empty()) {
        return;
    }
    ProjectorRecord file{};
    if (!HasExtension(path, ".ini")) {
        ShowMessage(kStringNotSettingsFile, ui::MB_ICONEXCLAMATION);
        return;
    }
    // A file that cannot be used says which key is wrong, as lanternactl apply does.
    ProfileDocument document;
    const bool loaded = LoadProfile(path, document) == FileRead::Loaded;
    const SettingsFileProblem problem =
        loaded ? ReadCheckedSettings(document, file) : SettingsFileProblem{};
    if (!loaded || problem) {
        std::string text = Words(kStringSettingsFileUnreadable);
        if (problem) {
            text += " " + SettingsFileProblemText(problem, UserLanguage());
        }
        ui::ShowStringMessageWithText(this, kStringSettingsFileUnreadable, text,
                                      ui::MB_ICONEXCLAMATION);
        return;
    }
    // A file of nothing but a projector's own identity would read every projector for naught.
    if (fleet::TemplateHoldsNoSetting(file)) {
        ShowMessage(kStringTemplateEmpty, ui::MB_ICONEXCLAMATION);
        return;
    }
    const fleet::WriteJob job = fleet::TemplateJob(file);
    const std::unique_ptr<CSelectionPasswords> passwords = PasswordsFor(records);
    const fleet::FleetNetwork& network = services_.fleetNetwork;

    fleet::WriteOptions planOnly;
    planOnly.dryRun = true;
    fleet::CFleetWrite plan(network, job, planOnly, *passwords, TargetsOf(records));
    const auto line = [](const fleet::WriteResult& result) {
        return std::vector<std::string>{NameOf(result.target, result.name),
                                        OutcomeWords(result.outcome)};
    };
    CFleetProgressDialog reading(
        kStringReadingProjectors, records.size(),
        [&plan](const FleetJobHooks& hooks) {
            plan.LearnTypes();
            plan.Write(ControlOf(hooks, true));
        },
        [&](std::size_t i) { return line(plan.Results()[i]); }, this);
    if (reading.DoModal() != ui::IDOK) {
        return;
    }
    const std::string fileName = path.substr(path.find_last_of('/') + 1);
    CApplyPreviewDialog preview(PreviewOf(plan.Results(), fileName, file), this);
    if (preview.DoModal() != ui::IDOK) {
        return;
    }
    // Only the projectors the preview showed changes for are written.
    std::vector<fleet::Target> changing;
    for (const fleet::WriteResult& result : plan.Results()) {
        if (result.outcome == fleet::Outcome::kWouldSend) {
            changing.push_back(result.target);
        }
    }
    fleet::WriteOptions options;
    options.historyFolder = services_.historyFolder;
    fleet::CFleetWrite write(network, job, options, *passwords, changing);
    CFleetProgressDialog writing(
        kStringApplyingFile, changing.size(),
        [&write](const FleetJobHooks& hooks) {
            write.LearnTypes();
            write.Write(ControlOf(hooks, true));
            write.Verify(ControlOf(hooks, false));
        },
        [&](std::size_t i) { return line(write.Results()[i]); }, this);
    writing.SetMaxFailures(preview.StopAfter());
    writing.DoModal();

    std::vector<std::vector<std::string>> rows;
    std::vector<bool> succeeded;
    std::size_t notStarted = 0;
    const auto add = [&](const fleet::WriteResult& result, std::uint32_t settle) {
        const bool never = result.outcome == fleet::Outcome::kNotStarted;
        notStarted += never ? 1 : 0;
        rows.push_back({NameOf(result.target, result.name), OutcomeWords(result.outcome),
                        never ? Words(kStringNotStartedWhy) : WriteDetailWords(result, settle)});
        succeeded.push_back(fleet::IsSuccess(result.outcome));
    };
    for (const fleet::WriteResult& result : write.Results()) {
        add(result, write.Options().settleSeconds);
    }
    for (const fleet::WriteResult& result : plan.Results()) {
        if (result.outcome != fleet::Outcome::kWouldSend) {
            add(result, 0);
        }
    }
    ShowResults(std::move(rows), succeeded, notStarted);
}

// ---- change passwords -------------------------------------------------------------------

void CMainDialog::OnChangePasswords() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    if (records.empty()) {
        return;
    }
    CFleetPasswordDialog asking(records.size(), passwords_.HasKeyring(), this);
    if (asking.DoModal() != ui::IDOK) {
        return;
    }
    const std::string fresh = asking.NewPassword();
    const std::unique_ptr<CSelectionPasswords> passwords = PasswordsFor(records);
    const std::vector<fleet::Target> targets = TargetsOf(records);
    std::vector<fleet::PasswordChangeResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    CFleetProgressDialog changing(
        kStringChangingPasswords, targets.size(),
        [&](const FleetJobHooks& hooks) {
            fleet::ChangePasswordsInto(services_.fleetNetwork, *passwords, results, fresh,
                                       ControlOf(hooks, true), services_.historyFolder);
        },
        [&](std::size_t i) {
            return std::vector<std::string>{NameOf(results[i].target),
                                            OutcomeWords(results[i].outcome)};
        },
        this);
    changing.SetMaxFailures(asking.StopAfter());
    changing.DoModal();

    std::vector<std::vector<std::string>> rows;
    std::vector<bool> succeeded;
    std::size_t notStarted = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const fleet::PasswordChangeResult& result = results[i];
        const bool never = result.outcome == fleet::Outcome::kNotStarted;
        notStarted += never ? 1 : 0;
        if (result.outcome == fleet::Outcome::kPasswordChanged) {
            passwords_.Changed(result.target.address, result.hardwareAddress, fresh,
                               asking.Keep());
        }
        rows.push_back({NameOf(result.target), OutcomeWords(result.outcome),
                        never ? Words(kStringNotStartedWhy) : PasswordChangeWords(result)});
        succeeded.push_back(fleet::IsSuccess(result.outcome));
    }
    ShowResults(std::move(rows), succeeded, notStarted);
}

// ---- save settings files ----------------------------------------------------------------

namespace {

std::vector<std::string> BackupLine(const fleet::BackupEntry& entry) {
    const fleet::SiteReading& reading = entry.reading;
    const std::string name =
        NameOf(reading.target,
               reading.record ? TextOf(reading.record->projectorName) : std::string_view());
    if (entry.Saved()) {
        return {name, Words(kStringSavedOutcome), entry.file};
    }
    if (reading.outcome == fleet::Outcome::kNotStarted) {
        return {name, OutcomeWords(reading.outcome), Words(kStringNotStartedWhy)};
    }
    if (reading.outcome == fleet::Outcome::kRead) {
        return {name, OutcomeWords(reading.outcome), Words(kStringFileNotSaved)};
    }
    return {name, OutcomeWords(reading.outcome), RoadFailureWords(reading.failure)};
}

}  // namespace

void CMainDialog::OnSaveSettingsFiles() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    const std::string parent =
        records.empty() || !services_.chooseFolder ? "" : services_.chooseFolder(*this);
    if (parent.empty()) {
        return;
    }
    const std::unique_ptr<CSelectionPasswords> passwords = PasswordsFor(records);
    const std::vector<fleet::Target> targets = TargetsOf(records);
    std::vector<fleet::SiteReading> readings(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        readings[i].target = targets[i];
    }
    fleet::BackupRun run;
    // BackUpProjectors in its two halves, so that each line tells how the projector's reading
    // went; the files are written once all have been read, and the results say what became of
    // each.
    CFleetProgressDialog saving(
        kStringSavingSettingsFiles, targets.size(),
        [&](const FleetJobHooks& hooks) {
            fleet::ReadSiteInto(services_.fleetNetwork, *passwords, readings, true,
                                ControlOf(hooks, true));
            run = fleet::WriteBackup(parent, std::move(readings), std::chrono::system_clock::now());
        },
        [&readings](std::size_t i) {
            return std::vector<std::string>{NameOf(readings[i].target),
                                            OutcomeWords(readings[i].outcome)};
        },
        this);
    saving.DoModal();
    if (run.folderStatus != OutputStatus::kOk || run.indexStatus != OutputStatus::kOk) {
        ShowMessage(kStringFileNotSaved, ui::MB_ICONEXCLAMATION);
        if (run.folderStatus != OutputStatus::kOk) {
            return;
        }
    }
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> succeeded;
    std::size_t notStarted = 0;
    for (const fleet::BackupEntry& entry : run.entries) {
        rows.push_back(BackupLine(entry));
        succeeded.push_back(entry.Saved());
        notStarted += entry.reading.outcome == fleet::Outcome::kNotStarted ? 1 : 0;
    }
    ShowResults(std::move(rows), succeeded, notStarted, Words(kStringSavedIn, {run.folder}));
}

// ---- audit and inventory ----------------------------------------------------------------

namespace {

std::string ReadName(const fleet::ReadResult& result) {
    return NameOf(result.target,
                  result.record ? TextOf(result.record->projectorName) : std::string_view());
}

// Reads every target behind the progress dialog; empty when it was cancelled.
std::vector<fleet::ReadResult> ReadBehindProgress(const fleet::FleetNetwork& network,
                                                  fleet::IPasswordSource& passwords,
                                                  const std::vector<fleet::Target>& targets,
                                                  QWidget* owner) {
    std::vector<fleet::ReadResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    CFleetProgressDialog reading(
        kStringReadingProjectors, targets.size(),
        [&](const FleetJobHooks& hooks) {
            fleet::ReadInto(network, passwords, results, ControlOf(hooks, true));
        },
        [&](std::size_t i) {
            return std::vector<std::string>{ReadName(results[i]), OutcomeWords(results[i].outcome)};
        },
        owner);
    return reading.DoModal() == ui::IDOK ? results : std::vector<fleet::ReadResult>{};
}

// The audit's findings grouped by kind, worst first, the projectors not read last; the summary
// counts them, and one CSV row stands for each finding.
CAuditDialog::Content AuditContentOf(const std::vector<fleet::ReadResult>& results) {
    std::vector<fleet::AuditedProjector> audited;
    std::vector<std::string> names;
    CAuditDialog::Group unread{"", Words(kStringNotReadGroup), "", {}};
    CAuditDialog::Content content;
    std::vector<std::vector<std::string>> unreadCsv;
    for (const fleet::ReadResult& result : results) {
        if (result.record) {
            audited.push_back({result.target.address, *result.record, result.passwordSet});
            names.push_back(ReadName(result));
        } else {
            const std::string detail = ReadDetailWords(result);
            const std::string outcome = OutcomeWords(result.outcome);
            unread.projectors.push_back(
                {ReadName(result), detail.empty() ? outcome : outcome + ": " + detail});
            unreadCsv.push_back({ReadName(result), "", outcome, detail});
        }
    }
    std::array<std::size_t, 3> bySeverity{};
    std::map<const fleet::FindingKind*, std::vector<std::vector<std::string>>> byKind;
    for (const fleet::Finding& finding : fleet::Audit(audited)) {
        ++bySeverity[static_cast<std::size_t>(finding.kind->severity)];
        const std::string detail = FindingDetailWords(finding);
        byKind[finding.kind].push_back({names[finding.projector], detail});
        content.csvRows.push_back({names[finding.projector],
                                   Words(fleet::SeverityWordId(finding.kind->severity)),
                                   Words(finding.kind->meaning), detail});
    }
    content.csvRows.insert(content.csvRows.end(), unreadCsv.begin(), unreadCsv.end());
    for (const auto severity :
         {fleet::Severity::kCritical, fleet::Severity::kWarning, fleet::Severity::kNotice}) {
        for (const fleet::FindingKind* kind : fleet::AllFindingKinds()) {
            const auto found = byKind.find(kind);
            if (kind->severity == severity && found != byKind.end()) {
                content.groups.push_back({Words(fleet::SeverityWordId(severity)),
                                          FindingTitleWords(*kind), Words(kind->meaning),
                                          std::move(found->second)});
            }
        }
    }
    if (!unread.projectors.empty()) {
        content.groups.push_back(std::move(unread));
    }
    const std::size_t unreadCount = results.size() - audited.size();
    content.summary =
        Words(kStringAuditSummary,
              {CountWords(audited.size(), kStringOneProjectorAudited, kStringProjectorsAudited),
               Words(kStringCriticalCount, {std::to_string(bySeverity[2])}),
               CountWords(bySeverity[1], kStringOneWarning, kStringWarningsCount),
               CountWords(bySeverity[0], kStringOneNotice, kStringNoticesCount),
               Words(kStringNotReadCount, {std::to_string(unreadCount)})});
    if (content.groups.empty()) {
        content.summary += "\n" + Words(kStringNoFindings);
    }
    content.csvColumns = {Words(kStringColumnProjector), Words(kStringColumnSeverity),
                          Words(kStringColumnFinding), Words(kStringColumnDetail)};
    return content;
}

}  // namespace

std::vector<fleet::ReadResult> CMainDialog::ReadSelected(
    const std::vector<ProjectorRecord*>& records) {
    const std::unique_ptr<CSelectionPasswords> passwords = PasswordsFor(records);
    return ReadBehindProgress(services_.fleetNetwork, *passwords, TargetsOf(records), this);
}

void CMainDialog::OnAudit() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    if (records.empty()) {
        return;
    }
    const std::vector<fleet::ReadResult> results = ReadSelected(records);
    if (results.empty()) {
        return;
    }
    CAuditDialog audit(AuditContentOf(results), this);
    audit.SetSaveFileChooser(
        [this](QWidget*, const SaveFileRequest& request) { return ChooseCsv(request.fileName); });
    audit.DoModal();
}

void CMainDialog::OnExportInventory() {
    const std::vector<ProjectorRecord*> records = SelectedProjectors();
    const std::string path = records.empty() ? "" : ChooseCsv("inventory.csv");
    if (path.empty()) {
        return;
    }
    const std::vector<fleet::ReadResult> results = ReadSelected(records);
    if (results.empty()) {
        return;
    }
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<std::string>> lines;
    std::vector<bool> succeeded;
    for (const fleet::ReadResult& result : results) {
        if (result.record) {
            rows.push_back(
                fleet::InventoryRow(result.target.address, *result.record, result.passwordSet));
        }
        lines.push_back({ReadName(result), OutcomeWords(result.outcome), ReadDetailWords(result)});
        succeeded.push_back(fleet::IsSuccess(result.outcome));
    }
    const auto columns = fleet::InventoryColumns();
    if (SaveCsvFile(path, std::vector<std::string>(columns.begin(), columns.end()), rows) != 1) {
        ShowMessage(kStringFileNotSaved, ui::MB_ICONEXCLAMATION);
        return;
    }
    ShowResults(std::move(lines), succeeded, 0);
}

}  // namespace lanterna::dialogs
