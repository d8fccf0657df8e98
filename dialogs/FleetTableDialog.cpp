#include "dialogs/FleetTableDialog.h"

#include "fleet/CsvRows.h"
#include "platform/AtomicFile.h"
#include "resources/StringIds.h"
#include "ui/MessageBox.h"
#include "ui/TableView.h"

namespace lanterna::dialogs {

int SaveCsvFile(const std::string& path, const std::vector<std::string>& titles,
                const std::vector<std::vector<std::string>>& rows) {
    std::string content = fleet::CsvLine(titles);
    for (const std::vector<std::string>& row : rows) {
        content += fleet::CsvLine(row);
    }
    return WriteOutputFile(path, content) == OutputStatus::kOk ? 1 : 0;
}

CFleetTableDialog::CFleetTableDialog(int templateId, Content content, QWidget* owner)
    : skin::CSkinDialog(templateId, owner),
      content_(std::move(content)),
      chooseFile_(&ChooseSaveFile) {
    OnCommand(kSaveCsvButton, ui::Notify::Clicked, [this] { OnSaveCsv(); });
}

bool CFleetTableDialog::OnInitDialog() {
    SetDlgItemText(kSummaryLabel, content_.summary);
    if (auto* table = GetDlgItemAs<ui::CTableView>(kTable)) {
        table->SetColumns(content_.columns);
        for (const std::vector<std::string>& row : content_.rows) {
            table->AddRow(row);
        }
        table->SetSortable(content_.sortable);
        for (int column = 0; column + 1 < table->ColumnCount(); ++column) {
            table->resizeColumnToContents(column);
        }
    }
    return true;
}

void CFleetTableDialog::OnSaveCsv() {
    const auto* table = GetDlgItemAs<ui::CTableView>(kTable);
    if (table == nullptr || !chooseFile_) {
        return;
    }
    SaveFileRequest request;
    request.titleId = kStringSaveCsvTitle;
    request.filterId = kStringCsvFilter;
    request.fileName = content_.fileName;
    request.folder = HomeFolder();
    request.defaultExtension = "csv";
    const std::string path = chooseFile_(this, request);
    if (path.empty()) {
        return;
    }
    if (SaveCsvFile(path, table->ColumnTitles(), table->Rows()) != 1) {
        ui::ShowStringMessage(this, kStringFileNotSaved, ui::MB_ICONEXCLAMATION);
    }
}

}  // namespace lanterna::dialogs
