#include "dialogs/AuditDialog.h"

#include <QItemSelectionModel>

#include "dialogs/DialogIds.h"
#include "dialogs/FleetTableDialog.h"
#include "dialogs/FleetWording.h"
#include "resources/StringIds.h"
#include "ui/TableView.h"

namespace lanterna::dialogs {

CAuditDialog::CAuditDialog(Content content, QWidget* owner)
    : skin::CSkinDialog(kAuditTemplate, owner),
      content_(std::move(content)),
      chooseFile_(&ChooseSaveFile) {
    OnCommand(kSaveCsvButton, ui::Notify::Clicked, [this] { OnSaveCsv(); });
}

bool CAuditDialog::OnInitDialog() {
    SetDlgItemText(kSummaryLabel, content_.summary);
    auto* groups = GetDlgItemAs<ui::CTableView>(kGroupsTable);
    auto* projectors = GetDlgItemAs<ui::CTableView>(kProjectorsTable);
    if (groups == nullptr || projectors == nullptr) {
        return true;
    }
    // Nothing found: the summary says so, and no empty table stands beneath it.
    if (content_.groups.empty()) {
        for (const int id :
             {kGroupsTable, kMeaningLabel, kProjectorsLabel, kProjectorsTable, kRowDetails}) {
            ShowDlgItem(id, false);
        }
        return true;
    }
    groups->SetColumns({Words(kStringColumnSeverity), Words(kStringColumnFinding),
                        Words(kStringColumnProjectors)});
    for (const Group& group : content_.groups) {
        groups->AddRow({group.severity, group.finding, std::to_string(group.projectors.size())});
    }
    groups->resizeColumnToContents(0);
    groups->resizeColumnToContents(1);
    projectors->SetColumns({Words(kStringColumnProjector), Words(kStringColumnDetail)});
    connect(groups->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowGroup(current.row()); });
    groups->setCurrentIndex(groups->model()->index(0, 0));
    ShowGroup(0);
    ShowCurrentRowIn(*projectors, *this, kRowDetails);
    return true;
}

void CAuditDialog::ShowGroup(int row) {
    auto* projectors = GetDlgItemAs<ui::CTableView>(kProjectorsTable);
    if (projectors == nullptr || row < 0 || row >= static_cast<int>(content_.groups.size())) {
        return;
    }
    const Group& group = content_.groups[static_cast<std::size_t>(row)];
    SetDlgItemText(kMeaningLabel, group.meaning);
    projectors->ClearRows();
    for (const std::vector<std::string>& projector : group.projectors) {
        projectors->AddRow(projector);
    }
    projectors->resizeColumnToContents(0);
    if (projectors->RowCount() > 0) {
        projectors->setCurrentIndex(projectors->model()->index(0, 0));
    }
}

void CAuditDialog::OnSaveCsv() {
    SaveRowsAsCsv(this, chooseFile_, "audit.csv", content_.csvColumns, content_.csvRows);
}

}  // namespace lanterna::dialogs
